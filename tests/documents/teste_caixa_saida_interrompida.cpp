#include "caixa_saida.h"
#include "documentos_teste.h"
#include "servidor_smtp.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>

namespace
{

constexpr int kMortes = 30;
constexpr int kMsAteMorrerNoMaximo = 900;

// Orders 100.. (n of them) like order 1234, each with two items.
void inserirPedidos(PastaProgramaTeste &pasta, int primeiro, int n)
{
    pasta.executar(
        QStringLiteral("WITH RECURSIVE s(x) AS (SELECT %1 UNION ALL SELECT x + 1 FROM s WHERE x < %2)"
                       " INSERT INTO tbpedido (nr_pedido, idFunc, idCliente, dt_pedido, vl_total_item, cif,"
                       " observacao, impresso, enviado) SELECT x, '12', 57, '2009-03-25 09:30:00', 0, 'Sim',"
                       " 'Pedido ' || x, 0, 0 FROM s;"
                       "WITH RECURSIVE s(x) AS (SELECT %1 UNION ALL SELECT x + 1 FROM s WHERE x < %2)"
                       " INSERT INTO tbpedido_item (nr_pedido, idfunc, codigo, quantidade, valorUnitario, valorTotal,"
                       " cd_desconto1, cd_desconto2, cd_desconto3) SELECT x, '12', 'ABC123', 10, 10.1538, 101.538,"
                       " 'A', '0', '0' FROM s UNION ALL SELECT x, '12', '7891000', 150, 8.23, 1234.5, '0', '0', '0'"
                       " FROM s;")
            .arg(primeiro)
            .arg(primeiro + n - 1));
}

// The Message-IDs the server took, one per copy received.
QStringList idsRecebidos(const ServidorSmtp &servidor)
{
    static const QRegularExpression id(QStringLiteral("^Message-Id: <([^>]+)>"),
                                       QRegularExpression::MultilineOption | QRegularExpression::CaseInsensitiveOption);
    QStringList ids;
    for (int n = 1; n <= servidor.quantidade(); ++n)
        ids << id.match(QString::fromUtf8(servidor.mensagem(n).conteudo)).captured(1);
    return ids;
}

// Copies received beyond the first of each message.
int repetidasRecebidas(const ServidorSmtp &servidor)
{
    const QStringList ids = idsRecebidos(servidor);
    return static_cast<int>(ids.size() - QSet<QString>(ids.begin(), ids.end()).size());
}

class CaixaSaidaInterrompida : public DocumentosTeste
{
  protected:
    void SetUp() override
    {
        DocumentosTeste::SetUp();
        instalarModelos();
        pasta.executar(QStringLiteral("UPDATE tbconfiguracoes SET email_host = '127.0.0.1:%1',"
                                      " email_usuario = '%2', email_senha = '%3', email_de = 'vendas@empresa.com.br',"
                                      " email_para = 'central1@empresa.com.br'")
                           .arg(servidor.porta())
                           .arg(servidor.usuario(), servidor.senha()));
        inserirPedidos(pasta, 100, 12);
        abrir(100);
        CaixaSaidaBanco::criarTabela(dm->ADOConexao);
        dm.reset();
    }

    int contar(const char *sql) const { return pasta.consultar(QString::fromUtf8(sql)).toInt(); }

    // What must hold whatever moment the program died at.
    void conferirInvariante(const QString &quando)
    {
        SCOPED_TRACE(quando.toStdString());
        // The first writer after a kill rolls back what the dead program left
        // half done, as the program's next start does.
        pasta.executar(QStringLiteral("PRAGMA user_version = 0"));
        // An order's mails are kept together or not at all.
        EXPECT_EQ(contar("SELECT count(*) FROM (SELECT nr_pedido, count(*) n FROM tbcaixa_saida GROUP BY nr_pedido"
                         " HAVING n <> 2)"),
                  0);
        // Each message waits (with its content) or was delivered (without).
        EXPECT_EQ(contar("SELECT count(*) FROM tbcaixa_saida WHERE situacao NOT IN ('aguardando', 'enviado')"
                         " OR (situacao = 'aguardando') <> (conteudo IS NOT NULL)"),
                  0);
        // The order is sent exactly when its central office's mail was delivered.
        EXPECT_EQ(contar("SELECT count(*) FROM tbpedido p WHERE coalesce(p.enviado, 0) <> EXISTS (SELECT 1 FROM"
                         " tbcaixa_saida c WHERE c.nr_pedido = CAST(p.nr_pedido AS TEXT) AND c.marca_enviado = 1"
                         " AND c.situacao = 'enviado')"),
                  0);
        // Delivered means the server has it; the server has nothing unknown.
        const QStringList ids = idsRecebidos(servidor);
        const QSet<QString> recebidos(ids.begin(), ids.end());
        QSet<QString> guardados;
        for (const QString &linha :
             pasta
                 .consultar(QStringLiteral("SELECT group_concat(situacao || ' ' || id_mensagem, '|') FROM"
                                           " tbcaixa_saida"))
                 .split(u'|', Qt::SkipEmptyParts)) {
            const QString id = linha.section(u' ', 1);
            guardados << id;
            if (linha.startsWith(QLatin1String("enviado"))) {
                EXPECT_TRUE(recebidos.contains(id)) << id.toStdString();
            }
        }
        for (const QString &id : recebidos)
            EXPECT_TRUE(guardados.contains(id)) << id.toStdString();
    }

