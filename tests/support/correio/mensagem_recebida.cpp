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

QByteArray conteudoDecodificado(GMimePart *parte)
{
    ObjetoG<GMimeStream> saida(g_mime_stream_mem_new());
    g_mime_data_wrapper_write_to_stream(g_mime_part_get_content(parte), saida.get());
    GByteArray *bytes = g_mime_stream_mem_get_byte_array(GMIME_STREAM_MEM(saida.get()));
    return QByteArray(reinterpret_cast<const char *>(bytes->data), static_cast<qsizetype>(bytes->len));
}

QStringList linhasDoTexto(const QByteArray &texto)
{
    QStringList linhas = QString::fromUtf8(texto).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).split(u'\n');
    while (!linhas.isEmpty() && linhas.last().isEmpty())
        linhas.removeLast();
    return linhas;
}

void lerPartes(GMimeMultipart *partes, MensagemRecebida &m)
{
    for (int i = 0; i < g_mime_multipart_get_count(partes); ++i) {
        GMimeObject *objeto = g_mime_multipart_get_part(partes, i);
        if (!GMIME_IS_PART(objeto))
            continue;
        GMimePart *parte = GMIME_PART(objeto);
        GMimeContentType *tipo = g_mime_object_get_content_type(objeto);
        const char *nome = g_mime_part_get_filename(parte);
        if (i == 0 && !nome) {
            m.linhas = linhasDoTexto(conteudoDecodificado(parte));
            continue;
        }
        m.anexos.append({QString::fromUtf8(nome), conteudoDecodificado(parte)});
        char *texto = g_mime_content_type_get_mime_type(tipo);
        m.tiposDosAnexos << QString::fromUtf8(texto);
        g_free(texto);
    }
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

    if (GMIME_IS_MULTIPART(g_mime_message_get_mime_part(lida.get()))) {
        lerPartes(GMIME_MULTIPART(g_mime_message_get_mime_part(lida.get())), m);
        return m;
    }
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
