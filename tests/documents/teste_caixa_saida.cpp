#include "caixa_saida.h"
#include "correio_programa.h"
#include "documentos_teste.h"
#include "envio_pedido.h"
#include "mensagem_recebida.h"
#include "servidor_smtp.h"
#include "uuencode.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <sqlite3.h>

#include <optional>

namespace
{

QByteArray conteudo(const QString &caminho)
{
    QFile arquivo(caminho);
    EXPECT_TRUE(arquivo.open(QIODevice::ReadOnly)) << caminho.toStdString();
    return arquivo.readAll();
}

// The order 1234 sent through the outbox, to a server that may be down.
class CaixaSaida : public DocumentosTeste
{
  protected:
    void SetUp() override
    {
        DocumentosTeste::SetUp();
        instalarModelos();
        inserirPedido1234();
        pasta.executar(QStringLiteral("UPDATE tbconfiguracoes SET email_host = '127.0.0.1:%1',"
                                      " email_usuario = 'representante@empresa.com.br', email_senha = 's3nha secreta',"
                                      " email_de = 'vendas@empresa.com.br', email_para = 'central1@empresa.com.br'")
                           .arg(porta));
        abrirNaTela(1234, "vl_total_item>=0");
        CaixaSaidaBanco::criarTabela(dm->ADOConexao);
    }

    // "Enviar" to the customer and Central 1; the one summary shown.
    QString enviar()
    {
        dialogos.limpar();
        dialogos.escolher({true, true, false, false});
        EnviarPedido(TipoPedido::Pedido, acoes(TipoPedido::Pedido));
        const QStringList mensagens = dialogos.textos(QStringLiteral("mensagem"));
        EXPECT_EQ(mensagens.size(), 1) << mensagens.join(u'\n').toStdString();
        return mensagens.value(0);
    }

    // A round of the background sender, waited for.
    void rodada()
    {
        const std::unique_ptr<RemessaCaixaSaida> remessa = CriarRemessaDoPrograma();
        remessa->enviarPendentes();
        remessa->aguardar();
    }

    // "destino=situacao/tentativas" of every message, oldest first.
    QString situacoes() const
    {
        return pasta.consultar(
            QStringLiteral("SELECT group_concat(destino || '=' || situacao || '/' || tentativas, ' ')"
                           " FROM (SELECT * FROM tbcaixa_saida ORDER BY id)"));
    }
    bool enviadoNaTela() const { return dm->QyPedido.campo(QStringLiteral("enviado")).booleano(); }

    quint16 porta = portaLivre();
};

// Nothing listens: both mails wait and the order is not sent. Once the
// server is up a round delivers each exactly once, and only then is the order
// marked sent, in the database and on the screen's list.
TEST_F(CaixaSaida, ServidorForaDoArDepoisNoAr)
{
    const QString resumo = enviar();
    EXPECT_TRUE(resumo.contains(QStringLiteral("Cliente: aguardando na caixa de saída"))) << resumo.toStdString();
    EXPECT_TRUE(resumo.contains(QStringLiteral("Central 1: aguardando na caixa de saída"))) << resumo.toStdString();
    // The first refusal of the connection ends the attempt: the second mail was not tried.
    EXPECT_EQ(situacoes(), QStringLiteral("Cliente=aguardando/1 Central 1=aguardando/0"));
    EXPECT_EQ(marcado("enviado", 1234), QStringLiteral("0"));
    EXPECT_EQ(CaixaSaidaBanco::quantidadeNaoEnviada(dm->ADOConexao), 2);

    ServidorSmtp servidor(QStringLiteral("representante@empresa.com.br"), QStringLiteral("s3nha secreta"),
                          ServidorSmtp::Tls::Nenhum, porta);
    rodada();
    EXPECT_EQ(situacoes(), QStringLiteral("Cliente=enviado/2 Central 1=enviado/1"));
    EXPECT_EQ(marcado("enviado", 1234), QStringLiteral("1"));
    EXPECT_TRUE(enviadoNaTela());
    EXPECT_EQ(dm->QyPedido.campo(QStringLiteral("nr_pedido")).texto(), QStringLiteral("1234"));
    EXPECT_EQ(CaixaSaidaBanco::quantidadeNaoEnviada(dm->ADOConexao), 0);
    // A delivered message keeps no content.
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT count(*) FROM tbcaixa_saida WHERE conteudo IS NOT NULL")),
              QStringLiteral("0"));

