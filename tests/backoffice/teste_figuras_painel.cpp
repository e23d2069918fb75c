#include "dialogos_roteiro.h"
#include "figuras_painel.h"
#include "painel_programa.h"
#include "pasta_programa.h"
#include "udm.h"

#include <gtest/gtest.h>

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUuid>
#include <map>
#include <memory>

// Each figure of the dashboard against plain SQL written here from the
// tables: orders of the four kinds on both sides of a new year, an order
// without items, another representative's order, customers cold, never
// served, over their credit or paying late.

namespace
{

const QDateTime kAgora(QDate(2027, 1, 15), QTime(10, 0));

// The value of an order by the column that holds its kind's total.
const char *const kValorPedido = "CASE WHEN vl_total_item IS NOT NULL THEN vl_total_item"
                                 " WHEN vl_total_venda_casada IS NOT NULL THEN vl_total_venda_casada"
                                 " WHEN vl_total_pacote IS NOT NULL THEN vl_total_pacote"
                                 " ELSE ifnull(vl_diferenca_troca, 0) END";

class FigurasPainelTeste : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        pasta.executar(QStringLiteral(
            "INSERT INTO tbproduto (CODIGO, PRODUTO, PRECOVENDA) VALUES ('P1', 'PARAFUSO', 50),"
            " ('P2', 'ARRUELA', 25), ('P3', 'PORCA', 15);"
            "INSERT INTO tbcliente (IdCliente, Nome, Cidade, ultimacompra, valultcompra, credito, mediaatraso) VALUES"
            // Bought here after the central offices' last purchase.
            " (1, 'ALFA', 'Natal', '2026-10-01 09:00:00', 80, 5000, 10),"
            // 56 days: going cold; an average delay at the limit is not above it.
            " (2, 'BETA', 'Recife', '2026-11-20 10:00:00', 321.5, NULL, 30),"
            // Known only by an exchange typed here, 75 days ago.
            " (3, 'GAMA', 'Caicó', NULL, NULL, 0, NULL),"
            " (4, 'DELTA', 'Mossoró', NULL, NULL, 100, 45),"
            " (5, 'EPSILON', 'Natal', '2027-01-05 10:00:00', 10, 1000, NULL),"
            // Served only by another representative.
            " (6, 'ZETA', 'Natal', NULL, NULL, NULL, NULL);"
            "INSERT INTO tbpedido (nr_pedido, idFunc, idCliente, dt_pedido, enviado, vl_total_item) VALUES"
            " (101, '12', 1, '2027-01-10 11:00:00', 1, 1000), (105, '12', 1, '2027-01-01 00:00:00', 0, 0),"
            " (106, '12', 1, '2026-01-20 08:00:00', 1, 700), (201, '7', 6, '2027-01-03 08:00:00', 0, 9999);"
            "INSERT INTO tbpedido (nr_pedido, idFunc, idCliente, dt_pedido, enviado, vl_total_pacote) VALUES"
            " (102, '12', 1, '2026-12-31 23:59:59', 1, 300);"
            "INSERT INTO tbpedido (nr_pedido, idFunc, idCliente, dt_pedido, enviado, vl_total_troca1, vl_total_troca2,"
            " vl_diferenca_troca) VALUES (103, '12', 3, '2026-11-01 08:00:00', 1, 200, 50, -150);"
            "INSERT INTO tbpedido (nr_pedido, idFunc, idCliente, dt_pedido, enviado, vl_total_venda_casada) VALUES"
            " (104, '12', 5, '2027-01-02 09:00:00', 0, 1500);"
            "INSERT INTO tbpedido_item (nr_pedido, idfunc, codigo, quantidade, valorUnitario, valorTotal) VALUES"
            " (101, '12', 'P1', 10, 50, 500), (101, '12', 'P2', 20, 25, 500), (106, '12', 'P1', 14, 50, 700),"
            " (201, '7', 'P1', 1, 9999, 9999);"
            "INSERT INTO tbpedido_pacote (nr_pedido, idfunc, codigo, quantidade, valorUnitario, valorTotal) VALUES"
            " (102, '12', 'P2', 12, 25, 300);"
            "INSERT INTO tbpedido_troca1 (nr_pedido, idfunc, codigo, quantidade, valorUnitario, valorTotal) VALUES"
            " (103, '12', 'P3', 5, 10, 50);"
            "INSERT INTO tbpedido_troca2 (nr_pedido, idfunc, codigo, quantidade, valorUnitario, valorTotal) VALUES"
            " (103, '12', 'P1', 4, 50, 200);"
            "INSERT INTO tbpedido_venda_casada (nr_pedido, idfunc, codigo, quantidade, valorUnitario, valorTotal)"
            " VALUES (104, '12', 'P3', 100, 15, 1500);"));
    }

    void abrir(const char *funcionario)
    {
        pasta.executar(QStringLiteral("INSERT INTO tbfuncionario (idfunc, Nome) VALUES ('%1', 'JOÃO');"
                                      "INSERT INTO tbconfiguracoes (cod_funcionario) VALUES ('%1');")
                           .arg(QString::fromUtf8(funcionario)));
        dm = std::make_unique<TDM>(pasta.caminho());
        ASSERT_TRUE(dialogos.registros().empty()) << dialogos.textos().join(u'\n').toStdString();
    }

    // Rows of a query, each as its columns' texts joined by "|".
    QStringList linhas(const QString &sql) const
    {
        const QString nome = QUuid::createUuid().toString();
        QStringList resultado;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), nome);
            db.setDatabaseName(pasta.bancoLocal());
            EXPECT_TRUE(db.open());
            QSqlQuery q(db);
            EXPECT_TRUE(q.exec(sql)) << sql.toStdString();
            while (q.next()) {
                QStringList colunas;
                for (int c = 0; c < q.record().count(); ++c)
                    colunas << q.value(c).toString();
                resultado << colunas.join(u'|');
            }
        }
        QSqlDatabase::removeDatabase(nome);
        return resultado;
    }

    static QString reais(Dinheiro v) { return v.texto(); }
    static QString reais(const QString &numero) { return Dinheiro::deTextoSimples(numero).texto(); }

    PastaProgramaTeste pasta;
    DialogosRoteiro dialogos;
    std::unique_ptr<TDM> dm;
};

