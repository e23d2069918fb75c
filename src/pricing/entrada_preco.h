#pragma once

#include "precificacao.h"

#include <QStringList>
#include <array>

class ConjuntoDados;
class Registro;

// Reading an item's pricing inputs from the data module. An item row is the
// current row of its list (the one being edited) or a row read in place.

// Moves the product list to the item's product; false when the item has no
// code or the code is unknown.
bool LocalizarProdutoDoItem(const Registro &item);

// The item, the product list's current row and the order header.
EntradaPreco LerEntradaPreco(TipoPedido tipo, const Registro &item);

// What a product gives an item's price.
struct PrecosProduto {
    Dinheiro precoVenda;
    double precoPromo = 0;
};

// The inputs of many items of one list, as a save reads them: the order
// header's values once, and every field by its position, found once.
class LeitorEntradaPreco
{
  public:
    LeitorEntradaPreco(TipoPedido tipo, const ConjuntoDados &itens);

    // The product codes of the list's items, in the list's order.
    QStringList codigos() const;
    // A row of the product list.
    PrecosProduto precos(const Registro &produto) const;
    // An item of the list whose product gives `produto`.
    EntradaPreco ler(const Registro &item, const PrecosProduto &produto) const;

  private:
    const ConjuntoDados &m_itens;
    EntradaPreco m_cabecalho;
    bool m_freteECodigos;
    int m_codigo, m_quantidade, m_valorTotal, m_gordura1 = -1;
    std::array<int, 3> m_codigos{-1, -1, -1};
    int m_precoVenda, m_precoPromo;
};
