#include "variante_pedido.h"

namespace
{

const PesquisaPedido kPesquisaCliente = {"tbcliente order by idcliente", "nome, cnpj, idcliente", "idcliente"};
const PesquisaPedido kPesquisaProduto = {"tbproduto order by produto", "codigo, produto, precovenda, estoque",
                                         "codigo"};

} // namespace

const VariantePedido &VariantePedidoRegular()
{
    static const VariantePedido variante{
        .tipo = TipoPedido::Pedido,
        .titulo = "Corlando - Pedido",
        .campoSaldo = "vl_total_item",
        .cifNaoAoInserir = true,
        .verificaMultiplo = true,
        .verificaEstoque = true,
        .importaPendencia = true,
        .colorePainel = true,
        .saidas = {{CaixaPedido::ItemCodigo, true, CaixaPedido::ItemQuantidade, true},
                   {CaixaPedido::ItemDesconto1, true, std::nullopt, false},
                   {CaixaPedido::ItemDesconto2, true, std::nullopt, false},
                   {CaixaPedido::ItemDesconto3, true, CaixaPedido::ItemGordura, false},
                   {CaixaPedido::ItemGordura, false, CaixaPedido::ItemCodigo, false},
                   {CaixaPedido::Observacao, false, CaixaPedido::Grade, false}},
        .cores = CoresGrade::PorEstoque,
        .fimPerguntaExcluir = " ?",
        .inicioPerguntaFechar = "O pedido (",
        .pesquisaPedido = {"tbpedido LEFT JOIN tbcliente ON tbpedido.idcliente=tbcliente.idcliente where "
                           "tbpedido.vl_total_item >= 0 order by tbpedido.nr_pedido desc",
                           "fantasia, nr_pedido, dt_pedido, vl_total_item", "nr_pedido"},
        .pesquisaCliente = kPesquisaCliente,
        .pesquisaProduto = kPesquisaProduto,
        .tela = {},
    };
    return variante;
}

const VariantePedido &VariantePedidoPacote()
{
    static const VariantePedido variante{
        .tipo = TipoPedido::Pacote,
        .titulo = "Corlando - Pacote",
        .campoSaldo = "vl_total_pacote",
        .focaGradeAoAbrir = false,
        .focaClienteAoInserir = false,
        .cifNaoAoInserir = false,
        .quantidadeDecimal = true,
        .verificaMultiplo = false,
        .verificaEstoque = true,
        .importaPendencia = true,
        .precoMedio = true,
        .editarItemEditaPedido = true,
        .navegaItensSoEmRepouso = true,
        .clienteSoConferido = true,
        .colorePainel = false,
        .codigoDesconhecidoFocaCodigo = true,
        .saidas = {{CaixaPedido::ItemCodigo, true, std::nullopt, false},
                   {CaixaPedido::ItemQuantidade, true, std::nullopt, false},
                   {CaixaPedido::ItemUnitario, true, std::nullopt, false},
                   {CaixaPedido::ItemTotal, true, std::nullopt, false},
                   {CaixaPedido::ItemDesconto1, true, std::nullopt, false},
                   {CaixaPedido::ItemDesconto2, true, std::nullopt, false},
                   {CaixaPedido::ItemDesconto3, true, std::nullopt, false},
                   {CaixaPedido::ItemDescricao, true, std::nullopt, false}},
        .avisaPesquisaEmEdicao = true,
        .tecladoGrade = false,
        .cores = CoresGrade::PorEstoque,
        .fimPerguntaExcluir = "",
        .inicioPerguntaFechar = "O pacote (",
        .pesquisaPedido = {"tbpedido where vl_total_pacote >= 0 order by nr_pedido",
                           "nr_pedido, dt_pedido, vl_total_pacote", "nr_pedido"},
        .pesquisaCliente = {"tbcliente", "nome, cnpj, idcliente", "idcliente"},
        .pesquisaProduto = {"tbproduto", "codigo, produto, estoque", "codigo"},
        .tela =
            {
                .nomesBotoes = {{AcaoPedido::Enviar, "BtnEnviar"},
                                {AcaoPedido::Novo, "BtnNovo"},
                                {AcaoPedido::Editar, "BtnEditar"},
                                {AcaoPedido::Salvar, "BtnSalvar"},
                                {AcaoPedido::Cancelar, "BtnCancelar"},
                                {AcaoPedido::Excluir, "BtnExcluir"},
                                {AcaoPedido::Anterior, "BtnAnterior"},
                                {AcaoPedido::Proximo, "BtnProximo"},
                                {AcaoPedido::NovoItem, "BtnNovoItem"},
                                {AcaoPedido::EditarItem, "BtnEditarItem"},
                                {AcaoPedido::SalvarItem, "BtnSalvarItem"},
                                {AcaoPedido::CancelarItem, "BtnCancelarItem"},
                                {AcaoPedido::ExcluirItem, "BtnExcluirItem"},
                                {AcaoPedido::AnteriorItem, "BtnAnteriorItem"},
                                {AcaoPedido::ProximoItem, "BtnProximoItem"}},
                .dicasSoNosBotoes = true,
                .dicaPesquisarPedido = "Pesquisar pacote(s)",
                .nomePesquisarCliente = "BtnProcurarCliente",
                .dicaPesquisarCliente = nullptr,
                .entregaPorLocalidade = true,
                .dicaEntrega = nullptr,
                .dvMaximo = 5,
                .tituloValorTotal = "Valor total",
                .quantidadeAEsquerda = false,
                .descricaoPorUltimo = true,
            },
    };
    return variante;
}

const VariantePedido &VariantePedidoVendaCasada()
{
    static const VariantePedido variante{
        .tipo = TipoPedido::VendaCasada,
        .titulo = "Corlando - Pedido Venda Casada",
        .campoSaldo = "vl_total_venda_casada",
        .cifNaoAoInserir = false,
        .verificaMultiplo = true,
        .verificaEstoque = false,
        .importaPendencia = false,
        .pesquisaClienteEmRepouso = true,
        .colorePainel = false,
        .saidas = {{CaixaPedido::ItemCodigo, true, CaixaPedido::ItemQuantidade, true},
                   {CaixaPedido::ItemDesconto1, true, std::nullopt, false},
                   {CaixaPedido::ItemDesconto2, true, std::nullopt, false},
                   {CaixaPedido::ItemDesconto3, true, CaixaPedido::ItemCodigo, false},
                   {CaixaPedido::Observacao, false, CaixaPedido::Grade, false}},
        .avisaPesquisaEmEdicao = true,
        .cores = CoresGrade::SempreVermelho,
        .fimPerguntaExcluir = "",
        .inicioPerguntaFechar = "O pedido (",
        .pesquisaPedido = {"tbpedido LEFT JOIN tbcliente ON tbpedido.idcliente=tbcliente.idcliente where "
                           "tbpedido.vl_total_venda_casada >= 0 order by tbpedido.nr_pedido desc",
                           "fantasia, nr_pedido, dt_pedido, vl_total_item", "nr_pedido"},
        .pesquisaCliente = kPesquisaCliente,
        .pesquisaProduto = kPesquisaProduto,
        .tela =
            {
                .nomesBotoes = {},
                .entregaPorLocalidade = true,
                .dicaEntrega = "Escolha o tipo de entrega",
                .dvMaximo = 5,
                .dicaVolumes = "Volumes",
                .nomeGrade = "dbgVendaCasada",
                .tituloValorTotal = "Valor total",
                .quantidadeAEsquerda = false,
            },
    };
    return variante;
}
