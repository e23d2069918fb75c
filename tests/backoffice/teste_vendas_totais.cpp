#include "relatorios.h"
#include "relatorios_teste.h"
#include "ufunc.h"

#include <QFileInfo>

namespace
{

// Regular orders on both sides of the period 15/01/2010 to 10/02/2010, one
// of another representative, items with a code in other letter case and
// one of a product no longer on file.
class VendasTotais : public RelatoriosTeste
{
  protected:
    void abrirCom(const char *funcionario)
    {
        pasta.executar(QStringLiteral(
            "INSERT INTO tbproduto (CODIGO, PRODUTO, PRECOVENDA) VALUES ('ABC123', 'PARAFUSO SEXTAVADO', 10),"
            " ('7891000', 'ARRUELA LISA', 8.23), ('X9', 'PORCA', 1.1);"
            "INSERT INTO tbpedido (nr_pedido, idFunc, idCliente, dt_pedido, vl_total_item) VALUES"
            " (6001, '12', 1, '2010-01-20 10:00:00', 0), (6002, '12', 1, '2010-02-11 00:00:00', 0),"
            " (6003, '12', 1, '2010-01-15 00:00:00', 0), (6004, '12', 1, '2010-02-10 23:59:59', 0),"
            " (6005, '7', 1, '2010-01-25 08:00:00', 0), (6006, '12', 1, '2010-01-14 23:59:59', 0);"
            "INSERT INTO tbpedido_item (nr_pedido, idfunc, codigo, quantidade, valorUnitario, valorTotal) VALUES"
            " (6001, '12', 'ABC123', 10, 10.1538, 101.538), (6001, '12', '7891000', 150, 8.23, 1234.5),"
            " (6002, '12', 'ABC123', 99, 10, 990),"
            " (6003, '12', 'ABC123', 5, 10.154, 50.77), (6003, '12', 'abc123', 1, 10.15, 10.15),"
            " (6003, '12', 'NAOEXISTE', 7, 1, 7),"
            " (6004, '12', 'X9', 3, 1.1, 3.3), (6005, '7', 'ABC123', 1000, 10, 10000),"
            " (6006, '12', 'X9', 40, 1.1, 44);"));
        abrir(funcionario);
        ASSERT_TRUE(dm->QyPedido.localizar(QStringLiteral("nr_pedido"), QStringLiteral("6002")));
    }
};

struct CasoVendas {
    const char *funcionario;
    const char *linhas;
};

class VendasPorRepresentante : public VendasTotais, public ::testing::WithParamInterface<CasoVendas>
{
};

TEST_P(VendasPorRepresentante, SomaPorProdutoOsItensDosPedidosDaVistaNoPeriodo)
{
    abrirCom(GetParam().funcionario);
    const QString vista = dm->QyPedido.filtro();
    dialogos.entrada(QStringLiteral("15/01/2010")).entrada(QStringLiteral("10/02/2010"));

    RelatorioVendasTotais();

    const QString pdf = saida(QStringLiteral("vendas-totais"));
    ASSERT_EQ(abertos(), QStringList{pdf});
    const QString t = texto(pdf);
    EXPECT_TRUE(t.contains(QString::fromUtf8(GetParam().linhas))) << t.toStdString();
    EXPECT_TRUE(t.contains(QStringLiteral("Período: 15/01/2010 a 10/02/2010"))) << t.toStdString();
    EXPECT_FALSE(t.contains(QStringLiteral("NAOEXISTE")));
    // Nothing the user had moves; the table is gone.
    EXPECT_EQ(dm->QyPedido.filtro(), vista);
    EXPECT_EQ(dm->QyPedido.campo(QStringLiteral("nr_pedido")).texto(), QStringLiteral("6002"));
    EXPECT_FALSE(dm->cdsVendaTotais.ativo());
    EXPECT_FALSE(dm->QyPesquisa.ativo());
}

INSTANTIATE_TEST_SUITE_P(
    Relatorios, VendasPorRepresentante,
    ::testing::Values(
        // 20/01, the first day from midnight and the last day to its end
        // count; 14/01 and 11/02 do not, nor another representative's order.
        CasoVendas{"12", "X9 PORCA 3 3,30 ABC123 PARAFUSO SEXTAVADO 16 162,46 7891000 ARRUELA LISA 150 1.234,50 "
                         "Total (3 produtos) 169 1.400,26"},
        CasoVendas{"999", "X9 PORCA 3 3,30 7891000 ARRUELA LISA 150 1.234,50 ABC123 PARAFUSO SEXTAVADO 1016 "
                          "10.162,46 Total (3 produtos) 1169 11.400,26"}));

TEST_F(VendasTotais, PerguntaAsDatasSemPadrao)
{
    abrirCom("12");
    dialogos.entrada(QStringLiteral("15/01/2010")).entrada(QStringLiteral("10/02/2010"));
    RelatorioVendasTotais();
    const auto &r = dialogos.registros();
    ASSERT_GE(r.size(), 2u);
    EXPECT_EQ(r[0].titulo, QStringLiteral("Data Inicial"));
    EXPECT_EQ(r[1].titulo, QStringLiteral("Data Final"));
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(r[static_cast<std::size_t>(i)].texto, QStringLiteral("Data"));
        EXPECT_TRUE(r[static_cast<std::size_t>(i)].padraoTexto.isEmpty());
    }
}

TEST_F(VendasTotais, DataQueNaoEhDataEncerraComOErroDaConversao)
{
    abrirCom("12");
    // Cancel gives the empty default.
    dialogos.entrada(QStringLiteral("15/01/2010")).entrada(QString());
    ExecutarProtegido(RelatorioVendasTotais);
    EXPECT_EQ(dialogos.textos(QStringLiteral("mensagem")), QStringList{QStringLiteral("'' não é uma data válida.")});
    EXPECT_FALSE(QFileInfo::exists(saida(QStringLiteral("vendas-totais"))));
    EXPECT_FALSE(dm->cdsVendaTotais.ativo());
}

TEST_F(VendasTotais, PeriodoSemVendasDaUmRelatorioVazio)
{
    abrirCom("12");
    dialogos.entrada(QStringLiteral("01/03/2010")).entrada(QStringLiteral("31/03/2010"));
    RelatorioVendasTotais();
    const QString t = texto(saida(QStringLiteral("vendas-totais")));
    EXPECT_TRUE(t.contains(QStringLiteral("Nenhuma venda no período. Total (0 produtos) 0 0,00"))) << t.toStdString();
}

} // namespace
