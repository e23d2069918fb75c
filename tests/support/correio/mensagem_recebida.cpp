#include "mensagem_recebida.h"

#include "gmime_apoio.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{

QStringList enderecos(InternetAddressList *lista)
{
    QStringList textos;
    for (int i = 0; lista && i < internet_address_list_length(lista); ++i) {
        InternetAddress *endereco = internet_address_list_get_address(lista, i);
        const QString nome = QString::fromUtf8(internet_address_get_name(endereco));
        const QString email = QString::fromUtf8(internet_address_mailbox_get_addr(INTERNET_ADDRESS_MAILBOX(endereco)));
        textos.append(nome.isEmpty() ? email : nome + " <" + email + '>');
    }
    return textos;
}

QByteArray uudecode(const QByteArray &bloco)
{
    QTemporaryDir pasta;
    const QString entrada = pasta.filePath(QStringLiteral("entrada"));
    const QString saida = pasta.filePath(QStringLiteral("saida"));
    QFile arquivo(entrada);
    EXPECT_TRUE(arquivo.open(QIODevice::WriteOnly));
    arquivo.write(bloco);
    arquivo.close();
    QProcess processo;
    processo.start(QStringLiteral("uudecode"), {QStringLiteral("-o"), saida, entrada});
    EXPECT_TRUE(processo.waitForFinished());
    EXPECT_EQ(processo.exitCode(), 0) << processo.readAllStandardError().toStdString();
    QFile decodificado(saida);
    return decodificado.open(QIODevice::ReadOnly) ? decodificado.readAll() : QByteArray();
}

} // namespace

MensagemRecebida LerMensagemRecebida(const QByteArray &bruta)
{
    MensagemRecebida m;
    iniciarGMime();
    ObjetoG<GMimeStream> fluxo(g_mime_stream_mem_new_with_buffer(bruta.constData(), bruta.size()));
    ObjetoG<GMimeParser> analisador(g_mime_parser_new_with_stream(fluxo.get()));
    ObjetoG<GMimeMessage> lida(g_mime_parser_construct_message(analisador.get(), nullptr));
    if (!lida) {
        ADD_FAILURE() << "mensagem ilegível";
        return m;
    }
    m.de = enderecos(g_mime_message_get_from(lida.get())).join(QStringLiteral(", "));
    m.responderPara = enderecos(g_mime_message_get_reply_to(lida.get()));
    m.para = enderecos(g_mime_message_get_to(lida.get()));
    m.assunto = QString::fromUtf8(g_mime_message_get_subject(lida.get()));

    // The body travels unencoded, so the raw text is the text.
    const QByteArray corpo = bruta.mid(bruta.indexOf("\r\n\r\n") + 4);
    static const QRegularExpression inicio(QStringLiteral("^begin 644 (.*)$"), QRegularExpression::MultilineOption);
    const QString texto = QString::fromUtf8(corpo);
    auto blocos = inicio.globalMatch(texto);
    qsizetype fimDoTexto = texto.size();
    bool primeiro = true;
    while (blocos.hasNext()) {
        const QRegularExpressionMatch b = blocos.next();
        if (primeiro)
            fimDoTexto = b.capturedStart();
        primeiro = false;
        const QString nome = b.captured(1).chopped(b.captured(1).endsWith(u'\r') ? 1 : 0);
        const qsizetype fim = texto.indexOf(QStringLiteral("\r\nend\r\n"), b.capturedStart());
        m.anexos.append({nome, uudecode(texto.mid(b.capturedStart(), fim + 7 - b.capturedStart()).toUtf8())});
    }
    m.linhas = texto.left(fimDoTexto).split(QStringLiteral("\r\n"));
    while (!m.linhas.isEmpty() && m.linhas.last().isEmpty())
        m.linhas.removeLast();
    return m;
}
