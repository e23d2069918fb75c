#pragma once

#include "tipo_pedido.h"

// A search dialog's query: "SELECT " + campos + " FROM " + tabela, and the
// column whose value the chosen row gives.
struct PesquisaPedido {
    const char *tabela;
    const char *campos;
    const char *resultado;
};

// How the item grid colours its rows.
enum class CoresGrade {
    PorEstoque, // blue within the stock, red above it
    SempreVermelho,
};

// What tells one kind of order screen from another (its item list follows
// from the kind): its header condition, which checks its items pass and the texts it uses. The
// screens share one logic and one form; a kind is this data.
struct VariantePedido {
    TipoPedido tipo;
    const char *titulo;
    // The header column holding the kind's total; "campo>=0" tells the kind.
    const char *campoSaldo;
    // A new header gets cif "Não".
    bool cifNaoAoInserir;
    bool verificaMultiplo;
    // The stock question, with the item moved to the pending list on Yes.
    bool verificaEstoque;
    bool importaPendencia;
    // Leaving the customer box colours the panel by the last purchase.
    bool colorePainel;
    CoresGrade cores;
    // Appended to the delete questions (" ?" on the regular screen).
    const char *fimPerguntaExcluir;
    // "O pedido (" + number + ") está em uso, deseja salvar e sair?"
    const char *inicioPerguntaFechar;
    PesquisaPedido pesquisaPedido;
    PesquisaPedido pesquisaCliente;
    PesquisaPedido pesquisaProduto;
};

// The regular order screen.
const VariantePedido &VariantePedidoRegular();
