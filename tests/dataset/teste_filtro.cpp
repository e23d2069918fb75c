#include "conexao.h"
#include "conjunto_dados.h"
#include "erro.h"
#include "esquema.h"
#include "impressao_qt.h"
#include "pasta_programa.h"

#include <gtest/gtest.h>

namespace
{

// Customers, order headers of every kind and pending items whose values sit
// on the edges the filters of the program test.
class FiltroTeste : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        pasta.executar(QStringLiteral(
            "INSERT INTO tbcliente (IdCliente, Nome, Cidade, regiao) VALUES"
            " (1, 'JOSÉ DA SILVA', 'São Paulo', '07'), (2, 'josé da silva', 'SÃO PAULO', '7'),"
            " (3, 'O''NEIL', 'Campinas', '15'), (4, 'Maria Souza', NULL, NULL), (5, 'ÉDER', 'Ribeirão Preto', '07'),"
            " (6, 'ESCALA \u212A', 'Santos', NULL);"
            "INSERT INTO tbpedido (nr_pedido, idFunc, dt_pedido, vl_total_item, vl_total_pacote, vl_diferenca_troca,"
            " enviado, impresso) VALUES"
            " (10, 'ABC', '2010-09-30 23:59:59', 0, NULL, NULL, 1, 0),"
            " (11, 'ABC', '2010-10-01 00:00:00', 150.5, NULL, NULL, 0, 0),"
            " (12, 'O''NEIL', '2010-10-31 23:59:59', NULL, NULL, -20.5, NULL, 0),"
            " (13, 'abc', '2010-11-01 00:00:00', NULL, 10, NULL, 0, 0),"
            " (14, 'XYZ', '2010-10-15 12:00:00', NULL, NULL, 0, 0, 1);"
            "INSERT INTO tbpedido_pendente (item, codigo, data_pendente) VALUES"
            " (1, 'A', '2010-10-30 09:00:00'), (2, 'B', '2010-10-31 10:00:00'), (3, 'C', '2010-10-31 00:00:00');"));
        conexao.abrirBanco(pasta.bancoLocal());
        abrir(cliente, "tbcliente", "select * from tbcliente order by idcliente");
        abrir(pedido, "tbpedido", "select * from tbpedido order by nr_pedido");
        abrir(pendente, "tbpedido_pendente", "select * from tbpedido_pendente order by item");
    }

    void abrir(ConjuntoDados &c, const char *tabela, const char *sql)
    {
        c.setConexao(&conexao);
        c.setTabela(QString::fromUtf8(tabela));
        c.setSql(QString::fromUtf8(sql));
        c.abrir();
    }

    // The key column of every row left by the filter, in order.
    static QString filtrar(ConjuntoDados &c, const QString &filtro, const char *chave)
    {
        c.setFiltro(filtro);
        c.setFiltrado(true);
        QStringList chaves;
        for (int i = 0; i < c.quantidade(); ++i)
            chaves << c.registro(i).campo(QString::fromUtf8(chave)).texto();
        return chaves.join(QLatin1Char(' '));
    }

    PastaProgramaTeste pasta;
    Conexao conexao{QStringLiteral("teste")};
    ConjuntoDados cliente{QStringLiteral("QyCliente"), &Esquema::cliente()};
    ConjuntoDados pedido{QStringLiteral("QyPedido"), &Esquema::pedido()};
    ConjuntoDados pendente{QStringLiteral("QyPendente"), &Esquema::pendente()};
};

