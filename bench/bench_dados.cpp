// The data module on a large local database: the time to create DM (every
// data set opened) against reading the same rows with the sqlite3 C API, the
// resident memory of the open data sets against the database file's size,
// and the time of a LIKE filter and of a locate over the products.
//
// Usage: bench_dados [folder]   (a temporary folder by default)

#include "dialogos.h"
#include "erro.h"
#include "esquema.h"
#include "udm.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <sqlite3.h>
#include <unistd.h>
#include <vector>

namespace
{

constexpr int kProdutos = 50000;
constexpr int kClientes = 20000;
constexpr int kPedidos = 10000;
constexpr int kItensPorPedido = 10;
constexpr int kRepeticoes = 5;

// Messages would need a window; here they go to the terminal.
class DialogosTerminal : public Dialogos
{
  public:
    void mensagem(const QString &texto, const QString &, Icone) override
    {
        std::fprintf(stderr, "mensagem: %s\n", qPrintable(texto));
    }
    Resposta pergunta(const QString &, const QString &, Resposta padrao) override { return padrao; }
    RespostaTexto caixaTexto(const QString &, const QString &, const QString &, bool) override { return {}; }
    void pesquisar(LogicaPesquisa &) override {}
    QString caixaEntrada(const QString &, const QString &, const QString &padrao) override { return padrao; }
    void abrirArquivo(const QString &) override {}
    void iniciarPrograma(const QString &) override {}
    void processarEventos() override {}
    void tabela(const TabelaDialogo &) override {}
};

// A fixed-seed generator, so every run builds the same database.
class Aleatorio
{
  public:
    std::uint32_t proximo()
    {
        m_estado = m_estado * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<std::uint32_t>(m_estado >> 33);
    }
    int ate(int n) { return static_cast<int>(proximo() % static_cast<std::uint32_t>(n)); }
    double centavos(int maxReais) { return ate(maxReais * 100) / 100.0 + 0.01; }
    template <typename T, std::size_t N> const T &de(const T (&lista)[N]) { return lista[ate(static_cast<int>(N))]; }

  private:
    std::uint64_t m_estado = 20101031;
};

// One INSERT statement prepared once and run per row.
class Insercao
{
  public:
    Insercao(sqlite3 *db, const char *tabela, const std::vector<const char *> &colunas) : m_db(db)
    {
        QString nomes, marcas;
        for (const char *c : colunas) {
            nomes += QStringLiteral("%1\"%2\"").arg(nomes.isEmpty() ? "" : ",", QString::fromUtf8(c));
            marcas += marcas.isEmpty() ? QStringLiteral("?") : QStringLiteral(",?");
        }
        const QByteArray sql =
            QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(QString::fromUtf8(tabela), nomes, marcas).toUtf8();
        sqlite3_prepare_v2(db, sql.constData(), -1, &m_st, nullptr);
    }
    ~Insercao() { sqlite3_finalize(m_st); }
    Insercao &i(qint64 v)
    {
        sqlite3_bind_int64(m_st, ++m_n, v);
        return *this;
    }
    Insercao &r(double v)
    {
        sqlite3_bind_double(m_st, ++m_n, v);
        return *this;
    }
    Insercao &t(const QByteArray &v)
    {
        sqlite3_bind_text(m_st, ++m_n, v.constData(), static_cast<int>(v.size()), SQLITE_TRANSIENT);
        return *this;
    }
    void gravar()
    {
        if (sqlite3_step(m_st) != SQLITE_DONE)
            std::fprintf(stderr, "erro ao inserir: %s\n", sqlite3_errmsg(m_db));
        sqlite3_reset(m_st);
        m_n = 0;
    }

