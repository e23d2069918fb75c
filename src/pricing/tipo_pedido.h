#pragma once

// The four kinds of order that share the header table, each with its own item
// table, pricing variant and total columns.
enum class TipoPedido { Pedido, VendaCasada, Pacote, Troca };