TEST_F(FiltroTeste, CadaFormaDoFiltroSelecionaAsLinhasCertas)
{
    struct Caso {
        ConjuntoDados *conjunto;
        const char *filtro;
        const char *chave;
        const char *esperado;
    } casos[] = {
        // Texts: letter case ignored for every letter, accents kept, doubled quotes.
        {&cliente, "Nome='josé da silva'", "IdCliente", "1 2"},
        {&cliente, "Nome='JOSE DA SILVA'", "IdCliente", ""},
        {&cliente, "Nome='O''NEIL'", "IdCliente", "3"},
        {&cliente, "nome LIKE '*SILVA'", "IdCliente", "1 2"},
        {&cliente, "Nome LIKE 'jos%'", "IdCliente", "1 2"},
        {&cliente, "Nome LIKE '%neil'", "IdCliente", "3"},
        {&cliente, "Nome LIKE '*éd*'", "IdCliente", "5"},
        {&cliente, "Cidade LIKE 'são%'", "IdCliente", "1 2"},
        {&cliente, "Nome LIKE '*o''n*'", "IdCliente", "3"},
        {&cliente, "Nome LIKE '*é*'", "IdCliente", "1 2 5"},
        {&cliente, "Cidade='SÃO PAULO'", "IdCliente", "1 2"},
        {&cliente, "Cidade<>'são paulo'", "IdCliente", "3 5 6"},
        {&cliente, "Cidade>='s'", "IdCliente", "1 2 6"},
        // KELVIN SIGN folds into an ASCII k.
        {&cliente, "Nome LIKE '*escala k'", "IdCliente", "6"},
        {&cliente, "Nome='Escala K'", "IdCliente", "6"},
        // A text column against unquoted digits: the text as written.
        {&cliente, "REGIAO=07", "IdCliente", "1 5"},
        {&cliente, "REGIAO='7'", "IdCliente", "2"},
        {&cliente, "Cidade=NULL", "IdCliente", "4"},
        {&cliente, "Cidade<>NULL", "IdCliente", "1 2 3 5 6"},
        {&cliente, "IdCliente>=3 AND IdCliente<5", "IdCliente", "3 4"},
        {&cliente, "IDCLIENTE='2'", "IdCliente", "2"},
        // The employee filter and the kind conditions of the order screens.
        {&pedido, "idFunc='ABC'", "nr_pedido", "10 11 13"},
        {&pedido, "idFunc='O''NEIL'", "nr_pedido", "12"},
        {&pedido, "vl_total_item>=0", "nr_pedido", "10 11"},
        {&pedido, "vl_total_pacote>=0", "nr_pedido", "13"},
        {&pedido, "vl_diferenca_troca<>NULL", "nr_pedido", "12 14"},
        {&pedido, "idFunc='ABC' AND vl_total_item>=0", "nr_pedido", "10 11"},
        {&pedido, "vl_total_item>=150,5", "nr_pedido", "11"},
        {&pedido, "vl_total_item='150.5'", "nr_pedido", "11"},
        {&pedido, "nr_pedido='12'", "nr_pedido", "12"},
        // Booleans given as quoted text; a NULL is neither.
        {&pedido, "ENVIADO='True'", "nr_pedido", "10"},
        {&pedido, "enviado='False'", "nr_pedido", "11 13 14"},
        {&pedido, "IMPRESSO='True'", "nr_pedido", "14"},
        // Date-times against quoted day bounds and against a bare date.
        {&pedido, "dt_pedido >= '01/10/2010 00:00:00' AND dt_pedido <='31/10/2010 23:59:59'", "nr_pedido", "11 12 14"},
        {&pedido, "dt_pedido <= 31/10/2010", "nr_pedido", "10 11 14"},
        {&pendente, "DATA_PENDENTE <= 31/10/2010", "item", "1 3"},
        {&pedido, "(idFunc='XYZ' OR idFunc='O''NEIL') AND vl_diferenca_troca<>NULL", "nr_pedido", "12 14"},
        {&pedido, "", "nr_pedido", "10 11 12 13 14"},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.filtro);
        EXPECT_EQ(filtrar(*c.conjunto, QString::fromUtf8(c.filtro), c.chave), QString::fromUtf8(c.esperado));
    }
}

TEST_F(FiltroTeste, FiltroMalFormadoExplicaOErroEMantemOAnterior)
{
    ASSERT_EQ(filtrar(cliente, QStringLiteral("regiao=07"), "IdCliente"), QStringLiteral("1 5"));
    cliente.proximo();
    const char *ruins[] = {
        "Nome=",        "Nome 'x'",         "Xyz='1'",   "Nome='abc",           "IdCliente>=abc",    "Nome LIKE abc",
        "Nome='a' AND", "IdCliente > NULL", "(Nome='a'", "Nome='a' Cidade='b'", "Nasc>='31/02/2010'"};
    for (const char *ruim : ruins) {
        SCOPED_TRACE(ruim);
        try {
            cliente.setFiltro(QString::fromUtf8(ruim));
            ADD_FAILURE() << "aceitou um filtro mal formado";
        } catch (const Erro &e) {
            EXPECT_TRUE(
                e.mensagem().startsWith(QStringLiteral("Filtro inválido \"%1\": ").arg(QString::fromUtf8(ruim))))
                << e.mensagem().toStdString();
        }
        EXPECT_EQ(cliente.filtro(), QStringLiteral("regiao=07"));
        EXPECT_EQ(cliente.quantidade(), 2);
        EXPECT_EQ(cliente.numeroRegistro(), 2);
    }
}

TEST_F(FiltroTeste, ParentesesDemaisSaoErroDeFiltro)
{
    const auto aninhado = [](int n) {
        return QString(n, QLatin1Char('(')) + QStringLiteral("IdCliente=3") + QString(n, QLatin1Char(')'));
    };
    EXPECT_EQ(filtrar(cliente, aninhado(64), "IdCliente"), QStringLiteral("3"));
    for (const int n : {65, 100000}) {
        try {
            cliente.setFiltro(aninhado(n));
            ADD_FAILURE() << "aceitou " << n << " níveis";
        } catch (const Erro &e) {
            EXPECT_TRUE(e.mensagem().contains(QStringLiteral("mais de 64 parênteses"))) << e.mensagem().toStdString();
        }
    }
    EXPECT_EQ(cliente.filtro(), aninhado(64));
}