    rodada();
    ASSERT_EQ(servidor.quantidade(), 2);
    EXPECT_EQ(servidor.mensagem(1).para, QStringList{"compras@lojaboa.com.br"});
    EXPECT_EQ(servidor.mensagem(2).para, QStringList{"central1@empresa.com.br"});
}

// A 4xx leaves the mail waiting; a 5xx refuses it with the server's reply,
// and no round sends it again until the user asks. Neither marks the order.
TEST_F(CaixaSaida, Respostas4xxE5xx)
{
    ServidorSmtp servidor(QStringLiteral("representante@empresa.com.br"), QStringLiteral("s3nha secreta"),
                          ServidorSmtp::Tls::Nenhum, porta);
    struct Caso {
        const char *resposta;
        const char *resumo;
        const char *situacoes;
    } const casos[] = {
        {"451 4.3.0 Tente mais tarde",
         "Cliente: aguardando na caixa de saída, será enviado quando o servidor "
         "responder (451 4.3.0 Tente mais tarde).",
         "Cliente=aguardando/1 Central 1=aguardando/0"},
        {"554 5.7.1 Mensagem recusada",
         "Cliente: recusado pelo servidor (554 5.7.1 Mensagem recusada). Corrija e "
         "reenvie, ou descarte, na caixa de saída.\nCentral 1: recusado pelo servidor "
         "(554 5.7.1 Mensagem recusada).",
         "Cliente=recusado/1 Central 1=recusado/1"},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.resposta);
        pasta.executar(QStringLiteral("DELETE FROM tbcaixa_saida"));
        servidor.recusar(QString::fromUtf8(c.resposta));
        const QString resumo = enviar();
        EXPECT_TRUE(resumo.contains(QString::fromUtf8(c.resumo))) << resumo.toStdString();
        EXPECT_EQ(situacoes(), QString::fromUtf8(c.situacoes));
        EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT resposta FROM tbcaixa_saida ORDER BY id LIMIT 1")),
                  QString::fromUtf8(c.resposta));
        EXPECT_EQ(marcado("enviado", 1234), QStringLiteral("0"));
    }

    // The server takes mail again: a round leaves the refused alone; the
    // user's retry sends the one chosen.
    servidor.recusar({});
    rodada();
    EXPECT_EQ(servidor.quantidade(), 0);
    const std::unique_ptr<RemessaCaixaSaida> remessa = CriarRemessaDoPrograma();
    remessa->tentarDeNovo(pasta.consultar(QStringLiteral("SELECT max(id) FROM tbcaixa_saida")).toLongLong());
    remessa->aguardar();
    EXPECT_EQ(situacoes(), QStringLiteral("Cliente=recusado/1 Central 1=enviado/2"));
    EXPECT_EQ(servidor.quantidade(), 1);
    EXPECT_EQ(marcado("enviado", 1234), QStringLiteral("1"));
    remessa->descartar(pasta.consultar(QStringLiteral("SELECT min(id) FROM tbcaixa_saida")).toLongLong());
    EXPECT_EQ(situacoes(), QStringLiteral("Central 1=enviado/2"));
}

