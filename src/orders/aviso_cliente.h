#pragma once

#include "dinheiro.h"
#include "situacao_cliente.h"

#include <optional>

class LogicaPedido;

// The standing of the order's customer against the order's total: the
// total about to be stored while an item is typed (`saldoPrevisto`), else
// the stored one. Nothing while the order has no customer on file; the
// customer list is moved to it.
SituacaoCliente SituacaoClienteDoPedido(const LogicaPedido &logica, std::optional<Dinheiro> saldoPrevisto);
