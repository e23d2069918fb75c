// The dashboard's figures on a large local database (20 000 customers,
// 10 000 orders of the four kinds over two years, 100 000 order items):
// everything the screen shows on opening, computed as the program does
// (SQL through the data module's connection, rows into the dashboard's
// structures), against the floor of the same run: the very statements the
// program ran, captured from SQLite, stepped through alone with nothing
// read from their rows. Processor time (getrusage) beside elapsed time,
// least and median of several runs, and their ratio.
//
// Usage: bench_painel [folder]   (a temporary folder by default)

#include "banco_bench.h"
#include "dialogos.h"
#include "figuras_painel.h"
#include "painel_programa.h"
#include "udm.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocale>
#include <QTemporaryDir>
#include <cstdio>
#include <sqlite3.h>

namespace
{

constexpr int kClientes = 20000;
constexpr int kProdutos = 5000;
constexpr int kPedidos = 10000;
constexpr int kItensPorPedido = 10;
constexpr int kRepeticoes = 7;
const QDateTime kAgora(QDate(2027, 1, 15), QTime(10, 0));

// Orders of every kind, one in ten of another representative, over the two
// years before kAgora; each kind's items in its own table (an exchange's
// split between returned and replacement items); customers cold, recent,
// never served, with credit and delay figures.
void criarBanco(const QString &pasta)
{
    sqlite3 *db = abrirBancoNovo(pasta);
    exec(db, "BEGIN");
    const QByteArray sql =
        QStringLiteral(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1)"
            " INSERT INTO tbcliente (IdCliente, Nome, Cidade, ultimacompra, valultcompra, credito, mediaatraso)"
            " SELECT i, 'CLIENTE ' || i, 'CIDADE ' || (i % 300),"
            " CASE WHEN i % 50 = 0 THEN NULL ELSE datetime('2027-01-15', '-' || ((i * 31) % 400) || ' days') END,"
            " (i % 900) + 0.5, CASE WHEN i % 3 = 0 THEN 0 ELSE 500 + (i % 5000) END, i % 60 FROM n;"
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %2)"
            " INSERT INTO tbproduto (idProduto, CODIGO, PRODUTO, PRECOVENDA)"
            " SELECT i, printf('P%06d', i), 'PRODUTO ' || i, (i % 300) + 0.99 FROM n;"
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %3)"
            " INSERT INTO tbpedido (nr_pedido, idFunc, idCliente, dt_pedido, enviado)"
            " SELECT i, CASE WHEN i % 10 = 0 THEN '7' ELSE '12' END, 1 + (i * 7) % %1,"
            " datetime('2027-01-15', '-' || (i % 730) || ' days', '+' || (i % 600) || ' minutes'), i % 2 FROM n;"
            "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < %3 * %4 - 1)"
            " INSERT INTO tbpedido_item (nr_pedido, idfunc, codigo, quantidade, valorUnitario, valorTotal)"
            " SELECT 1 + i / %4, '12', printf('P%06d', 1 + (i * 7919) % %2), 1 + i % 24, 1.2345,"
            " round((1 + i % 24) * 1.2345, 4) FROM n;"
            // One order in ten a package, one a tied sale, one an exchange.
            "INSERT INTO tbpedido_pacote (nr_pedido, idfunc, codigo, quantidade, valorUnitario, valorTotal)"
            " SELECT nr_pedido, idfunc, codigo, quantidade, valorUnitario, valorTotal FROM tbpedido_item"
            " WHERE nr_pedido % 10 = 1;"
            "INSERT INTO tbpedido_venda_casada (nr_pedido, idfunc, codigo, quantidade, valorUnitario, valorTotal)"
            " SELECT nr_pedido, idfunc, codigo, quantidade, valorUnitario, valorTotal FROM tbpedido_item"
            " WHERE nr_pedido % 10 = 2;"
            "INSERT INTO tbpedido_troca1 (nr_pedido, idfunc, codigo, quantidade, valorUnitario, valorTotal)"
            " SELECT nr_pedido, idfunc, codigo, quantidade, valorUnitario, valorTotal FROM tbpedido_item"
            " WHERE nr_pedido % 10 = 3 AND item % 2 = 0;"
            "INSERT INTO tbpedido_troca2 (nr_pedido, idfunc, codigo, quantidade, valorUnitario, valorTotal)"
            " SELECT nr_pedido, idfunc, codigo, quantidade, valorUnitario, valorTotal FROM tbpedido_item"
            " WHERE nr_pedido % 10 = 3 AND item % 2 = 1;"
            "DELETE FROM tbpedido_item WHERE nr_pedido % 10 IN (1, 2, 3);"
            "UPDATE tbpedido SET vl_total_item = (SELECT ifnull(sum(valorTotal), 0) FROM tbpedido_item i"
            " WHERE i.nr_pedido = tbpedido.nr_pedido) WHERE nr_pedido % 10 NOT IN (1, 2, 3);"
            "UPDATE tbpedido SET vl_total_pacote = (SELECT sum(valorTotal) FROM tbpedido_pacote i"
            " WHERE i.nr_pedido = tbpedido.nr_pedido) WHERE nr_pedido % 10 = 1;"
            "UPDATE tbpedido SET vl_total_venda_casada = (SELECT sum(valorTotal) FROM tbpedido_venda_casada i"
            " WHERE i.nr_pedido = tbpedido.nr_pedido) WHERE nr_pedido % 10 = 2;"
            "UPDATE tbpedido SET vl_total_troca2 = (SELECT sum(valorTotal) FROM tbpedido_troca1 i"
            " WHERE i.nr_pedido = tbpedido.nr_pedido), vl_total_troca1 = (SELECT sum(valorTotal) FROM"
            " tbpedido_troca2 i WHERE i.nr_pedido = tbpedido.nr_pedido) WHERE nr_pedido % 10 = 3;"
            "UPDATE tbpedido SET vl_diferenca_troca = vl_total_troca2 - vl_total_troca1 WHERE nr_pedido % 10 = 3;"
            "INSERT INTO tbfuncionario (idfunc, Nome) VALUES ('12', 'JOÃO SILVA');"
            "INSERT INTO tbconfiguracoes (cod_funcionario) VALUES ('12');"
            "ANALYZE;")
            .arg(kClientes)
            .arg(kProdutos)
            .arg(kPedidos)
            .arg(kItensPorPedido)
            .toUtf8();
    exec(db, sql.constData());
    exec(db, "COMMIT");
    sqlite3_close(db);
    escreverConfiguracao(pasta);
}

