#include "ordem_texto.h"

#include "conexao.h"
#include "conjunto_dados.h"
#include "pasta_programa.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace
{

// Only the statement's own ORDER BY gets the collation, whatever sits in
// texts, subqueries or after it.
TEST(OrdemTexto, ColacaoEmCadaTermoDoOrderBy)
{
    const struct {
        const char *sql, *esperado;
    } casos[] = {
        {"select * from tbproduto order by produto", "select * from tbproduto order by produto COLLATE PTBR"},
        {"select * from tbpedido order by nr_pedido desc",
         "select * from tbpedido order by nr_pedido COLLATE PTBR desc"},
        {"SELECT codigo FROM t GROUP BY codigo ORDER BY SUM(Quantidade) ASC",
         "SELECT codigo FROM t GROUP BY codigo ORDER BY SUM(Quantidade) COLLATE PTBR ASC"},
        {"select a, b from t order by a, tbcliente.b DESC limit 5",
         "select a, b from t order by a COLLATE PTBR, tbcliente.b COLLATE PTBR DESC limit 5"},
        {"select * from t order\n by nome nulls last", "select * from t order\n by nome COLLATE PTBR nulls last"},
        {"select * from t where nome = 'x order by y'", "select * from t where nome = 'x order by y'"},
        {"select * from (select a from t order by a) order by \"b, c\"",
         "select * from (select a from t order by a) order by \"b, c\" COLLATE PTBR"},
        {"select * from t order by coalesce(a, b), c",
         "select * from t order by coalesce(a, b) COLLATE PTBR, c COLLATE PTBR"},
        {"select * from t order by nome collate nocase", "select * from t order by nome collate nocase"},
        {"select * from t", "select * from t"},
        {"select * from t where nome = 'it''s' order by nome",
         "select * from t where nome = 'it''s' order by nome COLLATE PTBR"},
    };
    for (const auto &c : casos)
        EXPECT_EQ(OrdemTexto::aplicar(QString::fromUtf8(c.sql)), QString::fromUtf8(c.esperado)) << c.sql;
}

// A set ordered by a text column shows its rows in the order the database
// gives them with the collation: whether or not an index serves the plain
// order, with texts that differ only in case or accents, NULLs, the same text
// twice (kept in the order the database keeps them), and in a column that may
// hold numbers or blobs.
TEST(OrdemTexto, ConjuntoNaOrdemQueOBancoDariaComAColacao)
{
    const char *const textos = "('b'), ('A'), ('á'), ('a'), (NULL), ('B'), ('a'), ('Zinco'), ('arruela'), ('Ácido'), "
                               "('10'), ('9'), ('a'), ('ácido')";
    const struct {
        const char *nome, *tabela, *mais;
    } casos[] = {
        {"texto com índice", "nome TEXT", "CREATE INDEX ix_t_nome ON t (nome);"},
        {"texto sem índice", "nome TEXT", ""},
        {"texto com um blob", "nome TEXT", "INSERT INTO t (nome) VALUES (x'41'), (x'00');"},
        {"coluna numérica", "nome NUMERIC", "INSERT INTO t (nome) VALUES (10), (9.5), (-1);"},
    };
    static const std::vector<DefCampo> campos = {
        {.nome = "id", .tipo = TipoCampo::AutoInc},
        {.nome = "nome", .tipo = TipoCampo::Texto, .largura = 20},
    };
    for (const auto &caso : casos) {
        SCOPED_TRACE(caso.nome);
        PastaProgramaTeste pasta;
        pasta.executar(
            QStringLiteral("CREATE TABLE t (id INTEGER PRIMARY KEY AUTOINCREMENT, %1); %2"
                           "INSERT INTO t (nome) VALUES %3;")
                .arg(QString::fromUtf8(caso.tabela), QString::fromUtf8(caso.mais), QString::fromUtf8(textos)));
        Conexao conexao{QStringLiteral("ordem")};
        conexao.abrirBanco(pasta.bancoLocal());
        QStringList esperado;
        sqlite3_stmt *st = nullptr;
        ASSERT_EQ(sqlite3_prepare_v2(conexao.handle(), "SELECT id FROM t ORDER BY nome COLLATE PTBR", -1, &st, nullptr),
                  SQLITE_OK);
        while (sqlite3_step(st) == SQLITE_ROW)
            esperado << QString::number(sqlite3_column_int64(st, 0));
        sqlite3_finalize(st);

        ConjuntoDados c(QStringLiteral("t"), &campos);
        c.setConexao(&conexao);
        c.setTabela(QStringLiteral("t"));
        c.setSql(QStringLiteral("select * from t order by nome"));
        c.abrir();
        QStringList obtido;
        for (c.primeiro(); !c.fim(); c.proximo())
            obtido << c.campo(QStringLiteral("id")).texto();
        EXPECT_EQ(obtido, esperado);
    }
}

} // namespace