// Another program reads the database for longer than a write waits, so the
// outcome of the first delivery cannot be written: the round stops there and
// says why, rounds send nothing while it is unwritten, and once the reader is
// done it is written and the rest goes. Each mail arrives once.
TEST_F(CaixaSaida, ResultadoNaoGravadoNaoReenvia)
{
    enviar(); // the server is down: both wait
    ServidorSmtp servidor(QStringLiteral("representante@empresa.com.br"), QStringLiteral("s3nha secreta"),
                          ServidorSmtp::Tls::Nenhum, porta);
    sqlite3_busy_timeout(dm->ADOConexao.handle(), 50);
    sqlite3 *leitor = nullptr;
    ASSERT_EQ(sqlite3_open(pasta.bancoLocal().toUtf8().constData(), &leitor), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(leitor, "BEGIN; SELECT count(*) FROM tbpedido;", nullptr, nullptr, nullptr), SQLITE_OK);

    const std::unique_ptr<RemessaCaixaSaida> remessa = CriarRemessaDoPrograma();
    QStringList motivos;
    QObject::connect(remessa.get(), &RemessaCaixaSaida::naoGravado,
                     [&motivos](const QString &motivo) { motivos << motivo; });
    for (int rodada = 0; rodada < 3; ++rodada) {
        remessa->enviarPendentes();
        remessa->aguardar();
    }
    EXPECT_EQ(servidor.quantidade(), 1);
    ASSERT_FALSE(motivos.isEmpty());
    EXPECT_TRUE(motivos.first().contains(QStringLiteral("em uso por outro programa"))) << motivos.first().toStdString();
    const qint64 primeiro = pasta.consultar(QStringLiteral("SELECT min(id) FROM tbcaixa_saida")).toLongLong();
    ASSERT_TRUE(remessa->naoGravada(primeiro).has_value());
    EXPECT_EQ(remessa->naoGravada(primeiro)->situacao, SituacaoCaixa::Enviado);

    sqlite3_exec(leitor, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(leitor);
    remessa->enviarPendentes();
    remessa->aguardar();
    EXPECT_EQ(situacoes(), QStringLiteral("Cliente=enviado/2 Central 1=enviado/1"));
    EXPECT_EQ(marcado("enviado", 1234), QStringLiteral("1"));
    ASSERT_EQ(servidor.quantidade(), 2);
    EXPECT_EQ(servidor.mensagem(1).para, QStringList{"compras@lojaboa.com.br"});
    EXPECT_EQ(servidor.mensagem(2).para, QStringList{"central1@empresa.com.br"});
}

// What Python's email package makes of a mail: the content type, file name
// and bytes (base64) of every part that is not the body.
QJsonArray partesPeloPython(const QByteArray &bruta)
{
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral("-c"),
                  QStringLiteral("import sys, json, base64, email, email.policy\n"
                                 "m = email.message_from_bytes(sys.stdin.buffer.read(), policy=email.policy.default)\n"
                                 "corpo = m.get_body(preferencelist=('plain',))\n"
                                 "partes = [{'tipo': corpo.get_content_type(), 'texto': corpo.get_content()}]\n"
                                 "for p in m.iter_attachments():\n"
                                 "    partes.append({'tipo': p.get_content_type(), 'nome': p.get_filename(),\n"
                                 "                   'bytes': base64.b64encode(p.get_content()).decode()})\n"
                                 "print(json.dumps(partes))\n")});
    python.write(bruta);
    python.closeWriteChannel();
    EXPECT_TRUE(python.waitForFinished());
    EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
    return QJsonDocument::fromJson(python.readAllStandardOutput()).array();
}