TEST_F(FigurasPainelTeste, VendasPorMesSomamOsQuatroTiposComoOsTotais)
{
    for (const char *funcionario : {"12", "999"}) {
        SCOPED_TRACE(funcionario);
        pasta.executar(QStringLiteral("DELETE FROM tbfuncionario; DELETE FROM tbconfiguracoes;"));
        abrir(funcionario);
        const QString filtro = qstrcmp(funcionario, "999") == 0 ? QStringLiteral("1") : QStringLiteral("idFunc='12'");
        std::map<QString, QString> esperado;
        for (const QString &l :
             linhas(QStringLiteral("SELECT strftime('%Y-%m', dt_pedido), sum(%1) FROM tbpedido WHERE %2 GROUP BY 1")
                        .arg(QString::fromUtf8(kValorPedido), filtro)))
            esperado[l.section(u'|', 0, 0)] = reais(l.section(u'|', 1, 1));

        const std::vector<VendaMes> meses = FigurasDoPrograma().vendasPorMes(QDate(2026, 1, 1), 13);
        ASSERT_EQ(meses.size(), 13u);
        for (const VendaMes &m : meses) {
            const auto e = esperado.find(m.mes.toString(QStringLiteral("yyyy-MM")));
            EXPECT_EQ(reais(m.total), e == esperado.end() ? QStringLiteral("0") : e->second)
                << m.mes.toString(Qt::ISODate).toStdString();
        }
        dm.reset();
    }
}

