#include "esquema.h"

#include "campos_esquema.h"
#include "conexao.h"
#include "copia_seguranca.h"
#include "erro.h"
#include "transacao.h"

#include <QFile>
#include <QSet>

#include <sqlite3.h>

namespace Esquema
{

namespace
{

using namespace Campos;

// clang-format off
// tbcliente (QyCliente)
const std::vector<DefCampo> k_QyCliente = {
    {.nome = Cliente::IdCliente.utf8(), .tipo = TipoCampo::AutoInc, .largura = 0, .origem = Origem::Coluna},
    {.nome = Cliente::Nome.utf8(), .tipo = TipoCampo::Texto, .largura = 56, .origem = Origem::Coluna},
    {.nome = Cliente::End.utf8(), .tipo = TipoCampo::Texto, .largura = 56, .origem = Origem::Coluna},
    {.nome = Cliente::Tel.utf8(), .tipo = TipoCampo::Texto, .largura = 40, .origem = Origem::Coluna},
    {.nome = Cliente::Bairro.utf8(), .tipo = TipoCampo::Texto, .largura = 25, .origem = Origem::Coluna},
    {.nome = Cliente::Cidade.utf8(), .tipo = TipoCampo::Texto, .largura = 30, .origem = Origem::Coluna},
    {.nome = Cliente::UF.utf8(), .tipo = TipoCampo::Texto, .largura = 3, .origem = Origem::Coluna},
    {.nome = Cliente::CEP.utf8(), .tipo = TipoCampo::Texto, .largura = 10, .origem = Origem::Coluna, .mascara = "99999\\-999;1;_"},
    {.nome = Cliente::Email.utf8(), .tipo = TipoCampo::Texto, .largura = 60, .origem = Origem::Coluna},
    {.nome = Cliente::Contato.utf8(), .tipo = TipoCampo::Texto, .largura = 40, .origem = Origem::Coluna},
    {.nome = Cliente::Referencia.utf8(), .tipo = TipoCampo::Texto, .largura = 40, .origem = Origem::Coluna},
    {.nome = Cliente::OBS.utf8(), .tipo = TipoCampo::Memo, .largura = 0, .origem = Origem::Coluna},
    {.nome = Cliente::Nasc.utf8(), .tipo = TipoCampo::DataHora, .largura = 0, .origem = Origem::Coluna, .mascara = "!99/99/9999;1;_"},
    {.nome = Cliente::sexo.utf8(), .tipo = TipoCampo::Texto, .largura = 1, .origem = Origem::Coluna},
    {.nome = Cliente::cnpj.utf8(), .tipo = TipoCampo::Texto, .largura = 30, .origem = Origem::Coluna, .mascara = "99\\.999\\.999\\/9999\\-99;1;_"},
    {.nome = Cliente::Iest.utf8(), .tipo = TipoCampo::Texto, .largura = 30, .origem = Origem::Coluna},
    {.nome = Cliente::fantasia.utf8(), .tipo = TipoCampo::Texto, .largura = 25, .origem = Origem::Coluna},
    {.nome = Cliente::cadastro.utf8(), .tipo = TipoCampo::DataHora, .largura = 0, .origem = Origem::Coluna},
    {.nome = Cliente::endcorr.utf8(), .tipo = TipoCampo::Texto, .largura = 56, .origem = Origem::Coluna},
    {.nome = Cliente::bairrocorr.utf8(), .tipo = TipoCampo::Texto, .largura = 25, .origem = Origem::Coluna},
    {.nome = Cliente::cidadecorr.utf8(), .tipo = TipoCampo::Texto, .largura = 30, .origem = Origem::Coluna},
    {.nome = Cliente::cepcorr.utf8(), .tipo = TipoCampo::Texto, .largura = 10, .origem = Origem::Coluna, .mascara = "99999\\-999;1;_"},
    {.nome = Cliente::ufcorr.utf8(), .tipo = TipoCampo::Texto, .largura = 3, .origem = Origem::Coluna},
    {.nome = Cliente::ultimacompra.utf8(), .tipo = TipoCampo::DataHora, .largura = 0, .origem = Origem::Coluna},
    {.nome = Cliente::valultcompra.utf8(), .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna, .formatoExibicao = kFormatoMoeda, .formatoEdicao = kFormatoMoedaEdicao},
    {.nome = Cliente::maiorcompra.utf8(), .tipo = TipoCampo::DataHora, .largura = 0, .origem = Origem::Coluna},
    {.nome = Cliente::valmaiorcompra.utf8(), .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna, .formatoExibicao = kFormatoMoeda, .formatoEdicao = kFormatoMoedaEdicao},
    {.nome = Cliente::menorcompra.utf8(), .tipo = TipoCampo::DataHora, .largura = 0, .origem = Origem::Coluna},
    {.nome = Cliente::valmenorcompra.utf8(), .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna, .formatoExibicao = kFormatoMoeda, .formatoEdicao = kFormatoMoedaEdicao},
    {.nome = Cliente::pagtoemdia.utf8(), .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna},
    {.nome = Cliente::pagtoatraso.utf8(), .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna},
    {.nome = Cliente::mediaatraso.utf8(), .tipo = TipoCampo::Inteiro, .largura = 0, .origem = Origem::Coluna},
    {.nome = Cliente::credito.utf8(), .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna},
    {.nome = Cliente::atraso.utf8(), .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna},
    {.nome = Cliente::divida.utf8(), .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna},
    {.nome = Cliente::nota.utf8(), .tipo = TipoCampo::Word, .largura = 0, .origem = Origem::Coluna},
    {.nome = Cliente::cheque.utf8(), .tipo = TipoCampo::Word, .largura = 0, .origem = Origem::Coluna},
    {.nome = Cliente::firma.utf8(), .tipo = TipoCampo::Texto, .largura = 40, .origem = Origem::Coluna},
    {.nome = Cliente::cargo.utf8(), .tipo = TipoCampo::Texto, .largura = 30, .origem = Origem::Coluna},
    {.nome = Cliente::salario.utf8(), .tipo = TipoCampo::Texto, .largura = 10, .origem = Origem::Coluna},
    {.nome = Cliente::endfirma.utf8(), .tipo = TipoCampo::Texto, .largura = 50, .origem = Origem::Coluna},
    {.nome = Cliente::telfirma.utf8(), .tipo = TipoCampo::Texto, .largura = 30, .origem = Origem::Coluna},
    {.nome = Cliente::tempo.utf8(), .tipo = TipoCampo::Texto, .largura = 10, .origem = Origem::Coluna},
    {.nome = Cliente::naturalidade.utf8(), .tipo = TipoCampo::Texto, .largura = 30, .origem = Origem::Coluna},
    {.nome = Cliente::estcivil.utf8(), .tipo = TipoCampo::Texto, .largura = 10, .origem = Origem::Coluna},
    {.nome = Cliente::conjuge.utf8(), .tipo = TipoCampo::Texto, .largura = 50, .origem = Origem::Coluna},
    {.nome = Cliente::pai.utf8(), .tipo = TipoCampo::Texto, .largura = 50, .origem = Origem::Coluna},
    {.nome = Cliente::fax.utf8(), .tipo = TipoCampo::Texto, .largura = 18, .origem = Origem::Coluna},
    {.nome = Cliente::mae.utf8(), .tipo = TipoCampo::Texto, .largura = 50, .origem = Origem::Coluna},
    {.nome = Cliente::regiao.utf8(), .tipo = TipoCampo::Texto, .largura = 5, .origem = Origem::Coluna},
    {.nome = Cliente::status.utf8(), .tipo = TipoCampo::Texto, .largura = 25, .origem = Origem::Coluna},
    {.nome = Cliente::Cel.utf8(), .tipo = TipoCampo::Texto, .largura = 30, .origem = Origem::Coluna},
    {.nome = Cliente::desco.utf8(), .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna},
    {.nome = Cliente::faturamento.utf8(), .tipo = TipoCampo::Inteiro, .largura = 0, .origem = Origem::Coluna},
    {.nome = Cliente::prazo.utf8(), .tipo = TipoCampo::Texto, .largura = 9, .origem = Origem::Coluna},
    {.nome = Cliente::imagem.utf8(), .tipo = TipoCampo::Texto, .largura = 40, .origem = Origem::Coluna},
    {.nome = Cliente::eend.utf8(), .tipo = TipoCampo::Texto, .largura = 50, .origem = Origem::Coluna},
    {.nome = Cliente::ecidade.utf8(), .tipo = TipoCampo::Texto, .largura = 25, .origem = Origem::Coluna},
    {.nome = Cliente::ebairro.utf8(), .tipo = TipoCampo::Texto, .largura = 25, .origem = Origem::Coluna},
    {.nome = Cliente::ecep.utf8(), .tipo = TipoCampo::Texto, .largura = 10, .origem = Origem::Coluna},
    {.nome = Cliente::euf.utf8(), .tipo = TipoCampo::Texto, .largura = 2, .origem = Origem::Coluna},
    {.nome = Cliente::banco.utf8(), .tipo = TipoCampo::Texto, .largura = 15, .origem = Origem::Coluna},
    {.nome = Cliente::agencia.utf8(), .tipo = TipoCampo::Texto, .largura = 10, .origem = Origem::Coluna},
    {.nome = Cliente::conta.utf8(), .tipo = TipoCampo::Texto, .largura = 15, .origem = Origem::Coluna},
    {.nome = Cliente::email2.utf8(), .tipo = TipoCampo::Texto, .largura = 70, .origem = Origem::Coluna},
    {.nome = Cliente::email3.utf8(), .tipo = TipoCampo::Texto, .largura = 70, .origem = Origem::Coluna},
    {.nome = Cliente::web.utf8(), .tipo = TipoCampo::Texto, .largura = 70, .origem = Origem::Coluna},
    {.nome = Cliente::compr1.utf8(), .tipo = TipoCampo::Texto, .largura = 40, .origem = Origem::Coluna},
    {.nome = Cliente::telcomp1.utf8(), .tipo = TipoCampo::Texto, .largura = 40, .origem = Origem::Coluna},
    {.nome = Cliente::mailcomp1.utf8(), .tipo = TipoCampo::Texto, .largura = 70, .origem = Origem::Coluna},
    {.nome = Cliente::compr2.utf8(), .tipo = TipoCampo::Texto, .largura = 40, .origem = Origem::Coluna},
    {.nome = Cliente::telcomp2.utf8(), .tipo = TipoCampo::Texto, .largura = 40, .origem = Origem::Coluna},
    {.nome = Cliente::mailcomp2.utf8(), .tipo = TipoCampo::Texto, .largura = 70, .origem = Origem::Coluna},
    {.nome = Cliente::transportadora.utf8(), .tipo = TipoCampo::Texto, .largura = 56, .origem = Origem::Coluna},
    {.nome = Cliente::idtransp.utf8(), .tipo = TipoCampo::Inteiro, .largura = 0, .origem = Origem::Coluna},
    {.nome = Cliente::internet.utf8(), .tipo = TipoCampo::Memo, .largura = 0, .origem = Origem::Coluna},
    {.nome = Cliente::funcionario.utf8(), .tipo = TipoCampo::Texto, .largura = 15, .origem = Origem::Coluna},
    {.nome = Cliente::CliFPagto.utf8(), .tipo = TipoCampo::Texto, .largura = 6, .origem = Origem::Coluna},
    {.nome = Cliente::historico.utf8(), .tipo = TipoCampo::Memo, .largura = 0, .origem = Origem::Coluna},
    {.nome = Cliente::movimento.utf8(), .tipo = TipoCampo::Memo, .largura = 0, .origem = Origem::Coluna},
    {.nome = Cliente::TipoCli.utf8(), .tipo = TipoCampo::Texto, .largura = 20, .origem = Origem::Coluna},
    {.nome = Cliente::imunicip.utf8(), .tipo = TipoCampo::Texto, .largura = 30, .origem = Origem::Coluna},
    {.nome = Cliente::telcorr.utf8(), .tipo = TipoCampo::Texto, .largura = 40, .origem = Origem::Coluna},
    {.nome = Cliente::etel.utf8(), .tipo = TipoCampo::Texto, .largura = 40, .origem = Origem::Coluna},
    {.nome = Cliente::refcorr.utf8(), .tipo = TipoCampo::Texto, .largura = 56, .origem = Origem::Coluna},
    {.nome = Cliente::eref.utf8(), .tipo = TipoCampo::Texto, .largura = 56, .origem = Origem::Coluna},
    {.nome = Cliente::tolera.utf8(), .tipo = TipoCampo::Inteiro, .largura = 0, .origem = Origem::Coluna},
};
// tbpedido (QyPedido)
const std::vector<DefCampo> k_QyPedido = {
    {.nome = Pedido::nr_pedido.utf8(), .tipo = TipoCampo::AutoInc, .largura = 0, .origem = Origem::Coluna, .somenteLeitura = true},
    {.nome = Pedido::idFunc.utf8(), .tipo = TipoCampo::Texto, .largura = 10, .origem = Origem::Coluna},
    {.nome = Pedido::idCliente.utf8(), .tipo = TipoCampo::Inteiro, .largura = 0, .origem = Origem::Coluna},
    {.nome = Pedido::dt_pedido.utf8(), .tipo = TipoCampo::DataHora, .largura = 0, .origem = Origem::Coluna},
    {.nome = Pedido::nm_forma_pagamento.utf8(), .tipo = TipoCampo::Texto, .largura = 200, .origem = Origem::Coluna},
    {.nome = Pedido::tp_localidade.utf8(), .tipo = TipoCampo::Texto, .largura = 1, .origem = Origem::Coluna},
    {.nome = Pedido::idforma.utf8(), .tipo = TipoCampo::Inteiro, .largura = 0, .origem = Origem::Coluna},
    {.nome = Pedido::impresso.utf8(), .tipo = TipoCampo::Booleano, .largura = 0, .origem = Origem::Coluna},
    {.nome = Pedido::enviado.utf8(), .tipo = TipoCampo::Booleano, .largura = 0, .origem = Origem::Coluna},
    {.nome = Pedido::vl_total_venda_casada.utf8(), .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna, .formatoExibicao = kFormatoMoeda, .formatoEdicao = kFormatoMoedaEdicao},
    {.nome = Pedido::vl_total_item.utf8(), .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna, .formatoExibicao = kFormatoMoeda, .formatoEdicao = kFormatoMoedaEdicao},
    {.nome = Pedido::vl_qtd_pacote.utf8(), .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna},
    {.nome = Pedido::vl_total_pacote.utf8(), .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna, .formatoExibicao = kFormatoMoeda, .formatoEdicao = kFormatoMoedaEdicao},
    {.nome = Pedido::vl_media_pacote.utf8(), .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna, .formatoExibicao = kFormatoMoeda, .formatoEdicao = kFormatoMoedaEdicao},
    {.nome = Pedido::vl_total_troca1.utf8(), .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna, .formatoExibicao = kFormatoMoeda, .formatoEdicao = kFormatoMoedaEdicao},
    {.nome = Pedido::vl_total_troca2.utf8(), .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna, .formatoExibicao = kFormatoMoeda, .formatoEdicao = kFormatoMoedaEdicao},
    {.nome = Pedido::vl_diferenca_troca.utf8(), .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna, .formatoExibicao = kFormatoMoeda, .formatoEdicao = kFormatoMoedaEdicao},
    {.nome = Pedido::dt_troca.utf8(), .tipo = TipoCampo::DataHora, .largura = 0, .origem = Origem::Coluna},
    {.nome = Pedido::enviadoTroca.utf8(), .tipo = TipoCampo::Booleano, .largura = 0, .origem = Origem::Coluna},
    {.nome = Pedido::in_cancelado.utf8(), .tipo = TipoCampo::Booleano, .largura = 0, .origem = Origem::Coluna},
    {.nome = Pedido::qt_envio_email.utf8(), .tipo = TipoCampo::Inteiro, .largura = 0, .origem = Origem::Coluna},
    {.nome = Pedido::dv.utf8(), .tipo = TipoCampo::Inteiro, .largura = 0, .origem = Origem::Coluna},
    {.nome = Pedido::avista.utf8(), .tipo = TipoCampo::Inteiro, .largura = 0, .origem = Origem::Coluna},
    {.nome = Pedido::observacao.utf8(), .tipo = TipoCampo::Texto, .largura = 255, .origem = Origem::Coluna},
    {.nome = Pedido::CLIENTE_DESCRICAO.utf8(), .tipo = TipoCampo::TextoAnsi, .largura = 150, .origem = Origem::Lookup, .campoLookup = Cliente::Nome.utf8()},
    {.nome = Pedido::cif.utf8(), .tipo = TipoCampo::Texto, .largura = 3, .origem = Origem::Coluna},
    {.nome = Pedido::vl_acumulativo_pedido.utf8(), .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna},
    {.nome = Pedido::vl_acumulativo_pacote.utf8(), .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna},
    {.nome = Pedido::vl_acumulativo_troca.utf8(), .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna},
    {.nome = Pedido::vl_gordura.utf8(), .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna},
};
// tbpedido_item (QyPedidoItem)
const std::vector<DefCampo> k_QyPedidoItem = {
    {.nome = Item::nr_pedido.utf8(), .tipo = TipoCampo::Inteiro, .largura = 0, .origem = Origem::Coluna},
    {.nome = Item::idfunc.utf8(), .tipo = TipoCampo::Texto, .largura = 10, .origem = Origem::Coluna},
    {.nome = Item::item.utf8(), .tipo = TipoCampo::AutoInc, .largura = 0, .origem = Origem::Coluna, .somenteLeitura = true},
    {.nome = Item::codigo.utf8(), .tipo = TipoCampo::Texto, .largura = 20, .origem = Origem::Coluna},
    {.nome = Item::codigo_descricao.utf8(), .tipo = TipoCampo::TextoAnsi, .largura = 150, .origem = Origem::Lookup, .campoLookup = Produto::FABRICANTE.utf8()},
    {.nome = Item::quantidade.utf8(), .tipo = TipoCampo::Inteiro, .largura = 0, .origem = Origem::Coluna},
    {.nome = Item::valorUnitario.utf8(), .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna, .formatoExibicao = kFormatoMoeda, .formatoEdicao = kFormatoMoedaEdicao},
    {.nome = Item::valorTotal.utf8(), .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna, .formatoExibicao = kFormatoMoeda, .formatoEdicao = kFormatoMoedaEdicao},
    {.nome = Item::cd_desconto1.utf8(), .tipo = TipoCampo::Texto, .largura = 1, .origem = Origem::Coluna},
    {.nome = Item::cd_desconto2.utf8(), .tipo = TipoCampo::Texto, .largura = 1, .origem = Origem::Coluna},
    {.nome = Item::cd_desconto3.utf8(), .tipo = TipoCampo::Texto, .largura = 1, .origem = Origem::Coluna},
    {.nome = Item::estoque.utf8(), .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Lookup, .campoLookup = Produto::ESTOQUE.utf8()},
    {.nome = Item::item_descricao.utf8(), .tipo = TipoCampo::TextoAnsi, .largura = 150, .origem = Origem::Lookup, .campoLookup = Produto::PRODUTO.utf8()},
    {.nome = Item::desconto.utf8(), .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna},
    {.nome = Item::gordura1.utf8(), .tipo = TipoCampo::Texto, .largura = 1, .origem = Origem::Coluna},
    {.nome = Item::vl_gordura.utf8(), .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna, .formatoExibicao = kFormatoMoeda, .formatoEdicao = kFormatoMoedaEdicao},
};
// tbpedido_pacote (QyPacote)
const std::vector<DefCampo> k_QyPacote = {
    {.nome = Item::nr_pedido.utf8(), .tipo = TipoCampo::Inteiro, .largura = 0, .origem = Origem::Coluna},
    {.nome = Item::idfunc.utf8(), .tipo = TipoCampo::Texto, .largura = 10, .origem = Origem::Coluna},
    {.nome = Item::item.utf8(), .tipo = TipoCampo::AutoInc, .largura = 0, .origem = Origem::Coluna, .somenteLeitura = true},
    {.nome = Item::codigo.utf8(), .tipo = TipoCampo::Texto, .largura = 20, .origem = Origem::Coluna},
    {.nome = Item::codigo_descricao.utf8(), .tipo = TipoCampo::TextoAnsi, .largura = 150, .origem = Origem::Lookup, .campoLookup = Produto::FABRICANTE.utf8()},
    {.nome = Item::quantidade.utf8(), .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna},
    {.nome = Item::valorUnitario.utf8(), .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna, .formatoExibicao = kFormatoMoeda, .formatoEdicao = kFormatoMoedaEdicao},
    {.nome = Item::valorTotal.utf8(), .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna, .formatoExibicao = kFormatoMoeda, .formatoEdicao = kFormatoMoedaEdicao},
    {.nome = Item::cd_desconto1.utf8(), .tipo = TipoCampo::Texto, .largura = 50, .origem = Origem::Coluna},
    {.nome = Item::cd_desconto2.utf8(), .tipo = TipoCampo::Texto, .largura = 50, .origem = Origem::Coluna},
    {.nome = Item::cd_desconto3.utf8(), .tipo = TipoCampo::Texto, .largura = 50, .origem = Origem::Coluna},
    {.nome = Item::estoque.utf8(), .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Lookup, .campoLookup = Produto::ESTOQUE.utf8()},
    {.nome = Item::item_descricao.utf8(), .tipo = TipoCampo::TextoAnsi, .largura = 150, .origem = Origem::Lookup, .campoLookup = Produto::PRODUTO.utf8()},
    {.nome = Item::desconto.utf8(), .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna},
    {.nome = Item::vl_gordura.utf8(), .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna, .formatoExibicao = kFormatoMoeda, .formatoEdicao = kFormatoMoedaEdicao},
    {.nome = Item::gordura1.utf8(), .tipo = TipoCampo::Texto, .largura = 1, .origem = Origem::Coluna},
};
// tbpedido_troca1 (QyTrocaSub)
const std::vector<DefCampo> k_QyTrocaSub = {
    {.nome = Item::nr_pedido.utf8(), .tipo = TipoCampo::Inteiro, .largura = 0, .origem = Origem::Coluna},
    {.nome = Item::idfunc.utf8(), .tipo = TipoCampo::Texto, .largura = 10, .origem = Origem::Coluna},
    {.nome = Item::item.utf8(), .tipo = TipoCampo::AutoInc, .largura = 0, .origem = Origem::Coluna, .somenteLeitura = true},
    {.nome = Item::codigo.utf8(), .tipo = TipoCampo::Texto, .largura = 20, .origem = Origem::Coluna},
    {.nome = Item::quantidade.utf8(), .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna},
    {.nome = Item::valorUnitario.utf8(), .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna, .formatoExibicao = kFormatoMoeda, .formatoEdicao = kFormatoMoedaEdicao},
    {.nome = Item::valorTotal.utf8(), .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna, .formatoExibicao = kFormatoMoeda, .formatoEdicao = kFormatoMoedaEdicao},
    {.nome = Item::estoque.utf8(), .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Lookup, .campoLookup = Produto::ESTOQUE.utf8()},
    {.nome = Item::item_descricao.utf8(), .tipo = TipoCampo::TextoAnsi, .largura = 150, .origem = Origem::Lookup, .campoLookup = Produto::PRODUTO.utf8()},
};
// tbpedido_troca2 (QyTrocaDev)
const std::vector<DefCampo> k_QyTrocaDev = {
    {.nome = Item::nr_pedido.utf8(), .tipo = TipoCampo::Inteiro, .largura = 0, .origem = Origem::Coluna},
    {.nome = Item::idfunc.utf8(), .tipo = TipoCampo::Texto, .largura = 10, .origem = Origem::Coluna},
    {.nome = Item::item.utf8(), .tipo = TipoCampo::AutoInc, .largura = 0, .origem = Origem::Coluna, .somenteLeitura = true},
    {.nome = Item::codigo.utf8(), .tipo = TipoCampo::Texto, .largura = 20, .origem = Origem::Coluna},
    {.nome = Item::quantidade.utf8(), .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna},
    {.nome = Item::valorUnitario.utf8(), .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna, .formatoExibicao = kFormatoMoeda, .formatoEdicao = kFormatoMoedaEdicao},
    {.nome = Item::valorTotal.utf8(), .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna, .formatoExibicao = kFormatoMoeda, .formatoEdicao = kFormatoMoedaEdicao},
    {.nome = Item::item_descricao.utf8(), .tipo = TipoCampo::TextoAnsi, .largura = 150, .origem = Origem::Lookup, .campoLookup = Produto::PRODUTO.utf8()},
};
// tbpedido_venda_casada (QyVendaCasada)
const std::vector<DefCampo> k_QyVendaCasada = {
    {.nome = Item::nr_pedido.utf8(), .tipo = TipoCampo::Inteiro, .largura = 0, .origem = Origem::Coluna},
    {.nome = Item::idfunc.utf8(), .tipo = TipoCampo::Texto, .largura = 10, .origem = Origem::Coluna},
    {.nome = Item::item.utf8(), .tipo = TipoCampo::AutoInc, .largura = 0, .origem = Origem::Coluna, .somenteLeitura = true},
    {.nome = Item::codigo.utf8(), .tipo = TipoCampo::Texto, .largura = 20, .origem = Origem::Coluna},
    {.nome = Item::codigo_descricao.utf8(), .tipo = TipoCampo::TextoAnsi, .largura = 150, .origem = Origem::Lookup, .campoLookup = Produto::FABRICANTE.utf8()},
    {.nome = Item::quantidade.utf8(), .tipo = TipoCampo::Inteiro, .largura = 0, .origem = Origem::Coluna},
    {.nome = Item::valorUnitario.utf8(), .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna, .formatoExibicao = kFormatoMoeda, .formatoEdicao = kFormatoMoedaEdicao},
    {.nome = Item::valorTotal.utf8(), .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna, .formatoExibicao = kFormatoMoeda, .formatoEdicao = kFormatoMoedaEdicao},
    {.nome = Item::cd_desconto1.utf8(), .tipo = TipoCampo::Texto, .largura = 1, .origem = Origem::Coluna},
    {.nome = Item::cd_desconto2.utf8(), .tipo = TipoCampo::Texto, .largura = 1, .origem = Origem::Coluna},
    {.nome = Item::cd_desconto3.utf8(), .tipo = TipoCampo::Texto, .largura = 1, .origem = Origem::Coluna},
    {.nome = Item::item_descricao.utf8(), .tipo = TipoCampo::TextoAnsi, .largura = 150, .origem = Origem::Lookup, .campoLookup = Produto::PRODUTO.utf8()},
    {.nome = Item::desconto.utf8(), .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna},
    {.nome = Item::vl_gordura.utf8(), .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna, .formatoExibicao = kFormatoMoeda, .formatoEdicao = kFormatoMoedaEdicao},
    {.nome = Item::gordura1.utf8(), .tipo = TipoCampo::Texto, .largura = 1, .origem = Origem::Coluna},
};
// tbpedido_pendente (QyPendente)
const std::vector<DefCampo> k_QyPendente = {
    {.nome = Item::nr_pedido.utf8(), .tipo = TipoCampo::Inteiro, .largura = 0, .origem = Origem::Coluna},
    {.nome = Item::idfunc.utf8(), .tipo = TipoCampo::Texto, .largura = 10, .origem = Origem::Coluna},
    {.nome = Item::item.utf8(), .tipo = TipoCampo::Inteiro, .largura = 0, .origem = Origem::Coluna},
    {.nome = Item::codigo.utf8(), .tipo = TipoCampo::Texto, .largura = 20, .origem = Origem::Coluna},
    {.nome = Item::codigo_descricao.utf8(), .tipo = TipoCampo::TextoAnsi, .largura = 150, .origem = Origem::Lookup, .campoLookup = Produto::FABRICANTE.utf8()},
    {.nome = Item::quantidade.utf8(), .tipo = TipoCampo::Inteiro, .largura = 0, .origem = Origem::Coluna},
    {.nome = Item::valorUnitario.utf8(), .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna, .formatoExibicao = kFormatoMoeda, .formatoEdicao = kFormatoMoedaEdicao},
    {.nome = Item::valorTotal.utf8(), .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna, .formatoExibicao = kFormatoMoeda, .formatoEdicao = kFormatoMoedaEdicao},
    {.nome = Item::cd_desconto1.utf8(), .tipo = TipoCampo::Texto, .largura = 1, .origem = Origem::Coluna},
    {.nome = Item::cd_desconto2.utf8(), .tipo = TipoCampo::Texto, .largura = 1, .origem = Origem::Coluna},
    {.nome = Item::cd_desconto3.utf8(), .tipo = TipoCampo::Texto, .largura = 1, .origem = Origem::Coluna},
    {.nome = Item::estoque.utf8(), .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Lookup, .campoLookup = Produto::ESTOQUE.utf8()},
    {.nome = Item::item_descricao.utf8(), .tipo = TipoCampo::TextoAnsi, .largura = 150, .origem = Origem::Lookup, .campoLookup = Produto::PRODUTO.utf8()},
    {.nome = Item::desconto.utf8(), .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna},
    {.nome = Item::cod_cliente.utf8(), .tipo = TipoCampo::Inteiro, .largura = 0, .origem = Origem::Coluna},
    {.nome = Item::situacao.utf8(), .tipo = TipoCampo::Texto, .largura = 100, .origem = Origem::Coluna},
    {.nome = Item::data_pendente.utf8(), .tipo = TipoCampo::DataHora, .largura = 0, .origem = Origem::Coluna},
};
// tbproduto (QyProduto)
const std::vector<DefCampo> k_QyProduto = {
    {.nome = Produto::idProduto.utf8(), .tipo = TipoCampo::AutoInc, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::CODIGO.utf8(), .tipo = TipoCampo::Texto, .largura = 20, .origem = Origem::Coluna},
    {.nome = Produto::PRODUTO.utf8(), .tipo = TipoCampo::Texto, .largura = 255, .origem = Origem::Coluna},
    {.nome = Produto::ESTOQUE.utf8(), .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::PRECOVENDA.utf8(), .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::CODFAB.utf8(), .tipo = TipoCampo::Memo, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::grupo.utf8(), .tipo = TipoCampo::Texto, .largura = 7, .origem = Origem::Coluna},
    {.nome = Produto::POSICAO.utf8(), .tipo = TipoCampo::Texto, .largura = 26, .origem = Origem::Coluna},
    {.nome = Produto::PRECOCUSTO.utf8(), .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::PRECOLISTA.utf8(), .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::MINIMO.utf8(), .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::FABRICANTE.utf8(), .tipo = TipoCampo::Texto, .largura = 15, .origem = Origem::Coluna},
    {.nome = Produto::MARGEM.utf8(), .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::UNID.utf8(), .tipo = TipoCampo::Texto, .largura = 3, .origem = Origem::Coluna},
    {.nome = Produto::ICMS.utf8(), .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::OBS.utf8(), .tipo = TipoCampo::Memo, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::CONTMIN.utf8(), .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::IPI.utf8(), .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::ICMScompra.utf8(), .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::kit.utf8(), .tipo = TipoCampo::Texto, .largura = 1, .origem = Origem::Coluna},
    {.nome = Produto::promocao.utf8(), .tipo = TipoCampo::Texto, .largura = 1, .origem = Origem::Coluna},
    {.nome = Produto::PRECOPROMO.utf8(), .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::UltCompra.utf8(), .tipo = TipoCampo::DataHora, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::ValUltCompra.utf8(), .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::QtdUltCompra.utf8(), .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::UltVenda.utf8(), .tipo = TipoCampo::DataHora, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::ValUltVenda.utf8(), .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::QtdUltVenda.utf8(), .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::AltCusto.utf8(), .tipo = TipoCampo::DataHora, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::AltVenda.utf8(), .tipo = TipoCampo::DataHora, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::AltRef.utf8(), .tipo = TipoCampo::DataHora, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::ValCusto.utf8(), .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::ValVenda.utf8(), .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::ValRefe.utf8(), .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::desc1.utf8(), .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::desc2.utf8(), .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::desc3.utf8(), .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::desc4.utf8(), .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::desc5.utf8(), .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::plista.utf8(), .tipo = TipoCampo::Booleano, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::frete.utf8(), .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::despesa.utf8(), .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::custodolar.utf8(), .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::dolar.utf8(), .tipo = TipoCampo::Booleano, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::et0.utf8(), .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::et1.utf8(), .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::et2.utf8(), .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::et3.utf8(), .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::et4.utf8(), .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::et5.utf8(), .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::et6.utf8(), .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::et7.utf8(), .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::et8.utf8(), .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::et9.utf8(), .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::tributacao.utf8(), .tipo = TipoCampo::Texto, .largura = 1, .origem = Origem::Coluna},
    {.nome = Produto::imagem.utf8(), .tipo = TipoCampo::Texto, .largura = 40, .origem = Origem::Coluna},
    {.nome = Produto::pesobruto.utf8(), .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::pesoliquido.utf8(), .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::nota.utf8(), .tipo = TipoCampo::Texto, .largura = 10, .origem = Origem::Coluna},
    {.nome = Produto::descpc.utf8(), .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::descqtd.utf8(), .tipo = TipoCampo::Inteiro, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::classe.utf8(), .tipo = TipoCampo::Texto, .largura = 1, .origem = Origem::Coluna},
    {.nome = Produto::fimpromocao.utf8(), .tipo = TipoCampo::DataHora, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::baixav.utf8(), .tipo = TipoCampo::Booleano, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::Comissao.utf8(), .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::Najustar.utf8(), .tipo = TipoCampo::Booleano, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::inativo.utf8(), .tipo = TipoCampo::Booleano, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::serv.utf8(), .tipo = TipoCampo::Booleano, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::garantia.utf8(), .tipo = TipoCampo::Inteiro, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::tabela.utf8(), .tipo = TipoCampo::Booleano, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::multiplo.utf8(), .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::clientep.utf8(), .tipo = TipoCampo::Texto, .largura = 56, .origem = Origem::Coluna},
    {.nome = Produto::fornecedorp.utf8(), .tipo = TipoCampo::Texto, .largura = 56, .origem = Origem::Coluna},
    {.nome = Produto::idclientep.utf8(), .tipo = TipoCampo::Inteiro, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::idfornecp.utf8(), .tipo = TipoCampo::Inteiro, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::reducao.utf8(), .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::sittribu.utf8(), .tipo = TipoCampo::Texto, .largura = 3, .origem = Origem::Coluna},
    {.nome = Produto::classfis.utf8(), .tipo = TipoCampo::Texto, .largura = 12, .origem = Origem::Coluna},
    {.nome = Produto::semcomissao.utf8(), .tipo = TipoCampo::Booleano, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::altu.utf8(), .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::larg.utf8(), .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::comp.utf8(), .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::caixa.utf8(), .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::fixarprevenda.utf8(), .tipo = TipoCampo::Booleano, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::pedido.utf8(), .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::reservado.utf8(), .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::textofisc.utf8(), .tipo = TipoCampo::Texto, .largura = 100, .origem = Origem::Coluna},
    {.nome = Produto::pesavel.utf8(), .tipo = TipoCampo::Booleano, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::descpc1.utf8(), .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::descqtd1.utf8(), .tipo = TipoCampo::Inteiro, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::descpc2.utf8(), .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::descqtd2.utf8(), .tipo = TipoCampo::Inteiro, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::descpc3.utf8(), .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::descqtd3.utf8(), .tipo = TipoCampo::Inteiro, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::strib.utf8(), .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::dpprocz.utf8(), .tipo = TipoCampo::Texto, .largura = 30, .origem = Origem::Coluna},
    {.nome = Produto::piscofins.utf8(), .tipo = TipoCampo::Texto, .largura = 2, .origem = Origem::Coluna},
    {.nome = Produto::PedMed.utf8(), .tipo = TipoCampo::Booleano, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::Benef.utf8(), .tipo = TipoCampo::Booleano, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::customedio.utf8(), .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::IVAST.utf8(), .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::srfil.utf8(), .tipo = TipoCampo::Memo, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::pagi.utf8(), .tipo = TipoCampo::Texto, .largura = 4, .origem = Origem::Coluna},
    {.nome = Produto::posi.utf8(), .tipo = TipoCampo::Texto, .largura = 4, .origem = Origem::Coluna},
    {.nome = Produto::vali.utf8(), .tipo = TipoCampo::Texto, .largura = 4, .origem = Origem::Coluna},
    {.nome = Produto::reta.utf8(), .tipo = TipoCampo::Booleano, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::iss.utf8(), .tipo = TipoCampo::Booleano, .largura = 0, .origem = Origem::Coluna},
    {.nome = Produto::PRECOCOMFRETE.utf8(), .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Calculado, .formatoExibicao = "###,###,###,##0.00", .formatoEdicao = kFormatoMoedaEdicao},
};
// tbfuncionario (QyFuncionario)
const std::vector<DefCampo> k_QyFuncionario = {
    {.nome = Funcionario::idfunc.utf8(), .tipo = TipoCampo::Texto, .largura = 10, .origem = Origem::Coluna},
    {.nome = Funcionario::Nome.utf8(), .tipo = TipoCampo::Texto, .largura = 56, .origem = Origem::Coluna},
    {.nome = Funcionario::Bairro.utf8(), .tipo = TipoCampo::Texto, .largura = 25, .origem = Origem::Coluna},
    {.nome = Funcionario::Cidade.utf8(), .tipo = TipoCampo::Texto, .largura = 30, .origem = Origem::Coluna},
    {.nome = Funcionario::UF.utf8(), .tipo = TipoCampo::Texto, .largura = 2, .origem = Origem::Coluna},
    {.nome = Funcionario::CEP.utf8(), .tipo = TipoCampo::Texto, .largura = 10, .origem = Origem::Coluna},
    {.nome = Funcionario::CartTrabalho.utf8(), .tipo = TipoCampo::Texto, .largura = 15, .origem = Origem::Coluna},
    {.nome = Funcionario::PIS.utf8(), .tipo = TipoCampo::Texto, .largura = 12, .origem = Origem::Coluna},
    {.nome = Funcionario::Cargo.utf8(), .tipo = TipoCampo::Texto, .largura = 30, .origem = Origem::Coluna},
    {.nome = Funcionario::referencia.utf8(), .tipo = TipoCampo::Texto, .largura = 140, .origem = Origem::Coluna},
    {.nome = Funcionario::OBS.utf8(), .tipo = TipoCampo::Memo, .largura = 0, .origem = Origem::Coluna},
    {.nome = Funcionario::Tel.utf8(), .tipo = TipoCampo::Texto, .largura = 40, .origem = Origem::Coluna},
    {.nome = Funcionario::Nasc.utf8(), .tipo = TipoCampo::DataHora, .largura = 0, .origem = Origem::Coluna},
    {.nome = Funcionario::sexo.utf8(), .tipo = TipoCampo::Texto, .largura = 1, .origem = Origem::Coluna},
    {.nome = Funcionario::admissao.utf8(), .tipo = TipoCampo::DataHora, .largura = 0, .origem = Origem::Coluna},
    {.nome = Funcionario::demissao.utf8(), .tipo = TipoCampo::DataHora, .largura = 0, .origem = Origem::Coluna},
    {.nome = Funcionario::salario.utf8(), .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna},
    {.nome = Funcionario::comissao.utf8(), .tipo = TipoCampo::Float, .largura = 0, .origem = Origem::Coluna},
    {.nome = Funcionario::cic.utf8(), .tipo = TipoCampo::Texto, .largura = 20, .origem = Origem::Coluna},
    {.nome = Funcionario::rg.utf8(), .tipo = TipoCampo::Texto, .largura = 20, .origem = Origem::Coluna},
    {.nome = Funcionario::escolaridade.utf8(), .tipo = TipoCampo::Texto, .largura = 50, .origem = Origem::Coluna},
    {.nome = Funcionario::ultferias.utf8(), .tipo = TipoCampo::DataHora, .largura = 0, .origem = Origem::Coluna},
    {.nome = Funcionario::peso.utf8(), .tipo = TipoCampo::Texto, .largura = 5, .origem = Origem::Coluna},
    {.nome = Funcionario::altura.utf8(), .tipo = TipoCampo::Texto, .largura = 5, .origem = Origem::Coluna},
    {.nome = Funcionario::camisa.utf8(), .tipo = TipoCampo::Texto, .largura = 3, .origem = Origem::Coluna},
    {.nome = Funcionario::calca.utf8(), .tipo = TipoCampo::Texto, .largura = 3, .origem = Origem::Coluna},
    {.nome = Funcionario::sapato.utf8(), .tipo = TipoCampo::Texto, .largura = 3, .origem = Origem::Coluna},
    {.nome = Funcionario::Email.utf8(), .tipo = TipoCampo::Texto, .largura = 60, .origem = Origem::Coluna},
    {.nome = Funcionario::idlog.utf8(), .tipo = TipoCampo::Memo, .largura = 0, .origem = Origem::Coluna},
    {.nome = Funcionario::abreg.utf8(), .tipo = TipoCampo::Texto, .largura = 30, .origem = Origem::Coluna},
    {.nome = Funcionario::imagem.utf8(), .tipo = TipoCampo::Texto, .largura = 60, .origem = Origem::Coluna},
    {.nome = Funcionario::apelido.utf8(), .tipo = TipoCampo::Texto, .largura = 26, .origem = Origem::Coluna},
    {.nome = Funcionario::celular.utf8(), .tipo = TipoCampo::Texto, .largura = 15, .origem = Origem::Coluna},
    {.nome = Funcionario::pai.utf8(), .tipo = TipoCampo::Texto, .largura = 50, .origem = Origem::Coluna},
    {.nome = Funcionario::mae.utf8(), .tipo = TipoCampo::Texto, .largura = 50, .origem = Origem::Coluna},
    {.nome = Funcionario::ecivil.utf8(), .tipo = TipoCampo::Texto, .largura = 15, .origem = Origem::Coluna},
    {.nome = Funcionario::teleitor.utf8(), .tipo = TipoCampo::Texto, .largura = 30, .origem = Origem::Coluna},
    {.nome = Funcionario::AgendaAFAZER.utf8(), .tipo = TipoCampo::Memo, .largura = 0, .origem = Origem::Coluna},
    {.nome = Funcionario::AgendaAnotacoes.utf8(), .tipo = TipoCampo::Memo, .largura = 0, .origem = Origem::Coluna},
    {.nome = Funcionario::endereco.utf8(), .tipo = TipoCampo::Texto, .largura = 56, .origem = Origem::Coluna},
    {.nome = Funcionario::nivel.utf8(), .tipo = TipoCampo::Texto, .largura = 15, .origem = Origem::Coluna},
    {.nome = Funcionario::rt.utf8(), .tipo = TipoCampo::Booleano, .largura = 0, .origem = Origem::Coluna},
    {.nome = Funcionario::idloja.utf8(), .tipo = TipoCampo::Texto, .largura = 3, .origem = Origem::Coluna},
    {.nome = Funcionario::movimento.utf8(), .tipo = TipoCampo::Memo, .largura = 0, .origem = Origem::Coluna},
    {.nome = Funcionario::SMTP.utf8(), .tipo = TipoCampo::Texto, .largura = 150, .origem = Origem::Coluna},
    {.nome = Funcionario::usermail.utf8(), .tipo = TipoCampo::Texto, .largura = 150, .origem = Origem::Coluna},
    {.nome = Funcionario::passwmail.utf8(), .tipo = TipoCampo::Texto, .largura = 20, .origem = Origem::Coluna},
    {.nome = Funcionario::workmail.utf8(), .tipo = TipoCampo::Texto, .largura = 150, .origem = Origem::Coluna},
    {.nome = Funcionario::opmail.utf8(), .tipo = TipoCampo::Inteiro, .largura = 0, .origem = Origem::Coluna},
};
// tbforma (QyFormaPagamento)
const std::vector<DefCampo> k_QyFormaPagamento = {
    {.nome = Forma::idforma.utf8(), .tipo = TipoCampo::AutoInc, .largura = 0, .origem = Origem::Coluna},
    {.nome = Forma::codigo.utf8(), .tipo = TipoCampo::Texto, .largura = 3, .origem = Origem::Coluna},
    {.nome = Forma::Forma.utf8(), .tipo = TipoCampo::Texto, .largura = 20, .origem = Origem::Coluna},
    {.nome = Forma::tipo.utf8(), .tipo = TipoCampo::Texto, .largura = 1, .origem = Origem::Coluna},
    {.nome = Forma::valforma.utf8(), .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna},
    {.nome = Forma::TEF.utf8(), .tipo = TipoCampo::Texto, .largura = 3, .origem = Origem::Coluna},
    {.nome = Forma::deposito.utf8(), .tipo = TipoCampo::Inteiro, .largura = 0, .origem = Origem::Coluna},
    {.nome = Forma::desconto.utf8(), .tipo = TipoCampo::Moeda, .largura = 0, .origem = Origem::Coluna},
};
// tblocalidades (QyLocalidade)
const std::vector<DefCampo> k_QyLocalidade = {
    {.nome = Localidade::tp_localidade.utf8(), .tipo = TipoCampo::Texto, .largura = 1, .origem = Origem::Coluna},
    {.nome = Localidade::nm_localidade.utf8(), .tipo = TipoCampo::Texto, .largura = 10, .origem = Origem::Coluna},
};
// tbconfiguracoes (QyConfiguracoes)
const std::vector<DefCampo> k_QyConfiguracoes = {
    {.nome = Configuracoes::Codigo.utf8(), .tipo = TipoCampo::AutoInc, .largura = 0, .origem = Origem::Coluna, .somenteLeitura = true},
    {.nome = Configuracoes::cod_funcionario.utf8(), .tipo = TipoCampo::Texto, .largura = 10, .origem = Origem::Coluna},
    {.nome = Configuracoes::email_host.utf8(), .tipo = TipoCampo::Texto, .largura = 200, .origem = Origem::Coluna},
    {.nome = Configuracoes::email_usuario.utf8(), .tipo = TipoCampo::Texto, .largura = 100, .origem = Origem::Coluna},
    {.nome = Configuracoes::email_senha.utf8(), .tipo = TipoCampo::Texto, .largura = 100, .origem = Origem::Coluna},
    {.nome = Configuracoes::email_para.utf8(), .tipo = TipoCampo::Texto, .largura = 200, .origem = Origem::Coluna},
    {.nome = Configuracoes::email_para2.utf8(), .tipo = TipoCampo::TextoAnsi, .largura = 200, .origem = Origem::Coluna},
    {.nome = Configuracoes::email_para3.utf8(), .tipo = TipoCampo::Texto, .largura = 255, .origem = Origem::Coluna},
    {.nome = Configuracoes::email_de.utf8(), .tipo = TipoCampo::Texto, .largura = 200, .origem = Origem::Coluna},
    {.nome = Configuracoes::email_assunto.utf8(), .tipo = TipoCampo::Texto, .largura = 200, .origem = Origem::Coluna},
    {.nome = Configuracoes::email_texto.utf8(), .tipo = TipoCampo::Texto, .largura = 255, .origem = Origem::Coluna},
    {.nome = Configuracoes::ultima_atualizacao.utf8(), .tipo = TipoCampo::DataHora, .largura = 0, .origem = Origem::Coluna},
    {.nome = Configuracoes::ftp_host.utf8(), .tipo = TipoCampo::Texto, .largura = 255, .origem = Origem::Coluna},
    {.nome = Configuracoes::ftp_usuario.utf8(), .tipo = TipoCampo::Texto, .largura = 255, .origem = Origem::Coluna},
    {.nome = Configuracoes::ftp_senha.utf8(), .tipo = TipoCampo::Texto, .largura = 255, .origem = Origem::Coluna},
    {.nome = Configuracoes::ftp_arquivo.utf8(), .tipo = TipoCampo::Texto, .largura = 255, .origem = Origem::Coluna},
    {.nome = Configuracoes::ftp_pasta.utf8(), .tipo = TipoCampo::Texto, .largura = 255, .origem = Origem::Coluna},
    {.nome = Configuracoes::pendencia_central.utf8(), .tipo = TipoCampo::Texto, .largura = 255, .origem = Origem::Coluna},
    // Average delay, in days, above which the order screens flag a customer.
    {.nome = Configuracoes::limite_atraso.utf8(), .tipo = TipoCampo::Inteiro, .largura = 0, .origem = Origem::Coluna},
};
// clang-format on

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
    case TipoCampo::AutoInc:
        return QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
    case TipoCampo::Inteiro:
    case TipoCampo::Word:
    case TipoCampo::Booleano:
        return QStringLiteral("INTEGER");
    case TipoCampo::Float:
        return QStringLiteral("REAL");
    case TipoCampo::Moeda:
        return QStringLiteral("NUMERIC");
    case TipoCampo::DataHora:
        return QStringLiteral("DATETIME");
    case TipoCampo::Texto:
    case TipoCampo::TextoAnsi:
    case TipoCampo::Memo:
        return QStringLiteral("TEXT");
    }
    return QStringLiteral("TEXT");
}

