#include "documentos_teste.h"
#include "envio_pedido.h"
#include "erro.h"
#include "pedido_central.h"
#include "servidor_central.h"
#include "servidor_postgres.h"
#include "servidor_smtp.h"

#include <QElapsedTimer>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <iostream>
#include <memory>
#include <thread>

#include <sqlite3.h>

namespace
{

// One server for the whole test program.
ServidorPostgres &pg()
{
    static const std::unique_ptr<ServidorPostgres> servidor = std::make_unique<ServidorPostgres>();
    return *servidor;
}

// The central copy of an order: header fields, then its items, one per line.
QString central(const QString &representante, int nr, const char *itens = "tbpedido_item")
{
    return pg().consultar(
        QStringLiteral("SELECT (SELECT string_agg(tipo || ' ' || status || ' ' || vl_total_item::text || ' ' || "
                       "coalesce(observacao, '-'), ',') FROM tbpedido WHERE representante = '%1' AND nr_pedido = %2) "
                       "|| ' | ' || coalesce((SELECT string_agg(codigo || ' x' || quantidade || ' = ' || valortotal, "
                       "', ' ORDER BY item) FROM %3 WHERE representante = '%1' AND nr_pedido = %2), '')")
            .arg(representante)
            .arg(nr)
            .arg(QLatin1String(itens)));
}

// The local database of a program folder, opened apart from any data module.
class BancoLocal
{
  public:
    explicit BancoLocal(const QString &arquivo)
    {
        if (sqlite3_open_v2(arquivo.toUtf8().constData(), &m_banco, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
            throw Erro(QStringLiteral("não abriu %1").arg(arquivo));
        sqlite3_busy_timeout(m_banco, 10000);
    }
    ~BancoLocal() { sqlite3_close(m_banco); }
    sqlite3 *handle() const { return m_banco; }

  private:
    sqlite3 *m_banco = nullptr;
};

QString sqlPedido(const QString &representante, int nr, int itens)
{
    QString sql = QStringLiteral("INSERT INTO tbpedido (nr_pedido, idFunc, idCliente, dt_pedido, vl_total_item, cif, "
                                 "impresso, enviado) VALUES (%1, '%2', 57, '2026-12-01 10:00:00', %3, 'Sim', 0, 0);")
                      .arg(nr)
                      .arg(representante)
                      .arg(itens * (itens + 1) / 2 * 1.5);
    for (int i = 1; i <= itens; ++i)
        sql += QStringLiteral("INSERT INTO tbpedido_item (nr_pedido, idfunc, codigo, quantidade, valorUnitario, "
                              "valorTotal) VALUES (%1, '%2', 'P%3', %3, 1.5, %4);")
                   .arg(nr)
                   .arg(representante)
                   .arg(i)
                   .arg(i * 1.5);
    return sql;
}

void inserirPedido(const PastaProgramaTeste &pasta, const QString &representante, int nr, int itens)
{
    pasta.executar(sqlPedido(representante, nr, itens));
}

class EnvioCentral : public DocumentosTeste
{
  protected:
    void SetUp() override
    {
        DocumentosTeste::SetUp();
        instalarModelos();
        pasta.executar(QStringLiteral("UPDATE tbconfiguracoes SET email_host = '127.0.0.1:%1', email_usuario = '%2',"
                                      " email_senha = '%3', email_de = 'vendas@empresa.com.br',"
                                      " email_para = 'central1@empresa.com.br'")
                           .arg(smtp.porta())
                           .arg(smtp.usuario(), smtp.senha()));
        inserirPedido1234();
        rep = pg().criarRepresentante(QStringLiteral("rep_12"), QStringLiteral("doze"), QStringLiteral("12"));
        ServidorPostgres::escreverLink(pasta.arquivo(QStringLiteral("central.udl")), rep);
    }

    void enviarACentral1()
    {
        dialogos.limpar();
        dialogos.escolher({false, true, false, false});
        EnviarPedido(TipoPedido::Pedido, acoes(TipoPedido::Pedido));
    }

    ServidorSmtp smtp;
    LinkServidor rep;
};

TEST_F(EnvioCentral, EnviarGravaOPedidoEReenviarSubstituiSemDobrar)
{
    abrirNaTela(1234, "vl_total_item>=0");
    enviarACentral1();
    EXPECT_EQ(dialogos.textos(QStringLiteral("mensagem")), QStringList{"O pedido ( 1234 ):\nCentral 1: enviado."});
    EXPECT_EQ(smtp.quantidade(), 1) << "a mensagem à central vai também";
    EXPECT_EQ(marcado("enviado", 1234), QStringLiteral("1"));
    EXPECT_EQ(central(QStringLiteral("12"), 1234),
              QStringLiteral("pedido recebido 1336.0380 Entregar pela manhã | ABC123 x10 = 101.5380, "
                             "7891000 x150 = 1234.5000"));

    // The company invoices it; the representative changes and re-sends it.
    pg().executar(QStringLiteral("UPDATE tbpedido SET status = 'faturado' WHERE nr_pedido = 1234"));
    pasta.executar(QStringLiteral("DELETE FROM tbpedido_item WHERE codigo = 'ABC123';"
                                  "UPDATE tbpedido SET vl_total_item = 1234.5, observacao = 'Sem o parafuso'"));
    dialogos.limpar();
    dm.reset();
    abrirNaTela(1234, "vl_total_item>=0");
    enviarACentral1();
    EXPECT_EQ(central(QStringLiteral("12"), 1234),
              QStringLiteral("pedido faturado 1234.5000 Sem o parafuso | 7891000 x150 = 1234.5000"));
    EXPECT_EQ(pg().consultar(QStringLiteral("SELECT count(*) FROM tbpedido")), QStringLiteral("1"));
}

TEST_F(EnvioCentral, ServidorForaDoArDizQueNaoFoiEnviadoENaoMarca)
{
    LinkServidor fora = rep;
    fora.porta = QString::number(portaLivre());
    ServidorPostgres::escreverLink(pasta.arquivo(QStringLiteral("central.udl")), fora);
    abrirNaTela(1234, "vl_total_item>=0");
    enviarACentral1();
    const QStringList caixas = dialogos.textos(QStringLiteral("mensagem"));
    ASSERT_EQ(caixas.size(), 1);
    EXPECT_TRUE(caixas[0].startsWith(QStringLiteral("O pedido ( 1234 ):\nCentral 1: não enviado. ")));
    EXPECT_TRUE(caixas[0].contains(QStringLiteral("Connection refused"))) << caixas[0].toStdString();
    EXPECT_FALSE(caixas[0].contains(QStringLiteral("doze"))) << "nunca a senha";
    EXPECT_EQ(marcado("enviado", 1234), QStringLiteral("0"));
    EXPECT_EQ(smtp.quantidade(), 0);
}

class PedidoCentral : public ::testing::Test
{
  protected:
    PastaProgramaTeste pasta;
};

// A kill -9 of the server process while the order is being written: the
// central keeps the order as it was, whole, or not at all.
TEST_F(PedidoCentral, MorteDoServidorNoMeioDaGravacaoNaoDeixaPedidoPelaMetade)
{
    const LinkServidor rep =
        pg().criarRepresentante(QStringLiteral("rep_7"), QStringLiteral("sete"), QStringLiteral("7"));
    inserirPedido(pasta, QStringLiteral("7"), 1, 3);
    inserirPedido(pasta, QStringLiteral("7"), 2, 2);
    GravarPedidoCentral(rep, BancoLocal(pasta.bancoLocal()).handle(), TipoPedido::Pedido, 2);
    const QString antes = central(QStringLiteral("7"), 2);
    pasta.executar(QStringLiteral("INSERT INTO tbpedido_item (nr_pedido, idfunc, codigo, quantidade, valorTotal) "
                                  "VALUES (2, '7', 'NOVO', 1, 9); UPDATE tbpedido SET vl_total_item = 99"));

    for (int nr : {1, 2}) {
        SCOPED_TRACE(nr);
        // The item table is held by another session, so the write stops
        // half-way, after its header.
        ServidorCentral bloqueio(pg().linkAdministrador());
        bloqueio.executar(QStringLiteral("BEGIN"));
        bloqueio.executar(QStringLiteral("LOCK TABLE tbpedido_item IN ACCESS EXCLUSIVE MODE"));
        QString erro;
        std::thread gravacao([&] {
            try {
                GravarPedidoCentral(rep, BancoLocal(pasta.bancoLocal()).handle(), TipoPedido::Pedido, nr);
            } catch (const Erro &e) {
                erro = e.mensagem();
            }
        });
        QString pid;
        while (pid.isEmpty())
            pid = pg().consultar(QStringLiteral("SELECT pid FROM pg_stat_activity WHERE application_name = "
                                                "'corlando' AND wait_event_type = 'Lock'"));
        pg().matarProcesso(pid.toInt());
        gravacao.join();
        EXPECT_FALSE(erro.isEmpty()) << "a falha chega a quem enviou";
        EXPECT_EQ(central(QStringLiteral("7"), nr), nr == 1 ? QString() : antes);
    }
}

TEST_F(PedidoCentral, UmRepresentanteNaoLeNemEscrevePedidosDeOutro)
{
    pg().limpar();
    const LinkServidor sete =
        pg().criarRepresentante(QStringLiteral("rep_7"), QStringLiteral("sete"), QStringLiteral("7"));
    const LinkServidor quinze =
        pg().criarRepresentante(QStringLiteral("rep_15"), QStringLiteral("quinze"), QStringLiteral("15"));
    inserirPedido(pasta, QStringLiteral("15"), 1, 2);
    const BancoLocal local(pasta.bancoLocal());
    GravarPedidoCentral(quinze, local.handle(), TipoPedido::Pedido, 1);
    pg().executar(QStringLiteral("INSERT INTO tbproduto (idproduto, codigo) VALUES (1, 'P1')"));

    ServidorCentral s(sete);
    EXPECT_EQ(s.executar(QStringLiteral("SELECT count(*) FROM tbproduto")).texto(0, 0), QStringLiteral("1"))
        << "o catálogo é de todos";
    struct Caso {
        const char *sql;
        const char *resultado; // rows seen or changed; "erro" when refused
    } const casos[] = {
        {"SELECT count(*) FROM tbpedido", "0"},
        {"SELECT count(*) FROM tbpedido_item", "0"},
        {"WITH x AS (UPDATE tbpedido SET observacao = 'x' RETURNING 1) SELECT count(*) FROM x", "0"},
        {"WITH x AS (DELETE FROM tbpedido_item RETURNING 1) SELECT count(*) FROM x", "0"},
        {"INSERT INTO tbpedido (representante, nr_pedido, tipo) VALUES ('15', 2, 'pedido')", "erro"},
        {"INSERT INTO tbpedido_item (representante, nr_pedido, item) VALUES ('15', 1, 99)", "erro"},
        {"UPDATE tbpedido SET status = 'cancelado'", "erro"},
        {"UPDATE tbproduto SET codigo = 'X'", "erro"},
    };
    for (const Caso &caso : casos) {
        SCOPED_TRACE(caso.sql);
        QString resultado;
        try {
            resultado = s.executar(QString::fromUtf8(caso.sql)).texto(0, 0);
        } catch (const Erro &) {
            resultado = QStringLiteral("erro");
        }
        EXPECT_EQ(resultado, QString::fromUtf8(caso.resultado));
    }
    // The order of 15 written through 7's login is refused whole.
    EXPECT_THROW(GravarPedidoCentral(sete, local.handle(), TipoPedido::Pedido, 1), Erro);
    EXPECT_EQ(central(QStringLiteral("15"), 1),
              QStringLiteral("pedido recebido 4.5000 - | P1 x1 = 1.5000, P2 x2 = 3.0000"));
}

// Fifty representatives send twenty orders each at the same time, each order
// over a connection of its own as the program does.
TEST_F(PedidoCentral, CinquentaRepresentantesAoMesmoTempo)
{
    constexpr int kRepresentantes = 50;
    constexpr int kPedidos = 20;
    std::vector<std::unique_ptr<PastaProgramaTeste>> pastas;
    std::vector<LinkServidor> links;
    for (int r = 1; r <= kRepresentantes; ++r) {
        links.push_back(pg().criarRepresentante(QStringLiteral("carga_%1").arg(r), QStringLiteral("s%1").arg(r),
                                                QStringLiteral("%1").arg(100 + r)));
        pastas.push_back(std::make_unique<PastaProgramaTeste>());
        QString sql = QStringLiteral("BEGIN;");
        for (int nr = 1; nr <= kPedidos; ++nr)
            sql += sqlPedido(QString::number(100 + r), nr, 1 + nr % 5);
        pastas.back()->executar(sql + QStringLiteral("COMMIT;"));
    }
    std::vector<std::vector<qint64>> tempos(kRepresentantes);
    std::atomic<int> falhas{0};
    std::atomic<bool> largada{false};
    std::vector<std::thread> representantes;
    QElapsedTimer total;
    for (int r = 0; r < kRepresentantes; ++r)
        representantes.emplace_back([&, r] {
            const BancoLocal local(pastas[static_cast<std::size_t>(r)]->bancoLocal());
            while (!largada)
                std::this_thread::yield();
            for (int nr = 1; nr <= kPedidos; ++nr) {
                QElapsedTimer t;
                t.start();
                try {
                    GravarPedidoCentral(links[static_cast<std::size_t>(r)], local.handle(), TipoPedido::Pedido, nr);
                } catch (const Erro &e) {
                    ++falhas;
                    std::cerr << e.mensagem().toStdString() << '\n';
                }
                tempos[static_cast<std::size_t>(r)].push_back(t.nsecsElapsed() / 1000);
            }
        });
    total.start();
    largada = true;
    for (std::thread &t : representantes)
        t.join();
    const double segundos = static_cast<double>(total.nsecsElapsed()) / 1e9;
    EXPECT_EQ(falhas, 0);

    // Every order exactly once, with its items and total as sent.
    EXPECT_EQ(pg().consultar(QStringLiteral("SELECT count(*), count(DISTINCT (representante, nr_pedido)) FROM tbpedido "
                                            "WHERE representante::int > 100")),
              QStringLiteral("%1|%1").arg(kRepresentantes * kPedidos));
    EXPECT_EQ(pg().consultar(QStringLiteral(
                  "SELECT count(*) FROM tbpedido p WHERE representante::int > 100 AND (vl_total_item IS DISTINCT FROM "
                  "(SELECT sum(valortotal) FROM tbpedido_item i WHERE i.representante = p.representante AND "
                  "i.nr_pedido = p.nr_pedido) OR (SELECT count(*) FROM tbpedido_item i WHERE i.representante = "
                  "p.representante AND i.nr_pedido = p.nr_pedido) <> 1 + p.nr_pedido % 5)")),
              QStringLiteral("0"));

    std::vector<qint64> todos;
    for (const auto &t : tempos)
        todos.insert(todos.end(), t.begin(), t.end());
    std::sort(todos.begin(), todos.end());
    auto percentil = [&](double p) {
        return todos[static_cast<std::size_t>(p * static_cast<double>(todos.size() - 1))];
    };
    std::cout << "[carga] " << todos.size() << " pedidos de " << kRepresentantes << " representantes em " << segundos
              << " s: " << static_cast<double>(todos.size()) / segundos << " pedidos/s; gravação de um pedido p50 "
              << percentil(0.5) / 1000.0 << " ms, p95 " << percentil(0.95) / 1000.0 << " ms\n";
}

} // namespace
