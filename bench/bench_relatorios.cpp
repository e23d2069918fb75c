// The total-sales and customers-by-city reports on a large local database
// (100 000 order items, 20 000 customers, 5 000 products): each report end
// to end with its shipped template, and the same report with a template that
// prints only its totals (the data work alone). Baselines of the same run:
// the floor, the report's figures read straight through the sqlite3 C API;
// and the plain way, walking the data sets row by row with a locate per row
// (timed on a sample of rows and scaled to all of them, as it is slow).
//
// Usage: bench_relatorios [folder]   (a temporary folder by default)

#include "banco_bench.h"
#include "dialogos.h"
#include "esquema.h"
#include "relatorios.h"
#include "udm.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <sqlite3.h>

namespace
{

constexpr int kClientes = 20000;
constexpr int kProdutos = 5000;
constexpr int kPedidos = 10000;
constexpr int kItensPorPedido = 10;
constexpr int kRepeticoes = 3;
constexpr int kAmostra = 2000;

// The input boxes answer with the period; nothing is opened.
class DialogosBench : public DialogosTerminal
{
  public:
    QString caixaEntrada(const QString &titulo, const QString &, const QString &) override
    {
        return titulo == QLatin1String("Data Inicial") ? QStringLiteral("01/01/2010") : QStringLiteral("31/12/2010");
    }
};

// Rows made by SQL itself: 500 cities written three ways, orders over two
// years of two representatives, items of every product.
void criarBanco(const QString &pasta)
{
    sqlite3 *db = abrirBancoNovo(pasta);
    exec(db, "BEGIN");
    const QByteArray sql =
        QStringLiteral(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1)"
            " INSERT INTO tbcliente (IdCliente, Nome, Cidade, UF, Tel)"
            " SELECT i, 'CLIENTE ' || i, CASE i % 3 WHEN 0 THEN 'São Cidade ' || (i % 500)"
            " WHEN 1 THEN 'SÃO CIDADE ' || (i % 500) || ' ' ELSE ' são cidade ' || (i % 500) END, 'SP', '(11) "
            "3333-0000'"
            " FROM n;"
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %2)"
            " INSERT INTO tbproduto (idProduto, CODIGO, PRODUTO, FABRICANTE, UNID, PRECOVENDA)"
            " SELECT i, printf('P%06d', i), 'PRODUTO ' || i, 'FABRICANTE ' || (i % 40), 'UN', (i % 300) + 0.99 FROM n;"
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %3)"
            " INSERT INTO tbpedido (nr_pedido, idFunc, idCliente, dt_pedido, impresso, enviado, vl_total_item)"
            " SELECT i, CASE WHEN i % 10 = 0 THEN '7' ELSE '12' END, 1 + i % %1,"
            " datetime('2009-07-01', '+' || (i % 730) || ' days', '+' || (i % 600) || ' minutes'), 0, 0, 0 FROM n;"
            "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < %3 * %4 - 1)"
            " INSERT INTO tbpedido_item (nr_pedido, idfunc, codigo, quantidade, valorUnitario, valorTotal)"
            " SELECT 1 + i / %4, '12', printf('P%06d', 1 + (i * 7919) % %2), 1 + i % 24, 1.2345,"
            " round((1 + i % 24) * 1.2345, 4) FROM n;"
            "INSERT INTO tbfuncionario (idfunc, Nome) VALUES ('12', 'JOÃO SILVA');"
            "INSERT INTO tbconfiguracoes (cod_funcionario) VALUES ('12');")
            .arg(kClientes)
            .arg(kProdutos)
            .arg(kPedidos)
            .arg(kItensPorPedido)
            .toUtf8();
    exec(db, sql.constData());
    exec(db, "COMMIT");
    sqlite3_close(db);
    escreverConfiguracao(pasta);
    QDir(pasta).mkdir(QStringLiteral("relatórios"));
}

