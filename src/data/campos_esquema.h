#pragma once

#include <QString>

#include <cstddef>

// A field's name exactly as its table declares it. The data sets find fields
// ignoring letter case, so a name typed as text in a different spelling still
// works, and a misspelt one fails only at run time; the constants below make
// it a compile error. The schema's field lists are built from them.
class NomeCampo
{
  public:
    template <std::size_t N, std::size_t M>
    constexpr NomeCampo(const char (&utf8)[N], const char16_t (&utf16)[M])
        : m_utf8(utf8), m_utf16(utf16), m_tamanho(M - 1)
    {
    }

    constexpr const char *utf8() const { return m_utf8; }
    // Points at the constant's text: looking a field up copies nothing.
    operator QString() const { return QString::fromRawData(reinterpret_cast<const QChar *>(m_utf16), m_tamanho); }

  private:
    const char *m_utf8;
    const char16_t *m_utf16;
    qsizetype m_tamanho;
};

#define CAMPO(nome) inline constexpr NomeCampo nome(#nome, u"" #nome)
// For a name that is no C++ identifier.
#define CAMPO_CHAMADO(nome, texto) inline constexpr NomeCampo nome(texto, u"" texto)

namespace Campos
{

// tbcliente (QyCliente)
namespace Cliente
{
CAMPO(IdCliente);
CAMPO(Nome);
CAMPO(End);
CAMPO(Tel);
CAMPO(Bairro);
CAMPO(Cidade);
CAMPO(UF);
CAMPO(CEP);
CAMPO(Email);
CAMPO(Contato);
CAMPO(Referencia);
CAMPO(OBS);
CAMPO(Nasc);
CAMPO(sexo);
CAMPO(cnpj);
CAMPO(Iest);
CAMPO(fantasia);
CAMPO(cadastro);
CAMPO(endcorr);
CAMPO(bairrocorr);
CAMPO(cidadecorr);
CAMPO(cepcorr);
CAMPO(ufcorr);
CAMPO(ultimacompra);
CAMPO(valultcompra);
CAMPO(maiorcompra);
CAMPO(valmaiorcompra);
CAMPO(menorcompra);
CAMPO(valmenorcompra);
CAMPO(pagtoemdia);
CAMPO(pagtoatraso);
CAMPO(mediaatraso);
CAMPO(credito);
CAMPO(atraso);
CAMPO(divida);
CAMPO(nota);
CAMPO(cheque);
CAMPO(firma);
CAMPO(cargo);
CAMPO(salario);
CAMPO(endfirma);
CAMPO(telfirma);
CAMPO(tempo);
CAMPO(naturalidade);
CAMPO(estcivil);
CAMPO(conjuge);
CAMPO(pai);
CAMPO(fax);
CAMPO(mae);
CAMPO(regiao);
CAMPO(status);
CAMPO(Cel);
CAMPO(desco);
CAMPO(faturamento);
CAMPO(prazo);
CAMPO(imagem);
CAMPO(eend);
CAMPO(ecidade);
CAMPO(ebairro);
CAMPO(ecep);
CAMPO(euf);
CAMPO(banco);
CAMPO(agencia);
CAMPO(conta);
CAMPO(email2);
CAMPO(email3);
CAMPO(web);
CAMPO(compr1);
CAMPO(telcomp1);
CAMPO(mailcomp1);
CAMPO(compr2);
CAMPO(telcomp2);
CAMPO(mailcomp2);
CAMPO(transportadora);
CAMPO(idtransp);
CAMPO(internet);
CAMPO(funcionario);
CAMPO(CliFPagto);
CAMPO(historico);
CAMPO(movimento);
CAMPO(TipoCli);
CAMPO(imunicip);
CAMPO(telcorr);
CAMPO(etel);
CAMPO(refcorr);
CAMPO(eref);
CAMPO(tolera);
} // namespace Cliente

// tbpedido (QyPedido)
namespace Pedido
{
CAMPO(nr_pedido);
CAMPO(idFunc);
CAMPO(idCliente);
CAMPO(dt_pedido);
CAMPO(nm_forma_pagamento);
CAMPO(tp_localidade);
CAMPO(idforma);
CAMPO(impresso);
CAMPO(enviado);
CAMPO(vl_total_venda_casada);
CAMPO(vl_total_item);
CAMPO(vl_qtd_pacote);
CAMPO(vl_total_pacote);
CAMPO(vl_media_pacote);
CAMPO(vl_total_troca1);
CAMPO(vl_total_troca2);
CAMPO(vl_diferenca_troca);
CAMPO(dt_troca);
CAMPO(enviadoTroca);
CAMPO(in_cancelado);
CAMPO(qt_envio_email);
CAMPO(dv);
CAMPO(avista);
CAMPO(observacao);
CAMPO(CLIENTE_DESCRICAO);
CAMPO(cif);
CAMPO(vl_acumulativo_pedido);
CAMPO(vl_acumulativo_pacote);
CAMPO(vl_acumulativo_troca);
CAMPO(vl_gordura);
} // namespace Pedido

// The item tables of an order: tbpedido_item (QyPedidoItem), tbpedido_pacote
// (QyPacote), tbpedido_troca1 (QyTrocaSub), tbpedido_troca2 (QyTrocaDev),
// tbpedido_venda_casada (QyVendaCasada) and tbpedido_pendente (QyPendente).
// They spell their common fields alike; each holds the part of them it needs.
namespace Item
{
CAMPO(nr_pedido);
CAMPO(idfunc);
CAMPO(item);
CAMPO(codigo);
CAMPO(codigo_descricao);
CAMPO(quantidade);
CAMPO(valorUnitario);
CAMPO(valorTotal);
CAMPO(cd_desconto1);
CAMPO(cd_desconto2);
CAMPO(cd_desconto3);
CAMPO(estoque);
CAMPO(item_descricao);
CAMPO(desconto);
CAMPO(gordura1);
CAMPO(vl_gordura);
CAMPO(cod_cliente);
CAMPO(situacao);
CAMPO(data_pendente);
// The three discount codes of an item, in order.
inline constexpr NomeCampo cd_desconto[] = {cd_desconto1, cd_desconto2, cd_desconto3};
} // namespace Item

// tbproduto (QyProduto)
namespace Produto
{
CAMPO(idProduto);
CAMPO(CODIGO);
CAMPO(PRODUTO);
CAMPO(ESTOQUE);
CAMPO(PRECOVENDA);
CAMPO(CODFAB);
CAMPO(grupo);
CAMPO(POSICAO);
CAMPO(PRECOCUSTO);
CAMPO(PRECOLISTA);
CAMPO(MINIMO);
CAMPO(FABRICANTE);
CAMPO(MARGEM);
CAMPO(UNID);
CAMPO(ICMS);
CAMPO(OBS);
CAMPO(CONTMIN);
CAMPO(IPI);
CAMPO(ICMScompra);
CAMPO(kit);
CAMPO(promocao);
CAMPO(PRECOPROMO);
CAMPO(UltCompra);
CAMPO(ValUltCompra);
CAMPO(QtdUltCompra);
CAMPO(UltVenda);
CAMPO(ValUltVenda);
CAMPO(QtdUltVenda);
CAMPO(AltCusto);
CAMPO(AltVenda);
CAMPO(AltRef);
CAMPO(ValCusto);
CAMPO(ValVenda);
CAMPO(ValRefe);
CAMPO(desc1);
CAMPO(desc2);
CAMPO(desc3);
CAMPO(desc4);
CAMPO(desc5);
CAMPO(plista);
CAMPO(frete);
CAMPO(despesa);
CAMPO(custodolar);
CAMPO(dolar);
CAMPO(et0);
CAMPO(et1);
CAMPO(et2);
CAMPO(et3);
CAMPO(et4);
CAMPO(et5);
CAMPO(et6);
CAMPO(et7);
CAMPO(et8);
CAMPO(et9);
CAMPO(tributacao);
CAMPO(imagem);
CAMPO(pesobruto);
CAMPO(pesoliquido);
CAMPO(nota);
CAMPO(descpc);
CAMPO(descqtd);
CAMPO_CHAMADO(classe, "class");
CAMPO(fimpromocao);
CAMPO(baixav);
CAMPO(Comissao);
CAMPO(Najustar);
CAMPO(inativo);
CAMPO(serv);
CAMPO(garantia);
CAMPO(tabela);
CAMPO(multiplo);
CAMPO(clientep);
CAMPO(fornecedorp);
CAMPO(idclientep);
CAMPO(idfornecp);
CAMPO(reducao);
CAMPO(sittribu);
CAMPO(classfis);
CAMPO(semcomissao);
CAMPO(altu);
CAMPO(larg);
CAMPO(comp);
CAMPO(caixa);
CAMPO(fixarprevenda);
CAMPO(pedido);
CAMPO(reservado);
CAMPO(textofisc);
CAMPO(pesavel);
CAMPO(descpc1);
CAMPO(descqtd1);
CAMPO(descpc2);
CAMPO(descqtd2);
CAMPO(descpc3);
CAMPO(descqtd3);
CAMPO(strib);
CAMPO(dpprocz);
CAMPO(piscofins);
CAMPO(PedMed);
CAMPO(Benef);
CAMPO(customedio);
CAMPO(IVAST);
CAMPO(srfil);
CAMPO(pagi);
CAMPO(posi);
CAMPO(vali);
CAMPO(reta);
CAMPO(iss);
CAMPO(PRECOCOMFRETE);
} // namespace Produto

// tbfuncionario (QyFuncionario)
namespace Funcionario
{
CAMPO(idfunc);
CAMPO(Nome);
CAMPO(Bairro);
CAMPO(Cidade);
CAMPO(UF);
CAMPO(CEP);
CAMPO(CartTrabalho);
CAMPO(PIS);
CAMPO(Cargo);
CAMPO(referencia);
CAMPO(OBS);
CAMPO(Tel);
CAMPO(Nasc);
CAMPO(sexo);
CAMPO(admissao);
CAMPO(demissao);
CAMPO(salario);
CAMPO(comissao);
CAMPO(cic);
CAMPO(rg);
CAMPO(escolaridade);
CAMPO(ultferias);
CAMPO(peso);
CAMPO(altura);
CAMPO(camisa);
CAMPO(calca);
CAMPO(sapato);
CAMPO(Email);
CAMPO(idlog);
CAMPO(abreg);
CAMPO(imagem);
CAMPO(apelido);
CAMPO(celular);
CAMPO(pai);
CAMPO(mae);
CAMPO(ecivil);
CAMPO(teleitor);
CAMPO(AgendaAFAZER);
CAMPO(AgendaAnotacoes);
CAMPO(endereco);
CAMPO(nivel);
CAMPO(rt);
CAMPO(idloja);
CAMPO(movimento);
CAMPO(SMTP);
CAMPO(usermail);
CAMPO(passwmail);
CAMPO(workmail);
CAMPO(opmail);
} // namespace Funcionario

// tbforma (QyFormaPagamento)
namespace Forma
{
CAMPO(idforma);
CAMPO(codigo);
CAMPO(Forma);
CAMPO(tipo);
CAMPO(valforma);
CAMPO(TEF);
CAMPO(deposito);
CAMPO(desconto);
} // namespace Forma

// tblocalidades (QyLocalidade)
namespace Localidade
{
CAMPO(tp_localidade);
CAMPO(nm_localidade);
} // namespace Localidade

// tbconfiguracoes (QyConfiguracoes)
namespace Configuracoes
{
CAMPO_CHAMADO(Codigo, "Código");
CAMPO(cod_funcionario);
CAMPO(email_host);
CAMPO(email_usuario);
CAMPO(email_senha);
CAMPO(email_para);
CAMPO(email_para2);
CAMPO(email_para3);
CAMPO(email_de);
CAMPO(email_assunto);
CAMPO(email_texto);
CAMPO(ultima_atualizacao);
CAMPO(ftp_host);
CAMPO(ftp_usuario);
CAMPO(ftp_senha);
CAMPO(ftp_arquivo);
CAMPO(ftp_pasta);
CAMPO(pendencia_central);
} // namespace Configuracoes

// The in-memory table of the customers-per-city report.
namespace GrupoClientes
{
CAMPO(QUANTIDADE);
CAMPO(CIDADE);
} // namespace GrupoClientes

// The in-memory table of the sales totals report.
namespace VendaTotais
{
CAMPO(CODIGO);
CAMPO(DESCRICAO);
CAMPO(QUANTIDADE);
CAMPO(VALORTOTAL);
} // namespace VendaTotais

} // namespace Campos

#undef CAMPO
#undef CAMPO_CHAMADO
