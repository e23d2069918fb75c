#include "variante_pedido.h"

#include "campos_esquema.h"

namespace
{

const QuadroResumo kMenorCompra{" Menor compra ", true, Campos::Cliente::valmenorcompra, "Menor compra"};
const QuadroResumo kMaiorCompra{" Maior compra ", true, Campos::Cliente::valmaiorcompra, "Maior compra"};
const QuadroResumo kUltimaCompra{" Ultima compra ", true, Campos::Cliente::ultimacompra, "Data da última compra"};
const PesquisaPedido kPesquisaCliente = {"tbcliente order by idcliente", "nome, cnpj, idcliente", "idcliente"};

// The regular screen's buttons, under the names a kind gives them.
std::vector<TextoBotao> botoesPedido(const char *novo, const char *editar, const char *salvar, const char *cancelar,
                                     const char *excluir, const char *anterior, const char *proximo, const char *enviar,
                                     const char *dicaPesquisar)
{
    return {
        {"BtnPesquisarPedido", "&Procurar", dicaPesquisar},
        {enviar, "E&nviar", "Enviar pedido"},
        {"btnImprimirPedido", "I&mprimir", "Imprimir pedido"},
        {novo, "&Inserir", "Inserir pedido"},
        {editar, "&Editar", "Editar pedido"},
        {salvar, "&Salvar", "Salvar pedido"},
        {cancelar, "&Cancelar", "Cancelar pedido"},
        {excluir, "E&xcluir", "Deletar pedido"},
        {anterior, "&Anterior", "Pedido anterior"},
        {proximo, "P&roximo", "Próximo pedido"},
    };
}

// The item buttons: the regular screen's names begin "btn", the package's "Btn".
std::vector<TextoBotao> botoesItem(bool importa, bool maiuscula)
{
    std::vector<TextoBotao> b;
    if (importa)
        b.push_back({"BtnImportarPendencia", "I&mportar", "Importar pendência"});
    b.insert(b.end(), {{maiuscula ? "BtnNovoItem" : "btnNovoItem", "&Inserir", "Inserir item"},
                       {maiuscula ? "BtnEditarItem" : "btnEditarItem", "&Editar", "Editar item"},
                       {maiuscula ? "BtnSalvarItem" : "btnSalvarItem", "&Salvar", "Salvar item"},
                       {maiuscula ? "BtnCancelarItem" : "btnCancelarItem", "&Cancelar", "Cancelar item"},
                       {maiuscula ? "BtnExcluirItem" : "btnExcluirItem", "E&xcluir", "Deletar item"},
                       {maiuscula ? "BtnAnteriorItem" : "btnAnteriorItem", "&Anterior", "Item anterior"},
                       {maiuscula ? "BtnProximoItem" : "btnProximoItem", "P&roximo", "Próximo item"}});
    return b;
}

// The item columns of the one-list screens.
std::vector<ColunaGrade> colunasItem(const char *tituloTotal, Qt::Alignment quantidadeEEstoque)
{
    return {
        {Campos::Item::codigo, "Código do item", 120},
        {Campos::Item::item_descricao, "Descrição", 390},
        {Campos::Item::quantidade, "Quantidade", 80, quantidadeEEstoque},
        {Campos::Item::valorUnitario, "Valor Unitário", 180},
        {Campos::Item::valorTotal, tituloTotal, 200},
        {Campos::Item::cd_desconto1, "D1", 40},
        {Campos::Item::cd_desconto2, "D2", 40},
        {Campos::Item::cd_desconto3, "D3", 40},
        {Campos::Item::estoque, "Estoque", 90, quantidadeEEstoque},
    };
}

ListaPedido listaRegular()
{
    ListaPedido lista;
    lista.pendencia.importa = true;
    lista.botoes = botoesItem(true, false);
    lista.colunas = colunasItem("Valor Total", Qt::AlignLeft | Qt::AlignVCenter);
    return lista;
}

ListaPedido listaPacote()
{
    ListaPedido lista;
    lista.aoSalvar = {.exigeProduto = false, .confereMultiplo = false, .quantidadeDecimal = true};
    lista.pendencia.importa = true;
    lista.fimPerguntaExcluir = "";
    lista.pesquisaProduto = {"tbproduto", "codigo, produto, estoque", "codigo"};
    lista.botoes = botoesItem(true, true);
    lista.dicaGrade = nullptr;
    lista.colunas = colunasItem("Valor total", {});
    return lista;
}

ListaPedido listaVendaCasada()
{
    ListaPedido lista;
    lista.aoSalvar.perguntaEstoque = false;
    lista.cores = CoresGrade::SempreVermelho;
    lista.fimPerguntaExcluir = "";
    lista.botoes = botoesItem(false, false);
    lista.nomeGrade = "dbgVendaCasada";
    lista.colunas = colunasItem("Valor total", {});
    return lista;
}

// Exchange items: priced from the product alone, decimal quantities, no
// product, multiple or stock check on saving.
ListaPedido listaTroca()
{
    ListaPedido lista;
    lista.aoSalvar = {
        .exigeProduto = false, .confereMultiplo = false, .perguntaEstoque = false, .quantidadeDecimal = true};
    lista.codigosDesconto = false;
    lista.pesquisaProduto = {"tbproduto", "codigo, produto, estoque", "codigo"};
    lista.dicaGrade = nullptr;
    return lista;
}

ListaPedido listaSubstituicao()
{
    ListaPedido lista = listaTroca();
    lista.pendencia = {.importa = true, .campos = {Campos::Item::codigo, Campos::Item::quantidade}};
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
        {Campos::Item::codigo, "Código do item", 110},
        {Campos::Item::item_descricao, "Descrição", 660},
        {Campos::Item::quantidade, "Quantidade", 90, Qt::AlignCenter},
        {Campos::Item::valorUnitario, "Valor Unitário", 130},
        {Campos::Item::valorTotal, "Valor Total", 130},
        {Campos::Item::estoque, "Estoque", 60},
    };
    lista.rotuloSubtotal = "Subtotal (Substituição) :";
    lista.posicao = 1;
    return lista;
}

