#include "conexao.h"
#include "erro.h"
#include "esquema.h"
#include "impressao_qt.h"
#include "instrucao_sql.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{

QStringList nomes(const std::vector<DefCampo> &campos)
{
    QStringList lista;
    for (const DefCampo &c : campos)
        lista << QString::fromUtf8(c.nome);
    return lista;
}

// Every data set's fields in binding order, derived fields in their places.
TEST(Esquema, OrdemDosCamposDeCadaTabela)
{
    struct Caso {
        const char *tabela;
        const std::vector<DefCampo> &(*campos)();
        const char *esperado;
    } casos[] = {
        {"tbcliente", &Esquema::cliente,
         "IdCliente Nome End Tel Bairro Cidade UF CEP Email Contato Referencia OBS Nasc sexo cnpj Iest "
         "fantasia cadastro endcorr bairrocorr cidadecorr cepcorr ufcorr ultimacompra valultcompra "
         "maiorcompra valmaiorcompra menorcompra valmenorcompra pagtoemdia pagtoatraso mediaatraso "
         "credito atraso divida nota cheque firma cargo salario endfirma telfirma tempo naturalidade "
         "estcivil conjuge pai fax mae regiao status Cel desco faturamento prazo imagem eend ecidade "
         "ebairro ecep euf banco agencia conta email2 email3 web compr1 telcomp1 mailcomp1 compr2 "
         "telcomp2 mailcomp2 transportadora idtransp internet funcionario CliFPagto historico movimento "
         "TipoCli imunicip telcorr etel refcorr eref tolera "},
        {"tbpedido", &Esquema::pedido,
         "nr_pedido idFunc idCliente dt_pedido nm_forma_pagamento tp_localidade idforma impresso enviado "
         "vl_total_venda_casada vl_total_item vl_qtd_pacote vl_total_pacote vl_media_pacote "
         "vl_total_troca1 vl_total_troca2 vl_diferenca_troca dt_troca enviadoTroca in_cancelado "
         "qt_envio_email dv avista observacao CLIENTE_DESCRICAO cif vl_acumulativo_pedido "
         "vl_acumulativo_pacote vl_acumulativo_troca vl_gordura "},
        {"tbpedido_item", &Esquema::pedidoItem,
         "nr_pedido idfunc item codigo codigo_descricao quantidade valorUnitario valorTotal cd_desconto1 "
         "cd_desconto2 cd_desconto3 estoque item_descricao desconto gordura1 vl_gordura "},
        {"tbpedido_pacote", &Esquema::pacote,
         "nr_pedido idfunc item codigo codigo_descricao quantidade valorUnitario valorTotal cd_desconto1 "
         "cd_desconto2 cd_desconto3 estoque item_descricao desconto vl_gordura gordura1 "},
        {"tbpedido_troca1", &Esquema::trocaSub,
         "nr_pedido idfunc item codigo quantidade valorUnitario valorTotal estoque item_descricao "},
        {"tbpedido_troca2", &Esquema::trocaDev,
         "nr_pedido idfunc item codigo quantidade valorUnitario valorTotal item_descricao "},
        {"tbpedido_venda_casada", &Esquema::vendaCasada,
         "nr_pedido idfunc item codigo codigo_descricao quantidade valorUnitario valorTotal cd_desconto1 "
         "cd_desconto2 cd_desconto3 item_descricao desconto vl_gordura gordura1 "},
        {"tbpedido_pendente", &Esquema::pendente,
         "nr_pedido idfunc item codigo codigo_descricao quantidade valorUnitario valorTotal cd_desconto1 "
         "cd_desconto2 cd_desconto3 estoque item_descricao desconto cod_cliente situacao data_pendente "},
        {"tbproduto", &Esquema::produto,
         "idProduto CODIGO PRODUTO ESTOQUE PRECOVENDA CODFAB grupo POSICAO PRECOCUSTO PRECOLISTA MINIMO "
         "FABRICANTE MARGEM UNID ICMS OBS CONTMIN IPI ICMScompra kit promocao PRECOPROMO UltCompra "
         "ValUltCompra QtdUltCompra UltVenda ValUltVenda QtdUltVenda AltCusto AltVenda AltRef ValCusto "
         "ValVenda ValRefe desc1 desc2 desc3 desc4 desc5 plista frete despesa custodolar dolar et0 et1 "
         "et2 et3 et4 et5 et6 et7 et8 et9 tributacao imagem pesobruto pesoliquido nota descpc descqtd "
         "class fimpromocao baixav Comissao Najustar inativo serv garantia tabela multiplo clientep "
         "fornecedorp idclientep idfornecp reducao sittribu classfis semcomissao altu larg comp caixa "
         "fixarprevenda pedido reservado textofisc pesavel descpc1 descqtd1 descpc2 descqtd2 descpc3 "
         "descqtd3 strib dpprocz piscofins PedMed Benef customedio IVAST srfil pagi posi vali reta iss "
         "PRECOCOMFRETE "},
        {"tbfuncionario", &Esquema::funcionario,
         "idfunc Nome Bairro Cidade UF CEP CartTrabalho PIS Cargo referencia OBS Tel Nasc sexo admissao "
         "demissao salario comissao cic rg escolaridade ultferias peso altura camisa calca sapato Email "
         "idlog abreg imagem apelido celular pai mae ecivil teleitor AgendaAFAZER AgendaAnotacoes "
         "endereco nivel rt idloja movimento SMTP usermail passwmail workmail opmail "},
        {"tbforma", &Esquema::formaPagamento, "idforma codigo Forma tipo valforma TEF deposito desconto "},
        {"tblocalidades", &Esquema::localidade, "tp_localidade nm_localidade "},
        {"tbconfiguracoes", &Esquema::configuracoes,
         "Código cod_funcionario email_host email_usuario email_senha email_para email_para2 email_para3 "
         "email_de email_assunto email_texto ultima_atualizacao ftp_host ftp_usuario ftp_senha "
         "ftp_arquivo ftp_pasta pendencia_central limite_atraso"},
    };
    for (const Caso &c : casos)
        EXPECT_EQ(nomes(c.campos()).join(QLatin1Char(' ')), QString::fromUtf8(c.esperado).trimmed()) << c.tabela;
}

