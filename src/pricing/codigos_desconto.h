#pragma once

#include "tipo_pedido.h"

#include <QString>
#include <array>

// One discount code: a capital letter standing for a percentage. The factor is
// the double nearest to 1 - percentage/100, written as a literal: computing it
// in double gives a different last bit for some codes (G, R), which changes
// results at ties.
struct CodigoDesconto {
    char codigo;
    double percentual;
    double fator;
};

// A to Z, in order. Not monotonic: S (17.71 %) is below R (18 %).
const std::array<CodigoDesconto, 26> &CodigosDesconto();

// The reduction factor of an item's code field (cd_desconto1..3, gordura1).
// Matching is exact and case-sensitive: "a", "0", "" or any other text give 1.
double FatorReducao(const QString &codigo);

// Header factors, in extended precision. Levels outside the table give 1; the
// volume level 6 exists on regular orders only.
long double FatorDv(TipoPedido tipo, int dv);
long double FatorAvista(int avista);

// Freight surcharge, applied when the header's cif is exactly "Sim".
inline constexpr long double kFatorFrete = 1.036L;