void criarBanco(const QString &arquivo, const std::vector<DefConjunto> &tabelas, const QStringList &indices)
{
    if (QFile::exists(arquivo))
        throw Erro(QStringLiteral("O arquivo %1 já existe.").arg(arquivo));
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(arquivo.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
        SQLITE_OK) {
        const QString erro = QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_close(db);
        throw Erro(QStringLiteral("Não foi possível criar o banco de dados %1: %2").arg(arquivo, erro));
    }
    auto executar = [db](const QString &sql) {
        return sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
    };
    executar(QStringLiteral("BEGIN"));
    for (const DefConjunto &t : tabelas)
        if (!executar(ddl(t))) {
            const QString erro = QString::fromUtf8(sqlite3_errmsg(db));
            executar(QStringLiteral("ROLLBACK"));
            sqlite3_close(db);
            QFile::remove(arquivo);
            throw Erro(QStringLiteral("Não foi possível criar a tabela %1: %2").arg(QString::fromUtf8(t.tabela), erro));
        }
    for (const QString &indice : indices)
        executar(indice);
    executar(QStringLiteral("COMMIT"));
    sqlite3_close(db);
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

const std::vector<DefCampo> &cliente()
{
    return k_QyCliente;
}
const std::vector<DefCampo> &pedido()
{
    return k_QyPedido;
}
const std::vector<DefCampo> &pedidoItem()
{
    return k_QyPedidoItem;
}
const std::vector<DefCampo> &pacote()
{
    return k_QyPacote;
}
const std::vector<DefCampo> &trocaSub()
{
    return k_QyTrocaSub;
}
const std::vector<DefCampo> &trocaDev()
{
    return k_QyTrocaDev;
}
const std::vector<DefCampo> &vendaCasada()
{
    return k_QyVendaCasada;
}
const std::vector<DefCampo> &pendente()
{
    return k_QyPendente;
}
const std::vector<DefCampo> &produto()
{
    return k_QyProduto;
}
const std::vector<DefCampo> &funcionario()
{
    return k_QyFuncionario;
}
const std::vector<DefCampo> &formaPagamento()
{
    return k_QyFormaPagamento;
}
const std::vector<DefCampo> &localidade()
{
    return k_QyLocalidade;
}
const std::vector<DefCampo> &configuracoes()
{
    return k_QyConfiguracoes;
}

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
        {.nome = GrupoClientes::QUANTIDADE.utf8(), .tipo = TipoCampo::Inteiro},
        {.nome = GrupoClientes::CIDADE.utf8(), .tipo = TipoCampo::TextoAnsi, .largura = 100},
    };
    return campos;
}

