#pragma once

#include "dinheiro.h"

#include <QString>
#include <vector>

// What one step of an item's pricing did.
enum class EtapaPreco {
    PrecoProduto,    // the product's selling price
    Frete,           // cif "Sim": the freight surcharge
    Dv,              // the header's volume level
    Avista,          // the header's cash-payment level
    Codigo,          // one discount code field
    Gordura,         // the gordura1 amount, from the previous total
    DescontoPacote,  // a package item's desconto
    PisoPromocional, // the promotional price replaced the result and cleared the codes
    Total,           // unit price times quantity
    MediaPacote,     // a package's quantity-weighted average unit price
    CentavosPacote,  // the average in whole cents that a package total takes
};

// The factor is 1 where a step multiplies by nothing; `codigo` is the code
// field's letter, or the level for Dv and Avista.
struct PassoPreco {
    EtapaPreco etapa;
    long double fator = 1;
    Dinheiro resultado;
    QString codigo;
};

using PassosPreco = std::vector<PassoPreco>;

// The unit price the steps arrived at: the last step that priced the unit
// (for a package, the average).
Dinheiro UnitarioDosPassos(const PassosPreco &passos);