void instalarModelos(const QString &pasta, bool soTotais)
{
    const QDir fonte(QStringLiteral(PASTA_FONTES "/templates"));
    for (const char *nome : {"vendas_totais.rav", "grupo-clientes.rav"}) {
        const QString arquivo = pasta + QString::fromUtf8(nome);
        QFile::remove(arquivo);
        if (!soTotais) {
            QFile::copy(fonte.filePath(QString::fromUtf8(nome)), arquivo);
            continue;
        }
        QFile f(arquivo);
        f.open(QIODevice::WriteOnly);
        f.write("<html><body>{{rvdsVendas.QTD_LINHAS}} {{rvdsVendas.TOTAL_VALORTOTAL}}"
                " {{rvdsRelatGrupoClientes.QTD_LINHAS}}</body></html>");
    }
}

// The best of a few runs, in milliseconds (the slow baselines run once).
double medir(const std::function<void()> &f, int repeticoes = kRepeticoes)
{
    double melhor = 1e300;
    for (int i = 0; i < repeticoes; ++i) {
        QElapsedTimer t;
        t.start();
        f();
        melhor = std::min(melhor, t.nsecsElapsed() / 1e6);
    }
    return melhor;
}

// Baseline of the total sales: one row per product and order from SQL, and
// for each a locate of its order (for the date) and of its product. Returns
// the rows of the query; only the first `amostra` are walked.
int vendasLinhaALinha(TDM &dm, int amostra)
{
    ConjuntoDados &pesquisa = dm.QyPesquisa;
    pesquisa.fechar();
    pesquisa.setSql(QStringLiteral("SELECT nr_pedido, codigo, SUM(Quantidade) as Quantidade,SUM(ValorTotal) as Totais"
                                   " FROM tbpedido_item GROUP BY codigo, nr_pedido ORDER BY SUM(Quantidade) ASC"));
    pesquisa.abrir();
    const QDate inicio(2010, 1, 1), fim(2010, 12, 31);
    ConjuntoDados &tabela = dm.cdsVendaTotais;
    tabela.abrir();
    for (int i = 0; i < std::min(amostra, pesquisa.quantidade()); ++i) {
        const Registro r = pesquisa.registro(i);
        if (!dm.QyPedido.localizar(QStringLiteral("nr_pedido"), r.campo(QStringLiteral("nr_pedido")).texto()))
            continue;
        const QDate dia = dm.QyPedido.campo(QStringLiteral("dt_pedido")).dataHora().date();
        if (dia < inicio || dia > fim ||
            !dm.QyProduto.localizar(QStringLiteral("CODIGO"), r.campo(QStringLiteral("codigo")).texto()))
            continue;
        tabela.inserir();
        tabela.campo(QStringLiteral("CODIGO")).setTexto(r.campo(QStringLiteral("codigo")).texto());
        tabela.campo(QStringLiteral("DESCRICAO")).setTexto(dm.QyProduto.campo(QStringLiteral("PRODUTO")).texto());
        tabela.campo(QStringLiteral("QUANTIDADE"))
            .setInteiro(r.campo(QStringLiteral("Quantidade")).texto().toLongLong());
        tabela.campo(QStringLiteral("VALORTOTAL")).setReal(r.campo(QStringLiteral("Totais")).texto().toDouble());
        tabela.gravar();
    }
    const int linhas = pesquisa.quantidade();
    tabela.fechar();
    pesquisa.fechar();
    return linhas;
}

// Baseline of the customers by city: each customer's city searched among
// the groups made so far, over the first `amostra` customers.
void cidadesLinhaALinha(TDM &dm, int amostra)
{
    ConjuntoDados &tabela = dm.cdsRelatGrupoClientes;
    tabela.abrir();
    for (int i = 0; i < std::min(amostra, dm.QyCliente.quantidade()); ++i) {
        const QString cidade = dm.QyCliente.registro(i).campo(QStringLiteral("Cidade")).texto().trimmed();
        int achada = -1;
        for (int g = 0; g < tabela.quantidade() && achada < 0; ++g)
            if (tabela.registro(g).campo(QStringLiteral("CIDADE")).texto().compare(cidade, Qt::CaseInsensitive) == 0)
                achada = g;
        if (achada >= 0) {
            tabela.irParaRegistro(achada + 1);
            tabela.editar();
            tabela.campo(QStringLiteral("QUANTIDADE"))
                .setInteiro(tabela.campo(QStringLiteral("QUANTIDADE")).inteiro() + 1);
        } else {
            tabela.inserir();
            tabela.campo(QStringLiteral("CIDADE")).setTexto(cidade);
            tabela.campo(QStringLiteral("QUANTIDADE")).setInteiro(1);
        }
        tabela.gravar();
    }
    tabela.fechar();
}

