// Order entry on catalogues of growing size, through the regular order
// screen's logic: saving an order (every item re-priced, the totals, the
// header), typing one item (code, quantity, save) and "Imprimir" (the stock
// check, the PDF, the save that marks it printed). Each figure stands beside
// its floor, measured in the same run on the same file: plain sqlite3 doing
// the same writes, prepared once, in one transaction. The save is measured
// again with more and fewer orders on file (the middle catalogue), which its
// cost must not follow.
//
// Usage: bench_pedido [pasta] [--produtos 10000,50000,200000] [--salvar 100,300,1000]
//                     [--imprimir 100,500,2000] [--pedidos-no-arquivo 1000,10000,50000]
//                     [--repeticoes 5]

#include "banco_bench.h"
#include "erro.h"
#include "logica_pedido.h"
#include "udm.h"
#include "variante_pedido.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <sqlite3.h>
#include <vector>

namespace
{

// The screen as the logic sees it; nothing to show.
class VisaoMuda : public VisaoPedido
{
  public:
    void focar(CaixaPedido, int) override {}
    void confirmar(CaixaPedido, int) override {}
    void confirmarFoco() override {}
    void colorirPainel(const QColor &) override {}
    void fechar() override {}
};

struct Opcoes {
    std::vector<int> produtos{10000, 50000, 200000};
    std::vector<int> salvar{100, 300, 1000};
    std::vector<int> imprimir{100, 500, 2000};
    std::vector<int> pedidosNoArquivo{1000, 10000, 50000};
    int repeticoes = 5;
    QString pasta;
};

std::vector<int> lista(const QString &texto)
{
    std::vector<int> v;
    for (const QString &parte : texto.split(QLatin1Char(','), Qt::SkipEmptyParts))
        v.push_back(parte.toInt());
    return v;
}

Opcoes lerOpcoes(const QStringList &args)
{
    Opcoes o;
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString &a = args[i];
        const bool temValor = i + 1 < args.size();
        if (a == QLatin1String("--produtos") && temValor)
            o.produtos = lista(args[++i]);
        else if (a == QLatin1String("--salvar") && temValor)
            o.salvar = lista(args[++i]);
        else if (a == QLatin1String("--imprimir") && temValor)
            o.imprimir = lista(args[++i]);
        else if (a == QLatin1String("--pedidos-no-arquivo") && temValor)
            o.pedidosNoArquivo = lista(args[++i]);
        else if (a == QLatin1String("--repeticoes") && temValor)
            o.repeticoes = std::max(1, args[++i].toInt());
        else
            o.pasta = a;
    }
    return o;
}

int numeroDoPedido(int itens)
{
    return 1000000 + itens;
}

