#pragma once

#include "passo_preco.h"
#include "tipo_pedido.h"

#include <optional>

class ConjuntoDados;

// What saving would store, worked out in memory from what the screen holds
// now: the same pricing as the saves, with nothing written. Each moves the
// product list, as pricing does.

// The price the current item gets when it is saved (an item being edited or
// inserted) or when the order is next saved (an item at rest), with the steps
// that gave it. For a package the steps end with the average over the items.
// `quantidade` stands for the edited item's quantity when its box holds a
// number not yet committed. None without a current item, or when the item has
// no code or names an unknown product.
struct PreviaItem {
    Dinheiro valorUnitario;
    Dinheiro valorTotal;
    PassosPreco passos;
};
std::optional<PreviaItem> PreverPrecoItem(TipoPedido tipo, ConjuntoDados &itens,
                                          std::optional<Dinheiro> quantidade = std::nullopt);

// The value of the kind's " Saldo " column that saving the order would store:
// every item re-priced against the header as it stands, the item being edited
// with `quantidade` when given. The exchange's is its difference, replacements
// less returns.
Dinheiro PreverSaldo(TipoPedido tipo, std::optional<Dinheiro> quantidade = std::nullopt);
