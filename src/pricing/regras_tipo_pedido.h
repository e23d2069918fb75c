#pragma once

#include "campos_esquema.h"
#include "tipo_pedido.h"

#include <optional>
#include <span>
#include <vector>

class ConjuntoDados;
struct DefCampo;

// What makes a kind of order a kind, below its screen: where its items are
// kept, which header columns hold its totals, how its items are priced, what
// its documents are called, the checks of its print and send and the words
// its messages use. Every layer reads a kind's facts here; a new kind is a row
// of this table (and a screen variant in orders/).

// One item list of a kind.
struct ListaDoTipo {
    // The local table; the central database has one of the same name.
    const char *tabela;
    const std::vector<DefCampo> &(*campos)();
    ConjuntoDados &(*conjunto)();
    // The templates' name for the list.
    const char *fonteRelatorio;
    // The header column holding the list's own sum, where the kind keeps one.
    std::optional<NomeCampo> colunaSubtotal;
};

// Who a kind's mail comes from and whom a reply goes to.
enum class RemetenteEmail {
    // The configured sender ("de"); replies to it.
    Configurado,
    // The user's mailbox writes to the customer and to the first central
    // office, replies going to the configured sender; the other offices get
    // it from the configured sender, replies going to the user.
    UsuarioAoClienteEPrimeiraCentral,
    // The configured sender; replies go to the recipient itself.
    ConfiguradoRespostaAoDestinatario,
};

struct RegrasTipoPedido {
    TipoPedido tipo;

    // Where it is kept.
    struct {
        // The item lists: the first is the kind's own (ItensDoPedido); an
        // order screen shows them in this order.
        std::span<const ListaDoTipo> listas;
        // The header column holding the kind's total, which is what tells
        // the kinds apart (the other kinds' columns stay NULL).
        NomeCampo colunaTotal;
        // The condition that keeps a header list to the kind's orders.
        const char *condicaoCabecalho;
        // The central database's name of the kind ("tipo" of its header).
        const char *nomeCentral;
    } guarda;

    // How the header's totals come from the items.
    struct {
        // The sum of the items' desconto, where the kind keeps one.
        std::optional<NomeCampo> colunaAcumulativo;
        // The summed vl_gordura keeps only its integer part.
        bool gorduraInteira;
        // The total is the first list's sum less the second's, each sum in
        // its list's column, every item priced again first.
        bool totalEhDiferenca;
    } totais;

    // How an item is priced.
    struct {
        // The freight surcharge, the three discount codes and the margin apply.
        bool freteECodigos;
        // A margin above the discount limit leaves the excess in the item's
        // desconto.
        bool descontoPelaGordura;
        // The product's promotional price is the floor of the unit price.
        bool pisoPromocional;
        // The highest volume discount level (dv) the header offers; level 6
        // (0.5 %) exists only where it is offered.
        int dvMaximo;
        // Every item takes one average unit price.
        bool precoMedio;
        // The screen offers to find codes that give a price the customer asks.
        bool negociaPreco;
    } precos;

    // The documents.
    struct {
        // The report template, in the templates' folder.
        const char *modelo;
        // File names: prefix + order number (+ ".pdf" or the transfer file's rest).
        const char *prefixoPdf;
        const char *prefixoTransferencia;
        // The print narrows the customer list to the order's customer;
        // otherwise it only moves to it.
        bool filtraCliente;
        // The print adds the order to the header list's filter instead of
        // replacing it.
        bool somaAoFiltroDoCabecalho;
        // The print shows the customer's default payment form.
        bool formaPadraoDoCliente;
    } documentos;

    // The checks before printing and sending, and how a send goes.
    struct {
        // Printing needs every item's stock to cover its quantity.
        bool imprimeSoComEstoque;
        // Sending needs every item to have some stock.
        bool enviaSoComEstoque;
        RemetenteEmail remetente;
        // The transfer file is written also when only the customer is mailed.
        bool transferenciaSempre;
        // The customer's mail marks the order sent too, not only a central
        // office's.
        bool emailDoClienteMarcaEnviado;
    } envio;

    // The words its messages use.
    struct {
        const char *nome;         // in the order lists ("Venda casada")
        const char *oQue;         // "Enviar o pedido ( 12 ) para:"
        const char *inicioResumo; // "O pedido ( 12 ):" over the send's summary
        const char *semEstoqueAoImprimir;
        const char *semEstoqueAoEnviar;
        const char *naoGerado; // sending before the PDF exists
    } textos;
};

// The facts of a kind.
const RegrasTipoPedido &RegrasDoTipo(TipoPedido tipo);

// Every kind, in the enum's order.
std::span<const RegrasTipoPedido> TiposDePedido();