// The customer gets a standard MIME mail whose one PDF part is the file in
// relatórios; the central office gets today's body byte for byte (the text,
// then the uuencoded PDF and transfer file). The settings switch each form.
TEST_F(CaixaSaida, ClienteEmMimeCentralComUuencode)
{
    ServidorSmtp servidor(QStringLiteral("representante@empresa.com.br"), QStringLiteral("s3nha secreta"),
                          ServidorSmtp::Tls::Nenhum, porta);
    EXPECT_EQ(enviar(), QStringLiteral("O pedido ( 1234 ):\nCliente: enviado.\nCentral 1: enviado."));
    const QString pdf = pasta.arquivo(QStringLiteral("relatórios/pedido-1234.pdf"));

    const QJsonArray partes = partesPeloPython(servidor.mensagem(1).conteudo);
    ASSERT_EQ(partes.size(), 2);
    EXPECT_EQ(partes[0][QStringLiteral("tipo")].toString(), QStringLiteral("text/plain"));
    EXPECT_TRUE(partes[0][QStringLiteral("texto")].toString().contains(QStringLiteral("Entregar pela manhã")));
    EXPECT_EQ(partes[1][QStringLiteral("tipo")].toString(), QStringLiteral("application/pdf"));
    EXPECT_EQ(partes[1][QStringLiteral("nome")].toString(), QStringLiteral("pedido-1234.pdf"));
    EXPECT_EQ(QByteArray::fromBase64(partes[1][QStringLiteral("bytes")].toString().toLatin1()), conteudo(pdf));

    const QByteArray central = servidor.mensagem(2).conteudo;
    const QString transferencia = QStringLiteral("relatórios/pedido-1234cliente-57-LOJA BOAdata-%1.txt")
                                      .arg(QDate::currentDate().toString(QStringLiteral("ddMMyyyy")));
    QByteArray esperado = "Código cliente: 57\n\nNome do cliente: MERCADO BOA VISTA LTDA\n\nCNPJ do cliente: "
                          "12.345.678/0001-90\n\nTelefone do cliente: (62) 3333-4444\n\nEntregar pela manhã\n\n" +
                          blocoUuencode(QStringLiteral("pedido-1234.pdf"), conteudo(pdf)) + '\n' +
                          blocoUuencode(QFileInfo(transferencia).fileName(), conteudo(pasta.arquivo(transferencia)));
    esperado.replace("\n", "\r\n");
    EXPECT_TRUE(central.endsWith("\r\n\r\n" + esperado));
    EXPECT_TRUE(central.contains("Content-Type: text/plain; charset=utf-8\r\n"));

    struct Caso {
        const char *ini;
        bool clienteMime;
        bool centralMime;
    } const casos[] = {
        {"FORMATO_CLIENTE=uue\nFORMATO_CENTRAL=mime\n", false, true},
        {"FORMATO_CLIENTE=MIME\n", true, false},
    };
    int n = 2;
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.ini);
        pasta.escrever(QStringLiteral("Mirvale.ini"), QStringLiteral("[CONEXAO]\nPATH=local.udl\nPATH-BKP=central.udl\n"
                                                                     "[EMAIL]\nTLS=desligado\n") +
                                                          QString::fromUtf8(c.ini));
        enviar();
        const MensagemRecebida cliente = LerMensagemRecebida(servidor.mensagem(++n).conteudo);
        const MensagemRecebida aCentral = LerMensagemRecebida(servidor.mensagem(++n).conteudo);
        EXPECT_EQ(cliente.tiposDosAnexos.isEmpty(), !c.clienteMime);
        EXPECT_EQ(aCentral.tiposDosAnexos,
                  c.centralMime ? QStringList({"application/pdf", "text/plain"}) : QStringList{});
        ASSERT_EQ(aCentral.anexos.size(), 2);
        EXPECT_EQ(aCentral.anexos[0].second, conteudo(pdf));
        EXPECT_EQ(aCentral.anexos[1].second, conteudo(pasta.arquivo(transferencia)));
    }

    // A value that is neither is named, and nothing is kept.
    pasta.escrever(QStringLiteral("Mirvale.ini"),
                   QStringLiteral("[CONEXAO]\nPATH=local.udl\nPATH-BKP=central.udl\n[EMAIL]\nFORMATO_CLIENTE=pdf\n"));
    const QString antes = pasta.consultar(QStringLiteral("SELECT count(*) FROM tbcaixa_saida"));
    dialogos.limpar();
    dialogos.escolher({true, true, false, false});
    EnviarPedido(TipoPedido::Pedido, acoes(TipoPedido::Pedido));
    EXPECT_TRUE(dialogos.textos().join(u'\n').contains(QStringLiteral("FORMATO_CLIENTE")))
        << dialogos.textos().join(u'\n').toStdString();
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT count(*) FROM tbcaixa_saida")), antes);
}

} // namespace