ListaPedido listaDevolucao()
{
    ListaPedido lista = listaTroca();
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
    lista.colunas = {
        {Campos::Item::codigo, "Código do item", 110},
        {Campos::Item::item_descricao, "Descrição", 660},
        {Campos::Item::quantidade, "Quantidade", 90, Qt::AlignCenter},
        {Campos::Item::valorUnitario, "Valor Unitário", 130},
        {Campos::Item::valorTotal, "Valor total", 190},
    };
    lista.rotuloSubtotal = "Subtotal (Devolução) :";
    lista.posicao = 0;
    return lista;
}

} // namespace

const VariantePedido &VariantePedidoRegular()
{
    static const VariantePedido variante{
        .tipo = TipoPedido::Pedido,
        .titulo = "Corlando - Pedido",
        .foco = {.saidas = {{CaixaPedido::ItemCodigo, true, CaixaPedido::ItemQuantidade, true},
                            {CaixaPedido::ItemDesconto1, true, std::nullopt, false},
                            {CaixaPedido::ItemDesconto2, true, std::nullopt, false},
                            {CaixaPedido::ItemDesconto3, true, CaixaPedido::ItemGordura, false},
                            {CaixaPedido::ItemGordura, false, CaixaPedido::ItemCodigo, false},
                            {CaixaPedido::Observacao, false, CaixaPedido::Grade, false}}},
        .cliente = {.coloreUltimaCompra = true},
        .gravacao = {.cifNaoAoInserir = true},
        .teclas = {.repetePedido = true},
        .fimPerguntaExcluir = " ?",
        .inicioPerguntaFechar = "O pedido (",
        .pesquisaPedido = {"tbpedido LEFT JOIN tbcliente ON tbpedido.idcliente=tbcliente.idcliente where "
                           "tbpedido.vl_total_item >= 0 order by tbpedido.nr_pedido desc",
                           "fantasia, nr_pedido, dt_pedido, vl_total_item", "nr_pedido"},
        .pesquisaCliente = kPesquisaCliente,
        .listas = {listaRegular()},
        .botoesPedido = botoesPedido("btnNovo", "btnEditar", "btnSalvar", "btnCancelar", "btnExcluir", "btnAnterior",
                                     "btnProximo", "btnEnviar", "Pesquisar pedido(s)"),
        .resumo = {kMenorCompra,
                   kMaiorCompra,
                   kUltimaCompra,
                   {" Volumes ", false, Campos::Pedido::vl_gordura, nullptr},
                   {" Saldo ", false, Campos::Pedido::vl_total_item, "Saldo do pedido"}},
    };
    return variante;
}