TEST_F(FigurasPainelTeste, PainelDoRepresentante)
{
    abrir("12");
    const Painel p = CalcularPainel(FigurasDoPrograma(), {kAgora, 2026, QDate(2026, 12, 1), QDate(2027, 1, 31), 30});

    // January across the new year: the regular order, the empty one, the
    // tied sale; the package of 31/12 23:59:59 stays in December and the
    // exchange lowers November. The other representative's order is out.
    EXPECT_EQ(p.mesAtual.mes, QDate(2027, 1, 1));
    EXPECT_EQ(reais(p.mesAtual.total), QStringLiteral("2500"));
    EXPECT_EQ(p.mesAtual.pedidos, 3);
    EXPECT_EQ(reais(p.mesmoMesAnoAnterior.total), QStringLiteral("700"));
    ASSERT_EQ(p.ultimos12Meses.size(), 12u);
    EXPECT_EQ(p.ultimos12Meses.front().mes, QDate(2026, 2, 1));
    EXPECT_EQ(reais(p.ultimos12Meses[10].total), QStringLiteral("300"));
    EXPECT_EQ(reais(p.ultimos12Meses[9].total), QStringLiteral("-150"));
    EXPECT_EQ(reais(p.ano[0].total), QStringLiteral("700"));

    // The largest products of the period, as plain SQL sums every kind's
    // items (an exchange's returned items against it).
    const QStringList produtos = linhas(QStringLiteral(
        "SELECT codigo, sum(q), sum(v) FROM ("
        " SELECT i.codigo, i.quantidade q, i.valorTotal v FROM tbpedido_item i JOIN tbpedido p USING (nr_pedido)"
        "  WHERE p.idFunc='12' AND date(p.dt_pedido) BETWEEN '2026-12-01' AND '2027-01-31'"
        " UNION ALL SELECT i.codigo, i.quantidade, i.valorTotal FROM tbpedido_pacote i JOIN tbpedido p USING "
        "(nr_pedido)"
        "  WHERE p.idFunc='12' AND date(p.dt_pedido) BETWEEN '2026-12-01' AND '2027-01-31'"
        " UNION ALL SELECT i.codigo, i.quantidade, i.valorTotal FROM tbpedido_venda_casada i"
        "  JOIN tbpedido p USING (nr_pedido)"
        "  WHERE p.idFunc='12' AND date(p.dt_pedido) BETWEEN '2026-12-01' AND '2027-01-31'"
        " UNION ALL SELECT i.codigo, i.quantidade, i.valorTotal FROM tbpedido_troca1 i JOIN tbpedido p USING "
        "(nr_pedido)"
        "  WHERE p.idFunc='12' AND date(p.dt_pedido) BETWEEN '2026-12-01' AND '2027-01-31'"
        " UNION ALL SELECT i.codigo, -i.quantidade, -i.valorTotal FROM tbpedido_troca2 i"
        "  JOIN tbpedido p USING (nr_pedido)"
        "  WHERE p.idFunc='12' AND date(p.dt_pedido) BETWEEN '2026-12-01' AND '2027-01-31')"
        " GROUP BY codigo ORDER BY sum(v) DESC"));
    QStringList mostrados;
    for (const ItemRanking &r : p.produtos)
        mostrados << QStringLiteral("%1|%2|%3").arg(r.codigo).arg(r.quantidade).arg(r.valor.paraDouble());
    EXPECT_EQ(mostrados, produtos);
    EXPECT_EQ(mostrados, (QStringList{"P3|100|1500", "P2|32|800", "P1|10|500"}));
    EXPECT_EQ(p.produtos[0].nome, QStringLiteral("PORCA"));

    const QStringList clientes =
        linhas(QStringLiteral("SELECT p.idCliente, c.Nome, count(*), sum(%1) FROM tbpedido p JOIN tbcliente c ON "
                              "c.IdCliente = p.idCliente"
                              " WHERE p.idFunc='12' AND date(p.dt_pedido) BETWEEN '2026-12-01' AND '2027-01-31'"
                              " GROUP BY p.idCliente ORDER BY sum(%1) DESC")
                   .arg(QString::fromUtf8(kValorPedido)));
    mostrados.clear();
    for (const ItemRanking &r : p.clientes)
        mostrados << QStringLiteral("%1|%2|%3|%4").arg(r.codigo, r.nome).arg(r.quantidade).arg(r.valor.paraDouble());
    EXPECT_EQ(mostrados, clientes);
    EXPECT_EQ(mostrados, (QStringList{"5|EPSILON|1|1500", "1|ALFA|3|1300"}));
}

