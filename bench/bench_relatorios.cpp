// The total-sales and customers-by-city reports on a large local database
// (100 000 order items, 20 000 customers, 5 000 products): each report end
// to end with its shipped template, and the same report with a template that
// prints only its totals (the data work alone). Baselines of the same run:
// the floor, the report's figures read straight through the sqlite3 C API;
// and the plain way, walking the data sets row by row with a locate per row
// (timed on a sample of rows and scaled to all of them, as it is slow).
//
// Then the report engine alone: the total-sales template over 5 000 and
// 20 000 rows, against the floor of painting the same table straight with
// QPainter on QPdfWriter in the same run (the same rows, columns, borders,
// the header row repeated on every page, the page numbers), processor and
// elapsed time, least and median of several runs.
//
// Usage: bench_relatorios [folder] [--motor]   (a temporary folder by default;
// --motor measures the report engine only)

#include "banco_bench.h"
#include "dialogos.h"
#include "esquema.h"
#include "fonte_relatorio.h"
#include "motor_relatorio.h"
#include "relatorios.h"
#include "udm.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
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
constexpr int kRepeticoesMotor = 5;

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

// The total-sales rows as the report's connection sees them.
class FonteVendas : public FonteRelatorio
{
  public:
    explicit FonteVendas(int quantidade)
    {
        for (int i = 1; i <= quantidade; ++i)
            m_linhas.append({{QStringLiteral("CODIGO"), QStringLiteral("P%1").arg(i, 6, 10, QLatin1Char('0'))},
                             {QStringLiteral("DESCRICAO"), QStringLiteral("PRODUTO %1 LINHA SÃO JOÃO").arg(i)},
                             {QStringLiteral("QUANTIDADE"), QString::number(1 + i % 24)},
                             {QStringLiteral("VALORTOTAL"), QLocale().toString(1.2345 * (1 + i % 24) * 17, 'f', 2)}});
    }
    QString nome() const override { return QStringLiteral("rvdsVendas"); }
    CamposRelatorio registroAtual() const override
    {
        return {{QStringLiteral("DATA_INICIAL"), QStringLiteral("01/01/2010")},
                {QStringLiteral("DATA_FINAL"), QStringLiteral("31/12/2010")},
                {QStringLiteral("DATA_EMISSAO"), QStringLiteral("10/12/2026 15:00")},
                {QStringLiteral("QTD_LINHAS"), QString::number(m_linhas.size())},
                {QStringLiteral("TOTAL_QUANTIDADE"), QStringLiteral("62.500")},
                {QStringLiteral("TOTAL_VALORTOTAL"), QStringLiteral("1.311.656,25")}};
    }
    QList<CamposRelatorio> linhas() const override { return m_linhas; }

  private:
    QList<CamposRelatorio> m_linhas;
};

// The floor: the same table painted straight, its geometry fixed in
// advance: the header row on every page, each row's four cells with their
// texts and borders, "Página N de M" at the foot.
int pintarPiso(const QList<CamposRelatorio> &linhas, const QString &pdf)
{
    QPdfWriter writer(pdf);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(15, 15, 15, 12),
                                     QPageLayout::Millimeter));
    QPainter p(&writer);
    const qreal ppm = writer.resolution() / 25.4;
    const QRectF area = writer.pageLayout().paintRectPixels(writer.resolution());
    const qreal corpo = area.height() - 8 * ppm;
    const QFont fonte(QStringLiteral("DejaVu Sans"), 8);
    QFont negrito(QStringLiteral("DejaVu Sans"), 7);
    negrito.setBold(true);
    const qreal altura = QFontMetricsF(fonte, &writer).height() + 0.9 * ppm;
    const qreal larguras[] = {0.14, 0.56, 0.12, 0.18};
    const Qt::Alignment alinhamentos[] = {Qt::AlignLeft, Qt::AlignLeft, Qt::AlignRight, Qt::AlignRight};
    const char *const campos[] = {"CODIGO", "DESCRICAO", "QUANTIDADE", "VALORTOTAL"};
    const QString titulos[] = {QStringLiteral("Código"), QStringLiteral("Descrição"), QStringLiteral("Quantidade"),
                               QStringLiteral("Valor total (R$)")};
    const int porPagina = int(corpo / altura) - 1;
    const int paginas = int((linhas.size() + porPagina - 1) / porPagina);
    const QPen borda(QColor(0xb8, 0xc2, 0xcf), 0.26 * ppm);
    auto linha = [&](qreal y, auto texto) {
        qreal x = 0;
        for (int c = 0; c < 4; ++c) {
            const qreal w = larguras[c] * area.width();
            p.drawText(QRectF(x + 0.8 * ppm, y, w - 1.6 * ppm, altura), alinhamentos[c] | Qt::AlignVCenter, texto(c));
            p.drawLine(QPointF(x + w, y), QPointF(x + w, y + altura));
            x += w;
        }
        p.drawLine(QPointF(0, y), QPointF(0, y + altura));
        p.drawLine(QPointF(0, y + altura), QPointF(area.width(), y + altura));
    };
    for (int pagina = 0; pagina < paginas; ++pagina) {
        if (pagina > 0)
            writer.newPage();
        p.fillRect(QRectF(0, 0, area.width(), altura), QColor(0xdd, 0xe4, 0xee));
        p.setPen(borda);
        p.setFont(negrito);
        p.drawLine(QPointF(0, 0), QPointF(area.width(), 0));
        linha(0, [&](int c) { return titulos[c]; });
        p.setFont(fonte);
        const int fim = std::min<int>(int(linhas.size()), (pagina + 1) * porPagina);
        for (int i = pagina * porPagina; i < fim; ++i) {
            const CamposRelatorio &r = linhas[i];
            linha((i - pagina * porPagina + 1) * altura,
                  [&](int c) { return r.value(QString::fromLatin1(campos[c])); });
        }
        p.drawText(QRectF(0, corpo, area.width(), 8 * ppm), Qt::AlignRight | Qt::AlignBottom,
                   QStringLiteral("Página %1 de %2").arg(pagina + 1).arg(paginas));
    }
    return paginas;
}

