#pragma once

#include <QDialog>
#include <QTimer>
#include <memory>

namespace Ui
{
class TfrmPesquisa;
}
class LogicaPesquisa;
class ModeloTabela;

// The search dialog over the data set holding a search's result. The rows
// narrow as the user types (a short pause after the last key, so a fast
// typist is not slowed by every letter); arrows move through the rows while
// the typing goes on; Enter or a double click picks; Esc closes with nothing.
class TfrmPesquisa : public QDialog
{
    Q_OBJECT
  public:
    explicit TfrmPesquisa(LogicaPesquisa &logica, QWidget *pai = nullptr);
    ~TfrmPesquisa() override;

    // Shows a new dialog modally over the logic's data set.
    static void executar(LogicaPesquisa &logica, QWidget *pai);

    // The pause after the last key before the rows narrow.
    static constexpr int kEsperaDigitacao = 120;

  protected:
    bool eventFilter(QObject *objeto, QEvent *evento) override;
    void showEvent(QShowEvent *evento) override;
    void done(int resultado) override;

  private:
    void pesquisar();
    void estreitar();
    void escolher();
    void mover(int passos);
    void aposAcao();
    void mostrarLinhaAtual();
    void mostrarOpcao();
    void ajustarColunas();
    void ajustarTamanho();

    std::unique_ptr<Ui::TfrmPesquisa> ui;
    LogicaPesquisa &m_logica;
    ModeloTabela *m_modelo;
    QTimer m_espera;
    bool m_ajustado = false;
};