const std::vector<DefCampo> &vendaTotais()
{
    static const std::vector<DefCampo> campos = {
        {.nome = VendaTotais::CODIGO.utf8(), .tipo = TipoCampo::TextoAnsi, .largura = 20},
        {.nome = VendaTotais::DESCRICAO.utf8(), .tipo = TipoCampo::TextoAnsi, .largura = 150},
        {.nome = VendaTotais::QUANTIDADE.utf8(), .tipo = TipoCampo::Inteiro},
        {.nome = VendaTotais::VALORTOTAL.utf8(),
         .tipo = TipoCampo::Float,
         .formatoExibicao = kFormatoMoeda,
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
    return QStringLiteral("CREATE TABLE %1 (%2)")
        .arg(QString::fromUtf8(tabela.tabela), colunas.join(QStringLiteral(", ")));
}

QStringList ddlIndices()
{
    static const struct {
        const char *tabela;
        const char *coluna;
    } indices[] = {
        {"tbpedido_item", "nr_pedido"},
        {"tbpedido_pacote", "nr_pedido"},
        {"tbpedido_troca1", "nr_pedido"},
        {"tbpedido_troca2", "nr_pedido"},
        {"tbpedido_venda_casada", "nr_pedido"},
        {"tbpedido_pendente", "nr_pedido"},
        {"tbproduto", "CODIGO"},
        {"tbpedido", "idCliente"},
        {"tbpedido_pendente", "cod_cliente"},
        {"tbpedido", "dt_pedido"},
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

void criarBancoLocal(const QString &arquivo)
{
    criarBanco(arquivo, tabelasLocais(), ddlIndices());
}

void criarBancoCentral(const QString &arquivo)
{
    criarBanco(arquivo, tabelasCentrais(), {});
}

} // namespace Esquema
