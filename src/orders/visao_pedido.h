#pragma once

#include <QColor>

// The boxes of an order screen that the logic names. The item boxes exist
// once per item list.
enum class CaixaPedido {
    CodigoCliente,
    Entrega,
    FormaPagtoDetalhado,
    Observacao,
    Grade,
    ItemCodigo,
    ItemDescricao,
    ItemQuantidade,
    ItemUnitario,
    ItemTotal,
    ItemDesconto1,
    ItemDesconto2,
    ItemDesconto3,
    ItemGordura,
};

// What the order screen's logic asks of its window. `lista` names the item
// list of an item box or grid (0 for the others).
class VisaoPedido
{
  public:
    virtual ~VisaoPedido() = default;

    virtual void focar(CaixaPedido caixa, int lista = 0) = 0;
    // Writes the text being typed in a bound box into its field, as leaving
    // the box does.
    virtual void confirmar(CaixaPedido caixa, int lista = 0) = 0;
    // Commits the bound box that has the focus, if any: buttons take no focus,
    // so a click or a key leaves what is being typed uncommitted.
    virtual void confirmarFoco() = 0;
    // The customer's recency indicator beside the customer name.
    virtual void colorirPainel(const QColor &cor) = 0;
    // Closes the window, through its closing question.
    virtual void fechar() = 0;
};