const VariantePedido &VariantePedidoPacote()
{
    static const VariantePedido variante{
        .tipo = TipoPedido::Pacote,
        .nomeTela = "TfrmPedidoPacote",
        .titulo = "Corlando - Pacote",
        .foco = {.gradeAoAbrir = false,
                 .codigoDesconhecidoVoltaAoCodigo = true,
                 .descricaoPorUltimo = true,
                 .saidas = {{CaixaPedido::ItemCodigo, true, std::nullopt, false},
                            {CaixaPedido::ItemQuantidade, true, std::nullopt, false},
                            {CaixaPedido::ItemUnitario, true, std::nullopt, false},
                            {CaixaPedido::ItemTotal, true, std::nullopt, false},
                            {CaixaPedido::ItemDesconto1, true, std::nullopt, false},
                            {CaixaPedido::ItemDesconto2, true, std::nullopt, false},
                            {CaixaPedido::ItemDesconto3, true, std::nullopt, false},
                            {CaixaPedido::ItemDescricao, true, std::nullopt, false}}},
        .cliente = {.codigoSoConferido = true, .pesquisaSoEscreveCodigo = true},
        .gravacao = {.editarItemEditaPedido = true},
        .teclas = {.digitosDaGrade = false, .itensNavegamSoEmRepouso = true, .pesquisaEmEdicaoAvisa = true},
        .fimPerguntaExcluir = "",
        .inicioPerguntaFechar = "O pacote (",
        .pesquisaPedido = {"tbpedido where vl_total_pacote >= 0 order by nr_pedido",
                           "nr_pedido, dt_pedido, vl_total_pacote", "nr_pedido"},
        .pesquisaCliente = {"tbcliente", "nome, cnpj, idcliente", "idcliente"},
        .listas = {listaPacote()},
        .botoesPedido = botoesPedido("BtnNovo", "BtnEditar", "BtnSalvar", "BtnCancelar", "BtnExcluir", "BtnAnterior",
                                     "BtnProximo", "BtnEnviar", "Pesquisar pacote(s)"),
        .dicasSoNosBotoes = true,
        .nomePesquisaCliente = "BtnProcurarCliente",
        .dicaPesquisaCliente = nullptr,
        .entregaPorLocalidade = true,
        .dicaEntrega = nullptr,
        .resumo = {kMenorCompra,
                   kMaiorCompra,
                   kUltimaCompra,
                   {" Volumes ", false, Campos::Pedido::vl_gordura, nullptr},
                   {" Saldo ", false, Campos::Pedido::vl_total_pacote, "Saldo do pedido"}},
    };
    return variante;
}

