#include "caixa_saida.h"
#include "correio_programa.h"
#include "dialogos_roteiro.h"
#include "indicador_caixa_saida.h"
#include "janela_caixa_saida.h"
#include "pasta_programa.h"
#include "servidor_smtp.h"
#include "udm.h"
#include "uprincipal.h"

#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace
{

QStringList colunaSituacao(const QTableWidget &tabela)
{
    QStringList situacoes;
    for (int i = 0; i < tabela.rowCount(); ++i)
        situacoes << tabela.item(i, 0)->text() + u' ' + tabela.item(i, 1)->text() + u' ' + tabela.item(i, 3)->text();
    return situacoes;
}

// The main window counts what waits and, once painted, sends it in the
// background; its list retries a refused message and discards another,
// and the database follows.
TEST(CaixaSaidaTela, ContagemListaTentarAgoraEDescartar)
{
    DialogosRoteiro dialogos;
    PastaProgramaTeste pasta;
    ServidorSmtp servidor;
    pasta.executar(
        QStringLiteral(
            "INSERT INTO tbfuncionario (idfunc, Nome) VALUES ('12', 'JOÃO SILVA');"
            "INSERT INTO tbconfiguracoes (cod_funcionario, email_host, email_usuario, email_senha) VALUES"
            " ('12', '127.0.0.1:%1', '%2', '%3');"
            "INSERT INTO tbpedido (nr_pedido, idFunc, idCliente, vl_total_item, enviado) VALUES (7, '12', 1, 0, 0);")
            .arg(servidor.porta())
            .arg(servidor.usuario(), servidor.senha()));
    TDM dm(pasta.caminho());
    MensagemEmail mensagem;
    mensagem.remetente = servidor.usuario();
    mensagem.destinatarios = QStringLiteral("central1@empresa.com.br");
    mensagem.assunto = QStringLiteral("Pedido 7");
    for (const char *destino : {"Central 1", "Cliente", "Central 2"})
        CaixaSaidaBanco::guardar(dm.ADOConexao, ItemDoEmail(mensagem, QString::fromUtf8(destino), QStringLiteral("7"),
                                                            QByteArray(destino).startsWith("Central")));
    for (const qint64 id : {2, 3})
        CaixaSaidaBanco::registrarTentativa(dm.ADOConexao, id, SituacaoCaixa::Recusado,
                                            QStringLiteral("550 5.1.1 Caixa inexistente"));

    TfrmPrincipal janela;
    const std::unique_ptr<RemessaCaixaSaida> remessa = CriarRemessaDoPrograma();
    IndicadorCaixaSaida indicador(janela, *remessa);
    janela.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&janela));
    auto *botao = janela.findChild<QPushButton *>(QStringLiteral("btnCaixaSaida"));
    ASSERT_TRUE(botao);
    QTRY_VERIFY(remessa->ocupada() || servidor.quantidade() == 1);
    remessa->aguardar();
    EXPECT_EQ(servidor.quantidade(), 1);
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT enviado FROM tbpedido WHERE nr_pedido = 7")), QStringLiteral("1"));
    EXPECT_EQ(botao->text(), QStringLiteral("2 mensagens na caixa de saída"));

    QStringList vistas;
    dialogos.responder(Resposta::Sim);
    QTimer::singleShot(0, [&] {
        auto *lista = qobject_cast<JanelaCaixaSaida *>(QApplication::activeModalWidget());
        ASSERT_TRUE(lista);
        auto *tabela = lista->findChild<QTableWidget *>(QStringLiteral("tabelaCaixaSaida"));
        vistas << colunaSituacao(*tabela).join(u',');
        // Newest first: Central 2 (refused), Cliente (refused), Central 1 (sent).
        tabela->selectRow(1);
        QTest::mouseClick(lista->findChild<QPushButton *>(QStringLiteral("btnTentarAgora")), Qt::LeftButton);
        remessa->aguardar();
        vistas << colunaSituacao(*tabela).join(u',');
        tabela->selectRow(0);
        QTest::mouseClick(lista->findChild<QPushButton *>(QStringLiteral("btnDescartar")), Qt::LeftButton);
        vistas << colunaSituacao(*tabela).join(u',');
        QTest::mouseClick(lista->findChild<QPushButton *>(QStringLiteral("btnFechar")), Qt::LeftButton);
    });
    QTest::mouseClick(botao, Qt::LeftButton);

    EXPECT_EQ(vistas, QStringList({"7 Central 2 recusado,7 Cliente recusado,7 Central 1 enviado",
                                   "7 Central 2 recusado,7 Cliente enviado,7 Central 1 enviado",
                                   "7 Cliente enviado,7 Central 1 enviado"}));
    EXPECT_EQ(dialogos.textos(QStringLiteral("pergunta")),
              QStringList{"Deseja descartar a mensagem escolhida? Ela não será enviada."});
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT group_concat(destino || '=' || situacao || '/' || tentativas, ' ')"
                                             " FROM (SELECT * FROM tbcaixa_saida ORDER BY id)")),
              QStringLiteral("Central 1=enviado/1 Cliente=enviado/2"));
    EXPECT_EQ(servidor.quantidade(), 2);
    EXPECT_EQ(botao->text(), QStringLiteral("Nenhuma mensagem na caixa de saída"));
}

