#pragma once

#include "acao_pedido.h"
#include "tipo_pedido.h"
#include "visao_pedido.h"

#include <optional>
#include <utility>
#include <vector>

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

// What leaving a box does: the product code checked and the item priced
// (only while an item is being typed), then the focus moved.
struct SaidaCaixa {
    CaixaPedido caixa;
    bool confereProduto;
    std::optional<CaixaPedido> foco;
    bool focoSoEmEdicao; // the focus moves only while an item is being typed
};

// How the kind's window differs in its controls.
struct FormaTela {
    // Names the kind gives some buttons (the others keep the regular names).
    std::vector<std::pair<AcaoPedido, const char *>> nomesBotoes;
    // Only buttons carry hints; labels, boxes, frames and the grid have none.
    bool dicasSoNosBotoes = false;
    const char *dicaPesquisarPedido = "Pesquisar pedido(s)";
    const char *nomePesquisarCliente = "btnPesquisarCliente";
    const char *dicaPesquisarCliente = "Pesquisar cliente";
    // "Entrega" lists the localities (shows nm_localidade, stores
    // tp_localidade) instead of the single fixed entry.
    bool entregaPorLocalidade = false;
    const char *dicaEntrega = "Escolha Forma de Entrega";
    int dvMaximo = 6;
    const char *dicaVolumes = nullptr;
    const char *nomeGrade = "dbgPedidoItem";
    const char *tituloValorTotal = "Valor Total";
    // Quantity and stock columns aligned left rather than as their fields.
    bool quantidadeAEsquerda = true;
    // Tab order of the item row: the description last instead of second.
    bool descricaoPorUltimo = false;
};

// What tells one kind of order screen from another (its item list follows
// from the kind): its header condition, which checks its items pass and the texts it uses. The
// screens share one logic and one form; a kind is this data.
struct VariantePedido {
    TipoPedido tipo;
    const char *titulo;
    // The header column holding the kind's total; "campo>=0" tells the kind.
    const char *campoSaldo;
    bool focaGradeAoAbrir = true;
    // A new header: the focus goes to the customer code box first.
    bool focaClienteAoInserir = true;
    // A new header gets cif "Não".
    bool cifNaoAoInserir;
    // Decimal quantities: an item needs more than 0, not at least 1.
    bool quantidadeDecimal = false;
    // The product is looked up on saving an item, and its sale multiple checked.
    bool verificaMultiplo;
    // The stock question, with the item moved to the pending list on Yes.
    bool verificaEstoque;
    bool importaPendencia;
    // Every item takes one average unit price (and the first item's codes)
    // after an item is stored and when the order is saved.
    bool precoMedio = false;
    // Editing an item puts the header at rest into editing first.
    bool editarItemEditaPedido = false;
    // The previous and next item buttons move only while the items are at rest.
    bool navegaItensSoEmRepouso = false;
    // The customer code is only checked: an unknown or empty one is emptied
    // and the box gets the focus back; the search writes its result as it is
    // (empty when cancelled). Otherwise the customer brings its payment form.
    bool clienteSoConferido = false;
    // The customer search opens also while the header is at rest (the choice
    // is then dropped).
    bool pesquisaClienteEmRepouso = false;
    // Leaving the customer box colours the panel by the last purchase.
    bool colorePainel;
    // An unknown product code, emptied on leaving a box, takes the focus back.
    bool codigoDesconhecidoFocaCodigo = false;
    std::vector<SaidaCaixa> saidas;
    // The order search while something is unsaved says so instead of nothing.
    bool avisaPesquisaEmEdicao = false;
    // The digit keys of the item grid run the buttons.
    bool tecladoGrade = true;
    CoresGrade cores;
    // Appended to the delete questions (" ?" on the regular screen).
    const char *fimPerguntaExcluir;
    // "O pedido (" + number + ") está em uso, deseja salvar e sair?"
    const char *inicioPerguntaFechar;
    PesquisaPedido pesquisaPedido;
    PesquisaPedido pesquisaCliente;
    PesquisaPedido pesquisaProduto;
    FormaTela tela;
};

// The regular order screen.
const VariantePedido &VariantePedidoRegular();
// The package order screen: decimal quantities, one average price.
const VariantePedido &VariantePedidoPacote();
// The tied-sale screen: no stock check and no pending items.
const VariantePedido &VariantePedidoVendaCasada();
