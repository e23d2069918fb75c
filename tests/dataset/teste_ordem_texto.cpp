#include "ordem_texto.h"

#include <gtest/gtest.h>

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

} // namespace
