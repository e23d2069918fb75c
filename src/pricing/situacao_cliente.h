#pragma once

#include "dinheiro.h"

#include <QString>
#include <optional>

class ConjuntoDados;

// The average delay, in days, above which a customer is flagged by default.
inline constexpr int kLimiteAtrasoPadrao = 30;

// Money as the representative reads it: "R$ 1.234,50".
QString TextoReais(Dinheiro valor);

// The average delay, in days, above which a customer is flagged: the
// settings row's `limite_atraso`, 30 when not set.
int LimiteAtraso(const ConjuntoDados &configuracoes);

// What the customer's record says against an order: the order's total
// passes the customer's credit (when one is set, above zero), or the
// customer's average delay is above the limit.
struct SituacaoCliente {
    std::optional<Dinheiro> creditoExcedido;
    std::optional<int> atrasoMedio;
    bool emAlerta() const { return creditoExcedido || atrasoMedio; }
    // A short line for beside the customer's name; empty when nothing is wrong.
    QString aviso() const;
};

SituacaoCliente AvaliarCliente(Dinheiro totalPedido, std::optional<Dinheiro> credito, std::optional<int> mediaAtraso,
                               int limiteAtraso);

// The same for the current row of the customer list.
SituacaoCliente AvaliarCliente(Dinheiro totalPedido, const ConjuntoDados &clientes, int limiteAtraso);
