#include "conexao.h"
#include "conjunto_dados.h"
#include "erro.h"
#include "esquema.h"
#include "pasta_programa.h"

#include <gtest/gtest.h>

namespace
{

// Three products whose codes, prices and descriptions sort three ways, in a
// table keyed by the number the database gives (tbproduto) and in one
// without such a key (tblocalidades, written back by rowid).
class Reordenar : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        pasta.executar(
            QStringLiteral("INSERT INTO tbproduto (idProduto, CODIGO, PRODUTO, PRECOVENDA) VALUES"
                           " (7, 'B', 'Porca', 1), (3, 'C', 'Arruela', 3), (5, 'A', 'Bucha', 2);"
                           "INSERT INTO tblocalidades VALUES ('P', 'Praça'), ('N', 'Normal'), ('S', 'Sede');"));
        conexao.abrirBanco(pasta.bancoLocal());
        produtos.setConexao(&conexao);
        produtos.setTabela(QStringLiteral("tbproduto"));
        produtos.setSql(QStringLiteral("select * from tbproduto order by codigo"));
        produtos.abrir();
    }

    QString ordem(const ConjuntoDados &c, const char *campo) const
    {
        QStringList v;
        for (int i = 0; i < c.quantidade(); ++i)
            v << c.registro(i).campo(QString::fromUtf8(campo)).texto();
        return v.join(QLatin1Char(' '));
    }

    PastaProgramaTeste pasta;
    Conexao conexao{QStringLiteral("reordenar")};
    ConjuntoDados produtos{QStringLiteral("QyProduto"), &Esquema::produto()};
};

TEST_F(Reordenar, OrdemDoBancoSemLerAsLinhasDeNovo)
{
    produtos.ultimo();
    // Changed behind the set's back: the rows it holds stay as they were read.
    pasta.executar(QStringLiteral("UPDATE tbproduto SET PRODUTO = 'Mudou' WHERE CODIGO = 'A'"));
    produtos.reordenar(QStringLiteral("select * from tbproduto order by PRECOVENDA"),
                       QStringLiteral("select rowid from tbproduto order by PRECOVENDA"));
    EXPECT_EQ(ordem(produtos, "CODIGO"), QStringLiteral("B A C"));
    EXPECT_EQ(ordem(produtos, "PRODUTO"), QStringLiteral("Porca Bucha Arruela"));
    EXPECT_EQ(produtos.numeroRegistro(), 1);
    EXPECT_TRUE(produtos.inicio());
    EXPECT_EQ(produtos.sql(), QStringLiteral("select * from tbproduto order by PRECOVENDA"));
    // Locate finds rows at their new places; a store writes the right row.
    ASSERT_TRUE(produtos.localizar(QStringLiteral("CODIGO"), QStringLiteral("C")));
    EXPECT_EQ(produtos.numeroRegistro(), 3);
    produtos.editar();
    produtos.campo(QStringLiteral("ESTOQUE")).setTexto(QStringLiteral("9"));
    produtos.gravar();
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT ESTOQUE FROM tbproduto WHERE idProduto = 3")),
              QStringLiteral("9.0"));

    // Rows the order leaves out keep theirs, after the others.
    produtos.reordenar(QStringLiteral("select * from tbproduto order by codigo"),
                       QStringLiteral("select rowid from tbproduto where CODIGO <> 'B' order by codigo"));
    EXPECT_EQ(ordem(produtos, "CODIGO"), QStringLiteral("A C B"));
    produtos.reabrir();
    EXPECT_EQ(ordem(produtos, "CODIGO"), QStringLiteral("A B C"));
}

TEST_F(Reordenar, PorRowidEErroDoBanco)
{
    ConjuntoDados locais(QStringLiteral("QyLocalidade"), &Esquema::localidade());
    locais.setConexao(&conexao);
    locais.setTabela(QStringLiteral("tblocalidades"));
    locais.setSql(QStringLiteral("select * from tblocalidades"));
    locais.abrir();
    locais.reordenar(QStringLiteral("select * from tblocalidades order by nm_localidade"),
                     QStringLiteral("select rowid from tblocalidades order by nm_localidade"));
    EXPECT_EQ(ordem(locais, "tp_localidade"), QStringLiteral("N P S"));

    EXPECT_THROW(produtos.reordenar(QStringLiteral("select * from tbproduto order by nada"),
                                    QStringLiteral("select rowid from tbproduto order by nada")),
                 Erro);
    EXPECT_EQ(ordem(produtos, "CODIGO"), QStringLiteral("A B C"));
}

} // namespace