// Numbers in filters and locate values are the program's own text: "." and ","
// both mark decimals and nothing groups thousands.
TEST_F(FiltroTeste, NumeroNoFiltroENoLocalizarNaoAgrupaMilhares)
{
    pasta.executar(QStringLiteral("INSERT INTO tbpedido (nr_pedido, vl_total_item) VALUES"
                                  " (20, 125), (21, 0.125), (22, 2125), (23, 2.125)"));
    pedido.reabrir();
    const struct {
        const char *filtro, *esperado;
    } casos[] = {
        {"vl_total_item='0.125'", "21"}, {"vl_total_item='0,125'", "21"},
        {"vl_total_item='2.125'", "23"}, {"vl_total_item=2.125", "23"},
        {"vl_total_item='125'", "20"},   {"vl_total_item>=2.125 AND vl_total_item<126", "20 23"},
    };
    for (const auto &c : casos) {
        SCOPED_TRACE(c.filtro);
        EXPECT_EQ(filtrar(pedido, QString::fromUtf8(c.filtro), "nr_pedido"), QString::fromUtf8(c.esperado));
    }
    pedido.setFiltrado(false);
    ASSERT_TRUE(pedido.localizar(QStringLiteral("vl_total_item"), QStringLiteral("2.125")));
    EXPECT_EQ(pedido.campo(QStringLiteral("nr_pedido")).texto(), QStringLiteral("23"));
    ASSERT_TRUE(pedido.localizar(QStringLiteral("vl_total_item"), QStringLiteral("0.125")));
    EXPECT_EQ(pedido.campo(QStringLiteral("nr_pedido")).texto(), QStringLiteral("21"));
}

// Databases brought from other programs store true as -1: any non-zero value
// is true, shown as "True" and selected as 'True'.
TEST_F(FiltroTeste, BooleanoDiferenteDeZeroEhVerdadeiro)
{
    pasta.executar(QStringLiteral("INSERT INTO tbpedido (nr_pedido, enviado, impresso) VALUES"
                                  " (30, -1, 0), (31, 2, '-1'), (32, 0, 1)"));
    pedido.reabrir();
    const struct {
        const char *filtro, *esperado;
    } casos[] = {
        {"nr_pedido>=30 AND enviado='True'", "30 31"}, {"nr_pedido>=30 AND enviado='False'", "32"},
        {"nr_pedido>=30 AND enviado=-1", "30 31"},     {"nr_pedido>=30 AND impresso='True'", "31 32"},
        {"nr_pedido>=30 AND enviado<>'True'", "32"},
    };
    for (const auto &c : casos) {
        SCOPED_TRACE(c.filtro);
        EXPECT_EQ(filtrar(pedido, QString::fromUtf8(c.filtro), "nr_pedido"), QString::fromUtf8(c.esperado));
    }
    pedido.setFiltrado(false);
    ASSERT_TRUE(pedido.localizar(QStringLiteral("nr_pedido"), QStringLiteral("30")));
    EXPECT_EQ(pedido.campo(QStringLiteral("enviado")).texto(), QStringLiteral("True"));
    EXPECT_TRUE(pedido.campo(QStringLiteral("enviado")).booleano());
    ASSERT_TRUE(pedido.localizar(QStringLiteral("nr_pedido"), QStringLiteral("31")));
    EXPECT_EQ(pedido.campo(QStringLiteral("impresso")).texto(), QStringLiteral("True"));

    // A long list is located through an index: -1 is still true there.
    for (int nr = 40; nr < 80; ++nr)
        pasta.executar(QStringLiteral("INSERT INTO tbpedido (nr_pedido, enviado) VALUES (%1, 0)").arg(nr));
    pasta.executar(QStringLiteral("UPDATE tbpedido SET enviado = 0 WHERE nr_pedido <> 30"));
    pedido.reabrir();
    pedido.ultimo();
    ASSERT_TRUE(pedido.localizar(QStringLiteral("enviado"), QStringLiteral("True")));
    EXPECT_EQ(pedido.campo(QStringLiteral("nr_pedido")).texto(), QStringLiteral("30"));
}

TEST_F(FiltroTeste, LigarEDesligarOFiltroVaiAoPrimeiroRegistro)
{
    cliente.setFiltro(QStringLiteral("regiao=07"));
    EXPECT_EQ(cliente.quantidade(), 6) << "o filtro só vale quando ligado";
    cliente.ultimo();
    cliente.setFiltrado(true);
    EXPECT_EQ(cliente.quantidade(), 2);
    EXPECT_EQ(cliente.numeroRegistro(), 1);
    EXPECT_TRUE(cliente.inicio());
    cliente.setFiltrado(false);
    EXPECT_EQ(cliente.quantidade(), 6);
    // A filter set while the data set is closed applies when it opens.
    cliente.fechar();
    cliente.setFiltro(QStringLiteral("Nome LIKE '*silva*'"));
    cliente.setFiltrado(true);
    cliente.abrir();
    EXPECT_EQ(cliente.quantidade(), 2);
}

} // namespace