  private:
    sqlite3 *m_db;
    sqlite3_stmt *m_st = nullptr;
    int m_n = 0;
};

QByteArray data(Aleatorio &a, int anoInicial)
{
    return QStringLiteral("%1-%2-%3 %4:%5:00")
        .arg(anoInicial + a.ate(8))
        .arg(1 + a.ate(12), 2, 10, QLatin1Char('0'))
        .arg(1 + a.ate(28), 2, 10, QLatin1Char('0'))
        .arg(8 + a.ate(10), 2, 10, QLatin1Char('0'))
        .arg(a.ate(60), 2, 10, QLatin1Char('0'))
        .toUtf8();
}

void preencherProdutos(sqlite3 *db, Aleatorio &a)
{
    static const char *const tipos[] = {
        "Parafuso sextavado", "Porca sextavada", "Arruela lisa",       "Bucha de nylon",    "Fita isolante",
        "Disjuntor bipolar",  "Cabo flexível",   "Tomada 2P+T",        "Detergente neutro", "Água sanitária",
        "Sabão em pó",        "Lâmpada LED",     "Torneira de parede", "Conexão soldável",  "Registro de gaveta"};
    static const char *const medidas[] = {"1/4 x 2\"", "3/8\"", "6 mm",  "10 A",  "2,5 mm²", "500 ml",
                                          "1 L",       "9 W",   "20 mm", "3/4\"", "5 kg",    "branca"};
    static const char *const fabricantes[] = {"Fixabem",     "Eletrosul", "Limpamais", "Hidroforte",
                                              "Luzdobrasil", "Metalpar",  "Conexflex"};
    static const char *const unidades[] = {"UN", "CX", "PC", "KG", "LT"};
    Insercao ins(db, "tbproduto",
                 {"idProduto",   "CODIGO",        "PRODUTO",      "ESTOQUE",   "PRECOVENDA",  "grupo",
                  "POSICAO",     "PRECOCUSTO",    "PRECOLISTA",   "MINIMO",    "FABRICANTE",  "MARGEM",
                  "UNID",        "ICMS",          "IPI",          "kit",       "promocao",    "PRECOPROMO",
                  "UltCompra",   "ValUltCompra",  "QtdUltCompra", "UltVenda",  "ValUltVenda", "QtdUltVenda",
                  "plista",      "dolar",         "tributacao",   "pesobruto", "pesoliquido", "class",
                  "inativo",     "serv",          "tabela",       "multiplo",  "sittribu",    "classfis",
                  "semcomissao", "fixarprevenda", "pesavel",      "piscofins", "reta",        "iss"});
    for (int p = 1; p <= kProdutos; ++p) {
        const double preco = a.centavos(300);
        ins.i(p)
            .t(QStringLiteral("P%1").arg(p, 6, 10, QLatin1Char('0')).toUtf8())
            .t(QStringLiteral("%1 %2 %3")
                   .arg(QString::fromUtf8(a.de(tipos)), QString::fromUtf8(a.de(medidas)))
                   .arg(p)
                   .toUtf8())
            .r(a.ate(5) == 0 ? 0 : a.ate(2000) / 2.0)
            .r(preco)
            .t(QByteArray::number(1 + a.ate(40)))
            .t(QStringLiteral("Corredor %1").arg(1 + a.ate(30)).toUtf8())
            .r(preco * 0.6)
            .r(preco * 1.1)
            .r(a.ate(50))
            .t(a.de(fabricantes))
            .r(40)
            .t(a.de(unidades))
            .r(18)
            .r(a.ate(3) == 0 ? 5 : 0)
            .t("N")
            .t(a.ate(10) == 0 ? "S" : "N")
            .r(a.ate(10) == 0 ? preco * 0.9 : 0)
            .t(data(a, 2008))
            .r(preco * 0.6)
            .r(a.ate(500))
            .t(data(a, 2008))
            .r(preco)
            .r(a.ate(100))
            .i(1)
            .i(0)
            .t("T")
            .r(a.ate(1000) / 100.0)
            .r(a.ate(1000) / 100.0)
            .t("A")
            .i(a.ate(100) == 0)
            .i(0)
            .i(1)
            .r(a.ate(5) == 0 ? 12 : 0)
            .t("060")
            .t("8536.69.90")
            .i(0)
            .i(0)
            .i(0)
            .t("01")
            .i(0)
            .i(0)
            .gravar();
    }
}

void preencherClientes(sqlite3 *db, Aleatorio &a)
{
    static const char *const nomes[] = {"Comercial", "Distribuidora", "Mercado", "Ferragens", "Materiais", "Casa"};
    static const char *const sobrenomes[] = {"São Jorge", "Boa Esperança", "Irmãos Souza", "Paulista",
                                             "Mineira",   "do Vale",       "Santa Luzia",  "Aurora"};
    static const struct {
        const char *cidade, *uf;
    } cidades[] = {{"São Paulo", "SP"},      {"Campinas", "SP"}, {"Ribeirão Preto", "SP"},
                   {"Belo Horizonte", "MG"}, {"Curitiba", "PR"}, {"Goiânia", "GO"}};
    Insercao ins(db, "tbcliente", {"IdCliente",   "Nome",           "End",          "Tel",
                                   "Bairro",      "Cidade",         "UF",           "CEP",
                                   "Email",       "Contato",        "cnpj",         "Iest",
                                   "fantasia",    "cadastro",       "ultimacompra", "valultcompra",
                                   "maiorcompra", "valmaiorcompra", "menorcompra",  "valmenorcompra",
                                   "regiao",      "status",         "Cel",          "CliFPagto",
                                   "funcionario", "TipoCli",        "tolera"});
    for (int c = 1; c <= kClientes; ++c) {
        const auto &cid = a.de(cidades);
        const QString fantasia =
            QStringLiteral("%1 %2").arg(QString::fromUtf8(a.de(nomes)), QString::fromUtf8(a.de(sobrenomes)));
        ins.i(c)
            .t((fantasia + QStringLiteral(" Ltda %1").arg(c)).toUtf8())
            .t(QStringLiteral("Rua das Flores, %1").arg(1 + a.ate(2000)).toUtf8())
            .t(QStringLiteral("(11) 3%1-%2")
                   .arg(a.ate(1000), 3, 10, QLatin1Char('0'))
                   .arg(a.ate(10000), 4, 10, QLatin1Char('0'))
                   .toUtf8())
            .t("Centro")
            .t(cid.cidade)
            .t(cid.uf)
            .t(QStringLiteral("%1-%2").arg(10000 + a.ate(89999)).arg(a.ate(1000), 3, 10, QLatin1Char('0')).toUtf8())
            .t(QStringLiteral("compras%1@exemplo.com.br").arg(c).toUtf8())
            .t("Sr. Gerente")
            .t(QStringLiteral("%1.%2.%3/0001-%4")
                   .arg(10 + a.ate(89))
                   .arg(a.ate(1000), 3, 10, QLatin1Char('0'))
                   .arg(a.ate(1000), 3, 10, QLatin1Char('0'))
                   .arg(a.ate(100), 2, 10, QLatin1Char('0'))
                   .toUtf8())
            .t("ISENTO")
            .t(fantasia.left(25).toUtf8())
            .t(data(a, 2005))
            .t(data(a, 2010))
            .r(a.centavos(5000))
            .t(data(a, 2009))
            .r(a.centavos(20000))
            .t(data(a, 2009))
            .r(a.centavos(500))
            .t(QStringLiteral("%1").arg(1 + a.ate(20), 2, 10, QLatin1Char('0')).toUtf8())
            .t("ATIVO")
            .t("(11) 99999-0000")
            .t(QByteArray::number(1 + a.ate(5)))
            .t("12")
            .t("Varejo")
            .i(30)
            .gravar();
    }
}

void preencherPedidos(sqlite3 *db, Aleatorio &a)
{
    Insercao cab(db, "tbpedido",
                 {"nr_pedido", "idFunc", "idCliente", "dt_pedido", "nm_forma_pagamento", "tp_localidade", "idforma",
                  "impresso", "enviado", "vl_total_item", "dv", "avista", "observacao", "cif", "vl_gordura"});
    Insercao item(db, "tbpedido_item",
                  {"nr_pedido", "idfunc", "codigo", "quantidade", "valorUnitario", "valorTotal", "cd_desconto1",
                   "cd_desconto2", "cd_desconto3", "desconto", "gordura1", "vl_gordura"});
    for (int p = 1; p <= kPedidos; ++p) {
        double total = 0;
        for (int k = 0; k < kItensPorPedido; ++k) {
            const int qtd = 1 + a.ate(24);
            const double unitario = a.centavos(300);
            total += qtd * unitario;
            item.i(p)
                .t("12")
                .t(QStringLiteral("P%1").arg(1 + a.ate(kProdutos), 6, 10, QLatin1Char('0')).toUtf8())
                .i(qtd)
                .r(unitario)
                .r(qtd * unitario)
                .t("0")
                .t(a.ate(4) == 0 ? "A" : "0")
                .t("0")
                .r(0)
                .t("0")
                .r(0)
                .gravar();
        }
        cab.i(p)
            .t("12")
            .i(1 + a.ate(kClientes))
            .t(data(a, 2009))
            .t("28 dias")
            .t("N")
            .i(1 + a.ate(5))
            .i(a.ate(2))
            .i(a.ate(2))
            .r(total)
            .i(0)
            .i(0)
            .t("Entregar pela manhã")
            .t("Não")
            .r(0)
            .gravar();
    }
}

void exec(sqlite3 *db, const char *sql)
{
    sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
}

void criarBanco(const QString &pasta)
{
    const QString banco = pasta + QStringLiteral("corlando.db");
    QFile::remove(banco);
    Esquema::criarBancoLocal(banco);
    sqlite3 *db = nullptr;
    sqlite3_open_v2(banco.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    exec(db, "BEGIN");
    Aleatorio a;
    preencherProdutos(db, a);
    preencherClientes(db, a);
    preencherPedidos(db, a);
    exec(db, "INSERT INTO tbfuncionario (idfunc, Nome) VALUES ('12', 'JOÃO SILVA');"
             "INSERT INTO tbforma (idforma, codigo, Forma) VALUES (1, '001', 'Dinheiro'), (2, '002', 'Boleto 28 "
             "dias'), (3, '003', 'Boleto 28/56'), (4, '004', 'Cheque 30 dias'), (5, '005', 'Cartão');"
             "INSERT INTO tblocalidades VALUES ('P', 'Praça'), ('N', 'Normal'), ('S', 'Sede');"
             "INSERT INTO tbconfiguracoes (cod_funcionario) VALUES ('12');");
    exec(db, "COMMIT");
    sqlite3_close(db);
    auto escrever = [&](const char *nome, const char *texto) {
        QFile f(pasta + QString::fromUtf8(nome));
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(texto);
    };
    escrever("Mirvale.ini", "[CONEXAO]\nPATH=local.udl\nPATH-BKP=central.udl\n");
    escrever("local.udl", "[LINK]\nDRIVER=QSQLITE\nDATABASE=corlando.db\n");
}

// The floor: the rows DM holds once created, read with the sqlite3 C API,
// every value taken out once. Returns the time and the rows read.
std::pair<double, int> piso(const QString &banco)
{
    const char *const consultas[] = {
        "select * from tbcliente order by idcliente",
        "select * from tbproduto order by codigo",
        "select * from tbfuncionario",
        "select * from tbpedido_item where nr_pedido = ?",
        "select * from tbforma",
        "select * from tbpedido_pacote where nr_pedido = ?",
        "select * from tbpedido_troca1 where nr_pedido = ?",
        "select * from tbpedido_troca2 where nr_pedido = ?",
        "select * from tblocalidades",
        "SELECT codigo,SUM(Quantidade) as Quantidade,SUM(ValorTotal) as Totais FROM tbpedido_item GROUP BY codigo "
        "ORDER BY SUM(Quantidade) ASC",
        "select * from tbconfiguracoes",
        "select * from tbpedido_pendente order by nr_pedido",
        "select * from tbpedido_venda_casada where nr_pedido = ?",
        "select * from tbpedido order by nr_pedido desc",
    };
    QElapsedTimer t;
    t.start();
    sqlite3 *db = nullptr;
    sqlite3_open_v2(banco.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    int linhas = 0;
    for (const char *sql : consultas) {
        sqlite3_stmt *st = nullptr;
        sqlite3_prepare_v2(db, sql, -1, &st, nullptr);
        if (sqlite3_bind_parameter_count(st) > 0)
            sqlite3_bind_int64(st, 1, kPedidos); // the first order of the list
        const int n = sqlite3_column_count(st);
        for (; sqlite3_step(st) == SQLITE_ROW; ++linhas)
            for (int i = 0; i < n; ++i)
                switch (sqlite3_column_type(st, i)) {
                case SQLITE_INTEGER:
                    sqlite3_column_int64(st, i);
                    break;
                case SQLITE_FLOAT:
                    sqlite3_column_double(st, i);
                    break;
                case SQLITE_TEXT:
                    sqlite3_column_text(st, i);
                    sqlite3_column_bytes(st, i);
                    break;
                default:
                    break;
                }
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return {t.nsecsElapsed() / 1e6, linhas};
}

int linhasDoDM(const TDM &dm)
{
    int linhas = 0;
    for (const ConjuntoDados *c : dm.conjuntos())
        linhas += c->quantidade();
    return linhas;
}

double residenteMB()
{
    QFile f(QStringLiteral("/proc/self/statm"));
    f.open(QIODevice::ReadOnly);
    const QList<QByteArray> campos = f.readAll().split(' ');
    return campos.value(1).toDouble() * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

double mediana(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Median and worst of several runs of one operation, in milliseconds; the
// undoing step between runs is not timed.
std::pair<double, double> medir(const std::function<void()> &operacao, const std::function<void()> &desfazer)
{
    std::vector<double> tempos;
    for (int i = 0; i < kRepeticoes; ++i) {
        QElapsedTimer t;
        t.start();
        operacao();
        tempos.push_back(t.nsecsElapsed() / 1e6);
        desfazer();
    }
    return {mediana(tempos), *std::max_element(tempos.begin(), tempos.end())};
}

} // namespace

int executar(int argc, char **argv);

int main(int argc, char **argv)
{
    try {
        return executar(argc, argv);
    } catch (const Erro &e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.mensagem()));
        return 1;
    }
}

int executar(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QCoreApplication app(argc, argv);
    DialogosTerminal dialogos;
    Dialogos::definir(&dialogos);
    QTemporaryDir temporaria;
    QString pasta = argc > 1 ? QString::fromLocal8Bit(argv[1]) : temporaria.path();
    if (!pasta.endsWith(QLatin1Char('/')))
        pasta += QLatin1Char('/');
    QDir().mkpath(pasta);

    QElapsedTimer t;
    t.start();
    criarBanco(pasta);
    const double arquivoMB = QFileInfo(pasta + QStringLiteral("corlando.db")).size() / (1024.0 * 1024.0);
    std::printf("Banco: %d produtos, %d clientes, %d pedidos, %d itens; arquivo %.1f MB (gerado em %.1f s)\n",
                kProdutos, kClientes, kPedidos, kPedidos * kItensPorPedido, arquivoMB, t.elapsed() / 1000.0);

    // Memory first, on the first data module of the process.
    piso(pasta + QStringLiteral("corlando.db")); // warms the file cache
    const double antes = residenteMB();
    auto dm = std::make_unique<TDM>(pasta);
    const double memoria = residenteMB() - antes;
    const int linhasDm = linhasDoDM(*dm);
    dm.reset();

    std::vector<double> pisos, criacoes;
    int linhasPiso = 0;
    for (int i = 0; i < kRepeticoes; ++i) {
        const auto [ms, linhas] = piso(pasta + QStringLiteral("corlando.db"));
        pisos.push_back(ms);
        linhasPiso = linhas;
        QElapsedTimer c;
        c.start();
        TDM outro(pasta);
        criacoes.push_back(c.nsecsElapsed() / 1e6);
    }
    const double tPiso = mediana(pisos);
    const double tCriacao = mediana(criacoes);
    std::printf("Piso (sqlite3, as mesmas linhas):        %8.1f ms  (%d linhas; o DM guarda %d)\n", tPiso, linhasPiso,
                linhasDm);
    std::printf("Criação do DM (todos os conjuntos):      %8.1f ms  = %.2fx o piso (meta: até 2x)\n", tCriacao,
                tCriacao / tPiso);
    std::printf("Memória residente dos conjuntos abertos: %8.1f MB  = %.2fx o arquivo (meta: abaixo de 3x)\n", memoria,
                memoria / arquivoMB);

    TDM dados(pasta);
    ConjuntoDados &produtos = dados.QyProduto;
    const QString ultimo = produtos.registro(produtos.quantidade() - 1).campo(QStringLiteral("PRODUTO")).texto();
    auto filtro = [&](const char *texto) {
        return [&produtos, texto] {
            produtos.setFiltro(QString::fromUtf8(texto));
            produtos.setFiltrado(true);
        };
    };
    auto localizar = [&](const char *coluna, const QString &valor) {
        return [&produtos, coluna, valor] { produtos.localizar(QString::fromUtf8(coluna), valor); };
    };
    const struct {
        const char *nome;
        std::function<void()> operacao;
    } operacoes[] = {
        {"filtro PRODUTO LIKE '*parafuso*'", filtro("PRODUTO LIKE '*parafuso*'")},
        {"filtro PRODUTO LIKE '*conexão*'", filtro("PRODUTO LIKE '*conexão*'")},
        {"filtro FABRICANTE='fixabem' AND PRECOVENDA>=100", filtro("FABRICANTE='fixabem' AND PRECOVENDA>=100")},
        {"localizar CODIGO do último produto", localizar("CODIGO", QStringLiteral("p%1").arg(kProdutos))},
        {"localizar PRODUTO do último produto", localizar("PRODUTO", ultimo)},
        {"localizar um código que não existe", localizar("CODIGO", QStringLiteral("X"))},
    };
    for (const auto &o : operacoes) {
        const auto [med, max] = medir(o.operacao, [&] {
            produtos.setFiltrado(false);
            produtos.primeiro();
        });
        std::printf("%-48s %6.2f ms (máx. %.2f) = %.2fx a meta de 20 ms\n", o.nome, med, max, max / 20.0);
    }
    return 0;
}