const VariantePedido &VariantePedidoVendaCasada()
{
    static const VariantePedido variante{
        .tipo = TipoPedido::VendaCasada,
        .nomeTela = "TfrmVendaCasada",
        .titulo = "Corlando - Pedido Venda Casada",
        .foco = {.saidas = {{CaixaPedido::ItemCodigo, true, CaixaPedido::ItemQuantidade, true},
                            {CaixaPedido::ItemDesconto1, true, std::nullopt, false},
                            {CaixaPedido::ItemDesconto2, true, std::nullopt, false},
                            {CaixaPedido::ItemDesconto3, true, CaixaPedido::ItemCodigo, false},
                            {CaixaPedido::Observacao, false, CaixaPedido::Grade, false}}},
        .cliente = {.pesquisaAbreEmRepouso = true},
        .teclas = {.pesquisaEmEdicaoAvisa = true},
        .fimPerguntaExcluir = "",
        .inicioPerguntaFechar = "O pedido (",
        .pesquisaPedido = {"tbpedido LEFT JOIN tbcliente ON tbpedido.idcliente=tbcliente.idcliente where "
                           "tbpedido.vl_total_venda_casada >= 0 order by tbpedido.nr_pedido desc",
                           "fantasia, nr_pedido, dt_pedido, vl_total_item", "nr_pedido"},
        .pesquisaCliente = kPesquisaCliente,
        .listas = {listaVendaCasada()},
        .botoesPedido = botoesPedido("btnNovo", "btnEditar", "btnSalvar", "btnCancelar", "btnExcluir", "btnAnterior",
                                     "btnProximo", "btnEnviar", "Pesquisar pedido(s)"),
        .entregaPorLocalidade = true,
        .dicaEntrega = "Escolha o tipo de entrega",
        .resumo = {kMenorCompra,
                   kMaiorCompra,
                   kUltimaCompra,
                   {" Volumes ", false, Campos::Pedido::vl_gordura, "Volumes"},
                   {" Saldo ", false, Campos::Pedido::vl_total_venda_casada, "Saldo do pedido"}},
    };
    return variante;
}

const VariantePedido &VariantePedidoTroca()
{
    static const VariantePedido variante{
        .tipo = TipoPedido::Troca,
        .nomeTela = "TfrmPedidoTroca",
        .titulo = "Corlando - Troca",
        .foco = {.gradeAoAbrir = false,
                 .codigoDesconhecidoVoltaAoCodigo = true,
                 .saidas = {{CaixaPedido::ItemCodigo, true, std::nullopt, false},
                            {CaixaPedido::ItemDescricao, true, std::nullopt, false},
                            {CaixaPedido::ItemQuantidade, true, std::nullopt, false},
                            {CaixaPedido::ItemUnitario, true, std::nullopt, false},
                            {CaixaPedido::ItemTotal, true, std::nullopt, false}}},
        .cliente = {.saidaDoCodigoAge = false, .pesquisaSoEscreveCodigo = true},
        .gravacao = {.editarItemEditaPedido = true,
                     .editarItemExigeItem = true,
                     .itemSalvaPedido = true,
                     .perguntaAoFechar = false},
        .teclas = {.digitosDaGrade = false, .proximoItemSoComPedidoEmRepouso = true, .pesquisaEmEdicaoAvisa = true},
        .fimPerguntaExcluir = "",
        .inicioPerguntaFechar = "",
        .pesquisaPedido = {"tbpedido LEFT JOIN tbcliente ON tbpedido.idcliente=tbcliente.idcliente where "
                           "tbpedido.vl_diferenca_troca >= 0 order by tbpedido.nr_pedido desc",
                           "fantasia, nr_pedido, dt_pedido, vl_total_item", "nr_pedido"},
        .pesquisaCliente = {"tbcliente", "nome, cnpj, idcliente", "idcliente"},
        // Saving walks the replacement items before the returned ones, as the
        // kind's lists are.
        .listas = {listaSubstituicao(), listaDevolucao()},
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
        .opcoesCif = {"Sim", "Não"},
        .resumo = {kMenorCompra,
                   kMaiorCompra,
                   kUltimaCompra,
                   {" Ultima compra (R$) ", true, Campos::Cliente::valultcompra, nullptr},
                   {" Saldo ", false, Campos::Pedido::vl_diferenca_troca, "Saldo do pedido"}},
    };
    return variante;
}
