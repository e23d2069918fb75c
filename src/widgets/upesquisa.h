#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TfrmPesquisa;
}
class LogicaPesquisa;
class ModeloTabela;

// The search dialog over the data set holding a search's result.
class TfrmPesquisa : public QDialog {
    Q_OBJECT
public:
    explicit TfrmPesquisa(LogicaPesquisa &logica, QWidget *pai = nullptr);
    ~TfrmPesquisa() override;

    // Shows a new dialog modally over the logic's data set.
    static void executar(LogicaPesquisa &logica, QWidget *pai);

protected:
    bool eventFilter(QObject *objeto, QEvent *evento) override;
    void showEvent(QShowEvent *evento) override;

private:
    void pesquisar();
    void aposAcao();
    void mostrarLinhaAtual();
    void ajustarColunas();

    std::unique_ptr<Ui::TfrmPesquisa> ui;
    LogicaPesquisa &m_logica;
    ModeloTabela *m_modelo;
};
