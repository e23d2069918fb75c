#include "variante_pedido.h"

#include "calculo_preco.h"
#include "udm.h"

namespace
{

const QuadroResumo kMenorCompra{" Menor compra ", true, "valmenorcompra", "Menor compra"};
const QuadroResumo kMaiorCompra{" Maior compra ", true, "valmaiorcompra", "Maior compra"};
const QuadroResumo kUltimaCompra{" Ultima compra ", true, "ultimacompra", "Data da última compra"};

ListaPedido listaRegular()
{
    ListaPedido lista;
    lista.importaPendencia = true;
    lista.botoes = {
        {"BtnImportarPendencia", "I&mportar", "Importar pendência"},
        {"btnNovoItem", "&Inserir", "Inserir item"},
        {"btnEditarItem", "&Editar", "Editar item"},
        {"btnSalvarItem", "&Salvar", "Salvar item"},
        {"btnCancelarItem", "&Cancelar", "Cancelar item"},
        {"btnExcluirItem", "E&xcluir", "Deletar item"},
        {"btnAnteriorItem", "&Anterior", "Item anterior"},
        {"btnProximoItem", "P&roximo", "Próximo item"},
    };
    lista.colunas = {
        {"codigo", "Código do item", 120},
        {"item_descricao", "Descrição", 390},
        {"quantidade", "Quantidade", 80, Qt::AlignLeft | Qt::AlignVCenter},
        {"valorUnitario", "Valor Unitário", 180},
        {"valorTotal", "Valor Total", 200},
        {"cd_desconto1", "D1", 40},
        {"cd_desconto2", "D2", 40},
        {"cd_desconto3", "D3", 40},
        {"estoque", "Estoque", 90, Qt::AlignLeft | Qt::AlignVCenter},
    };
    return lista;
}

// Exchange items: priced from the product alone, decimal quantities, no
// product, multiple or stock check on saving.
ListaPedido listaTroca(ConjuntoDados &(*conjunto)(), void (*precificar)())
{
    ListaPedido lista;
    lista.conjunto = conjunto;
    lista.precificar = precificar;
    lista.exigeProduto = false;
    lista.verificaMultiplo = false;
    lista.verificaEstoque = false;
    lista.quantidadeDecimal = true;
    lista.codigosDesconto = false;
    lista.pesquisaProduto = {"tbproduto", "codigo, produto, estoque", "codigo"};
    lista.dicaGrade = nullptr;
    return lista;
}

ListaPedido listaSubstituicao()
{
    ListaPedido lista = listaTroca([]() -> ConjuntoDados & { return DM->QyTrocaSub; }, CalcularPrecoTrocaSub);
    lista.importaPendencia = true;
    lista.camposPendencia = {"codigo", "quantidade"};
    lista.botoes = {
        {"BtnImportarPendencia", "Importar", "Importar pendência"},
        {"BtnNovoSub", "Inserir", "Inserir substituição"},
        {"BtnEditarSub", "Editar", "Editar substituição"},
        {"BtnSalvarSub", "Salvar", "Salvar substituição"},
        {"BtnCancelarSub", "Cancelar", "Cancelar substituição"},
        {"BtnExcluirSub", "Excluir", "Deletar substituição"},
        {"BtnAnteriorSub", "Anterior", "Substituição anterior"},
        {"BtnProximoSub", "Proximo", "Próxima substituição"},
    };
    lista.prefixoCaixas = "dbItemTrocaSub";
    lista.botaoPesquisa = {"BtnPesquisarSubistituicao", "", "Pesquisar item(ns)"};
    lista.nomeGrade = "dbgTrocaSub";
    lista.colunas = {
        {"codigo", "Código do item", 110},
        {"item_descricao", "Descrição", 660},
        {"quantidade", "Quantidade", 90, Qt::AlignCenter},
        {"valorUnitario", "Valor Unitário", 130},
        {"valorTotal", "Valor Total", 130},
        {"estoque", "Estoque", 60},
    };
    lista.rotuloSubtotal = "Subtotal (Substituição) :";
    lista.campoSubtotal = "vl_total_troca2";
    lista.posicao = 1;
    return lista;
}

ListaPedido listaDevolucao()
{
    ListaPedido lista = listaTroca([]() -> ConjuntoDados & { return DM->QyTrocaDev; }, CalcularPrecoTrocaDev);
    lista.cores = CoresGrade::SempreAzul;
    lista.botoes = {
        {"BtnNovoDevolucao", "Inserir", "Inserir devolução"},
        {"BtnEditarDevolucao", "Editar", "Editar devolução"},
        {"BtnSalvarDevolucao", "Salvar", "Salvar devolução"},
        {"BtnCancelarDevolucao", "Cancelar", "Cancelar devolução"},
        {"BtnExcluirDevolucao", "Excluir", "Deletar devolução"},
        {"BtnAnteriorDevolucao", "Anterior", "Devolução anterior"},
        {"BtnProximoDevolucao", "Proximo", "Próxima devolução"},
    };
    lista.prefixoCaixas = "dbItemTrocaDev";
    lista.botaoPesquisa = {"btnPesquisarDevolucao", "", "Pesquisar item(ns)"};
    lista.nomeGrade = "dbgTrocaDevolucao";
    lista.alturaGrade = 100;
    lista.colunas = {
        {"codigo", "Código do item", 110},
        {"item_descricao", "Descrição", 660},
        {"quantidade", "Quantidade", 90, Qt::AlignCenter},
        {"valorUnitario", "Valor Unitário", 130},
        {"valorTotal", "Valor total", 190},
    };
    lista.rotuloSubtotal = "Subtotal (Devolução) :";
    lista.campoSubtotal = "vl_total_troca1";
    lista.posicao = 0;
    return lista;
}

} // namespace

