// The customer and product screens on a large installation (50 000
// products, 20 000 customers, 10 000 orders): opening each screen, sorting
// the product list by each column, the two searches and storing or deleting
// a customer, each against reading the same rows with the sqlite3 C API in
// the same run. Runs offscreen.
//
// Usage: bench_cadastros [folder]   (a temporary folder by default)

#include "banco_bench.h"
#include "dialogos.h"
#include "esquema.h"
#include "logica_pesquisa.h"
#include "tela_cliente.h"
#include "tela_produto.h"
#include "udm.h"
#include "upesquisa.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <sqlite3.h>
#include <vector>

namespace
{

constexpr int kProdutos = 50000;
constexpr int kClientes = 20000;
constexpr int kPedidos = 10000;
constexpr int kRepeticoes = 5;

// The search dialog's user types a text and presses Ok; questions take
// their default; messages go to the terminal.
class DialogosBench : public DialogosTerminal
{
  public:
    QString procurar;
    Resposta pergunta(const QString &, const QString &, Resposta) override { return Resposta::Sim; }
    void pesquisar(LogicaPesquisa &logica) override
    {
        logica.iniciar();
        logica.setTexto(procurar);
        logica.pesquisar();
    }
};

// Rows filled in bulk, with the columns a real catalogue fills.
void criarBanco(const QString &pasta)
{
    sqlite3 *db = abrirBancoNovo(pasta);
    const QByteArray sql =
        QStringLiteral(
            "BEGIN;"
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1)"
            " INSERT INTO tbproduto (idProduto, CODIGO, PRODUTO, ESTOQUE, PRECOVENDA, grupo, POSICAO, PRECOCUSTO,"
            " PRECOLISTA, MINIMO, FABRICANTE, MARGEM, UNID, ICMS, IPI, kit, promocao, PRECOPROMO, UltCompra,"
            " ValUltCompra, UltVenda, ValUltVenda, multiplo, classfis, inativo)"
            " SELECT i, printf('P%06d', (i * 7919) % %1 + 1),"
            " printf('%s %d', CASE i % 5 WHEN 0 THEN 'Parafuso sextavado' WHEN 1 THEN 'Arruela lisa'"
            " WHEN 2 THEN 'Lâmpada LED' WHEN 3 THEN 'Sabão em pó' ELSE 'Torneira de parede' END, i),"
            " (i * 37) % 2000 / 2.0, ((i * 131) % 30000) / 100.0 + 0.01, printf('%d', i % 40),"
            " printf('Corredor %d', i % 30), 1.5, 2.5, i % 50,"
            " CASE i % 4 WHEN 0 THEN 'Fixabem' WHEN 1 THEN 'Eletrosul' WHEN 2 THEN 'Limpamais' ELSE 'Metalpar' END,"
            " 40, 'UN', 18, 0, 'N', 'N', 0, '2024-05-10 10:00:00', 1.2, '2025-01-02 09:00:00', 2.3, i % 7,"
            " '8536.69.90', 0 FROM n;"
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %2)"
            " INSERT INTO tbcliente (IdCliente, Nome, End, Tel, Bairro, Cidade, UF, CEP, Email, Contato, cnpj, Iest,"
            " fantasia, cadastro, ultimacompra, valultcompra, regiao, status, CliFPagto, funcionario, TipoCli)"
            " SELECT i, printf('Comercial São Jorge %d Ltda', i), printf('Rua das Flores, %d', i),"
            " '(11) 3333-4444', 'Centro', 'Campinas', 'SP', '13010-100', printf('compras%d@exemplo.com.br', i),"
            " 'Sr. Gerente', '11.222.333/0001-81', 'ISENTO', printf('São Jorge %d', i), '2010-01-01 00:00:00',"
            " '2025-03-01 00:00:00', 123.45, '01', 'ATIVO', '1', '12', 'Varejo' FROM n;"
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %3)"
            " INSERT INTO tbpedido (nr_pedido, idFunc, idCliente, dt_pedido, vl_total_item, cif)"
            " SELECT i, '12', (i * 13) % %2 + 1, '2025-06-01 10:00:00', 100, 'Não' FROM n;"
            "INSERT INTO tbfuncionario (idfunc, Nome) VALUES ('12', 'JOÃO SILVA');"
            "INSERT INTO tbforma (idforma, codigo, Forma) VALUES (1, '001', 'Dinheiro'), (2, '002', 'Boleto');"
            "INSERT INTO tbconfiguracoes (cod_funcionario) VALUES ('12');"
            "COMMIT;")
            .arg(kProdutos)
            .arg(kClientes)
            .arg(kPedidos)
            .toUtf8();
    exec(db, sql.constData());
    sqlite3_close(db);
    escreverConfiguracao(pasta);
}

