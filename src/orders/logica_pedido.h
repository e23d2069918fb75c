#pragma once

#include "acao_pedido.h"
#include "acoes_cabecalho.h"
#include "previa_pedido.h"
#include "variante_pedido.h"
#include "visao_pedido.h"

#include <QColor>
#include <QDateTime>
#include <QString>

class Campo;
class ConjuntoDados;

// The colours of one cell of the item grid.
struct CoresCelula {
    QColor texto;
    QColor fundo;
};

// The customer's recency indicator: green below 20 whole days since the last
// purchase, blue below 40, red below 60, black from 60 on or without a date.
QColor CorUltimaCompra(const QDateTime &ultimaCompra, const QDateTime &agora);

// What an order screen does, apart from its widgets: the header list
// (DM->QyPedido under the kind's condition) and the kind's item list, the
// record buttons and their enabling rules, the item checks, the pending
// items, the searches and the keyboard table of the item grid. Entry points
// named after a user's act (a click, a key, leaving a box) show the error of
// a refused value or store in the error box and stop there.
class LogicaPedido
{
  public:
    LogicaPedido(const VariantePedido &variante, VisaoPedido &visao);

    const VariantePedido &variante() const { return m_variante; }
    ConjuntoDados &cabecalho() const;
    ConjuntoDados &itens() const;

    // Opening: the header list under the kind's condition, the customer
    // list on the current order's customer, the focus on the grid.
    void abrir();
    // Asked before the window closes: false keeps it open.
    bool podeFechar();
    // The header list gets back the representative filter it had.
    void aoFechar();

    bool habilitado(AcaoPedido acao) const;
    // A click on a button, or its key: the action runs if it is enabled now.
    void clicar(AcaoPedido acao);
    // A key pressed in the item grid (Qt::Key_0 to Qt::Key_9 of the main
    // row); true when a table entry ran.
    bool teclaGrade(int tecla, bool alt, bool ctrl);

    void saiuCodigoCliente();
    void pesquisarCliente();
    void saiu(CaixaPedido caixa);
    void pesquisarItem();

    CoresCelula coresCelula(int linha) const;

    // What saving would store, for the boxes to show while something is being
    // edited; `quantidadeDigitada` is the quantity box's text not yet
    // committed. Never fails: an error leaves the boxes on their fields.
    PreviaTela previa(const std::optional<QString> &quantidadeDigitada = std::nullopt) const;
    // The current item's price step by step, in a window of its own.
    void explicarPreco(const std::optional<QString> &quantidadeDigitada = std::nullopt);

  private:
    void executar(AcaoPedido acao);
    AcoesCabecalho acoesCabecalho();
    void confirmarCaixasDoCabecalho();

    void pesquisarPedido();
    void inserirPedido();
    void salvarPedido();
    void cancelarPedido();
    void excluirPedido();
    void inserirItem();
    void precificarPacote();
    void editarItem();
    bool podeNavegarItens() const;
    void salvarItem();
    void gravarItemDoPacote();
    void colocarItemEmPendencia();
    void excluirItem();
    void importarPendencia();
    void clienteSaido();
    void clienteEscolhido();
    void itemSaido(CaixaPedido caixa);
    void produtoEscolhido();

    // The customer's payment form and recency colour on the header.
    void aplicarCliente();
    // An unknown product code is emptied; the item is priced.
    void conferirProduto();
    void perguntarCancelarItem(const QString &texto);

    const VariantePedido &m_variante;
    VisaoPedido &m_visao;
    QString m_filtroAnterior;
};
