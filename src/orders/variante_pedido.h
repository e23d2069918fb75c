#pragma once

#include "campos_esquema.h"
#include "regras_tipo_pedido.h"
#include "visao_pedido.h"

#include <optional>
#include <qnamespace.h>
#include <utility>
#include <vector>

// A search dialog's query: "SELECT " + campos + " FROM " + tabela, and the
// column whose value the chosen row gives.
struct PesquisaPedido {
    const char *tabela;
    const char *campos;
    const char *resultado;
};

// How an item grid colours its rows.
enum class CoresGrade {
    PorEstoque, // blue within the stock, red above it
    SempreVermelho,
    SempreAzul,
};

// What leaving a box does: the product code checked and the item priced
// (only while an item is being typed), then the focus moved. An item box's
// exit is the same in every item list, each on its own list.
struct SaidaCaixa {
    CaixaPedido caixa;
    bool confereProduto;
    std::optional<CaixaPedido> foco;
    bool focoSoEmEdicao; // the focus moves only while an item is being typed
};

// A column of an item grid.
struct ColunaGrade {
    NomeCampo campo;
    const char *titulo;
    int largura;
    Qt::Alignment alinhamento = {}; // none: the field's own alignment
};

// The name, caption and hint of a button.
struct TextoBotao {
    const char *nome;
    const char *rotulo;
    const char *dica;
};

// A box of the summary row, over the current customer or the current order.
struct QuadroResumo {
    const char *titulo;
    bool doCliente;
    NomeCampo campo;
    const char *dica;
};

// The checks saving an item makes.
struct ConferenciaItem {
    // Its product must be on file (an unknown code stops the save).
    bool exigeProduto = true;
    // Its quantity must be a multiple of the product's sales multiple.
    bool confereMultiplo = true;
    // Above the stock it asks, and moves the item to the pending list on Yes.
    bool perguntaEstoque = true;
    // Decimal quantities: any quantity above 0 is valid, not only from 1 on.
    bool quantidadeDecimal = false;
};

// The pending items a list brings back.
struct PendenciaLista {
    bool importa = false;
    // What an imported pending row gives the item.
    std::vector<NomeCampo> campos = {Campos::Item::codigo, Campos::Item::quantidade, Campos::Item::cd_desconto1,
                                     Campos::Item::cd_desconto2, Campos::Item::cd_desconto3};
};

// One item list of an order screen: the checks its items pass and what its
// block on the screen shows. The n-th list of a screen is the n-th item list
// of its kind (RegrasTipoPedido), whose data set and pricing it uses.
struct ListaPedido {
    ConferenciaItem aoSalvar;
    PendenciaLista pendencia;
    // The fabricante box and the D1, D2, D3 and G lists of the item row.
    bool codigosDesconto = true;
    CoresGrade cores = CoresGrade::PorEstoque;
    // Appended to the item delete question.
    const char *fimPerguntaExcluir = " ?";
    PesquisaPedido pesquisaProduto = {"tbproduto order by produto", "codigo, produto, precovenda, estoque", "codigo"};

    // The block on the screen: the import button (when the list imports)
    // and the seven record buttons, the prefix of its box names
    // ("dbItem" + "Codigo"), its search button, its grid and its subtotal.
    std::vector<TextoBotao> botoes;
    const char *prefixoCaixas = "dbItem";
    TextoBotao botaoPesquisa = {"btnPesquisarItem", "", "Pesquisar item(ns)"};
    const char *nomeGrade = "dbgPedidoItem";
    const char *dicaGrade = "Itens cadastrados"; // may be none
    std::vector<ColunaGrade> colunas;
    // The label of the list's sum, where the kind keeps one.
    const char *rotuloSubtotal = nullptr;
    // The top-down place of the block; the lists themselves are in the
    // order the order's save walks them.
    int posicao = 0;
};

// Where the focus goes.
struct FocoPedido {
    // Opening the screen focuses the first list's grid.
    bool gradeAoAbrir = true;
    // An unknown product code, emptied on leaving a box, takes the focus back.
    bool codigoDesconhecidoVoltaAoCodigo = false;
    // Tab order of the item row: the description last instead of second.
    bool descricaoPorUltimo = false;
    // What leaving each box does.
    std::vector<SaidaCaixa> saidas;
};