// Orders of the representative with the given numbers of items, on products
// with stock and without a sale multiple, so that every check passes; those
// products' codes.
std::vector<QByteArray> criarPedidos(const QString &banco, const std::set<int> &tamanhos)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(banco.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    std::vector<QByteArray> codigos;
    sqlite3_stmt *st = nullptr;
    sqlite3_prepare_v2(db, "SELECT CODIGO FROM tbproduto WHERE ESTOQUE >= 24 AND multiplo = 0", -1, &st, nullptr);
    while (sqlite3_step(st) == SQLITE_ROW)
        codigos.emplace_back(reinterpret_cast<const char *>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    exec(db, "BEGIN");
    Insercao cab(db, "tbpedido",
                 {"nr_pedido", "idFunc", "idCliente", "dt_pedido", "idforma", "impresso", "enviado", "vl_total_item",
                  "dv", "avista", "cif", "tp_localidade"});
    Insercao item(db, "tbpedido_item",
                  {"nr_pedido", "idfunc", "codigo", "quantidade", "valorUnitario", "valorTotal", "cd_desconto1",
                   "cd_desconto2", "cd_desconto3", "gordura1"});
    Aleatorio a;
    for (const int n : tamanhos) {
        cab.i(numeroDoPedido(n)).t("12").i(1).t("2010-10-01 10:00:00").i(2).i(0).i(0).r(0).i(1).i(0).t("Não").t("P");
        cab.gravar();
        for (int k = 0; k < n; ++k)
            item.i(numeroDoPedido(n))
                .t("12")
                .t(codigos[static_cast<std::size_t>(a.ate(static_cast<int>(codigos.size())))])
                .i(1 + a.ate(24))
                .r(0)
                .r(0)
                .t(a.ate(3) == 0 ? "A" : "0")
                .t("0")
                .t("0")
                .t("0")
                .gravar();
    }
    exec(db, "COMMIT");
    sqlite3_close(db);
    return codigos;
}

void exigir(bool condicao, const char *oque)
{
    if (!condicao)
        throw Erro(QStringLiteral("A medição não fez o que devia: %1").arg(QString::fromUtf8(oque)));
}

// The floor of a save: the same rows written as the program writes them
// (three money columns of each item with new values, the "à vista" level and
// three totals of the header), by rowid, with statements prepared once, in
// one transaction on a connection of its own.
class PisoSqlite
{
  public:
    explicit PisoSqlite(const QString &banco)
    {
        sqlite3_open_v2(banco.toUtf8().constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr);
        sqlite3_busy_timeout(m_db, 5000);
        sqlite3_prepare_v2(m_db,
                           "UPDATE tbpedido_item SET \"valorUnitario\"=?, \"vl_gordura\"=?, \"valorTotal\"=? "
                           "WHERE rowid=?",
                           -1, &m_item, nullptr);
        sqlite3_prepare_v2(m_db,
                           "UPDATE tbpedido SET \"vl_total_item\"=?, \"vl_acumulativo_pedido\"=?, \"vl_gordura\"=? "
                           "WHERE nr_pedido=?",
                           -1, &m_totais, nullptr);
        sqlite3_prepare_v2(m_db,
                           "UPDATE tbpedido SET \"vl_total_item\"=?, \"vl_acumulativo_pedido\"=?, \"vl_gordura\"=?, "
                           "\"avista\"=? WHERE nr_pedido=?",
                           -1, &m_totaisENivel, nullptr);
    }
    ~PisoSqlite()
    {
        sqlite3_finalize(m_item);
        sqlite3_finalize(m_totais);
        sqlite3_finalize(m_totaisENivel);
        sqlite3_close(m_db);
    }

    double salvar(int numero)
    {
        Amostras a;
        salvar(numero, std::nullopt, a);
        return a.decorrido.front();
    }

    // One save's elapsed and processor time, the reading of the rows to
    // write left out. Every row gets values other than those it has (SQLite
    // leaves a page alone when a row is rewritten as it was), as a save that
    // prices the items anew; with `avista`, the header's level changes too.
    void salvar(int numero, std::optional<int> avista, Amostras &amostras)
    {
        std::vector<std::pair<qint64, double>> itens;
        sqlite3_stmt *st = nullptr;
        sqlite3_prepare_v2(m_db, "SELECT rowid, valorTotal FROM tbpedido_item WHERE nr_pedido = ?", -1, &st, nullptr);
        sqlite3_bind_int64(st, 1, numero);
        while (sqlite3_step(st) == SQLITE_ROW)
            itens.emplace_back(sqlite3_column_int64(st, 0), sqlite3_column_double(st, 1));
        sqlite3_finalize(st);

        QElapsedTimer t;
        const double cpu = cpuMs();
        t.start();
        exec(m_db, "BEGIN");
        double total = 0;
        for (const auto &[rowid, valor] : itens) {
            sqlite3_bind_double(m_item, 1, valor + 1);
            sqlite3_bind_double(m_item, 2, 0);
            sqlite3_bind_double(m_item, 3, valor + 1);
            sqlite3_bind_int64(m_item, 4, rowid);
            sqlite3_step(m_item);
            sqlite3_reset(m_item);
            total += valor + 1;
        }
        cabecalho(numero, total, avista);
        exec(m_db, "COMMIT");
        amostras.acrescentar(t.nsecsElapsed() / 1e6, cpuMs() - cpu);
    }

    // The floor of one typed item: its row and the header's totals.
    double digitar(int numero)
    {
        QElapsedTimer t;
        t.start();
        exec(m_db, "BEGIN");
        {
            Insercao item(m_db, "tbpedido_item",
                          {"nr_pedido", "idfunc", "codigo", "quantidade", "valorUnitario", "valorTotal", "cd_desconto1",
                           "cd_desconto2", "cd_desconto3", "vl_gordura"});
            item.i(numero).t("12").t("P000001").i(2).r(10).r(20).t("0").t("0").t("0").r(0).gravar();
        }
        cabecalho(numero, 20);
        exec(m_db, "COMMIT");
        const double ms = t.nsecsElapsed() / 1e6;
        exec(m_db, QStringLiteral("DELETE FROM tbpedido_item WHERE rowid = %1")
                       .arg(sqlite3_last_insert_rowid(m_db))
                       .toUtf8()
                       .constData());
        return ms;
    }

  private:
    // The header's totals, and its "à vista" level when given.
    void cabecalho(int numero, double total, std::optional<int> avista = {})
    {
        sqlite3_stmt *st = avista ? m_totaisENivel : m_totais;
        sqlite3_bind_double(st, 1, total);
        sqlite3_bind_double(st, 2, 0);
        sqlite3_bind_double(st, 3, 0);
        if (avista)
            sqlite3_bind_int(st, 4, *avista);
        sqlite3_bind_int64(st, avista ? 5 : 4, numero);
        sqlite3_step(st);
        sqlite3_reset(st);
    }

    sqlite3 *m_db = nullptr;
    sqlite3_stmt *m_item = nullptr;
    sqlite3_stmt *m_totais = nullptr;
    sqlite3_stmt *m_totaisENivel = nullptr;
};

double medianaDe(int repeticoes, const std::function<double()> &f)
{
    std::vector<double> v;
    for (int i = 0; i < repeticoes; ++i)
        v.push_back(f());
    return mediana(v);
}

struct Resultado {
    std::map<int, double> salvar, pisoSalvar, imprimir;
    std::map<int, double> cpuSalvar, cpuPisoSalvar;
    double digitar = 0, pisoDigitar = 0;
};

// With `soSalvar`, only the save is measured.
Resultado medirCatalogo(const Opcoes &o, int produtos, int pedidosNoArquivo = Tamanhos().pedidos, bool soSalvar = false)
{
    QTemporaryDir temporaria;
    QString pasta = (o.pasta.isEmpty() ? temporaria.path() : o.pasta) +
                    QStringLiteral("/produtos-%1-pedidos-%2/").arg(produtos).arg(pedidosNoArquivo);
    QDir().mkpath(pasta + QStringLiteral("relatórios"));
    Tamanhos tamanhos;
    tamanhos.produtos = produtos;
    tamanhos.pedidos = pedidosNoArquivo;
    QElapsedTimer t;
    t.start();
    criarBanco(pasta, tamanhos);
    std::set<int> pedidos(o.salvar.begin(), o.salvar.end());
    pedidos.insert(o.imprimir.begin(), o.imprimir.end());
    const QString banco = pasta + QStringLiteral("corlando.db");
    const std::vector<QByteArray> codigos = criarPedidos(banco, pedidos);
    QFile::remove(pasta + QStringLiteral("pedido.rav"));
    QFile::copy(QStringLiteral(PASTA_FONTES "/templates/pedido.rav"), pasta + QStringLiteral("pedido.rav"));
    std::printf("\n%d produtos, %d clientes, %d pedidos de %d itens (banco gerado em %.1f s)\n", produtos,
                tamanhos.clientes, tamanhos.pedidos, tamanhos.itensPorPedido, t.elapsed() / 1000.0);

    Resultado r;
    TDM dm(pasta);
    VisaoMuda visao;
    LogicaPedido logica(VariantePedidoRegular(), visao);
    logica.abrir();
    PisoSqlite piso(banco);
    auto irPara = [&](int itens) {
        exigir(dm.QyPedido.localizar(QStringLiteral("nr_pedido"), QString::number(numeroDoPedido(itens))),
               "o pedido não foi encontrado");
    };

    for (const int n : o.salvar) {
        irPara(n);
        // Save and floor take turns, so that both meet the same machine; a
        // save after the floor's writes (another connection) reads the order
        // list again in full, so each turn saves twice and times the second.
        // Each save changes the "à vista" level, as the representative does
        // when the payment changes: every item takes a new price, so every
        // row is written anew, as the floor writes them.
        Amostras programa, pisoSalvar;
        int avista = 0;
        auto salvar = [&] {
            logica.clicar(AcaoPedido::Editar);
            avista = 1 - avista;
            dm.QyPedido.campo(QStringLiteral("avista")).setTexto(QString::number(avista));
            logica.clicar(AcaoPedido::Salvar);
            exigir(!dm.QyPedido.emEdicao() && dm.QyPedidoItem.quantidade() == n, "o pedido não foi salvo");
        };
        for (int i = 0; i < o.repeticoes; ++i) {
            salvar();
            cronometrar(programa, salvar);
            piso.salvar(numeroDoPedido(n), 1 - avista, pisoSalvar);
        }
        r.salvar[n] = programa.mediana();
        r.cpuSalvar[n] = programa.cpuMediana();
        r.pisoSalvar[n] = pisoSalvar.mediana();
        r.cpuPisoSalvar[n] = pisoSalvar.cpuMediana();
        std::printf("  salvar o pedido de %4d itens  %s | piso sqlite3 %s = %.2fx em CPU (meta: até 2x)\n", n,
                    qPrintable(programa.texto()), qPrintable(pisoSalvar.texto()),
                    programa.cpuMediana() / pisoSalvar.cpuMediana());
    }
    if (soSalvar)
        return r;

    const int menor = *std::min_element(o.salvar.begin(), o.salvar.end());
    irPara(menor);
    // Codes from all over the catalogue, as a representative types them.
    std::size_t proximo = 0;
    const auto [medDig, maxDig, cpuDig] = medir(o.repeticoes * 10, [&] {
        logica.clicar(AcaoPedido::NovoItem);
        proximo = (proximo + 7919) % codigos.size();
        dm.QyPedidoItem.campo(QStringLiteral("codigo")).setTexto(QString::fromUtf8(codigos[proximo]));
        logica.saiu(CaixaPedido::ItemCodigo);
        dm.QyPedidoItem.campo(QStringLiteral("quantidade")).setTexto(QStringLiteral("1"));
        logica.clicar(AcaoPedido::SalvarItem);
        exigir(!dm.QyPedidoItem.emEdicao() && !dm.QyPedido.emEdicao(), "o item não foi gravado");
    });
    r.digitar = medDig;
    r.pisoDigitar = medianaDe(o.repeticoes * 10, [&] { return piso.digitar(numeroDoPedido(menor)); });
    std::printf("  digitar um item (pedido de %d) %7.2f ms (máx. %.2f, CPU %.2f) | piso sqlite3 %6.2f ms = %5.2fx\n",
                menor, medDig, maxDig, cpuDig, r.pisoDigitar, medDig / r.pisoDigitar);

    const double vazio = residenteMB();
    for (const int n : o.imprimir) {
        irPara(n);
        zerarPico();
        const QString pdf = pasta + QStringLiteral("relatórios/pedido-%1.pdf").arg(numeroDoPedido(n));
        const Amostras m = amostrar(o.repeticoes, [&] {
            logica.clicar(AcaoPedido::Imprimir);
            exigir(QFile::exists(pdf) && !dm.QyPedido.emEdicao(), "o PDF não foi gerado");
        });
        r.imprimir[n] = m.mediana();
        const double pisoGravar = medianaDe(o.repeticoes, [&] { return piso.salvar(numeroDoPedido(n)); });
        std::printf("  \"Imprimir\" %4d itens  decorrido mín. %7.1f med. %7.1f ms | CPU mín. %7.1f med. %7.1f ms"
                    " | piso sqlite3 da gravação %6.1f ms; memória: pico %.0f MB = %.2fx os %.0f MB do programa"
                    " parado\n",
                    n, m.minimo(), m.mediana(), m.cpuMinimo(), m.cpuMediana(), pisoGravar, picoMB(), picoMB() / vazio,
                    vazio);
    }
    return r;
}

// The save along the orders on file, by processor time.
void resumoPedidos(const Opcoes &o, int produtos, const std::map<int, Resultado> &porPedidos)
{
    const int primeiro = porPedidos.begin()->first, ultimo = porPedidos.rbegin()->first;
    std::printf("\nSalvar com %d a %d pedidos no arquivo (%d produtos); meta: plano (CPU)\n", primeiro, ultimo,
                produtos);
    for (const int n : o.salvar) {
        std::printf("Salvar %4d itens, CPU:", n);
        for (const auto &[pedidos, r] : porPedidos)
            std::printf("  %d pedidos %.1f ms (piso %.1f = %.2fx)", pedidos, r.cpuSalvar.at(n), r.cpuPisoSalvar.at(n),
                        r.cpuSalvar.at(n) / r.cpuPisoSalvar.at(n));
        std::printf("; de %d a %d pedidos cresce %.2fx\n", primeiro, ultimo,
                    porPedidos.at(ultimo).cpuSalvar.at(n) / porPedidos.at(primeiro).cpuSalvar.at(n));
    }
}

void resumo(const Opcoes &o, const std::map<int, Resultado> &todos)
{
    const int primeiro = todos.begin()->first, ultimo = todos.rbegin()->first;
    std::printf("\nMetas: salvar 300 itens até 2x o piso em CPU, plano de 10 000 a 200 000 produtos e de 1 000 a\n"
                "50 000 pedidos no arquivo; digitar um item abaixo de 3 ms a 200 000; \"Imprimir\" 500 itens\n"
                "abaixo de 400 ms, 2000 abaixo de 1,5 s, com a memória abaixo de 2x a do programa parado.\n");
    for (const int n : o.salvar)
        std::printf("Salvar %4d itens: de %d a %d produtos cresce %.2fx em CPU (%.1f -> %.1f ms; piso %.1f -> %.1f "
                    "ms)\n",
                    n, primeiro, ultimo, todos.at(ultimo).cpuSalvar.at(n) / todos.at(primeiro).cpuSalvar.at(n),
                    todos.at(primeiro).cpuSalvar.at(n), todos.at(ultimo).cpuSalvar.at(n),
                    todos.at(primeiro).cpuPisoSalvar.at(n), todos.at(ultimo).cpuPisoSalvar.at(n));
    std::printf("Digitar um item: de %d a %d produtos cresce %.2fx (%.2f -> %.2f ms)\n", primeiro, ultimo,
                todos.at(ultimo).digitar / todos.at(primeiro).digitar, todos.at(primeiro).digitar,
                todos.at(ultimo).digitar);
    for (const int n : o.imprimir)
        std::printf("\"Imprimir\" %4d itens: de %d a %d produtos cresce %.2fx (%.1f -> %.1f ms)\n", n, primeiro, ultimo,
                    todos.at(ultimo).imprimir.at(n) / todos.at(primeiro).imprimir.at(n),
                    todos.at(primeiro).imprimir.at(n), todos.at(ultimo).imprimir.at(n));
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    DialogosTerminal dialogos;
    Dialogos::definir(&dialogos);
    try {
        const Opcoes o = lerOpcoes(app.arguments());
        std::map<int, Resultado> todos;
        for (const int produtos : o.produtos)
            todos[produtos] = medirCatalogo(o, produtos);
        resumo(o, todos);
        const int meio = o.produtos[o.produtos.size() / 2];
        std::map<int, Resultado> porPedidos;
        for (const int pedidos : o.pedidosNoArquivo)
            porPedidos[pedidos] =
                pedidos == Tamanhos().pedidos ? todos.at(meio) : medirCatalogo(o, meio, pedidos, true);
        if (!porPedidos.empty())
            resumoPedidos(o, meio, porPedidos);
    } catch (const Erro &e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.mensagem()));
        return 1;
    }
    return 0;
}
