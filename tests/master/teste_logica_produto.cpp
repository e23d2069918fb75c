#include "cadastros_teste.h"
#include "logica_produto.h"

class LogicaProdutoTeste : public CadastrosTeste
{
  protected:
    QString codigos()
    {
        QStringList c;
        for (int i = 0; i < dm->QyProduto.quantidade(); ++i)
            c << dm->QyProduto.registro(i).campo(QStringLiteral("CODIGO")).texto();
        return c.join(QLatin1Char(' '));
    }
    QString atual() const { return dm->QyProduto.campo(QStringLiteral("CODIGO")).texto(); }

    LogicaProduto logica;
};

TEST_F(LogicaProdutoTeste, OrdenaPelaColunaEVoltaAoCodigoAoFechar)
{
    abrirDados();
    dm->QyProduto.ultimo();
    EXPECT_EQ(logica.abrir(), QStringLiteral("4 Produto(s)"));
    EXPECT_EQ(atual(), QStringLiteral("A"));

    const struct {
        const char *coluna;
        const char *ordem;
    } casos[] = {{"PRECOVENDA", "D B C A"}, {"PRODUTO", "B C D A"}, {"FABRICANTE", "A C B D"}, {"ESTOQUE", "A B C D"}};
    for (const auto &c : casos) {
        dm->QyProduto.ultimo();
        logica.ordenar(QString::fromUtf8(c.coluna));
        EXPECT_EQ(codigos(), QString::fromUtf8(c.ordem)) << c.coluna;
        EXPECT_EQ(dm->QyProduto.numeroRegistro(), 1) << c.coluna;
        // The freight price is computed again for every row read.
        EXPECT_EQ(dm->QyProduto.campo(QStringLiteral("PRECOCOMFRETE")).real(),
                  dm->QyProduto.campo(QStringLiteral("PRECOVENDA")).real() * 1.036);
    }
    logica.ordenar(QStringLiteral("PRODUTO"));
    dm->QyProduto.ultimo();
    logica.aoFechar();
    EXPECT_EQ(dm->QyProduto.sql(), QStringLiteral("select * from tbproduto order by codigo"));
    EXPECT_EQ(codigos(), QStringLiteral("A B C D"));
    EXPECT_EQ(dm->QyProduto.numeroRegistro(), 1);
}

TEST_F(LogicaProdutoTeste, LinhasAlternamPrataEBranco)
{
    EXPECT_EQ(LogicaProduto::fundoDaLinha(0), QColor(192, 192, 192));
    EXPECT_EQ(LogicaProduto::fundoDaLinha(1), QColor(Qt::white));
    EXPECT_EQ(LogicaProduto::fundoDaLinha(2), QColor(192, 192, 192));
}

TEST_F(LogicaProdutoTeste, ProcurarLocalizaOProdutoEscolhido)
{
    abrirDados();
    logica.abrir();
    dialogos.pesquisa([](LogicaPesquisa &p) {
        p.iniciar();
        p.setTexto(QStringLiteral("c"));
        p.pesquisar(); // the exact code "C": one row, chosen
    });
    logica.pesquisar();
    EXPECT_EQ(atual(), QStringLiteral("C"));
    EXPECT_EQ(dm->QyPesquisa.sql(),
              QStringLiteral("SELECT codigo, produto, estoque, fabricante FROM tbproduto order by codigo"));
    dialogos.pesquisa([](LogicaPesquisa &) {});
    logica.pesquisar();
    EXPECT_EQ(atual(), QStringLiteral("C"));
}