// What the customer box and its search do.
struct ClientePedido {
    // Leaving the customer code box does something (below); otherwise nothing.
    bool saidaDoCodigoAge = true;
    // The customer code is only checked: an unknown or empty one is emptied
    // and the box gets the focus back. Otherwise the customer brings its
    // payment form.
    bool codigoSoConferido = false;
    // The search writes its result as it is (empty when cancelled), without
    // moving the customer list or the focus.
    bool pesquisaSoEscreveCodigo = false;
    // The search opens also while the header is at rest (the choice is then
    // dropped).
    bool pesquisaAbreEmRepouso = false;
    // Bringing a customer colours the panel by its last purchase.
    bool coloreUltimaCompra = false;
};

// What is stored when: a new header, editing, saving an item and closing.
struct GravacaoPedido {
    // A new header gets cif "Não".
    bool cifNaoAoInserir = false;
    // Editing an item puts the header at rest into editing first.
    bool editarItemEditaPedido = false;
    // ... and an empty list has nothing to edit (rather than a new item).
    bool editarItemExigeItem = false;
    // Saving or deleting an item saves the whole order, which prices every
    // item; the order's own save then prices nothing before its totals.
    bool itemSalvaPedido = false;
    // Closing while something is unsaved asks first; without the question
    // the screen saves what is unsaved and closes.
    bool perguntaAoFechar = true;
};

// What the keys and the record buttons may do.
struct TeclasPedido {
    // The digit keys of the first list's grid run the buttons.
    bool digitosDaGrade = true;
    // The previous and next item buttons move only while the items are at rest.
    bool itensNavegamSoEmRepouso = false;
    // The next item button moves only while the header and the items are at rest.
    bool proximoItemSoComPedidoEmRepouso = false;
    // The order search while something is unsaved says so instead of nothing.
    bool pesquisaEmEdicaoAvisa = false;
    // "Repetir pedido": a new order with the current one's customer and items.
    bool repetePedido = false;
};

// What tells one kind of order screen from another: its item lists, the
// behaviours it has or lacks and the texts it uses. The screens share one
// logic and one form; a kind's screen is this data, over the kind's facts in
// RegrasTipoPedido (its lists, totals, pricing and documents).
struct VariantePedido {
    TipoPedido tipo;
    const char *nomeTela = "TfrmPedido";
    const char *titulo;
    FocoPedido foco{};
    ClientePedido cliente{};
    GravacaoPedido gravacao{};
    TeclasPedido teclas{};
    // Appended to the order delete question (" ?" on the regular screen).
    const char *fimPerguntaExcluir;
    // "O pedido (" + number + ") está em uso, deseja salvar e sair?"
    const char *inicioPerguntaFechar;
    PesquisaPedido pesquisaPedido;
    PesquisaPedido pesquisaCliente;

    // The item lists, in the order saving the order walks them.
    std::vector<ListaPedido> listas;

    // The form: the ten header buttons, the customer code box and its
    // search button, the fixed lists' entries and the summary row.
    std::vector<TextoBotao> botoesPedido;
    // Only buttons carry hints; labels, boxes, frames and grids have none.
    bool dicasSoNosBotoes = false;
    const char *nomeCodigoCliente = "dbCodigoCliente";
    const char *nomePesquisaCliente = "btnPesquisarCliente";
    const char *dicaPesquisaCliente = "Pesquisar cliente";
    // "Entrega" lists the localities (shows nm_localidade, stores
    // tp_localidade) instead of the fixed entries.
    bool entregaPorLocalidade = false;
    std::vector<std::pair<const char *, const char *>> entregas = {{"PNS", "0"}};
    const char *dicaEntrega = "Escolha Forma de Entrega";
    std::vector<const char *> opcoesCif = {"Não"};
    std::vector<QuadroResumo> resumo;

    // The kind's facts.
    const RegrasTipoPedido &regras() const { return RegrasDoTipo(tipo); }
};

// The regular order screen.
const VariantePedido &VariantePedidoRegular();
// The package order screen: decimal quantities, one average price.
const VariantePedido &VariantePedidoPacote();
// The tied-sale screen: no stock check and no pending items.
const VariantePedido &VariantePedidoVendaCasada();
// The exchange screen: returned items against replacement items.
const VariantePedido &VariantePedidoTroca();
