#pragma once

#include "tipo_pedido.h"

#include <QString>
#include <optional>

class ConjuntoDados;

// An item list of the kind, as its table of facts orders them: the first is
// the kind's own (the replacement items for an exchange).
ConjuntoDados &ItensDoPedido(TipoPedido tipo, int lista = 0);

// While an order screen of a kind is open, a store of the header reads
// again only that kind's item lists: the others keep their rows, which are
// those of the same order. Without a kind every list is read again.
void ItensQueSeguemOCabecalho(std::optional<TipoPedido> tipo);

// The header and every item list of the kind are at rest (neither inserting
// nor editing).
bool PedidoEmRepouso(TipoPedido tipo);

// Every item has stock above zero and, when `compararQuantidade`, not below
// its quantity. Walks the list and leaves it on its first item.
bool ItensEmEstoque(ConjuntoDados &itens, bool compararQuantidade);

// The message of the print and send buttons while something is unsaved.
QString MensagemSalvarAntes();
