#pragma once

#include "dialogos.h"
#include "negociacao_preco.h"

// The negotiation's lines as the table the user picks one from: the codes,
// the unit price, the total, the reduction and whether the promotional floor
// gives the price; the reason below when the target is out of reach.
TabelaDialogo TabelaNegociacao(const ResultadoNegociacao &resultado, Dinheiro alvo, Dinheiro precoProduto);
