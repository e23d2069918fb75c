#pragma once

#include "dialogos.h"
#include "dinheiro.h"
#include "variante_pedido.h"

#include <optional>

class ConjuntoDados;

// What an order screen shows before anything is stored: the price of the item
// being edited and the " Saldo " the order's save would store. Empty values
// leave the boxes showing their fields.
struct PreviaTela {
    std::optional<Dinheiro> valorUnitario;
    std::optional<Dinheiro> valorTotal;
    std::optional<Dinheiro> saldo;
};

// The quantity box's text when it holds a number; none otherwise.
std::optional<Dinheiro> QuantidadeDigitada(const std::optional<QString> &texto);

// Nothing while the header and the items are at rest.
PreviaTela CalcularPreviaTela(const VariantePedido &variante, ConjuntoDados &itens, std::optional<Dinheiro> quantidade);

// The current item's price step by step; none without a current item whose
// product exists.
std::optional<TabelaDialogo> ExplicacaoDoItem(const VariantePedido &variante, ConjuntoDados &itens,
                                              std::optional<Dinheiro> quantidade);