const VariantePedido &VariantePedidoRegular()
{
    static const VariantePedido variante{
        .tipo = TipoPedido::Pedido,
        .titulo = "Corlando - Pedido",
        .campoSaldo = "vl_total_item",
        .cifNaoAoInserir = true,
        .colorePainel = true,
        .fimPerguntaExcluir = " ?",
        .inicioPerguntaFechar = "O pedido (",
        .pesquisaPedido = {"tbpedido LEFT JOIN tbcliente ON tbpedido.idcliente=tbcliente.idcliente where "
                           "tbpedido.vl_total_item >= 0 order by tbpedido.nr_pedido desc",
                           "fantasia, nr_pedido, dt_pedido, vl_total_item", "nr_pedido"},
        .pesquisaCliente = {"tbcliente order by idcliente", "nome, cnpj, idcliente", "idcliente"},
        .listas = {listaRegular()},
        .botoesPedido =
            {
                {"BtnPesquisarPedido", "&Procurar", "Pesquisar pedido(s)"},
                {"btnEnviar", "E&nviar", "Enviar pedido"},
                {"btnImprimirPedido", "I&mprimir", "Imprimir pedido"},
                {"btnNovo", "&Inserir", "Inserir pedido"},
                {"btnEditar", "&Editar", "Editar pedido"},
                {"btnSalvar", "&Salvar", "Salvar pedido"},
                {"btnCancelar", "&Cancelar", "Cancelar pedido"},
                {"btnExcluir", "E&xcluir", "Deletar pedido"},
                {"btnAnterior", "&Anterior", "Pedido anterior"},
                {"btnProximo", "P&roximo", "Próximo pedido"},
            },
        .resumo = {kMenorCompra,
                   kMaiorCompra,
                   kUltimaCompra,
                   {" Volumes ", false, "vl_gordura", nullptr},
                   {" Saldo ", false, "vl_total_item", "Saldo do pedido"}},
    };
    return variante;
}

const VariantePedido &VariantePedidoTroca()
{
    static const VariantePedido variante{
        .tipo = TipoPedido::Troca,
        .nomeTela = "TfrmPedidoTroca",
        .titulo = "Corlando - Troca",
        .campoSaldo = "vl_diferenca_troca",
        .condicaoTipo = "vl_diferenca_troca<>NULL",
        .cifNaoAoInserir = false,
        .colorePainel = false,
        .fimPerguntaExcluir = "",
        .inicioPerguntaFechar = "",
        .pesquisaPedido = {"tbpedido LEFT JOIN tbcliente ON tbpedido.idcliente=tbcliente.idcliente where "
                           "tbpedido.vl_diferenca_troca >= 0 order by tbpedido.nr_pedido desc",
                           "fantasia, nr_pedido, dt_pedido, vl_total_item", "nr_pedido"},
        .pesquisaCliente = {"tbcliente", "nome, cnpj, idcliente", "idcliente"},
        // Saving walks the replacement items before the returned ones.
        .listas = {listaSubstituicao(), listaDevolucao()},
        .focaGradeAoAbrir = false,
        .perguntaAoFechar = false,
        .teclasNaGrade = false,
        .saidaCodigoCliente = false,
        .pesquisaClienteSimples = true,
        .saidaObservacao = false,
        .avisaPesquisaEmEdicao = true,
        .saidaUnicaItem = true,
        .itemSalvaPedido = true,
        .edicaoItemEditaCabecalho = true,
        .proximoItemEmRepouso = true,
        .botoesPedido =
            {
                {"BtnPesquisarPedido", "Procurar", "Pesquisar troca(s)"},
                {"btnEnviar", "Enviar", "Enviar pedido"},
                {"btnImprimirPedido", "Imprimir", "Imprimir pedido"},
                {"BtnNovo", "Inserir", "Inserir pedido"},
                {"BtnEditar", "Editar", "Editar pedido"},
                {"BtnSalvar", "Salvar", "Salvar pedido"},
                {"BtnCancelar", "Cancelar", "Cancelar pedido"},
                {"BtnExcluir", "Excluir", "Deletar pedido"},
                {"BtnAnterior", "Anterior", "Pedido anterior"},
                {"BtnProximo", "Proximo", "Próximo pedido"},
            },
        .nomeCodigoCliente = "edtCodigoCliente",
        .nomePesquisaCliente = "SpeedButton9",
        .entregas = {{"PNS", "0"}, {"PMS", "1"}, {"PSS", "2"}},
        .dvMaximo = 5,
        .opcoesCif = {"Sim", "Não"},
        .resumo = {kMenorCompra,
                   kMaiorCompra,
                   kUltimaCompra,
                   {" Ultima compra (R$) ", true, "valultcompra", nullptr},
                   {" Saldo ", false, "vl_diferenca_troca", "Saldo do pedido"}},
    };
    return variante;
}