    ServidorSmtp servidor;
};

// Killed at random moments while composing, keeping, sending and marking,
// the program leaves every mail waiting or delivered and each order's mark
// in step, and a kill costs at most one more copy of the mail on its way;
// run to the end, every mail arrives and every order is sent.
TEST_F(CaixaSaidaInterrompida, KillNoveEmMomentosAoAcaso)
{
    int mortes = 0;
    int pedidos = 12;
    int repetidasAntes = 0;
    // Kills fall at random within this; a run that ends before its kill
    // narrows it to that run's length, so a fast machine still kills mid-run.
    qint64 janelaMs = kMsAteMorrerNoMaximo;
    while (mortes < kMortes) {
        QProcess ajudante;
        QElapsedTimer duracao;
        duracao.start();
        ajudante.start(QStringLiteral(AJUDANTE_CAIXA_SAIDA), {pasta.caminho()});
        ASSERT_TRUE(ajudante.waitForStarted());
        // The random moment of the kill; a run that ends first gets new orders.
        if (ajudante.waitForFinished(static_cast<int>(QRandomGenerator::global()->bounded(janelaMs)))) {
            ASSERT_EQ(ajudante.exitCode(), 0) << ajudante.readAllStandardError().toStdString();
            janelaMs = std::max<qint64>(1, std::min(janelaMs, duracao.elapsed()));
            inserirPedidos(pasta, 100 + pedidos, 4);
            pedidos += 4;
            continue;
        }
        ajudante.kill(); // SIGKILL
        ajudante.waitForFinished();
        ++mortes;
        conferirInvariante(QStringLiteral("depois da morte %1").arg(mortes));
        // Only the one message on its way at a kill may go again, once, after it.
        const int repetidas = repetidasRecebidas(servidor);
        EXPECT_LE(repetidas - repetidasAntes, 1) << "depois da morte " << mortes;
        repetidasAntes = repetidas;
        if (HasFailure())
            return;
    }

    QProcess ajudante;
    ajudante.start(QStringLiteral(AJUDANTE_CAIXA_SAIDA), {pasta.caminho()});
    ASSERT_TRUE(ajudante.waitForFinished(120000))
        << pasta
               .consultar(QStringLiteral("SELECT group_concat(situacao || ' ' || tentativas || ' ' ||"
                                         " coalesce(resposta, ''), '|') FROM tbcaixa_saida"))
               .toStdString();
    ASSERT_EQ(ajudante.exitCode(), 0) << ajudante.readAllStandardError().toStdString();
    conferirInvariante(QStringLiteral("no fim"));
    EXPECT_EQ(contar("SELECT count(*) FROM tbcaixa_saida WHERE situacao <> 'enviado'"), 0);
    EXPECT_EQ(contar("SELECT count(*) FROM tbcaixa_saida"), 2 * pedidos);
    EXPECT_EQ(contar("SELECT count(*) FROM tbpedido WHERE enviado = 1"), pedidos);
    const QStringList recebidos = idsRecebidos(servidor);
    const QSet<QString> distintos(recebidos.begin(), recebidos.end());
    EXPECT_EQ(distintos.size(), 2 * pedidos);
    EXPECT_LE(recebidos.size() - distintos.size(), mortes);
    std::printf("%d mortes, %d pedidos, %lld mensagens recebidas, %lld repetidas\n", mortes, pedidos,
                static_cast<long long>(recebidos.size()), static_cast<long long>(recebidos.size() - distintos.size()));
}

} // namespace
