#pragma once

#include "acoes_cabecalho.h"
#include "tipo_pedido.h"

#include <QString>

// The PDF of an order under the program folder's "relatórios":
// pedido-, venda-, pacote- or troca- followed by the order number.
QString CaminhoPdfPedido(TipoPedido tipo, const QString &numero);

// Stores the current order (number `numero`) through the screen's save, which
// re-prices it, then renders it through the kind's template, with the order
// list, the customers and the employees restricted to this order and its own
// representative while the report runs; marks the order printed through the
// screen's save once the PDF is made; opens the PDF when `abrir`. Does nothing while
// the header or an item list of the kind is unsaved. The restrictions are
// lifted and the order is current again whatever happens; an error of the
// report run is passed on as Erro.
void ImprimirPedido(TipoPedido tipo, const QString &numero, bool abrir, const AcoesCabecalho &acoes);

// The print button: checks that everything is saved and the items are in
// stock (tied sales are not checked), prints and opens the PDF. Errors are
// shown in the standard error box.
void ImprimirPedidoBotao(TipoPedido tipo, const AcoesCabecalho &acoes);