// The page count poppler reads in the file.
int paginasPdf(const QString &pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {pdf});
    p.waitForFinished(-1);
    for (const QByteArray &linha : p.readAllStandardOutput().split('\n'))
        if (linha.startsWith("Pages:"))
            return linha.mid(6).trimmed().toInt();
    return 0;
}

void medirMotor(const QString &pasta)
{
    std::printf("\nmotor de relatórios: vendas_totais.rav x piso QPainter (CPU e decorrido, mín. / mediana de %d)\n",
                kRepeticoesMotor);
    const QString modelo = QStringLiteral(PASTA_FONTES "/templates/vendas_totais.rav");
    for (const int linhas : {5000, 20000}) {
        const FonteVendas fonte(linhas);
        const QList<CamposRelatorio> dados = fonte.linhas();
        const QString pdf = pasta + QStringLiteral("motor-%1.pdf").arg(linhas);
        const QString pdfPiso = pasta + QStringLiteral("piso-%1.pdf").arg(linhas);
        int paginasPiso = 0;
        const Amostras piso = amostrar(kRepeticoesMotor, [&] { paginasPiso = pintarPiso(dados, pdfPiso); });
        const Amostras motor = amostrar(kRepeticoesMotor, [&] { GerarRelatorio(modelo, {&fonte}, {}, pdf); });
        const int paginas = paginasPdf(pdf);
        std::printf("  %5d linhas: relatório %d páginas, piso %d páginas\n", linhas, paginas, paginasPiso);
        std::printf("    piso QPainter       CPU %7.1f / %7.1f ms   decorrido %7.1f / %7.1f ms\n", piso.cpuMinimo(),
                    piso.cpuMediana(), piso.minimo(), piso.mediana());
        std::printf("    relatório           CPU %7.1f / %7.1f ms   decorrido %7.1f / %7.1f ms   %5.2fx / %5.2fx o piso"
                    " (CPU)\n",
                    motor.cpuMinimo(), motor.cpuMediana(), motor.minimo(), motor.mediana(),
                    motor.cpuMinimo() / piso.cpuMinimo(), motor.cpuMediana() / piso.cpuMediana());
        std::printf("    por página (CPU, mediana): relatório %.2f ms, piso %.2f ms\n", motor.cpuMediana() / paginas,
                    piso.cpuMediana() / paginasPiso);
    }
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
    QStringList argumentos = app.arguments().mid(1);
    const bool soMotor = argumentos.removeAll(QStringLiteral("--motor")) > 0;
    QString pasta = argumentos.isEmpty() ? temporaria.path() : argumentos.first();
    if (!pasta.endsWith(QLatin1Char('/')))
        pasta += QLatin1Char('/');
    if (soMotor) {
        QDir().mkpath(pasta);
        medirMotor(pasta);
        return 0;
    }
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
    medirMotor(pasta);
    return 0;
}