TEST(Esquema, DerivadosEFormatos)
{
    const auto &produto = Esquema::produto();
    ASSERT_EQ(produto.size(), 108u);
    EXPECT_EQ(produto[107].origem, Origem::Calculado);
    EXPECT_EQ(Esquema::onlineProduto().size(), 107u);
    EXPECT_TRUE(Esquema::onlineProduto()[0].somenteLeitura);
    EXPECT_EQ(Esquema::onlineFuncionario()[0].tipo, TipoCampo::AutoInc);
    EXPECT_EQ(Esquema::funcionario()[0].tipo, TipoCampo::Texto);
    EXPECT_EQ(Esquema::pedido()[24].origem, Origem::Lookup);
    EXPECT_STREQ(Esquema::pedido()[24].campoLookup, "Nome");
    EXPECT_STREQ(Esquema::cliente()[14].mascara, "99\\.999\\.999\\/9999\\-99;1;_");
    EXPECT_STREQ(Esquema::pedido()[10].formatoExibicao, "###,###,###,###,##0.00");
    EXPECT_EQ(Esquema::configuracoes()[6].tipo, TipoCampo::TextoAnsi);
}

QStringList colunasNoBanco(Conexao &db, const QString &tabela)
{
    QStringList lista;
    InstrucaoSql q(db, QStringLiteral("PRAGMA table_info(%1)").arg(tabela));
    while (q.proxima())
        lista << q.valor(1).toString();
    return lista;
}

// The first column of the first row a statement gives; empty when none.
QString valor(Conexao &db, const QString &sql)
{
    InstrucaoSql q(db, sql);
    return q.proxima() ? q.valor(0).toString() : QString();
}

TEST(Esquema, BancoLocalECentralCriadosComAsColunasEmOrdem)
{
    QTemporaryDir dir;
    const QString local = dir.filePath(QStringLiteral("local.db"));
    const QString central = dir.filePath(QStringLiteral("central.db"));
    Esquema::criarBancoLocal(local);
    Esquema::criarBancoCentral(central);
    EXPECT_THROW(Esquema::criarBancoLocal(local), Erro);
    {
        Conexao db(QStringLiteral("teste_esquema"));
        db.abrirBanco(local);
        for (const DefConjunto &t : Esquema::tabelasLocais()) {
            QStringList armazenadas;
            for (const DefCampo &c : t.campos)
                if (c.origem == Origem::Coluna)
                    armazenadas << QString::fromUtf8(c.nome);
            EXPECT_EQ(colunasNoBanco(db, QString::fromUtf8(t.tabela)), armazenadas) << t.tabela;
        }
        // Keys are numbered by the database and never reused.
        db.executar(QStringLiteral("INSERT INTO tbpedido (idFunc) VALUES ('1')"));
        db.executar(QStringLiteral("INSERT INTO tbpedido (idFunc) VALUES ('1')"));
        db.executar(QStringLiteral("DELETE FROM tbpedido WHERE nr_pedido = 2"));
        db.executar(QStringLiteral("INSERT INTO tbpedido (idFunc) VALUES ('1')"));
        EXPECT_EQ(valor(db, QStringLiteral("SELECT max(nr_pedido) FROM tbpedido")), QStringLiteral("3"));
        db.executar(QStringLiteral("INSERT INTO tbconfiguracoes (cod_funcionario) VALUES ('12')"));
        EXPECT_EQ(valor(db, QStringLiteral("SELECT \"Código\" FROM tbconfiguracoes")), QStringLiteral("1"));

        Conexao dc(QStringLiteral("teste_central"));
        dc.abrirBanco(central);
        EXPECT_EQ(colunasNoBanco(dc, QStringLiteral("tbproduto")).size(), 107);
        EXPECT_EQ(colunasNoBanco(dc, QStringLiteral("tbfuncionario")).size(), 49);
        EXPECT_TRUE(colunasNoBanco(dc, QStringLiteral("tbpedido")).isEmpty());
    }
}

} // namespace
