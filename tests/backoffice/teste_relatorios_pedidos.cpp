#include "relatorios.h"
#include "relatorios_teste.h"
#include "ufunc.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace
{

// Five orders of three kinds and two representatives, on the edges of
// October 2010.
class RelatoriosPedidos : public RelatoriosTeste
{
  protected:
    void abrirCom(const char *funcionario)
    {
        pasta.executar(QStringLiteral(
            "INSERT INTO tbcliente (IdCliente, Nome, Cidade) VALUES (57, 'MERCADO BOA VISTA', 'Goiânia'),"
            " (58, 'PADARIA ESTRELA', 'Anápolis');"
            "INSERT INTO tbpedido (nr_pedido, idFunc, idCliente, dt_pedido, impresso, enviado, vl_total_item,"
            " vl_total_pacote, vl_diferenca_troca, vl_total_venda_casada) VALUES"
            " (5101, '12', 57, '2010-10-01 00:00:00', 1, 0, 1234.5, NULL, NULL, NULL),"
            " (5102, '12', 58, '2010-10-31 23:59:59', 0, 1, NULL, 50, NULL, NULL),"
            " (5103, '7', 57, '2010-10-15 10:00:00', 1, 1, 30, NULL, NULL, NULL),"
            " (5104, '12', 58, '2010-11-01 00:00:00', 1, 1, NULL, NULL, -12.5, NULL),"
            " (5105, '12', 57, '2010-09-30 23:59:59', 0, 0, NULL, NULL, NULL, 80);"));
        abrir(funcionario);
        ASSERT_TRUE(dm->QyPedido.localizar(QStringLiteral("nr_pedido"), QStringLiteral("5102")));
    }

    // The order numbers a PDF lists, in order.
    static QString pedidosNoPdf(const QString &pdf)
    {
        QStringList nrs;
        static const QRegularExpression numero(QStringLiteral("\\b51\\d\\d\\b"));
        for (auto it = numero.globalMatch(TextoPdf(pdf)); it.hasNext();)
            nrs << it.next().captured();
        return nrs.join(u',');
    }

    // The PDF's text without the customers' names, which wrap in their
    // narrow cell and so land among the row's other cells.
    static QString semNomes(const QString &pdf)
    {
        static const QRegularExpression nomes(QStringLiteral("\\b(MERCADO|BOA|VISTA|PADARIA|ESTRELA) "));
        return texto(pdf).replace(nomes, QString());
    }

    // The view the main window shows again after a report.
    void esperarVistaDeVolta(const char *filtro, const char *atual = "5102")
    {
        EXPECT_EQ(dm->QyPedido.filtro(), QString::fromUtf8(filtro));
        EXPECT_EQ(dm->QyPedido.filtrado(), !dm->QyPedido.filtro().isEmpty());
        EXPECT_EQ(dm->QyPedido.campo(QStringLiteral("nr_pedido")).texto(), QString::fromUtf8(atual));
    }
};

struct CasoSituacao {
    const char *funcionario;
    SituacaoPedidos situacao;
    const char *filtro;
    const char *pedidos;
    const char *prefixo;
    const char *titulo;
};

class PedidosPorSituacao : public RelatoriosPedidos, public ::testing::WithParamInterface<CasoSituacao>
{
};

TEST_P(PedidosPorSituacao, ListaAVistaNaSituacaoEDevolveAVistaEOPedidoAtual)
{
    const CasoSituacao &c = GetParam();
    abrirCom(c.funcionario);
    const QString vista = dm->QyPedido.filtro();

    RelatorioPedidosPorSituacao(c.situacao);

    const QString pdf = saida(QString::fromUtf8(c.prefixo));
    ASSERT_EQ(abertos(), QStringList{pdf});
    EXPECT_EQ(dialogos.filtrosAoAbrir, QStringList{QString::fromUtf8(c.filtro)});
    EXPECT_EQ(pedidosNoPdf(pdf), QString::fromUtf8(c.pedidos));
    EXPECT_TRUE(TextoPdf(pdf).contains(QString::fromUtf8(c.titulo)));
    esperarVistaDeVolta(vista.toUtf8().constData());
}

INSTANTIATE_TEST_SUITE_P(
    Relatorios, PedidosPorSituacao,
    ::testing::Values(CasoSituacao{"12", SituacaoPedidos::Enviados, "idFunc='12' AND ENVIADO='True'", "5104,5102",
                                   "pedidos-enviado-", "Pedidos enviados"},
                      CasoSituacao{"12", SituacaoPedidos::NaoEnviados, "idFunc='12' AND ENVIADO='False'", "5105,5101",
                                   "pedidos-nao-enviado-", "Pedidos não enviados"},
                      CasoSituacao{"12", SituacaoPedidos::Impressos, "idFunc='12' AND IMPRESSO='True'", "5104,5101",
                                   "pedidos-impresso-", "Pedidos impressos"},
                      CasoSituacao{"12", SituacaoPedidos::NaoImpressos, "idFunc='12' AND IMPRESSO='False'", "5105,5102",
                                   "pedidos-nao-impresso-", "Pedidos não impressos"},
                      // The supervisor's view is every order.
                      CasoSituacao{"999", SituacaoPedidos::Enviados, "ENVIADO='True'", "5104,5103,5102",
                                   "pedidos-enviado-", "Pedidos enviados"}));

TEST_F(RelatoriosPedidos, TodosOsPedidosListaAVistaComOTipoOValorEOsTotais)
{
    abrirCom("12");
    RelatorioTodosPedidos();

    const QString pdf = saida(QStringLiteral("todos-pedidos-"));
    ASSERT_EQ(abertos(), QStringList{pdf});
    EXPECT_EQ(dialogos.filtrosAoAbrir, QStringList{QStringLiteral("idFunc='12'")});
    EXPECT_EQ(pedidosNoPdf(pdf), QStringLiteral("5105,5104,5102,5101"));
    const QString t = semNomes(pdf);
    EXPECT_TRUE(t.contains(QStringLiteral("5101 01/10/2010 Pedido 12 57 - 1.234,50 Sim Não"))) << t.toStdString();
    EXPECT_TRUE(t.contains(QStringLiteral("5104 01/11/2010 Troca 12 58 - -12,50 Sim Sim"))) << t.toStdString();
    EXPECT_TRUE(texto(pdf).contains(QStringLiteral("PADARIA ESTRELA"))) << t.toStdString();
    for (const char *total : {"Pedidos 1.234,50", "Vendas casadas 80,00", "Pacotes 50,00", "Trocas (diferença) -12,50",
                              "4 pedido(s) listado(s)"})
        EXPECT_TRUE(t.contains(QString::fromUtf8(total))) << total << "\n" << t.toStdString();
    esperarVistaDeVolta("idFunc='12'");
}

TEST_F(RelatoriosPedidos, PedidoEmEdicaoNaoDeixaGerarNenhumaLista)
{
    abrirCom("12");
    dm->QyPedido.editar();
    RelatorioPedidosPorSituacao(SituacaoPedidos::Impressos);
    RelatorioTodosPedidos();
    EXPECT_TRUE(dialogos.registros().empty());
    EXPECT_FALSE(QFileInfo::exists(saida(QStringLiteral("todos-pedidos-"))));
    dm->QyPedido.cancelar();
}

struct CasoPeriodo {
    const char *inicio;
    const char *fim;
    const char *filtro;
    const char *pedidos;
    const char *periodo;
};

class PedidosPorPeriodo : public RelatoriosPedidos, public ::testing::WithParamInterface<CasoPeriodo>
{
};

TEST_P(PedidosPorPeriodo, ListaTodoPedidoDoPeriodoEDevolveAVista)
{
    const CasoPeriodo &c = GetParam();
    abrirCom("12");
    dialogos.entrada(QString::fromUtf8(c.inicio)).entrada(QString::fromUtf8(c.fim));

    RelatorioPedidosPorPeriodo();

    const QString pdf = saida(QStringLiteral("todos-pedidos-periodo-"));
    ASSERT_EQ(abertos(), QStringList{pdf});
    EXPECT_EQ(dialogos.filtrosAoAbrir, QStringList{QString::fromUtf8(c.filtro)});
    EXPECT_EQ(pedidosNoPdf(pdf), QString::fromUtf8(c.pedidos));
    EXPECT_TRUE(texto(pdf).contains(QString::fromUtf8(c.periodo))) << texto(pdf).toStdString();
    esperarVistaDeVolta("idFunc='12'");
}

INSTANTIATE_TEST_SUITE_P(Relatorios, PedidosPorPeriodo,
                         ::testing::Values(
                             // Every representative's orders, from midnight to the last second.
                             CasoPeriodo{"01/10/2010", "31/10/2010",
                                         "dt_pedido >= '01/10/2010 00:00:00' AND dt_pedido <='31/10/2010 23:59:59'",
                                         "5103,5102,5101", "Período: 01/10/2010 a 31/10/2010"},
                             CasoPeriodo{"1/11/2010", "1/11/10",
                                         "dt_pedido >= '1/11/2010 00:00:00' AND dt_pedido <='1/11/10 23:59:59'", "5104",
                                         "Período: 01/11/2010 a 01/11/2010"}));

// The status the central set on each order, keyed by representative and
// number: another representative's order of the same number lends its
// status to no one, and an order with none shows an empty cell.
TEST_F(RelatoriosPedidos, ListaMostraASituacaoNaCentralDeCadaPedido)
{
    pasta.executar(QStringLiteral(
        "CREATE TABLE tbpedido_status (idfunc TEXT NOT NULL, nr_pedido INTEGER NOT NULL, status TEXT, "
        "dt_status DATETIME, PRIMARY KEY (idfunc, nr_pedido));"
        "INSERT INTO tbpedido_status VALUES ('12', 5101, 'faturado', '2026-12-01 08:00:00'),"
        " ('7', 5103, 'entregue', '2026-12-03 17:30:00'), ('7', 5102, 'cancelado', '2026-12-02 08:00:00');"));
    abrirCom("12");
    dialogos.entrada(QStringLiteral("01/10/2010")).entrada(QStringLiteral("31/10/2010"));

    RelatorioPedidosPorPeriodo();

    const QString t = semNomes(saida(QStringLiteral("todos-pedidos-periodo-")));
    for (const char *linha : {"5103 15/10/2010 10:00:00 Pedido 7 57 - 30,00 Sim Sim entregue em 03/12/2026 5102",
                              "5102 31/10/2010 23:59:59 Pacote 12 58 - 50,00 Não Sim 5101",
                              "5101 01/10/2010 Pedido 12 57 - 1.234,50 Sim Não faturado em 01/12/2026 3 pedido(s)"})
        EXPECT_TRUE(t.contains(QString::fromUtf8(linha))) << linha << "\n" << t.toStdString();
    EXPECT_FALSE(t.contains(QStringLiteral("cancelado"))) << t.toStdString();
}

TEST_F(RelatoriosPedidos, PeriodoPerguntaAsDuasDatasComHojePorPadrao)
{
    const QDate hoje = QDate::currentDate();
    pasta.executar(QStringLiteral("INSERT INTO tbpedido (nr_pedido, idFunc, idCliente, dt_pedido) VALUES"
                                  " (5106, '12', 57, '%1 00:00:00'), (5107, '7', 57, '%1 23:59:59'),"
                                  " (5108, '12', 57, '%2 23:59:59');")
                       .arg(hoje.toString(Qt::ISODate), hoje.addDays(-1).toString(Qt::ISODate)));
    abrirCom("12");
    const QString padrao = hoje.toString(QStringLiteral("dd/MM/yyyy"));
    dialogos.entrada(padrao).entrada(padrao);

    RelatorioPedidosPorPeriodo();

    ASSERT_EQ(dialogos.registros().size(), 3u);
    for (int i = 0; i < 2; ++i) {
        const auto &r = dialogos.registros()[static_cast<std::size_t>(i)];
        EXPECT_EQ(r.tipo, QStringLiteral("caixaEntrada"));
        EXPECT_EQ(r.titulo, QStringLiteral("Relatório por período"));
        EXPECT_EQ(r.padraoTexto, padrao);
    }
    EXPECT_EQ(dialogos.textos(QStringLiteral("caixaEntrada")),
              (QStringList{QStringLiteral("Digite a data inicial:"), QStringLiteral("Digite a data final:")}));
    EXPECT_EQ(pedidosNoPdf(saida(QStringLiteral("todos-pedidos-periodo-"))), QStringLiteral("5107,5106"));
}

TEST_F(RelatoriosPedidos, PeriodoComDataErradaMostraOErroEDevolveAVista)
{
    abrirCom("12");
    dialogos.entrada(QStringLiteral("31/02/2010")).entrada(QStringLiteral("31/10/2010"));

    ExecutarProtegido(RelatorioPedidosPorPeriodo);

    EXPECT_TRUE(abertos().isEmpty());
    ASSERT_EQ(dialogos.textos(QStringLiteral("mensagem")).size(), 1);
    EXPECT_TRUE(dialogos.textos(QStringLiteral("mensagem")).first().contains(QStringLiteral("31/02/2010")));
    esperarVistaDeVolta("idFunc='12'");
}

TEST_F(RelatoriosPedidos, PeriodoComUmaDataApagadaNaoGeraNadaEDevolveAVista)
{
    abrirCom("12");
    dialogos.entrada(QStringLiteral("01/10/2010")).entrada(QString());
    RelatorioPedidosPorPeriodo();
    EXPECT_TRUE(abertos().isEmpty());
    esperarVistaDeVolta("idFunc='12'");
}

TEST_F(RelatoriosPedidos, ModeloAusenteEhUmErroEAVistaVolta)
{
    abrirCom("12");
    ASSERT_TRUE(QFile::remove(pasta.arquivo(QStringLiteral("todos-pedidos.rav"))));
    ExecutarProtegido([] { RelatorioPedidosPorSituacao(SituacaoPedidos::Enviados); });
    ASSERT_EQ(dialogos.textos(QStringLiteral("mensagem")).size(), 1);
    EXPECT_TRUE(dialogos.textos(QStringLiteral("mensagem")).first().contains(QStringLiteral("todos-pedidos.rav")));
    EXPECT_TRUE(abertos().isEmpty());
    esperarVistaDeVolta("idFunc='12'");
}

} // namespace
