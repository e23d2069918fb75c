#pragma once

#include "dinheiro.h"
#include "tipo_pedido.h"

// Item pricing on the data module's data sets. Each acts on the current record
// of its item data set, which the caller has put into editing or inserting and
// stores afterwards; an item at rest, without a product code or whose product
// is unknown is left untouched. They also move QyProduto to the item's product.

// The current item of one of the kind's item lists (ItensDoPedido), by
// default its own: the regular order, the tied sale, the package, or the
// exchange's replacement items.
void CalcularPrecoItem(TipoPedido tipo, int lista = 0);

// Edits, prices and stores every item of one of the kind's lists, in order,
// as saving the order does (an item without a known product is stored as it
// is), and leaves the product list on the last item's product found. Returns
// the items' total.
Dinheiro PrecificarItensDaLista(TipoPedido tipo, int lista);

// For a kind priced by the average (the package): gives every item of the
// kind's list the first item's discount codes, prices it, and then one common
// unit price: the quantity-weighted average of the items whose product
// exists. Edits and stores every item itself. When those items' quantities
// add up to 0 there is no average, and each item keeps the price of its own
// pricing.
void AplicarPrecoMedio(TipoPedido tipo);
