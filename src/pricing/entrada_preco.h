#pragma once

#include "precificacao.h"

class Registro;

// Reading an item's pricing inputs from the data module. An item row is the
// current row of its list (the one being edited) or a row read in place.

// Moves the product list to the item's product; false when the item has no
// code or the code is unknown.
bool LocalizarProdutoDoItem(const Registro &item);

// The item, the product list's current row and the order header.
EntradaPreco LerEntradaPreco(TipoPedido tipo, const Registro &item);
