#pragma once

#include "logica_pedido.h"

#include <QHash>
#include <QTableView>
#include <functional>

class ConjuntoDados;
class ModeloTabela;

// The item grid: a read-only view of an item list whose current row follows
// the list both ways, coloured cell by cell by the screen's rule, with the
// screen's keyboard table on the digit keys.
class GradeItens : public QTableView
{
    Q_OBJECT
  public:
    using Cores = std::function<CoresCelula(int linha)>;
    using Teclas = std::function<bool(int tecla, bool alt, bool ctrl)>;

    GradeItens(ConjuntoDados &itens, const std::vector<ColunaGrade> &colunas, Cores cores, Teclas teclas,
               QWidget *pai = nullptr);

  protected:
    void keyPressEvent(QKeyEvent *evento) override;
    void mousePressEvent(QMouseEvent *evento) override;

  private:
    void seguirLista();
    void linhaEscolhida(const QModelIndex &atual);

    ConjuntoDados &m_itens;
    ModeloTabela *m_modelo;
    Teclas m_teclas;
    bool m_seguindo = false;
    bool m_pelaMao = false;
};
