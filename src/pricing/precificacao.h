#pragma once

#include "dinheiro.h"
#include "passo_preco.h"
#include "tipo_pedido.h"

#include <QString>
#include <array>
#include <optional>

// Everything an item's price depends on: its product, its order header and
// the item itself. Pure values, so the rule can be checked without a database.
struct EntradaPreco {
    TipoPedido tipo{}; // the regular order unless set
    Dinheiro precoVenda;
    double precoPromo = 0; // an empty promotional price reads as 0
    QString cif;
    int dv = 0;
    int avista = 0;
    std::array<QString, 3> codigos; // cd_desconto1..3
    QString gordura1;
    Dinheiro valorTotal; // the total left by the item's previous pricing
    Dinheiro quantidade;
    Dinheiro desconto;
};

// What the pricing writes back into the item. vlGordura and desconto are empty
// where the kind leaves those fields alone.
struct ResultadoPreco {
    Dinheiro valorUnitario;
    Dinheiro valorTotal;
    std::optional<Dinheiro> vlGordura;
    std::optional<Dinheiro> desconto;
    bool limparCodigos = false; // the promotional floor empties cd_desconto1..3
};

// Prices one item. Every step rounds to 0.0001 (a tie to even) before the next
// reads it. vl_gordura is taken from the previous total, so it lags one
// pricing behind. With `passos`, every step is recorded there in the order it
// was taken, for showing why a price is what it is (the last unit-price step
// gives valorUnitario); a save, which shows none, records none.
ResultadoPreco PrecificarItem(const EntradaPreco &entrada, PassosPreco *passos = nullptr);

// The exact product of two four-decimal values, rounded to 0.0001 (a tie to
// even). Throws Erro beyond the money range.
Dinheiro MultiplicarExato(Dinheiro a, Dinheiro b);

// Half-up rounding to two decimals done on the number's decimal text (15
// significant digits), not on its binary value: 2.675 gives 2.68.
double ArredondarDuasCasas(double valor);

// Running sums of a package's averaging over the items whose product exists.
class SomaPacote
{
  public:
    void adicionar(Dinheiro quantidade, Dinheiro valorUnitario);
    // S / Q; none when the quantities add up to exactly 0.
    std::optional<double> media() const;

  private:
    double m_soma = 0;
    double m_quantidade = 0;
    // Q summed exactly too: a double sum such as 0.1 + 0.2 - 0.3 is not 0 and
    // would turn the average into nonsense.
    Dinheiro m_quantidadeExata;
};

// The unit price and total every package item takes from the average: the
// unit price keeps four decimals, the total is the quantity times the average
// in whole cents (the double ArredondarDuasCasas returns, multiplied and
// rounded as a money factor), so the two need not agree.
struct PrecoMedio {
    Dinheiro valorUnitario;
    Dinheiro valorTotal;
    // The average, the cents it is cut to and the total.
    PassosPreco passos;
};
PrecoMedio PrecoPelaMedia(double media, Dinheiro quantidade);
