#pragma once

#include "tipo_pedido.h"

#include <QtGlobal>

class ServidorCentral;
struct LinkServidor;
struct sqlite3;

// Writes one order of the local database into the central server's order
// tables: the header and the items of its kind, under the representative's
// code (the header's idFunc). It is one server transaction keyed by
// (representative, nr_pedido): a re-send replaces the order, never doubles
// it, and a failure half-way leaves the central order as it was. The status
// the company has set stays. Throws Erro with the server's reason.
void GravarPedidoCentral(ServidorCentral &servidor, sqlite3 *local, TipoPedido tipo, qint64 nrPedido);
// The same over a connection of its own.
void GravarPedidoCentral(const LinkServidor &link, sqlite3 *local, TipoPedido tipo, qint64 nrPedido);
