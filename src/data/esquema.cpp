#include "esquema.h"

#include "conexao.h"
#include "copia_seguranca.h"
#include "erro.h"
#include "transacao.h"

#include <QFile>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

#include <sqlite3.h>

namespace Esquema {

namespace {

// tbcliente (QyCliente)
const std::vector<DefCampo> k_QyCliente = {
    {.nome = "IdCliente", .tipo = TipoCampo::AutoInc, .largura = 0, .origem = Origem::Coluna},
    {.nome = "Nome", .tipo = TipoCampo::Texto, .largura = 56, .origem = Origem::Coluna},
    {.nome = "End", .tipo = TipoCampo::Texto, .largura = 56, .origem = Origem::Coluna},
    {.nome = "Tel", .tipo = TipoCampo::Texto, .largura = 40, .origem = Origem::Coluna},
    {.nome = "Bairro", .tipo = TipoCampo::Texto, .largura = 25, .origem = Origem::Coluna},
    {.nome = "Cidade", .tipo = TipoCampo::Texto, .largura = 30, .origem = Origem::Coluna},
    {.nome = "UF", .tipo = TipoCampo::Texto, .largura = 3, .origem = Origem::Coluna},
    {.nome = "CEP", .tipo = TipoCampo::Texto, .largura = 10, .origem = Origem::Coluna, .mascara = "99999\\-999;1;_"},
    {.nome = "Email", .tipo = TipoCampo::Texto, .largura = 60, .origem = Origem::Coluna},
    {.nome = "Contato", .tipo = TipoCampo::Texto, .largura = 40, .origem = Origem::Coluna},
    {.nome = "Referencia", .tipo = TipoCampo::Texto, .largura = 40, .origem = Origem::Coluna},
    {.nome = "OBS", .tipo = TipoCampo::Memo, .largura = 0, .origem = Origem::Coluna},
    {.nome = "Nasc", .tipo = TipoCampo::DataHora, .largura = 0, .origem = Origem::Coluna, .mascara = "!99/99/9999;1;_"},
    {.nome = "sexo", .tipo = TipoCampo::Texto, .largura = 1, .origem = Origem::Coluna},
    {.nome = "cnpj", .tipo = TipoCampo::Texto, .largura = 30, .origem = Origem::Coluna, .mascara = "99\\.999\\.999\\/9999\\-99;1;_"},
    {.nome = "Iest", .tipo = TipoCampo::Texto, .largura = 30, .origem = Origem::Coluna},
    {.nome = "fantasia", .tipo = TipoCampo::Texto, .largura = 25, .origem = Origem::Coluna},
    {.nome = "cadastro", .tipo = TipoCampo::DataHora, .largura = 0, .origem = Origem::Coluna},
    {.nome = "endcorr", .tipo = TipoCampo::Texto, .largura = 56, .origem = Origem::Coluna},
    {.nome = "bairrocorr", .tipo = TipoCampo::Texto, .largura = 25, .origem = Origem::Coluna},
    {.nome = "cidadecorr", .tipo = TipoCampo::Texto, .largura = 30, .origem = Origem::Coluna},
    {.nome = "cepcorr", .tipo = TipoCampo::Texto, .largura = 10, .origem = Origem::Coluna, .mascara = "99999\\-999;1;_"},
    {.nome = "ufcorr", .tipo = TipoCampo::Texto, .largura = 3, .origem = Origem::Coluna},
    {.nome = "ultimacompra", .tipo = TipoCampo::DataHora, .largura = 0, .origem = Origem::Coluna},
    {.nome = "valultcompra", .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna, .formatoExibicao = kFormatoMoeda, .formatoEdicao = kFormatoMoedaEdicao},
    {.nome = "maiorcompra", .tipo = TipoCampo::DataHora, .largura = 0, .origem = Origem::Coluna},
    {.nome = "valmaiorcompra", .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna, .formatoExibicao = kFormatoMoeda, .formatoEdicao = kFormatoMoedaEdicao},
    {.nome = "menorcompra", .tipo = TipoCampo::DataHora, .largura = 0, .origem = Origem::Coluna},
    {.nome = "valmenorcompra", .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna, .formatoExibicao = kFormatoMoeda, .formatoEdicao = kFormatoMoedaEdicao},
    {.nome = "pagtoemdia", .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna},
    {.nome = "pagtoatraso", .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna},
    {.nome = "mediaatraso", .tipo = TipoCampo::Inteiro, .largura = 0, .origem = Origem::Coluna},
    {.nome = "credito", .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna},
    {.nome = "atraso", .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna},
    {.nome = "divida", .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna},
    {.nome = "nota", .tipo = TipoCampo::Word, .largura = 0, .origem = Origem::Coluna},
    {.nome = "cheque", .tipo = TipoCampo::Word, .largura = 0, .origem = Origem::Coluna},
    {.nome = "firma", .tipo = TipoCampo::Texto, .largura = 40, .origem = Origem::Coluna},
    {.nome = "cargo", .tipo = TipoCampo::Texto, .largura = 30, .origem = Origem::Coluna},
    {.nome = "salario", .tipo = TipoCampo::Texto, .largura = 10, .origem = Origem::Coluna},
    {.nome = "endfirma", .tipo = TipoCampo::Texto, .largura = 50, .origem = Origem::Coluna},
    {.nome = "telfirma", .tipo = TipoCampo::Texto, .largura = 30, .origem = Origem::Coluna},
    {.nome = "tempo", .tipo = TipoCampo::Texto, .largura = 10, .origem = Origem::Coluna},
    {.nome = "naturalidade", .tipo = TipoCampo::Texto, .largura = 30, .origem = Origem::Coluna},
    {.nome = "estcivil", .tipo = TipoCampo::Texto, .largura = 10, .origem = Origem::Coluna},
    {.nome = "conjuge", .tipo = TipoCampo::Texto, .largura = 50, .origem = Origem::Coluna},
    {.nome = "pai", .tipo = TipoCampo::Texto, .largura = 50, .origem = Origem::Coluna},
    {.nome = "fax", .tipo = TipoCampo::Texto, .largura = 18, .origem = Origem::Coluna},
    {.nome = "mae", .tipo = TipoCampo::Texto, .largura = 50, .origem = Origem::Coluna},
    {.nome = "regiao", .tipo = TipoCampo::Texto, .largura = 5, .origem = Origem::Coluna},
    {.nome = "status", .tipo = TipoCampo::Texto, .largura = 25, .origem = Origem::Coluna},
    {.nome = "Cel", .tipo = TipoCampo::Texto, .largura = 30, .origem = Origem::Coluna},
    {.nome = "desco", .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna},
    {.nome = "faturamento", .tipo = TipoCampo::Inteiro, .largura = 0, .origem = Origem::Coluna},
    {.nome = "prazo", .tipo = TipoCampo::Texto, .largura = 9, .origem = Origem::Coluna},
    {.nome = "imagem", .tipo = TipoCampo::Texto, .largura = 40, .origem = Origem::Coluna},
    {.nome = "eend", .tipo = TipoCampo::Texto, .largura = 50, .origem = Origem::Coluna},
    {.nome = "ecidade", .tipo = TipoCampo::Texto, .largura = 25, .origem = Origem::Coluna},
    {.nome = "ebairro", .tipo = TipoCampo::Texto, .largura = 25, .origem = Origem::Coluna},
    {.nome = "ecep", .tipo = TipoCampo::Texto, .largura = 10, .origem = Origem::Coluna},
    {.nome = "euf", .tipo = TipoCampo::Texto, .largura = 2, .origem = Origem::Coluna},
    {.nome = "banco", .tipo = TipoCampo::Texto, .largura = 15, .origem = Origem::Coluna},
    {.nome = "agencia", .tipo = TipoCampo::Texto, .largura = 10, .origem = Origem::Coluna},
    {.nome = "conta", .tipo = TipoCampo::Texto, .largura = 15, .origem = Origem::Coluna},
    {.nome = "email2", .tipo = TipoCampo::Texto, .largura = 70, .origem = Origem::Coluna},
    {.nome = "email3", .tipo = TipoCampo::Texto, .largura = 70, .origem = Origem::Coluna},
    {.nome = "web", .tipo = TipoCampo::Texto, .largura = 70, .origem = Origem::Coluna},
    {.nome = "compr1", .tipo = TipoCampo::Texto, .largura = 40, .origem = Origem::Coluna},
    {.nome = "telcomp1", .tipo = TipoCampo::Texto, .largura = 40, .origem = Origem::Coluna},
    {.nome = "mailcomp1", .tipo = TipoCampo::Texto, .largura = 70, .origem = Origem::Coluna},
    {.nome = "compr2", .tipo = TipoCampo::Texto, .largura = 40, .origem = Origem::Coluna},
    {.nome = "telcomp2", .tipo = TipoCampo::Texto, .largura = 40, .origem = Origem::Coluna},
    {.nome = "mailcomp2", .tipo = TipoCampo::Texto, .largura = 70, .origem = Origem::Coluna},
    {.nome = "transportadora", .tipo = TipoCampo::Texto, .largura = 56, .origem = Origem::Coluna},
    {.nome = "idtransp", .tipo = TipoCampo::Inteiro, .largura = 0, .origem = Origem::Coluna},
    {.nome = "internet", .tipo = TipoCampo::Memo, .largura = 0, .origem = Origem::Coluna},
    {.nome = "funcionario", .tipo = TipoCampo::Texto, .largura = 15, .origem = Origem::Coluna},
    {.nome = "CliFPagto", .tipo = TipoCampo::Texto, .largura = 6, .origem = Origem::Coluna},
    {.nome = "historico", .tipo = TipoCampo::Memo, .largura = 0, .origem = Origem::Coluna},
    {.nome = "movimento", .tipo = TipoCampo::Memo, .largura = 0, .origem = Origem::Coluna},
    {.nome = "TipoCli", .tipo = TipoCampo::Texto, .largura = 20, .origem = Origem::Coluna},
    {.nome = "imunicip", .tipo = TipoCampo::Texto, .largura = 30, .origem = Origem::Coluna},
    {.nome = "telcorr", .tipo = TipoCampo::Texto, .largura = 40, .origem = Origem::Coluna},
    {.nome = "etel", .tipo = TipoCampo::Texto, .largura = 40, .origem = Origem::Coluna},
    {.nome = "refcorr", .tipo = TipoCampo::Texto, .largura = 56, .origem = Origem::Coluna},
    {.nome = "eref", .tipo = TipoCampo::Texto, .largura = 56, .origem = Origem::Coluna},
    {.nome = "tolera", .tipo = TipoCampo::Inteiro, .largura = 0, .origem = Origem::Coluna},
};
// tbpedido (QyPedido)
const std::vector<DefCampo> k_QyPedido = {
    {.nome = "nr_pedido", .tipo = TipoCampo::AutoInc, .largura = 0, .origem = Origem::Coluna, .somenteLeitura = true},
    {.nome = "idFunc", .tipo = TipoCampo::Texto, .largura = 10, .origem = Origem::Coluna},
    {.nome = "idCliente", .tipo = TipoCampo::Inteiro, .largura = 0, .origem = Origem::Coluna},
    {.nome = "dt_pedido", .tipo = TipoCampo::DataHora, .largura = 0, .origem = Origem::Coluna},
    {.nome = "nm_forma_pagamento", .tipo = TipoCampo::Texto, .largura = 200, .origem = Origem::Coluna},
    {.nome = "tp_localidade", .tipo = TipoCampo::Texto, .largura = 1, .origem = Origem::Coluna},
    {.nome = "idforma", .tipo = TipoCampo::Inteiro, .largura = 0, .origem = Origem::Coluna},
    {.nome = "impresso", .tipo = TipoCampo::Booleano, .largura = 0, .origem = Origem::Coluna},
    {.nome = "enviado", .tipo = TipoCampo::Booleano, .largura = 0, .origem = Origem::Coluna},
    {.nome = "vl_total_venda_casada", .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna, .formatoExibicao = kFormatoMoeda, .formatoEdicao = kFormatoMoedaEdicao},
    {.nome = "vl_total_item", .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna, .formatoExibicao = kFormatoMoeda, .formatoEdicao = kFormatoMoedaEdicao},
    {.nome = "vl_qtd_pacote", .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna},
    {.nome = "vl_total_pacote", .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna, .formatoExibicao = kFormatoMoeda, .formatoEdicao = kFormatoMoedaEdicao},
    {.nome = "vl_media_pacote", .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna, .formatoExibicao = kFormatoMoeda, .formatoEdicao = kFormatoMoedaEdicao},
    {.nome = "vl_total_troca1", .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna, .formatoExibicao = kFormatoMoeda, .formatoEdicao = kFormatoMoedaEdicao},
    {.nome = "vl_total_troca2", .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna, .formatoExibicao = kFormatoMoeda, .formatoEdicao = kFormatoMoedaEdicao},
    {.nome = "vl_diferenca_troca", .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna, .formatoExibicao = kFormatoMoeda, .formatoEdicao = kFormatoMoedaEdicao},
    {.nome = "dt_troca", .tipo = TipoCampo::DataHora, .largura = 0, .origem = Origem::Coluna},
    {.nome = "enviadoTroca", .tipo = TipoCampo::Booleano, .largura = 0, .origem = Origem::Coluna},
    {.nome = "in_cancelado", .tipo = TipoCampo::Booleano, .largura = 0, .origem = Origem::Coluna},
    {.nome = "qt_envio_email", .tipo = TipoCampo::Inteiro, .largura = 0, .origem = Origem::Coluna},
    {.nome = "dv", .tipo = TipoCampo::Inteiro, .largura = 0, .origem = Origem::Coluna},
    {.nome = "avista", .tipo = TipoCampo::Inteiro, .largura = 0, .origem = Origem::Coluna},
    {.nome = "observacao", .tipo = TipoCampo::Texto, .largura = 255, .origem = Origem::Coluna},
    {.nome = "CLIENTE_DESCRICAO", .tipo = TipoCampo::TextoAnsi, .largura = 150, .origem = Origem::Lookup, .campoLookup = "Nome"},
    {.nome = "cif", .tipo = TipoCampo::Texto, .largura = 3, .origem = Origem::Coluna},
    {.nome = "vl_acumulativo_pedido", .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna},
    {.nome = "vl_acumulativo_pacote", .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna},
    {.nome = "vl_acumulativo_troca", .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna},
    {.nome = "vl_gordura", .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna},
};
// tbpedido_item (QyPedidoItem)
const std::vector<DefCampo> k_QyPedidoItem = {
    {.nome = "nr_pedido", .tipo = TipoCampo::Inteiro, .largura = 0, .origem = Origem::Coluna},
    {.nome = "idfunc", .tipo = TipoCampo::Texto, .largura = 10, .origem = Origem::Coluna},
    {.nome = "item", .tipo = TipoCampo::AutoInc, .largura = 0, .origem = Origem::Coluna, .somenteLeitura = true},
    {.nome = "codigo", .tipo = TipoCampo::Texto, .largura = 20, .origem = Origem::Coluna},
    {.nome = "codigo_descricao", .tipo = TipoCampo::TextoAnsi, .largura = 150, .origem = Origem::Lookup, .campoLookup = "FABRICANTE"},
    {.nome = "quantidade", .tipo = TipoCampo::Inteiro, .largura = 0, .origem = Origem::Coluna},
    {.nome = "valorUnitario", .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna, .formatoExibicao = kFormatoMoeda, .formatoEdicao = kFormatoMoedaEdicao},
    {.nome = "valorTotal", .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna, .formatoExibicao = kFormatoMoeda, .formatoEdicao = kFormatoMoedaEdicao},
    {.nome = "cd_desconto1", .tipo = TipoCampo::Texto, .largura = 1, .origem = Origem::Coluna},
    {.nome = "cd_desconto2", .tipo = TipoCampo::Texto, .largura = 1, .origem = Origem::Coluna},
    {.nome = "cd_desconto3", .tipo = TipoCampo::Texto, .largura = 1, .origem = Origem::Coluna},
    {.nome = "estoque", .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Lookup, .campoLookup = "ESTOQUE"},
    {.nome = "item_descricao", .tipo = TipoCampo::TextoAnsi, .largura = 150, .origem = Origem::Lookup, .campoLookup = "PRODUTO"},
    {.nome = "desconto", .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna},
    {.nome = "gordura1", .tipo = TipoCampo::Texto, .largura = 1, .origem = Origem::Coluna},
    {.nome = "vl_gordura", .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna, .formatoExibicao = kFormatoMoeda, .formatoEdicao = kFormatoMoedaEdicao},
};
// tbpedido_pacote (QyPacote)
const std::vector<DefCampo> k_QyPacote = {
    {.nome = "nr_pedido", .tipo = TipoCampo::Inteiro, .largura = 0, .origem = Origem::Coluna},
    {.nome = "idfunc", .tipo = TipoCampo::Texto, .largura = 10, .origem = Origem::Coluna},
    {.nome = "item", .tipo = TipoCampo::AutoInc, .largura = 0, .origem = Origem::Coluna, .somenteLeitura = true},
    {.nome = "codigo", .tipo = TipoCampo::Texto, .largura = 20, .origem = Origem::Coluna},
    {.nome = "codigo_descricao", .tipo = TipoCampo::TextoAnsi, .largura = 150, .origem = Origem::Lookup, .campoLookup = "FABRICANTE"},
    {.nome = "quantidade", .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna},
    {.nome = "valorUnitario", .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna, .formatoExibicao = kFormatoMoeda, .formatoEdicao = kFormatoMoedaEdicao},
    {.nome = "valorTotal", .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna, .formatoExibicao = kFormatoMoeda, .formatoEdicao = kFormatoMoedaEdicao},
    {.nome = "cd_desconto1", .tipo = TipoCampo::Texto, .largura = 50, .origem = Origem::Coluna},
    {.nome = "cd_desconto2", .tipo = TipoCampo::Texto, .largura = 50, .origem = Origem::Coluna},
    {.nome = "cd_desconto3", .tipo = TipoCampo::Texto, .largura = 50, .origem = Origem::Coluna},
    {.nome = "estoque", .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Lookup, .campoLookup = "ESTOQUE"},
    {.nome = "item_descricao", .tipo = TipoCampo::TextoAnsi, .largura = 150, .origem = Origem::Lookup, .campoLookup = "PRODUTO"},
    {.nome = "desconto", .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna},
    {.nome = "vl_gordura", .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna, .formatoExibicao = kFormatoMoeda, .formatoEdicao = kFormatoMoedaEdicao},
    {.nome = "gordura1", .tipo = TipoCampo::Texto, .largura = 1, .origem = Origem::Coluna},
};
// tbpedido_troca1 (QyTrocaSub)
const std::vector<DefCampo> k_QyTrocaSub = {
    {.nome = "nr_pedido", .tipo = TipoCampo::Inteiro, .largura = 0, .origem = Origem::Coluna},
    {.nome = "idfunc", .tipo = TipoCampo::Texto, .largura = 10, .origem = Origem::Coluna},
    {.nome = "item", .tipo = TipoCampo::AutoInc, .largura = 0, .origem = Origem::Coluna, .somenteLeitura = true},
    {.nome = "codigo", .tipo = TipoCampo::Texto, .largura = 20, .origem = Origem::Coluna},
    {.nome = "quantidade", .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna},
    {.nome = "valorUnitario", .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna, .formatoExibicao = kFormatoMoeda, .formatoEdicao = kFormatoMoedaEdicao},
    {.nome = "valorTotal", .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna, .formatoExibicao = kFormatoMoeda, .formatoEdicao = kFormatoMoedaEdicao},
    {.nome = "estoque", .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Lookup, .campoLookup = "ESTOQUE"},
    {.nome = "item_descricao", .tipo = TipoCampo::TextoAnsi, .largura = 150, .origem = Origem::Lookup, .campoLookup = "PRODUTO"},
};
// tbpedido_troca2 (QyTrocaDev)
const std::vector<DefCampo> k_QyTrocaDev = {
    {.nome = "nr_pedido", .tipo = TipoCampo::Inteiro, .largura = 0, .origem = Origem::Coluna},
    {.nome = "idfunc", .tipo = TipoCampo::Texto, .largura = 10, .origem = Origem::Coluna},
    {.nome = "item", .tipo = TipoCampo::AutoInc, .largura = 0, .origem = Origem::Coluna, .somenteLeitura = true},
    {.nome = "codigo", .tipo = TipoCampo::Texto, .largura = 20, .origem = Origem::Coluna},
    {.nome = "quantidade", .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna},
    {.nome = "valorUnitario", .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna, .formatoExibicao = kFormatoMoeda, .formatoEdicao = kFormatoMoedaEdicao},
    {.nome = "valorTotal", .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna, .formatoExibicao = kFormatoMoeda, .formatoEdicao = kFormatoMoedaEdicao},
    {.nome = "item_descricao", .tipo = TipoCampo::TextoAnsi, .largura = 150, .origem = Origem::Lookup, .campoLookup = "PRODUTO"},
};
// tbpedido_venda_casada (QyVendaCasada)
const std::vector<DefCampo> k_QyVendaCasada = {
    {.nome = "nr_pedido", .tipo = TipoCampo::Inteiro, .largura = 0, .origem = Origem::Coluna},
    {.nome = "idfunc", .tipo = TipoCampo::Texto, .largura = 10, .origem = Origem::Coluna},
    {.nome = "item", .tipo = TipoCampo::AutoInc, .largura = 0, .origem = Origem::Coluna, .somenteLeitura = true},
    {.nome = "codigo", .tipo = TipoCampo::Texto, .largura = 20, .origem = Origem::Coluna},
    {.nome = "codigo_descricao", .tipo = TipoCampo::TextoAnsi, .largura = 150, .origem = Origem::Lookup, .campoLookup = "FABRICANTE"},
    {.nome = "quantidade", .tipo = TipoCampo::Inteiro, .largura = 0, .origem = Origem::Coluna},
    {.nome = "valorUnitario", .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna, .formatoExibicao = kFormatoMoeda, .formatoEdicao = kFormatoMoedaEdicao},
    {.nome = "valorTotal", .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna, .formatoExibicao = kFormatoMoeda, .formatoEdicao = kFormatoMoedaEdicao},
    {.nome = "cd_desconto1", .tipo = TipoCampo::Texto, .largura = 1, .origem = Origem::Coluna},
    {.nome = "cd_desconto2", .tipo = TipoCampo::Texto, .largura = 1, .origem = Origem::Coluna},
    {.nome = "cd_desconto3", .tipo = TipoCampo::Texto, .largura = 1, .origem = Origem::Coluna},
    {.nome = "item_descricao", .tipo = TipoCampo::TextoAnsi, .largura = 150, .origem = Origem::Lookup, .campoLookup = "PRODUTO"},
    {.nome = "desconto", .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna},
    {.nome = "vl_gordura", .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna, .formatoExibicao = kFormatoMoeda, .formatoEdicao = kFormatoMoedaEdicao},
    {.nome = "gordura1", .tipo = TipoCampo::Texto, .largura = 1, .origem = Origem::Coluna},
};
// tbpedido_pendente (QyPendente)
const std::vector<DefCampo> k_QyPendente = {
    {.nome = "nr_pedido", .tipo = TipoCampo::Inteiro, .largura = 0, .origem = Origem::Coluna},
    {.nome = "idfunc", .tipo = TipoCampo::Texto, .largura = 10, .origem = Origem::Coluna},
    {.nome = "item", .tipo = TipoCampo::Inteiro, .largura = 0, .origem = Origem::Coluna},
    {.nome = "codigo", .tipo = TipoCampo::Texto, .largura = 20, .origem = Origem::Coluna},
    {.nome = "codigo_descricao", .tipo = TipoCampo::TextoAnsi, .largura = 150, .origem = Origem::Lookup, .campoLookup = "FABRICANTE"},
    {.nome = "quantidade", .tipo = TipoCampo::Inteiro, .largura = 0, .origem = Origem::Coluna},
    {.nome = "valorUnitario", .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna, .formatoExibicao = kFormatoMoeda, .formatoEdicao = kFormatoMoedaEdicao},
    {.nome = "valorTotal", .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna, .formatoExibicao = kFormatoMoeda, .formatoEdicao = kFormatoMoedaEdicao},
    {.nome = "cd_desconto1", .tipo = TipoCampo::Texto, .largura = 1, .origem = Origem::Coluna},
    {.nome = "cd_desconto2", .tipo = TipoCampo::Texto, .largura = 1, .origem = Origem::Coluna},
    {.nome = "cd_desconto3", .tipo = TipoCampo::Texto, .largura = 1, .origem = Origem::Coluna},
    {.nome = "estoque", .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Lookup, .campoLookup = "ESTOQUE"},
    {.nome = "item_descricao", .tipo = TipoCampo::TextoAnsi, .largura = 150, .origem = Origem::Lookup, .campoLookup = "PRODUTO"},
    {.nome = "desconto", .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna},
    {.nome = "cod_cliente", .tipo = TipoCampo::Inteiro, .largura = 0, .origem = Origem::Coluna},
    {.nome = "situacao", .tipo = TipoCampo::Texto, .largura = 100, .origem = Origem::Coluna},
    {.nome = "data_pendente", .tipo = TipoCampo::DataHora, .largura = 0, .origem = Origem::Coluna},
};
// tbproduto (QyProduto)
const std::vector<DefCampo> k_QyProduto = {
    {.nome = "idProduto", .tipo = TipoCampo::AutoInc, .largura = 0, .origem = Origem::Coluna},
    {.nome = "CODIGO", .tipo = TipoCampo::Texto, .largura = 20, .origem = Origem::Coluna},
    {.nome = "PRODUTO", .tipo = TipoCampo::Texto, .largura = 255, .origem = Origem::Coluna},
    {.nome = "ESTOQUE", .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = "PRECOVENDA", .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna},
    {.nome = "CODFAB", .tipo = TipoCampo::Memo, .largura = 0, .origem = Origem::Coluna},
    {.nome = "grupo", .tipo = TipoCampo::Texto, .largura = 7, .origem = Origem::Coluna},
    {.nome = "POSICAO", .tipo = TipoCampo::Texto, .largura = 26, .origem = Origem::Coluna},
    {.nome = "PRECOCUSTO", .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = "PRECOLISTA", .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = "MINIMO", .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = "FABRICANTE", .tipo = TipoCampo::Texto, .largura = 15, .origem = Origem::Coluna},
    {.nome = "MARGEM", .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = "UNID", .tipo = TipoCampo::Texto, .largura = 3, .origem = Origem::Coluna},
    {.nome = "ICMS", .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = "OBS", .tipo = TipoCampo::Memo, .largura = 0, .origem = Origem::Coluna},
    {.nome = "CONTMIN", .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = "IPI", .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = "ICMScompra", .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = "kit", .tipo = TipoCampo::Texto, .largura = 1, .origem = Origem::Coluna},
    {.nome = "promocao", .tipo = TipoCampo::Texto, .largura = 1, .origem = Origem::Coluna},
    {.nome = "PRECOPROMO", .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = "UltCompra", .tipo = TipoCampo::DataHora, .largura = 0, .origem = Origem::Coluna},
    {.nome = "ValUltCompra", .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = "QtdUltCompra", .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = "UltVenda", .tipo = TipoCampo::DataHora, .largura = 0, .origem = Origem::Coluna},
    {.nome = "ValUltVenda", .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = "QtdUltVenda", .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = "AltCusto", .tipo = TipoCampo::DataHora, .largura = 0, .origem = Origem::Coluna},
    {.nome = "AltVenda", .tipo = TipoCampo::DataHora, .largura = 0, .origem = Origem::Coluna},
    {.nome = "AltRef", .tipo = TipoCampo::DataHora, .largura = 0, .origem = Origem::Coluna},
    {.nome = "ValCusto", .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = "ValVenda", .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = "ValRefe", .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = "desc1", .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna},
    {.nome = "desc2", .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna},
    {.nome = "desc3", .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna},
    {.nome = "desc4", .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna},
    {.nome = "desc5", .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna},
    {.nome = "plista", .tipo = TipoCampo::Booleano, .largura = 0, .origem = Origem::Coluna},
    {.nome = "frete", .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = "despesa", .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = "custodolar", .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna},
    {.nome = "dolar", .tipo = TipoCampo::Booleano, .largura = 0, .origem = Origem::Coluna},
    {.nome = "et0", .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = "et1", .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = "et2", .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = "et3", .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = "et4", .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = "et5", .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = "et6", .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = "et7", .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = "et8", .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = "et9", .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = "tributacao", .tipo = TipoCampo::Texto, .largura = 1, .origem = Origem::Coluna},
    {.nome = "imagem", .tipo = TipoCampo::Texto, .largura = 40, .origem = Origem::Coluna},
    {.nome = "pesobruto", .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = "pesoliquido", .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = "nota", .tipo = TipoCampo::Texto, .largura = 10, .origem = Origem::Coluna},
    {.nome = "descpc", .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = "descqtd", .tipo = TipoCampo::Inteiro, .largura = 0, .origem = Origem::Coluna},
    {.nome = "class", .tipo = TipoCampo::Texto, .largura = 1, .origem = Origem::Coluna},
    {.nome = "fimpromocao", .tipo = TipoCampo::DataHora, .largura = 0, .origem = Origem::Coluna},
    {.nome = "baixav", .tipo = TipoCampo::Booleano, .largura = 0, .origem = Origem::Coluna},
    {.nome = "Comissao", .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = "Najustar", .tipo = TipoCampo::Booleano, .largura = 0, .origem = Origem::Coluna},
    {.nome = "inativo", .tipo = TipoCampo::Booleano, .largura = 0, .origem = Origem::Coluna},
    {.nome = "serv", .tipo = TipoCampo::Booleano, .largura = 0, .origem = Origem::Coluna},
    {.nome = "garantia", .tipo = TipoCampo::Inteiro, .largura = 0, .origem = Origem::Coluna},
    {.nome = "tabela", .tipo = TipoCampo::Booleano, .largura = 0, .origem = Origem::Coluna},
    {.nome = "multiplo", .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = "clientep", .tipo = TipoCampo::Texto, .largura = 56, .origem = Origem::Coluna},
    {.nome = "fornecedorp", .tipo = TipoCampo::Texto, .largura = 56, .origem = Origem::Coluna},
    {.nome = "idclientep", .tipo = TipoCampo::Inteiro, .largura = 0, .origem = Origem::Coluna},
    {.nome = "idfornecp", .tipo = TipoCampo::Inteiro, .largura = 0, .origem = Origem::Coluna},
    {.nome = "reducao", .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = "sittribu", .tipo = TipoCampo::Texto, .largura = 3, .origem = Origem::Coluna},
    {.nome = "classfis", .tipo = TipoCampo::Texto, .largura = 12, .origem = Origem::Coluna},
    {.nome = "semcomissao", .tipo = TipoCampo::Booleano, .largura = 0, .origem = Origem::Coluna},
    {.nome = "altu", .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = "larg", .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = "comp", .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = "caixa", .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = "fixarprevenda", .tipo = TipoCampo::Booleano, .largura = 0, .origem = Origem::Coluna},
    {.nome = "pedido", .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = "reservado", .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = "textofisc", .tipo = TipoCampo::Texto, .largura = 100, .origem = Origem::Coluna},
    {.nome = "pesavel", .tipo = TipoCampo::Booleano, .largura = 0, .origem = Origem::Coluna},
    {.nome = "descpc1", .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = "descqtd1", .tipo = TipoCampo::Inteiro, .largura = 0, .origem = Origem::Coluna},
    {.nome = "descpc2", .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = "descqtd2", .tipo = TipoCampo::Inteiro, .largura = 0, .origem = Origem::Coluna},
    {.nome = "descpc3", .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = "descqtd3", .tipo = TipoCampo::Inteiro, .largura = 0, .origem = Origem::Coluna},
    {.nome = "strib", .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = "dpprocz", .tipo = TipoCampo::Texto, .largura = 30, .origem = Origem::Coluna},
    {.nome = "piscofins", .tipo = TipoCampo::Texto, .largura = 2, .origem = Origem::Coluna},
    {.nome = "PedMed", .tipo = TipoCampo::Booleano, .largura = 0, .origem = Origem::Coluna},
    {.nome = "Benef", .tipo = TipoCampo::Booleano, .largura = 0, .origem = Origem::Coluna},
    {.nome = "customedio", .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = "IVAST", .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = "srfil", .tipo = TipoCampo::Memo, .largura = 0, .origem = Origem::Coluna},
    {.nome = "pagi", .tipo = TipoCampo::Texto, .largura = 4, .origem = Origem::Coluna},
    {.nome = "posi", .tipo = TipoCampo::Texto, .largura = 4, .origem = Origem::Coluna},
    {.nome = "vali", .tipo = TipoCampo::Texto, .largura = 4, .origem = Origem::Coluna},
    {.nome = "reta", .tipo = TipoCampo::Booleano, .largura = 0, .origem = Origem::Coluna},
    {.nome = "iss", .tipo = TipoCampo::Booleano, .largura = 0, .origem = Origem::Coluna},
    {.nome = "PRECOCOMFRETE", .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Calculado, .formatoExibicao = "###,###,###,##0.00", .formatoEdicao = kFormatoMoedaEdicao},
};
// tbfuncionario (QyFuncionario)
const std::vector<DefCampo> k_QyFuncionario = {
    {.nome = "idfunc", .tipo = TipoCampo::Texto, .largura = 10, .origem = Origem::Coluna},
    {.nome = "Nome", .tipo = TipoCampo::Texto, .largura = 56, .origem = Origem::Coluna},
    {.nome = "Bairro", .tipo = TipoCampo::Texto, .largura = 25, .origem = Origem::Coluna},
    {.nome = "Cidade", .tipo = TipoCampo::Texto, .largura = 30, .origem = Origem::Coluna},
    {.nome = "UF", .tipo = TipoCampo::Texto, .largura = 2, .origem = Origem::Coluna},
    {.nome = "CEP", .tipo = TipoCampo::Texto, .largura = 10, .origem = Origem::Coluna},
    {.nome = "CartTrabalho", .tipo = TipoCampo::Texto, .largura = 15, .origem = Origem::Coluna},
    {.nome = "PIS", .tipo = TipoCampo::Texto, .largura = 12, .origem = Origem::Coluna},
    {.nome = "Cargo", .tipo = TipoCampo::Texto, .largura = 30, .origem = Origem::Coluna},
    {.nome = "referencia", .tipo = TipoCampo::Texto, .largura = 140, .origem = Origem::Coluna},
    {.nome = "OBS", .tipo = TipoCampo::Memo, .largura = 0, .origem = Origem::Coluna},
    {.nome = "Tel", .tipo = TipoCampo::Texto, .largura = 40, .origem = Origem::Coluna},
    {.nome = "Nasc", .tipo = TipoCampo::DataHora, .largura = 0, .origem = Origem::Coluna},
    {.nome = "sexo", .tipo = TipoCampo::Texto, .largura = 1, .origem = Origem::Coluna},
    {.nome = "admissao", .tipo = TipoCampo::DataHora, .largura = 0, .origem = Origem::Coluna},
    {.nome = "demissao", .tipo = TipoCampo::DataHora, .largura = 0, .origem = Origem::Coluna},
    {.nome = "salario", .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna},
    {.nome = "comissao", .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = "cic", .tipo = TipoCampo::Texto, .largura = 20, .origem = Origem::Coluna},
    {.nome = "rg", .tipo = TipoCampo::Texto, .largura = 20, .origem = Origem::Coluna},
    {.nome = "escolaridade", .tipo = TipoCampo::Texto, .largura = 50, .origem = Origem::Coluna},
    {.nome = "ultferias", .tipo = TipoCampo::DataHora, .largura = 0, .origem = Origem::Coluna},
    {.nome = "peso", .tipo = TipoCampo::Texto, .largura = 5, .origem = Origem::Coluna},
    {.nome = "altura", .tipo = TipoCampo::Texto, .largura = 5, .origem = Origem::Coluna},
    {.nome = "camisa", .tipo = TipoCampo::Texto, .largura = 3, .origem = Origem::Coluna},
    {.nome = "calca", .tipo = TipoCampo::Texto, .largura = 3, .origem = Origem::Coluna},
    {.nome = "sapato", .tipo = TipoCampo::Texto, .largura = 3, .origem = Origem::Coluna},
    {.nome = "Email", .tipo = TipoCampo::Texto, .largura = 60, .origem = Origem::Coluna},
    {.nome = "idlog", .tipo = TipoCampo::Memo, .largura = 0, .origem = Origem::Coluna},
    {.nome = "abreg", .tipo = TipoCampo::Texto, .largura = 30, .origem = Origem::Coluna},
    {.nome = "imagem", .tipo = TipoCampo::Texto, .largura = 60, .origem = Origem::Coluna},
    {.nome = "apelido", .tipo = TipoCampo::Texto, .largura = 26, .origem = Origem::Coluna},
    {.nome = "celular", .tipo = TipoCampo::Texto, .largura = 15, .origem = Origem::Coluna},
    {.nome = "pai", .tipo = TipoCampo::Texto, .largura = 50, .origem = Origem::Coluna},
    {.nome = "mae", .tipo = TipoCampo::Texto, .largura = 50, .origem = Origem::Coluna},
    {.nome = "ecivil", .tipo = TipoCampo::Texto, .largura = 15, .origem = Origem::Coluna},
    {.nome = "teleitor", .tipo = TipoCampo::Texto, .largura = 30, .origem = Origem::Coluna},
    {.nome = "AgendaAFAZER", .tipo = TipoCampo::Memo, .largura = 0, .origem = Origem::Coluna},
    {.nome = "AgendaAnotacoes", .tipo = TipoCampo::Memo, .largura = 0, .origem = Origem::Coluna},
    {.nome = "endereco", .tipo = TipoCampo::Texto, .largura = 56, .origem = Origem::Coluna},
    {.nome = "nivel", .tipo = TipoCampo::Texto, .largura = 15, .origem = Origem::Coluna},
    {.nome = "rt", .tipo = TipoCampo::Booleano, .largura = 0, .origem = Origem::Coluna},
    {.nome = "idloja", .tipo = TipoCampo::Texto, .largura = 3, .origem = Origem::Coluna},
    {.nome = "movimento", .tipo = TipoCampo::Memo, .largura = 0, .origem = Origem::Coluna},
    {.nome = "SMTP", .tipo = TipoCampo::Texto, .largura = 150, .origem = Origem::Coluna},
    {.nome = "usermail", .tipo = TipoCampo::Texto, .largura = 150, .origem = Origem::Coluna},
    {.nome = "passwmail", .tipo = TipoCampo::Texto, .largura = 20, .origem = Origem::Coluna},
    {.nome = "workmail", .tipo = TipoCampo::Texto, .largura = 150, .origem = Origem::Coluna},
    {.nome = "opmail", .tipo = TipoCampo::Inteiro, .largura = 0, .origem = Origem::Coluna},
};
// tbforma (QyFormaPagamento)
const std::vector<DefCampo> k_QyFormaPagamento = {
    {.nome = "idforma", .tipo = TipoCampo::AutoInc, .largura = 0, .origem = Origem::Coluna},
    {.nome = "codigo", .tipo = TipoCampo::Texto, .largura = 3, .origem = Origem::Coluna},
    {.nome = "Forma", .tipo = TipoCampo::Texto, .largura = 20, .origem = Origem::Coluna},
    {.nome = "tipo", .tipo = TipoCampo::Texto, .largura = 1, .origem = Origem::Coluna},
    {.nome = "valforma", .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna},
    {.nome = "TEF", .tipo = TipoCampo::Texto, .largura = 3, .origem = Origem::Coluna},
    {.nome = "deposito", .tipo = TipoCampo::Inteiro, .largura = 0, .origem = Origem::Coluna},
    {.nome = "desconto", .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna},
};
// tblocalidades (QyLocalidade)
const std::vector<DefCampo> k_QyLocalidade = {
    {.nome = "tp_localidade", .tipo = TipoCampo::Texto, .largura = 1, .origem = Origem::Coluna},
    {.nome = "nm_localidade", .tipo = TipoCampo::Texto, .largura = 10, .origem = Origem::Coluna},
};
// tbconfiguracoes (QyConfiguracoes)
const std::vector<DefCampo> k_QyConfiguracoes = {
    {.nome = "Código", .tipo = TipoCampo::AutoInc, .largura = 0, .origem = Origem::Coluna, .somenteLeitura = true},
    {.nome = "cod_funcionario", .tipo = TipoCampo::Texto, .largura = 10, .origem = Origem::Coluna},
    {.nome = "email_host", .tipo = TipoCampo::Texto, .largura = 200, .origem = Origem::Coluna},
    {.nome = "email_usuario", .tipo = TipoCampo::Texto, .largura = 100, .origem = Origem::Coluna},
    {.nome = "email_senha", .tipo = TipoCampo::Texto, .largura = 100, .origem = Origem::Coluna},
    {.nome = "email_para", .tipo = TipoCampo::Texto, .largura = 200, .origem = Origem::Coluna},
    {.nome = "email_para2", .tipo = TipoCampo::TextoAnsi, .largura = 200, .origem = Origem::Coluna},
    {.nome = "email_para3", .tipo = TipoCampo::Texto, .largura = 255, .origem = Origem::Coluna},
    {.nome = "email_de", .tipo = TipoCampo::Texto, .largura = 200, .origem = Origem::Coluna},
    {.nome = "email_assunto", .tipo = TipoCampo::Texto, .largura = 200, .origem = Origem::Coluna},
    {.nome = "email_texto", .tipo = TipoCampo::Texto, .largura = 255, .origem = Origem::Coluna},
    {.nome = "ultima_atualizacao", .tipo = TipoCampo::DataHora, .largura = 0, .origem = Origem::Coluna},
    {.nome = "ftp_host", .tipo = TipoCampo::Texto, .largura = 255, .origem = Origem::Coluna},
    {.nome = "ftp_usuario", .tipo = TipoCampo::Texto, .largura = 255, .origem = Origem::Coluna},
    {.nome = "ftp_senha", .tipo = TipoCampo::Texto, .largura = 255, .origem = Origem::Coluna},
    {.nome = "ftp_arquivo", .tipo = TipoCampo::Texto, .largura = 255, .origem = Origem::Coluna},
    {.nome = "ftp_pasta", .tipo = TipoCampo::Texto, .largura = 255, .origem = Origem::Coluna},
    {.nome = "pendencia_central", .tipo = TipoCampo::Texto, .largura = 255, .origem = Origem::Coluna},
    // Average delay, in days, above which the order screens flag a customer.
    {.nome = "limite_atraso", .tipo = TipoCampo::Inteiro, .largura = 0, .origem = Origem::Coluna},
};


// The central copy of a list: stored columns only, no formats or masks, the
// key read-only.
std::vector<DefCampo> central(const std::vector<DefCampo> &local, TipoCampo tipoChave)
{
    std::vector<DefCampo> campos;
    for (const DefCampo &c : local) {
        if (c.origem != Origem::Coluna)
            continue;
        DefCampo copia{.nome = c.nome, .tipo = c.tipo, .largura = c.largura};
        if (campos.empty()) {
            copia.tipo = tipoChave;
            copia.largura = 0;
            copia.somenteLeitura = true;
        }
        campos.push_back(copia);
    }
    return campos;
}

QString tipoSql(TipoCampo tipo)
{
    switch (tipo) {
    case TipoCampo::AutoInc: return QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
    case TipoCampo::Inteiro:
    case TipoCampo::Word:
    case TipoCampo::Booleano: return QStringLiteral("INTEGER");
    case TipoCampo::Float: return QStringLiteral("REAL");
    case TipoCampo::Moeda: return QStringLiteral("NUMERIC");
    case TipoCampo::DataHora: return QStringLiteral("DATETIME");
    case TipoCampo::Texto:
    case TipoCampo::TextoAnsi:
    case TipoCampo::Memo: return QStringLiteral("TEXT");
    }
    return QStringLiteral("TEXT");
}

void criarBanco(const QString &arquivo, const std::vector<DefConjunto> &tabelas, const QStringList &indices)
{
    if (QFile::exists(arquivo))
        throw Erro(QStringLiteral("O arquivo %1 já existe.").arg(arquivo));
    const QString conexao = QUuid::createUuid().toString();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), conexao);
        db.setDatabaseName(arquivo);
        if (!db.open())
            throw Erro(QStringLiteral("Não foi possível criar o banco de dados %1: %2")
                           .arg(arquivo, db.lastError().text()));
        QSqlQuery q(db);
        db.transaction();
        for (const DefConjunto &t : tabelas)
            if (!q.exec(ddl(t))) {
                const QString erro = q.lastError().text();
                db.rollback();
                db.close();
                QFile::remove(arquivo);
                throw Erro(QStringLiteral("Não foi possível criar a tabela %1: %2").arg(QString::fromUtf8(t.tabela), erro));
            }
        for (const QString &indice : indices)
            q.exec(indice);
        db.commit();
        db.close();
    }
    QSqlDatabase::removeDatabase(conexao);
}