// The floor: the rows of a query read with the sqlite3 C API, every value
// taken out once, in milliseconds.
double lerComSqlite(const QString &banco, const QString &consulta)
{
    QElapsedTimer t;
    t.start();
    sqlite3 *db = nullptr;
    sqlite3_open_v2(banco.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt *st = nullptr;
    sqlite3_prepare_v2(db, consulta.toUtf8().constData(), -1, &st, nullptr);
    const int n = sqlite3_column_count(st);
    while (sqlite3_step(st) == SQLITE_ROW)
        for (int i = 0; i < n; ++i)
            if (sqlite3_column_type(st, i) == SQLITE_TEXT)
                sqlite3_column_bytes(st, i);
            else
                sqlite3_column_double(st, i);
    sqlite3_finalize(st);
    sqlite3_close(db);
    return t.nsecsElapsed() / 1e6;
}

// The median of several runs of an operation; the preparation before each
// run is not timed.
double mediana(
    const std::function<void()> &operacao, const std::function<void()> &preparar = [] {})
{
    std::vector<double> tempos;
    for (int i = 0; i < kRepeticoes; ++i) {
        preparar();
        QElapsedTimer t;
        t.start();
        operacao();
        tempos.push_back(t.nsecsElapsed() / 1e6);
    }
    std::sort(tempos.begin(), tempos.end());
    return tempos[tempos.size() / 2];
}

void linha(const char *oQue, double ms, double piso)
{
    std::printf("%-44s %9.1f ms   %6.2f x leitura sqlite3 (%.1f ms)\n", oQue, ms, ms / piso, piso);
}

// The floor of one keystroke: the same narrowing as SQL LIKE over the
// product table, every value of the rows it keeps read once.
double filtrarComSqlite(sqlite3 *db, const QString &texto)
{
    sqlite3_stmt *st = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT codigo, produto, precovenda, estoque FROM tbproduto WHERE produto LIKE ?1"
                       " ORDER BY produto",
                       -1, &st, nullptr);
    const QByteArray padrao = (QLatin1Char('%') + texto + QLatin1Char('%')).toUtf8();
    sqlite3_bind_text(st, 1, padrao.constData(), static_cast<int>(padrao.size()), SQLITE_TRANSIENT);
    int linhas = 0;
    while (sqlite3_step(st) == SQLITE_ROW) {
        ++linhas;
        for (int i = 0; i < 4; ++i)
            if (sqlite3_column_type(st, i) == SQLITE_TEXT)
                sqlite3_column_bytes(st, i);
            else
                sqlite3_column_double(st, i);
    }
    sqlite3_finalize(st);
    return linhas;
}