// A delivery the database cannot take (another program reads it for longer
// than a write waits) is told on the status bar line; once written, the line
// counts again and the order is sent.
TEST(CaixaSaidaTela, ResultadoNaoGravadoNaLinha)
{
    PastaProgramaTeste pasta;
    ServidorSmtp servidor;
    pasta.executar(
        QStringLiteral(
            "INSERT INTO tbfuncionario (idfunc, Nome) VALUES ('12', 'JOÃO SILVA');"
            "INSERT INTO tbconfiguracoes (cod_funcionario, email_host, email_usuario, email_senha) VALUES"
            " ('12', '127.0.0.1:%1', '%2', '%3');"
            "INSERT INTO tbpedido (nr_pedido, idFunc, idCliente, vl_total_item, enviado) VALUES (7, '12', 1, 0, 0);")
            .arg(servidor.porta())
            .arg(servidor.usuario(), servidor.senha()));
    TDM dm(pasta.caminho());
    MensagemEmail mensagem;
    mensagem.remetente = servidor.usuario();
    mensagem.destinatarios = QStringLiteral("central1@empresa.com.br");
    mensagem.assunto = QStringLiteral("Pedido 7");
    CaixaSaidaBanco::guardar(dm.ADOConexao,
                             ItemDoEmail(mensagem, QStringLiteral("Central 1"), QStringLiteral("7"), true));
    sqlite3_busy_timeout(dm.ADOConexao.handle(), 50);
    sqlite3 *leitor = nullptr;
    ASSERT_EQ(sqlite3_open(pasta.bancoLocal().toUtf8().constData(), &leitor), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(leitor, "BEGIN; SELECT count(*) FROM tbpedido;", nullptr, nullptr, nullptr), SQLITE_OK);

    TfrmPrincipal janela;
    const std::unique_ptr<RemessaCaixaSaida> remessa = CriarRemessaDoPrograma();
    IndicadorCaixaSaida indicador(janela, *remessa);
    janela.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&janela));
    auto *botao = janela.findChild<QPushButton *>(QStringLiteral("btnCaixaSaida"));
    ASSERT_TRUE(botao);
    QTRY_VERIFY(botao->text().startsWith(QStringLiteral("Caixa de saída: o resultado do envio não foi gravado (")));
    EXPECT_TRUE(botao->text().contains(QStringLiteral("em uso por outro programa"))) << botao->text().toStdString();
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT enviado FROM tbpedido WHERE nr_pedido = 7")), QStringLiteral("0"));

    sqlite3_exec(leitor, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(leitor);
    remessa->enviarPendentes();
    remessa->aguardar();
    EXPECT_EQ(botao->text(), QStringLiteral("Nenhuma mensagem na caixa de saída"));
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT situacao || '/' || tentativas FROM tbcaixa_saida")),
              QStringLiteral("enviado/1"));
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT enviado FROM tbpedido WHERE nr_pedido = 7")), QStringLiteral("1"));
    EXPECT_EQ(servidor.quantidade(), 1);
}

} // namespace