// The names one query returns in its first column.
QSet<QString> nomes(sqlite3 *banco, const QString &sql)
{
    QSet<QString> resultado;
    sqlite3_stmt *instrucao = nullptr;
    if (sqlite3_prepare_v2(banco, sql.toUtf8().constData(), -1, &instrucao, nullptr) != SQLITE_OK)
        throw Erro(QStringLiteral("Não foi possível ler a estrutura do banco de dados: %1")
                       .arg(QString::fromUtf8(sqlite3_errmsg(banco))));
    while (sqlite3_step(instrucao) == SQLITE_ROW)
        resultado.insert(
            QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(instrucao, 0))).toLower());
    sqlite3_finalize(instrucao);
    return resultado;
}

// What a database made by an older version lacks: whole tables, columns of
// the tables it has, and indexes.
QStringList mudancasPendentes(sqlite3 *banco)
{
    QStringList mudancas;
    const QSet<QString> tabelas = nomes(banco, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'"));
    // A view a company put in a table's place is its own business.
    const QSet<QString> visoes = nomes(banco, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'view'"));
    for (const DefConjunto &t : tabelasLocais()) {
        const QString tabela = QString::fromUtf8(t.tabela);
        if (visoes.contains(tabela.toLower()))
            continue;
        if (!tabelas.contains(tabela.toLower())) {
            mudancas << ddl(t);
            continue;
        }
        const QSet<QString> colunas =
            nomes(banco, QStringLiteral("SELECT name FROM pragma_table_info('%1')").arg(tabela));
        for (const DefCampo &c : t.campos)
            if (c.origem == Origem::Coluna && !colunas.contains(QString::fromUtf8(c.nome).toLower()))
                mudancas << QStringLiteral("ALTER TABLE %1 ADD COLUMN \"%2\" %3")
                                .arg(tabela, QString::fromUtf8(c.nome), tipoSql(c.tipo));
    }
    const QSet<QString> indices = nomes(banco, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'index'"));
    for (const QString &indice : ddlIndices())
        if (!indices.contains(indice.section(QLatin1Char('"'), 1, 1).toLower()))
            mudancas << indice;
    return mudancas;
}

} // namespace

const std::vector<DefCampo> &cliente() { return k_QyCliente; }
const std::vector<DefCampo> &pedido() { return k_QyPedido; }
const std::vector<DefCampo> &pedidoItem() { return k_QyPedidoItem; }
const std::vector<DefCampo> &pacote() { return k_QyPacote; }
const std::vector<DefCampo> &trocaSub() { return k_QyTrocaSub; }
const std::vector<DefCampo> &trocaDev() { return k_QyTrocaDev; }
const std::vector<DefCampo> &vendaCasada() { return k_QyVendaCasada; }
const std::vector<DefCampo> &pendente() { return k_QyPendente; }
const std::vector<DefCampo> &produto() { return k_QyProduto; }
const std::vector<DefCampo> &funcionario() { return k_QyFuncionario; }
const std::vector<DefCampo> &formaPagamento() { return k_QyFormaPagamento; }
const std::vector<DefCampo> &localidade() { return k_QyLocalidade; }
const std::vector<DefCampo> &configuracoes() { return k_QyConfiguracoes; }

const std::vector<DefCampo> &onlineProduto()
{
    static const auto campos = central(k_QyProduto, TipoCampo::AutoInc);
    return campos;
}

const std::vector<DefCampo> &onlineCliente()
{
    static const auto campos = central(k_QyCliente, TipoCampo::AutoInc);
    return campos;
}

const std::vector<DefCampo> &onlineFuncionario()
{
    static const auto campos = central(k_QyFuncionario, TipoCampo::AutoInc);
    return campos;
}

const std::vector<DefCampo> &onlineForma()
{
    static const auto campos = central(k_QyFormaPagamento, TipoCampo::AutoInc);
    return campos;
}

const std::vector<DefCampo> &relatGrupoClientes()
{
    static const std::vector<DefCampo> campos = {
        {.nome = "QUANTIDADE", .tipo = TipoCampo::Inteiro},
        {.nome = "CIDADE", .tipo = TipoCampo::TextoAnsi, .largura = 100},
    };
    return campos;
}

const std::vector<DefCampo> &vendaTotais()
{
    static const std::vector<DefCampo> campos = {
        {.nome = "CODIGO", .tipo = TipoCampo::TextoAnsi, .largura = 20},
        {.nome = "DESCRICAO", .tipo = TipoCampo::TextoAnsi, .largura = 150},
        {.nome = "QUANTIDADE", .tipo = TipoCampo::Inteiro},
        {.nome = "VALORTOTAL", .tipo = TipoCampo::Float, .formatoExibicao = kFormatoMoeda,
         .formatoEdicao = kFormatoMoedaEdicao},
    };
    return campos;
}

const std::vector<DefConjunto> &tabelasLocais()
{
    static const std::vector<DefConjunto> tabelas = {
        {"tbcliente", cliente()},
        {"tbpedido", pedido()},
        {"tbpedido_item", pedidoItem()},
        {"tbpedido_pacote", pacote()},
        {"tbpedido_troca1", trocaSub()},
        {"tbpedido_troca2", trocaDev()},
        {"tbpedido_venda_casada", vendaCasada()},
        {"tbpedido_pendente", pendente()},
        {"tbproduto", produto()},
        {"tbfuncionario", funcionario()},
        {"tbforma", formaPagamento()},
        {"tblocalidades", localidade()},
        {"tbconfiguracoes", configuracoes()},
    };
    return tabelas;
}

const std::vector<DefConjunto> &tabelasCentrais()
{
    static const std::vector<DefConjunto> tabelas = {
        {"tbproduto", onlineProduto()},
        {"tbcliente", onlineCliente()},
        {"tbfuncionario", onlineFuncionario()},
        {"tbforma", onlineForma()},
    };
    return tabelas;
}

QString ddl(const DefConjunto &tabela)
{
    QStringList colunas;
    for (const DefCampo &c : tabela.campos)
        if (c.origem == Origem::Coluna)
            colunas << QStringLiteral("\"%1\" %2").arg(QString::fromUtf8(c.nome), tipoSql(c.tipo));
    return QStringLiteral("CREATE TABLE %1 (%2)").arg(QString::fromUtf8(tabela.tabela), colunas.join(QStringLiteral(", ")));
}

QStringList ddlIndices()
{
    static const struct {
        const char *tabela;
        const char *coluna;
    } indices[] = {
        {"tbpedido_item", "nr_pedido"},         {"tbpedido_pacote", "nr_pedido"},
        {"tbpedido_troca1", "nr_pedido"},       {"tbpedido_troca2", "nr_pedido"},
        {"tbpedido_venda_casada", "nr_pedido"}, {"tbpedido_pendente", "nr_pedido"},
        {"tbproduto", "CODIGO"},                {"tbpedido", "idCliente"},
        {"tbpedido_pendente", "cod_cliente"},   {"tbpedido", "dt_pedido"},
    };
    QStringList ddl;
    for (const auto &i : indices)
        ddl << QStringLiteral("CREATE INDEX IF NOT EXISTS \"ix_%1_%2\" ON %1 (\"%2\")")
                   .arg(QString::fromUtf8(i.tabela), QString::fromUtf8(i.coluna));
    return ddl;
}

QString atualizarBanco(Conexao &conexao)
{
    const QStringList mudancas = mudancasPendentes(conexao.handle());
    if (mudancas.isEmpty())
        return QString();
    const QString copia = CopiarBanco(conexao.handle());
    Transacao transacao(conexao);
    for (const QString &sql : mudancas)
        conexao.executar(sql);
    transacao.confirmar();
    return copia;
}

void criarBancoLocal(const QString &arquivo) { criarBanco(arquivo, tabelasLocais(), ddlIndices()); }

void criarBancoCentral(const QString &arquivo) { criarBanco(arquivo, tabelasCentrais(), {}); }

} // namespace Esquema