// The search dialog's narrowing as the user types a description, key by key,
// over every product, with the grid on screen following it; against the
// floor above for the same text.
void medirDigitacao(const QString &banco, TDM &dm)
{
    // As the search service opens it: without the last search's filter.
    dm.QyPesquisa.fechar();
    dm.QyPesquisa.setFiltro(QString());
    dm.QyPesquisa.setFiltrado(false);
    dm.QyPesquisa.setSql(QStringLiteral("SELECT codigo, produto, precovenda, estoque FROM tbproduto order by produto"));
    dm.QyPesquisa.abrir();
    LogicaPesquisa logica(dm.QyPesquisa);
    TfrmPesquisa dialogo(logica);
    dialogo.show();
    QApplication::processEvents();
    sqlite3 *db = nullptr;
    sqlite3_open_v2(banco.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);

    const QString digitado = QStringLiteral("parede 123");
    std::printf("\npesquisa de produtos, uma tecla por vez (%d produtos)\n", dm.QyPesquisa.quantidade());
    std::printf("%-14s %7s %10s %10s %10s %10s %8s\n", "texto", "linhas", "cpu ms", "mediana ms", "pior ms", "LIKE cpu",
                "razao");
    std::vector<double> cpus, pisos;
    for (qsizetype n = 1; n <= digitado.size(); ++n) {
        const QString texto = digitado.left(n);
        const Medida m = medir(kRepeticoes, [&] {
            logica.estreitar(texto);
            QApplication::processEvents();
        });
        const int linhas = dm.QyPesquisa.quantidade();
        const Medida piso = medir(kRepeticoes, [&] { filtrarComSqlite(db, texto); });
        cpus.push_back(m.cpu);
        pisos.push_back(piso.cpu);
        std::printf("%-14s %7d %10.1f %10.1f %10.1f %10.1f %7.2fx\n",
                    qPrintable(QLatin1Char('"') + texto + QLatin1Char('"')), linhas, m.cpu, m.mediana, m.maximo,
                    piso.cpu, m.cpu / piso.cpu);
    }
    const double cpu = ::mediana(cpus), piso = ::mediana(pisos);
    std::printf("por tecla: cpu mediana %.1f ms (pior %.1f ms); LIKE do sqlite3 %.1f ms; %.2fx\n\n", cpu,
                *std::max_element(cpus.begin(), cpus.end()), piso, cpu / piso);
    sqlite3_close(db);
    dialogo.close();
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    QApplication app(argc, argv);
    QTemporaryDir temporaria;
    QString pasta = argc > 1 ? QString::fromLocal8Bit(argv[1]) : temporaria.path();
    if (!pasta.endsWith(QLatin1Char('/')))
        pasta += QLatin1Char('/');
    criarBanco(pasta);
    const QString banco = pasta + QStringLiteral("corlando.db");
    DialogosBench dialogos;
    Dialogos::definir(&dialogos);
    TDM dm(pasta);
    std::printf("%d produtos, %d clientes, %d pedidos; mediana de %d vezes\n\n", dm.QyProduto.quantidade(),
                dm.QyCliente.quantidade(), kPedidos, kRepeticoes);

    const double pisoProdutos = lerComSqlite(banco, QStringLiteral("select * from tbproduto order by codigo"));
    const double pisoClientes = lerComSqlite(banco, QStringLiteral("select * from tbcliente order by idcliente"));

    linha("abrir a tela de clientes", mediana([] {
              TfrmCliente tela;
              tela.show();
              QApplication::processEvents();
          }),
          pisoClientes);
    linha("abrir a tela de produtos", mediana([] {
              TFrmProduto tela;
              tela.show();
              QApplication::processEvents();
              tela.close();
          }),
          pisoProdutos);

    LogicaProduto produtos;
    for (const char *coluna : {"CODIGO", "PRODUTO", "ESTOQUE", "PRECOVENDA", "FABRICANTE"}) {
        const QString nome = QString::fromUtf8(coluna);
        const QByteArray rotulo = QStringLiteral("ordenar os produtos por %1").arg(nome).toUtf8();
        linha(rotulo.constData(), mediana([&] { produtos.ordenar(nome); }),
              lerComSqlite(banco, QStringLiteral("select * from tbproduto order by ") + nome));
    }
    linha("fechar a tela depois de ordenar",
          mediana([&] { produtos.aoFechar(); }, [&] { produtos.ordenar(QStringLiteral("PRODUTO")); }), pisoProdutos);

    dialogos.procurar = QStringLiteral("P031415");
    linha("procurar um produto pelo codigo", mediana([&] { produtos.pesquisar(); }),
          lerComSqlite(banco, QStringLiteral("SELECT codigo, produto, estoque, fabricante FROM tbproduto order by "
                                             "codigo")));

    struct VisaoVazia : VisaoCliente {
        void focar(CaixaCliente) override {}
        QString digitado(CaixaCliente) const override { return {}; }
        void confirmar() override {}
        void mostrarContador(const QString &) override {}
    } visao;
    LogicaCliente clientes(visao);
    const double pisoPesquisa =
        lerComSqlite(banco, QStringLiteral("SELECT nome, cnpj, idcliente FROM tbcliente order by idcliente"));
    dialogos.procurar = QStringLiteral("Comercial São Jorge 15432 Ltda");
    linha("procurar um cliente pelo nome exato", mediana([&] { clientes.clicar(AcaoCliente::Pesquisar); }),
          pisoPesquisa);
    dialogos.procurar = QStringLiteral("São Jorge 1543");
    linha("procurar clientes por parte do nome", mediana([&] { clientes.clicar(AcaoCliente::Pesquisar); }),
          pisoPesquisa);

    TfrmCliente tela;
    tela.show();
    QApplication::processEvents();
    dm.QyCliente.localizar(QStringLiteral("IdCliente"), QStringLiteral("14"));
    linha("editar e salvar um cliente", mediana([&] {
              tela.logica().clicar(AcaoCliente::Editar);
              tela.logica().clicar(AcaoCliente::Salvar);
          }),
          pisoClientes);
    linha("excluir um cliente com pedidos (recusado)", mediana([&] { tela.logica().clicar(AcaoCliente::Excluir); }),
          pisoClientes);
    medirDigitacao(banco, dm);
    Dialogos::definir(nullptr);
    return 0;
}
