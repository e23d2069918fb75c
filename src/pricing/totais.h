#pragma once

#include "tipo_pedido.h"

// Recomputes the current order header's totals from its items and stores the
// header, writing only the columns of the order's kind (the others stay NULL,
// which is what tells the kinds apart).
//
// Regular order, package, tied sale: the sums of the items' valorTotal,
// desconto (regular and package) and vl_gordura; the regular order keeps only
// the integer part of vl_gordura.
//
// Exchange: prices and stores every replacement item, then every returned
// item, and stores vl_total_troca2 (replacements), vl_total_troca1 (returns)
// and their difference. Nothing happens while either list is being edited.
void RecalcularTotais(TipoPedido tipo);
