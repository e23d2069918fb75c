#pragma once

#include "precificacao.h"

#include <QString>
#include <array>
#include <vector>

// One combination of the three code boxes and what the pricing makes of it.
struct LinhaNegociacao {
    std::array<QString, 3> codigos;
    Dinheiro valorUnitario;
    Dinheiro valorTotal; // for the item's quantity
    Dinheiro reducao;    // the product's price minus valorUnitario
    // The promotional floor took over: the pricing clears the codes and the
    // price is the promotional one.
    bool piso = false;
};

struct ResultadoNegociacao {
    // The distinct unit prices closest at or above the target, lowest first,
    // at most kLinhasNegociacao; each with the combination of fewest codes
    // that gives it.
    std::vector<LinhaNegociacao> linhas;
    // The lowest unit price any combination gives.
    LinhaNegociacao menor;
    // Why the target cannot be met; empty when some line is at the target or
    // the lowest price is under it.
    QString motivo;
};

inline constexpr int kLinhasNegociacao = 5;

// The codes "0" and A to Z, in the order the search prefers them.
const std::vector<QString> &CodigosNegociaveis();

// Tries every ordered combination of CodigosNegociaveis() in the three boxes
// through PrecificarItem, the rest of the item and header as given. Rounding
// after each code makes the order matter, so nothing is pruned.
ResultadoNegociacao NegociarPreco(const EntradaPreco &item, Dinheiro alvo);
