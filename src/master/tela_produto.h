#pragma once

#include "logica_produto.h"

#include <QDialog>

class QLabel;
class QStatusBar;
class QTableView;
class QToolButton;
class ModeloProdutos;

// The product screen's window: the product list in a read-only grid that
// follows DM->QyProduto both ways, sorted by a click on a column title.
class TFrmProduto : public QDialog
{
    Q_OBJECT
  public:
    explicit TFrmProduto(QWidget *pai = nullptr);
    ~TFrmProduto() override;

    LogicaProduto &logica() { return m_logica; }
    QTableView *grade() const { return m_grade; }
    QToolButton *botaoPesquisar() const { return m_pesquisar; }
    QLabel *contador() const { return m_contador; }

  protected:
    void showEvent(QShowEvent *evento) override;
    void closeEvent(QCloseEvent *evento) override;
    void reject() override;
    bool event(QEvent *evento) override;

  private:
    void seguirLista();
    void linhaEscolhida(int linha);
    void tituloClicado(int coluna);
    void mostrarOrdem();

    LogicaProduto m_logica;
    ModeloProdutos *m_modelo = nullptr;
    QTableView *m_grade = nullptr;
    QToolButton *m_pesquisar = nullptr;
    QLabel *m_contador = nullptr;
    QStatusBar *m_status = nullptr;
    bool m_aberta = false;
    bool m_seguindo = false;
};
