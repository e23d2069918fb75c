#include "mensagem_email.h"

#include "erro.h"
#include "gmime_apoio.h"
#include "lista_enderecos.h"
#include "uuencode.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace
{

void definirRemetente(GMimeMessage *mensagem, const MensagemEmail &dados)
{
    ObjetoG<InternetAddressList> remetentes = listaDeEnderecos(dados.remetente);
    if (internet_address_list_length(remetentes.get()) == 0)
        return;
    InternetAddress *primeiro = internet_address_list_get_address(remetentes.get(), 0);
    if (!dados.nomeRemetente.isEmpty())
        internet_address_set_name(primeiro, dados.nomeRemetente.toUtf8().constData());
    internet_address_list_append(g_mime_message_get_from(mensagem), remetentes.get());
    // Several authors need a Sender: the one whose address goes in the envelope.
    if (internet_address_list_length(remetentes.get()) > 1)
        internet_address_list_add(g_mime_message_get_sender(mensagem), primeiro);
}

void definirIdentificacao(GMimeMessage *mensagem, const MensagemEmail &dados)
{
    GDateTime *agora = g_date_time_new_now_local();
    g_mime_message_set_date(mensagem, agora);
    g_date_time_unref(agora);

    const QStringList remetentes = enderecosDaLista(dados.remetente);
    const QString dominio = remetentes.isEmpty() ? QString() : remetentes.first().section(u'@', 1);
    char *id = g_mime_utils_generate_message_id(dominio.isEmpty() ? "localhost" : dominio.toUtf8().constData());
    g_mime_message_set_message_id(mensagem, id);
    g_free(id);
}

// The lines joined with "\n"; a CR inside a line becomes a line break too, so
// no bare CR ever reaches the wire (servers refuse or rewrite it).
QByteArray textoDoCorpo(const QStringList &linhas)
{
    QString texto = linhas.join(u'\n');
    texto.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    texto.replace(u'\r', u'\n');
    if (!texto.isEmpty() && !texto.endsWith(u'\n'))
        texto += u'\n';
    return texto.toUtf8();
}

QByteArray lerAnexo(const QString &caminho)
{
    QFile arquivo(caminho);
    if (!arquivo.open(QIODevice::ReadOnly))
        throw Erro(QStringLiteral("Não foi possível ler o anexo \"%1\": %2").arg(caminho, arquivo.errorString()));
    return arquivo.readAll();
}

QByteArray conteudoDoCorpo(const MensagemEmail &dados)
{
    QByteArray conteudo = textoDoCorpo(dados.corpo);
    for (const QString &caminho : dados.anexos)
        conteudo += '\n' + blocoUuencode(QFileInfo(caminho).fileName(), lerAnexo(caminho));
    return conteudo;
}

bool apenasAscii(const QByteArray &bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// The attachments travel as uuencoded blocks inside the text, not as MIME
// parts, so the text is sent unencoded (8bit): a quoted-printable body would
// escape the "=" of the encoded lines and spoil them for uudecode.
ObjetoG<GMimeTextPart> parteDeTexto(const QByteArray &conteudo)
{
    ObjetoG<GMimeTextPart> parte(g_mime_text_part_new_with_subtype("plain"));
    g_mime_text_part_set_charset(parte.get(), "utf-8");
    ObjetoG<GMimeStream> fluxo(g_mime_stream_mem_new_with_buffer(conteudo.constData(), conteudo.size()));
    ObjetoG<GMimeDataWrapper> dados(g_mime_data_wrapper_new_with_stream(fluxo.get(), GMIME_CONTENT_ENCODING_DEFAULT));
    g_mime_part_set_content(GMIME_PART(parte.get()), dados.get());
    g_mime_part_set_content_encoding(GMIME_PART(parte.get()),
                                     apenasAscii(conteudo) ? GMIME_CONTENT_ENCODING_7BIT : GMIME_CONTENT_ENCODING_8BIT);
    return parte;
}

QByteArray escreverComCrlf(GMimeMessage *mensagem)
{
    GMimeFormatOptions *opcoes = g_mime_format_options_new();
    g_mime_format_options_set_newline_format(opcoes, GMIME_NEWLINE_FORMAT_DOS);
    ObjetoG<GMimeStream> saida(g_mime_stream_mem_new());
    g_mime_object_write_to_stream(GMIME_OBJECT(mensagem), opcoes, saida.get());
    g_mime_format_options_free(opcoes);
    GByteArray *bytes = g_mime_stream_mem_get_byte_array(GMIME_STREAM_MEM(saida.get()));
    return QByteArray(reinterpret_cast<const char *>(bytes->data), static_cast<qsizetype>(bytes->len));
}

} // namespace

QByteArray comporMensagem(const MensagemEmail &dados)
{
    iniciarGMime();
    ObjetoG<GMimeMessage> mensagem(g_mime_message_new(TRUE));
    definirRemetente(mensagem.get(), dados);
    if (!dados.responderPara.trimmed().isEmpty())
        internet_address_list_append(g_mime_message_get_reply_to(mensagem.get()),
                                     listaDeEnderecos(dados.responderPara).get());
    internet_address_list_append(g_mime_message_get_to(mensagem.get()), listaDeEnderecos(dados.destinatarios).get());
    g_mime_message_set_subject(mensagem.get(), dados.assunto.toUtf8().constData(), "utf-8");
    definirIdentificacao(mensagem.get(), dados);

    ObjetoG<GMimeTextPart> corpo = parteDeTexto(conteudoDoCorpo(dados));
    g_mime_message_set_mime_part(mensagem.get(), GMIME_OBJECT(corpo.get()));
    return escreverComCrlf(mensagem.get());
}
