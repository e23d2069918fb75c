// The product screen driven with the mouse on its column titles.

#include "cadastros_teste.h"
#include "tela_produto.h"

#include <QHeaderView>
#include <QTableView>
#include <QTest>

namespace
{

class CenarioProduto : public CadastrosTeste
{
  protected:
    void abrirJanela()
    {
        // Accents and letter case that byte order puts out of place.
        pasta.executar(QStringLiteral(
            "INSERT INTO tbproduto (CODIGO, PRODUTO, PRECOVENDA, ESTOQUE, FABRICANTE) VALUES"
            " ('E', 'Água sanitária', 1.5, 5, 'LIMPA'), ('F', 'Álcool', 2.9875, 6, 'LIMPA'),"
            " ('G', 'arroz', 7, 7, 'GRAO'), ('H', 'Zinco', 12345.6, 8, 'METAL'), ('a2', 'Prego', 0.1, 9, 'ACME')"));
        abrirDados();
        tela = std::make_unique<TFrmProduto>();
        tela->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(tela.get()));
    }
    QHeaderView *titulos() const { return tela->grade()->horizontalHeader(); }
    void clicarTitulo(int coluna)
    {
        QTest::mouseClick(titulos()->viewport(), Qt::LeftButton, {},
                          QPoint(titulos()->sectionViewportPosition(coluna) + 10, titulos()->height() / 2));
    }
    // The grid's column, top to bottom.
    QString coluna(int c) const
    {
        const QAbstractItemModel *m = tela->grade()->model();
        QStringList v;
        for (int r = 0; r < m->rowCount(); ++r)
            v << m->index(r, c).data().toString();
        return v.join(u'|');
    }
    QString codigos() const
    {
        QStringList c;
        for (int i = 0; i < dm->QyProduto.quantidade(); ++i)
            c << dm->QyProduto.registro(i).campo(QStringLiteral("CODIGO")).texto();
        return c.join(u' ');
    }

    std::unique_ptr<TFrmProduto> tela;
};

// A title sorts in Portuguese order, the same title again reverses it, the
// arrow on the title says which; closing puts back the opening code order.
TEST_F(CenarioProduto, TituloOrdenaEmPortuguesEInverteNoSegundoClique)
{
    abrirJanela();
    const QString ordemDeAbertura = codigos();
    EXPECT_EQ(ordemDeAbertura, QStringLiteral("A a2 B C D E F G H"));

    clicarTitulo(1);
    EXPECT_EQ(coluna(1), QStringLiteral("Água sanitária|Álcool|arroz|Arruela|Bucha|Cabo|Parafuso|Prego|Zinco"));
    EXPECT_EQ(titulos()->sortIndicatorSection(), 1);
    EXPECT_EQ(titulos()->sortIndicatorOrder(), Qt::AscendingOrder);
    EXPECT_EQ(tela->grade()->currentIndex().row(), 0);

    clicarTitulo(1);
    EXPECT_EQ(coluna(1), QStringLiteral("Zinco|Prego|Parafuso|Cabo|Bucha|Arruela|arroz|Álcool|Água sanitária"));
    EXPECT_EQ(titulos()->sortIndicatorSection(), 1);
    EXPECT_EQ(titulos()->sortIndicatorOrder(), Qt::DescendingOrder);
    EXPECT_EQ(dm->QyProduto.campo(QStringLiteral("CODIGO")).texto(), QStringLiteral("H"));

    clicarTitulo(0);
    EXPECT_EQ(codigos(), ordemDeAbertura);
    EXPECT_EQ(titulos()->sortIndicatorSection(), 0);
    EXPECT_EQ(titulos()->sortIndicatorOrder(), Qt::AscendingOrder);

    clicarTitulo(1);
    tela->close();
    EXPECT_EQ(dm->QyProduto.sql(), QStringLiteral("select * from tbproduto order by codigo"));
    EXPECT_EQ(codigos(), ordemDeAbertura);
}

// Money with two decimals, four where the price has them; every title
// whole, the columns together as wide as before.
TEST_F(CenarioProduto, PrecosComDuasCasasETitulosInteiros)
{
    abrirJanela();
    clicarTitulo(3);
    EXPECT_EQ(coluna(3), QStringLiteral("0,10|1,50|2,9875|5,00|7,00|10,00|20,00|30,00|12.345,60"));
    int total = 0;
    for (int c = 0; c < titulos()->count(); ++c) {
        EXPECT_GE(titulos()->sectionSize(c), titulos()->sectionSizeHint(c)) << c;
        total += titulos()->sectionSize(c);
    }
    EXPECT_EQ(total, 80 + 321 + 95 + 100 + 150);
}

} // namespace