// The floor: the figures of both reports read through the sqlite3 C API
// (cities folded in ASCII only, which SQLite knows).
double piso(const QString &banco)
{
    const char *const consultas[] = {
        "SELECT i.codigo, SUM(i.quantidade), SUM(i.valorTotal) FROM tbpedido_item i JOIN tbpedido p"
        " ON p.nr_pedido = i.nr_pedido WHERE p.idFunc = '12' AND date(p.dt_pedido) BETWEEN '2010-01-01' AND"
        " '2010-12-31' GROUP BY i.codigo",
        "SELECT lower(trim(Cidade)), count(*) FROM tbcliente GROUP BY lower(trim(Cidade))",
    };
    sqlite3 *db = nullptr;
    sqlite3_open_v2(banco.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    const double ms = medir([&] {
        for (const char *sql : consultas) {
            sqlite3_stmt *st = nullptr;
            sqlite3_prepare_v2(db, sql, -1, &st, nullptr);
            while (sqlite3_step(st) == SQLITE_ROW)
                sqlite3_column_text(st, 0);
            sqlite3_finalize(st);
        }
    });
    sqlite3_close(db);
    return ms;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    DialogosBench dialogos;
    Dialogos::definir(&dialogos);
    QTemporaryDir temporaria;
    QString pasta = argc > 1 ? QString::fromLocal8Bit(argv[1]) : temporaria.path();
    if (!pasta.endsWith(QLatin1Char('/')))
        pasta += QLatin1Char('/');
    criarBanco(pasta);
    TDM dm(pasta);
    std::printf("%d clientes, %d produtos, %d pedidos, %d itens\n", kClientes, kProdutos, kPedidos,
                kPedidos * kItensPorPedido);

    const double chao = piso(pasta + QStringLiteral("corlando.db"));
    int linhasVendas = 0;
    const double vendasBase = medir([&] { linhasVendas = vendasLinhaALinha(dm, kAmostra); }, 1);
    const double vendasLinha = vendasBase * linhasVendas / kAmostra;
    const double cidadesBase = medir([&] { cidadesLinhaALinha(dm, kAmostra); }, 1);
    const double cidadesLinha = cidadesBase * kClientes / kAmostra;
    instalarModelos(pasta, true);
    const double vendasDados = medir(RelatorioVendasTotais);
    const double cidadesDados = medir(RelatorioClientesPorCidades);
    instalarModelos(pasta, false);
    const double vendasPdf = medir(RelatorioVendasTotais);
    const double cidadesPdf = medir(RelatorioClientesPorCidades);

    auto linha = [](const char *oQue, double ms, double base) {
        std::printf("  %-44s %9.1f ms  %8.2f\n", oQue, ms, ms / base);
    };
    std::printf("\nbase: as duas consultas pela API do sqlite3 %9.1f ms      1.00\n", chao);
    std::printf("\nvendas totais de 2010 (%d linhas por produto e pedido)\n", linhasVendas);
    linha("linha a linha com localizar (estimado)", vendasLinha, chao);
    linha("relatório, só os totais", vendasDados, chao);
    linha("relatório com o PDF inteiro", vendasPdf, chao);
    std::printf("\nclientes por cidade\n");
    linha("linha a linha com busca na tabela (estimado)", cidadesLinha, chao);
    linha("relatório, só os totais", cidadesDados, chao);
    linha("relatório com o PDF inteiro", cidadesPdf, chao);
    return 0;
}
