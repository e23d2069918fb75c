#include "regras_tipo_pedido.h"

#include "udm.h"

#include <cstddef>
#include <iterator>

namespace
{

constexpr ListaDoTipo kItensPedido[] = {
    {"tbpedido_item", Esquema::pedidoItem, []() -> ConjuntoDados & { return DM->QyPedidoItem; }, "rvdsPedidoItem", {}},
};
constexpr ListaDoTipo kItensVendaCasada[] = {
    {"tbpedido_venda_casada",
     Esquema::vendaCasada,
     []() -> ConjuntoDados & { return DM->QyVendaCasada; },
     "rvdscVendaCasada",
     {}},
};
constexpr ListaDoTipo kItensPacote[] = {
    {"tbpedido_pacote", Esquema::pacote, []() -> ConjuntoDados & { return DM->QyPacote; }, "rvdsPacote", {}},
};
// The replacement items first: they are the kind's own list, and the total
// is what they add less what the returned items take back.
constexpr ListaDoTipo kItensTroca[] = {
    {"tbpedido_troca1", Esquema::trocaSub, []() -> ConjuntoDados & { return DM->QyTrocaSub; }, "rvdsTroca",
     Campos::Pedido::vl_total_troca2},
    {"tbpedido_troca2", Esquema::trocaDev, []() -> ConjuntoDados & { return DM->QyTrocaDev; }, "rvdsTrocaDevolucao",
     Campos::Pedido::vl_total_troca1},
};

constexpr const char *kSemEstoqueAoImprimir =
    "O pedido não pode ser gerado. Verifique se os itens cadastrados estão no estoque.";
constexpr const char *kSemEstoqueAoEnviar =
    "O pedido não pode ser enviado. Verifique se os itens cadastrados estão no estoque.";
constexpr const char *kNaoGerado = "O pedido ainda não foi gerado. Clique em \"Imprimir\" para gerar o Pedido.";

// In the enum's order.
constexpr RegrasTipoPedido kRegras[] = {
    {
        .tipo = TipoPedido::Pedido,
        .guarda = {.listas = kItensPedido,
                   .colunaTotal = Campos::Pedido::vl_total_item,
                   .condicaoCabecalho = "vl_total_item>=0",
                   .nomeCentral = "pedido"},
        .totais = {.colunaAcumulativo = Campos::Pedido::vl_acumulativo_pedido,
                   .gorduraInteira = true,
                   .totalEhDiferenca = false},
        .precos = {.freteECodigos = true,
                   .descontoPelaGordura = false,
                   .pisoPromocional = true,
                   .dvMaximo = 6,
                   .precoMedio = false,
                   .negociaPreco = true},
        .documentos = {.modelo = "pedido.rav",
                       .prefixoPdf = "pedido-",
                       .prefixoTransferencia = "pedido-",
                       .filtraCliente = true,
                       .somaAoFiltroDoCabecalho = false,
                       .formaPadraoDoCliente = true},
        .envio = {.imprimeSoComEstoque = true,
                  .enviaSoComEstoque = true,
                  .remetente = RemetenteEmail::UsuarioAoClienteEPrimeiraCentral,
                  .transferenciaSempre = false,
                  .emailDoClienteMarcaEnviado = false},
        .textos = {.nome = "Pedido",
                   .oQue = "o pedido",
                   .inicioResumo = "O pedido",
                   .semEstoqueAoImprimir = kSemEstoqueAoImprimir,
                   .semEstoqueAoEnviar = kSemEstoqueAoEnviar,
                   .naoGerado = kNaoGerado},
    },
    {
        .tipo = TipoPedido::VendaCasada,
        .guarda = {.listas = kItensVendaCasada,
                   .colunaTotal = Campos::Pedido::vl_total_venda_casada,
                   .condicaoCabecalho = "vl_total_venda_casada>=0",
                   .nomeCentral = "venda_casada"},
        .totais = {.colunaAcumulativo = std::nullopt, .gorduraInteira = false, .totalEhDiferenca = false},
        .precos = {.freteECodigos = true,
                   .descontoPelaGordura = false,
                   .pisoPromocional = true,
                   .dvMaximo = 5,
                   .precoMedio = false,
                   .negociaPreco = true},
        .documentos = {.modelo = "venda_casada.rav",
                       .prefixoPdf = "venda-",
                       .prefixoTransferencia = "pedido-",
                       .filtraCliente = true,
                       .somaAoFiltroDoCabecalho = false,
                       .formaPadraoDoCliente = true},
        .envio = {.imprimeSoComEstoque = false,
                  .enviaSoComEstoque = false,
                  .remetente = RemetenteEmail::ConfiguradoRespostaAoDestinatario,
                  .transferenciaSempre = false,
                  .emailDoClienteMarcaEnviado = false},
        .textos = {.nome = "Venda casada",
                   .oQue = "o pedido",
                   .inicioResumo = "O pedido",
                   .semEstoqueAoImprimir = kSemEstoqueAoImprimir,
                   .semEstoqueAoEnviar = kSemEstoqueAoEnviar,
                   .naoGerado = kNaoGerado},
    },
    {
        .tipo = TipoPedido::Pacote,
        .guarda = {.listas = kItensPacote,
                   .colunaTotal = Campos::Pedido::vl_total_pacote,
                   .condicaoCabecalho = "vl_total_pacote>=0",
                   .nomeCentral = "pacote"},
        .totais = {.colunaAcumulativo = Campos::Pedido::vl_acumulativo_pacote,
                   .gorduraInteira = false,
                   .totalEhDiferenca = false},
        .precos = {.freteECodigos = true,
                   .descontoPelaGordura = true,
                   .pisoPromocional = false,
                   .dvMaximo = 5,
                   .precoMedio = true,
                   .negociaPreco = false},
        .documentos = {.modelo = "pacote.rav",
                       .prefixoPdf = "pacote-",
                       .prefixoTransferencia = "pacote-",
                       .filtraCliente = true,
                       .somaAoFiltroDoCabecalho = true,
                       .formaPadraoDoCliente = false},
        .envio = {.imprimeSoComEstoque = true,
                  .enviaSoComEstoque = true,
                  .remetente = RemetenteEmail::Configurado,
                  .transferenciaSempre = false,
                  .emailDoClienteMarcaEnviado = false},
        .textos = {.nome = "Pacote",
                   .oQue = "o pacote",
                   .inicioResumo = "O pacote",
                   .semEstoqueAoImprimir =
                       "O pacote não pode ser gerado. Verifique se os itens cadastrados estão no estoque.",
                   .semEstoqueAoEnviar =
                       "O Pacote não pode ser enviado. Verifique se os itens cadastrados estão no estoque.",
                   .naoGerado = "O Pacote ainda não foi gerado. Clique em \"Imprimir\" para gerar o Pacote."},
    },
    {
        .tipo = TipoPedido::Troca,
        .guarda = {.listas = kItensTroca,
                   .colunaTotal = Campos::Pedido::vl_diferenca_troca,
                   .condicaoCabecalho = "vl_diferenca_troca<>NULL",
                   .nomeCentral = "troca"},
        .totais = {.colunaAcumulativo = std::nullopt, .gorduraInteira = false, .totalEhDiferenca = true},
        .precos = {.freteECodigos = false,
                   .descontoPelaGordura = false,
                   .pisoPromocional = false,
                   .dvMaximo = 5,
                   .precoMedio = false,
                   .negociaPreco = false},
        .documentos = {.modelo = "troca.rav",
                       .prefixoPdf = "troca-",
                       .prefixoTransferencia = "troca-",
                       .filtraCliente = false,
                       .somaAoFiltroDoCabecalho = true,
                       .formaPadraoDoCliente = false},
        .envio = {.imprimeSoComEstoque = true,
                  .enviaSoComEstoque = false,
                  .remetente = RemetenteEmail::Configurado,
                  .transferenciaSempre = true,
                  .emailDoClienteMarcaEnviado = true},
        .textos = {.nome = "Troca",
                   .oQue = "a troca",
                   .inicioResumo = "O pedido",
                   .semEstoqueAoImprimir =
                       "A troca não pode ser gerada. Verifique se os itens cadastrados estão no estoque.",
                   .semEstoqueAoEnviar = kSemEstoqueAoEnviar,
                   .naoGerado = kNaoGerado},
    },
};

constexpr bool naOrdemDoEnum()
{
    for (std::size_t i = 0; i < std::size(kRegras); ++i)
        if (static_cast<std::size_t>(kRegras[i].tipo) != i)
            return false;
    return true;
}
static_assert(naOrdemDoEnum(), "one row per kind, in the enum's order");

} // namespace

const RegrasTipoPedido &RegrasDoTipo(TipoPedido tipo)
{
    return kRegras[static_cast<std::size_t>(tipo)];
}

std::span<const RegrasTipoPedido> TiposDePedido()
{
    return kRegras;
}