// Going cold: the later of the customer's last purchase and the last order
// typed here, 40 days or more before now, with that purchase's value.
TEST_F(FigurasPainelTeste, ClientesEsfriandoSemCompraEEmAlerta)
{
    abrir("12");
    const FigurasPainel figuras = FigurasDoPrograma();

    const QStringList frios = linhas(QStringLiteral(
        "WITH u AS (SELECT c.IdCliente, c.Nome, max(ifnull(c.ultimacompra, ''), ifnull((SELECT max(dt_pedido) FROM"
        " tbpedido p WHERE p.idCliente = c.IdCliente AND p.idFunc = '12'), '')) AS dt FROM tbcliente c)"
        " SELECT IdCliente, Nome, CAST(julianday('2027-01-15 10:00:00') - julianday(dt) AS INTEGER) d, dt"
        " FROM u WHERE dt <> '' AND d >= 40 ORDER BY d DESC"));
    QStringList mostrados;
    for (const ClienteEsfriando &c : figuras.clientesEsfriando(kAgora))
        mostrados << QStringLiteral("%1|%2|%3|%4")
                         .arg(c.idCliente)
                         .arg(c.nome)
                         .arg(c.dias)
                         .arg(c.ultimaCompra.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    EXPECT_EQ(mostrados, frios);
    ASSERT_EQ(mostrados.size(), 2);
    EXPECT_TRUE(mostrados[0].startsWith(QStringLiteral("3|GAMA|75|")));
    EXPECT_TRUE(mostrados[1].startsWith(QStringLiteral("2|BETA|56|")));
    const std::vector<ClienteEsfriando> lista = figuras.clientesEsfriando(kAgora);
    EXPECT_EQ(reais(lista[0].valorUltimaCompra), QStringLiteral("-150"));
    EXPECT_EQ(reais(lista[1].valorUltimaCompra), QStringLiteral("321,5"));

    const QStringList nunca =
        linhas(QStringLiteral("SELECT IdCliente FROM tbcliente c WHERE ultimacompra IS NULL AND IdCliente NOT IN"
                              " (SELECT idCliente FROM tbpedido WHERE idFunc = '12') ORDER BY Nome"));
    mostrados.clear();
    for (const ClienteSemCompra &c : figuras.clientesSemCompra())
        mostrados << QString::number(c.idCliente);
    EXPECT_EQ(mostrados, nunca);
    EXPECT_EQ(mostrados, (QStringList{"4", "6"}));

    const QStringList alerta = linhas(
        QStringLiteral(
            "SELECT IdCliente FROM tbcliente c WHERE mediaatraso > 30 OR (credito > 0 AND EXISTS (SELECT 1 FROM "
            "tbpedido p"
            " WHERE p.idCliente = c.IdCliente AND p.idFunc = '12' AND p.enviado = 0 AND %1 > c.credito)) ORDER BY Nome")
            .arg(QString::fromUtf8(kValorPedido)));
    mostrados.clear();
    for (const ClienteEmAlerta &c : figuras.clientesEmAlerta(30))
        mostrados << QString::number(c.idCliente);
    EXPECT_EQ(mostrados, alerta);
    EXPECT_EQ(mostrados, (QStringList{"4", "5"}));
    const std::vector<ClienteEmAlerta> emAlerta = figuras.clientesEmAlerta(30);
    EXPECT_EQ(emAlerta[0].mediaAtraso, 45);
    EXPECT_FALSE(emAlerta[0].pedidoAcimaDoCredito);
    EXPECT_EQ(reais(*emAlerta[1].pedidoAcimaDoCredito), QStringLiteral("1500"));
    EXPECT_FALSE(emAlerta[1].mediaAtraso);
    // A lower limit takes in the customer paying 30 days late.
    EXPECT_EQ(figuras.clientesEmAlerta(29).size(), 3u);
}

// The warning of the order screens, by its rule.
TEST(SituacaoCliente, CreditoQuandoDefinidoEAtrasoAcimaDoLimite)
{
    const auto r = [](const char *v) { return Dinheiro::deTextoSimples(QString::fromUtf8(v)); };
    struct Caso {
        const char *total;
        std::optional<Dinheiro> credito;
        std::optional<int> atraso;
        const char *aviso;
    } const casos[] = {
        {"100", r("100"), std::nullopt, ""},
        {"100,01", r("100"), std::nullopt, "⚠ Pedido acima do crédito (R$ 100,00)"},
        {"5000", r("0"), std::nullopt, ""}, // no credit set
        {"5000", std::nullopt, 30, ""},
        {"5000", std::nullopt, 31, "⚠ Atraso médio de 31 dias"},
        {"1234,5", r("1000"), 45, "⚠ Pedido acima do crédito (R$ 1.000,00)  ⚠ Atraso médio de 45 dias"},
    };
    for (const Caso &c : casos)
        EXPECT_EQ(AvaliarCliente(r(c.total), c.credito, c.atraso, 30).aviso(), QString::fromUtf8(c.aviso)) << c.total;
}

} // namespace