// The statements a run of the figures sends to SQLite, parameters filled in.
QList<QByteArray> capturarSql(sqlite3 *db, const std::function<void()> &operacao)
{
    QList<QByteArray> sqls;
    sqlite3_trace_v2(
        db, SQLITE_TRACE_STMT,
        [](unsigned, void *contexto, void *p, void *) {
            char *sql = sqlite3_expanded_sql(static_cast<sqlite3_stmt *>(p));
            static_cast<QList<QByteArray> *>(contexto)->append(QByteArray(sql));
            sqlite3_free(sql);
            return 0;
        },
        &sqls);
    operacao();
    sqlite3_trace_v2(db, 0, nullptr, nullptr);
    return sqls;
}

// Each statement prepared and stepped to its end; nothing read.
void executarSozinhas(sqlite3 *db, const QList<QByteArray> &sqls)
{
    for (const QByteArray &sql : sqls) {
        sqlite3_stmt *st = nullptr;
        sqlite3_prepare_v2(db, sql.constData(), -1, &st, nullptr);
        while (sqlite3_step(st) == SQLITE_ROW) {
        }
        sqlite3_finalize(st);
    }
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    DialogosTerminal dialogos;
    Dialogos::definir(&dialogos);
    QTemporaryDir temporaria;
    const QStringList argumentos = app.arguments().mid(1);
    QString pasta = argumentos.isEmpty() ? temporaria.path() : argumentos.first();
    if (!pasta.endsWith(QLatin1Char('/')))
        pasta += QLatin1Char('/');
    QDir().mkpath(pasta);
    criarBanco(pasta);
    TDM dm(pasta);
    sqlite3 *db = dm.ADOConexao.handle();

    // What the screen computes on opening: the default period (90 days) and
    // the widest one, the whole two years of orders.
    struct Caso {
        const char *nome;
        QDate inicio;
    } const casos[] = {{"período padrão (90 dias)", kAgora.date().addDays(-89)},
                       {"período de 2 anos (todos os pedidos)", kAgora.date().addYears(-2)}};
    std::printf("%d clientes, %d pedidos dos quatro tipos, %d itens, %d repetições\n", kClientes, kPedidos,
                kPedidos * kItensPorPedido, kRepeticoes);
    for (const Caso &c : casos) {
        PeriodoPainel periodo = PeriodoPadrao(kAgora);
        periodo.inicio = c.inicio;
        Painel painel;
        const auto figuras = [&] { painel = CalcularPainel(FigurasDoPrograma(), periodo); };
        const QList<QByteArray> sqls = capturarSql(db, figuras);
        Amostras programa, piso;
        for (int r = 0; r < kRepeticoes; ++r) {
            cronometrar(piso, [&] { executarSozinhas(db, sqls); });
            cronometrar(programa, figuras);
        }
        std::printf("\n%s: %zu consultas; %zu produtos, %zu clientes no ranking, %zu esfriando, %zu sem compra, "
                    "%zu em alerta\n",
                    c.nome, std::size_t(sqls.size()), painel.produtos.size(), painel.clientes.size(),
                    painel.esfriando.size(), painel.semCompra.size(), painel.emAlerta.size());
        std::printf("  todas as figuras do painel     %s\n", qPrintable(programa.texto()));
        std::printf("  piso: o mesmo SQL sozinho      %s\n", qPrintable(piso.texto()));
        std::printf("  razão (CPU, mediana)           %.2f\n", programa.cpuMediana() / piso.cpuMediana());
        std::printf("  limite: 100 ms de CPU          %s\n", programa.cpuMediana() <= 100 ? "dentro" : "ACIMA");
    }
    return 0;
}
