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

    const QString id = dados.idMensagem.isEmpty() ? NovoIdMensagem(dados.remetente) : dados.idMensagem;
    g_mime_message_set_message_id(mensagem, id.toUtf8().constData());
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

QByteArray conteudoComUuencode(const MensagemEmail &dados)
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

// The text of a MIME message: quoted-printable where it is not plain ASCII,
// so it passes any server unchanged.
ObjetoG<GMimeTextPart> parteDeTextoMime(const QByteArray &texto)
{
    // The bytes as they are: GMime's set_text would re-encode them to a
    // charset of its own choosing.
    ObjetoG<GMimeTextPart> parte(g_mime_text_part_new_with_subtype("plain"));
    g_mime_text_part_set_charset(parte.get(), "utf-8");
    ObjetoG<GMimeStream> fluxo(g_mime_stream_mem_new_with_buffer(texto.constData(), texto.size()));
    ObjetoG<GMimeDataWrapper> dados(g_mime_data_wrapper_new_with_stream(fluxo.get(), GMIME_CONTENT_ENCODING_DEFAULT));
    g_mime_part_set_content(GMIME_PART(parte.get()), dados.get());
    g_mime_part_set_content_encoding(GMIME_PART(parte.get()), apenasAscii(texto)
                                                                  ? GMIME_CONTENT_ENCODING_7BIT
                                                                  : GMIME_CONTENT_ENCODING_QUOTEDPRINTABLE);
    return parte;
}

struct TipoMime {
    const char *tipo;
    const char *subtipo;
};

TipoMime tipoDoArquivo(const QString &nome)
{
    if (nome.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        return {"application", "pdf"};
    if (nome.endsWith(QLatin1String(".txt"), Qt::CaseInsensitive))
        return {"text", "plain"};
    return {"application", "octet-stream"};
}

ObjetoG<GMimePart> parteDeAnexo(const QString &caminho)
{
    const QString nome = QFileInfo(caminho).fileName();
    const QByteArray bytes = lerAnexo(caminho);
    const TipoMime tipo = tipoDoArquivo(nome);
    ObjetoG<GMimePart> parte(g_mime_part_new_with_type(tipo.tipo, tipo.subtipo));
    ObjetoG<GMimeStream> fluxo(g_mime_stream_mem_new_with_buffer(bytes.constData(), bytes.size()));
    ObjetoG<GMimeDataWrapper> dados(g_mime_data_wrapper_new_with_stream(fluxo.get(), GMIME_CONTENT_ENCODING_DEFAULT));
    g_mime_part_set_content(parte.get(), dados.get());
    g_mime_part_set_content_encoding(parte.get(), GMIME_CONTENT_ENCODING_BASE64);
    g_mime_part_set_filename(parte.get(), nome.toUtf8().constData());
    return parte;
}

ObjetoG<GMimeObject> corpoMime(const MensagemEmail &dados)
{
    ObjetoG<GMimeTextPart> texto = parteDeTextoMime(textoDoCorpo(dados.corpo));
    if (dados.anexos.isEmpty())
        return ObjetoG<GMimeObject>(GMIME_OBJECT(texto.release()));
    ObjetoG<GMimeMultipart> partes(g_mime_multipart_new_with_subtype("mixed"));
    g_mime_multipart_add(partes.get(), GMIME_OBJECT(texto.get()));
    for (const QString &caminho : dados.anexos)
        g_mime_multipart_add(partes.get(), GMIME_OBJECT(parteDeAnexo(caminho).get()));
    return ObjetoG<GMimeObject>(GMIME_OBJECT(partes.release()));
}

ObjetoG<GMimeObject> corpoUuencode(const MensagemEmail &dados)
{
    return ObjetoG<GMimeObject>(GMIME_OBJECT(parteDeTexto(conteudoComUuencode(dados)).release()));
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

    ObjetoG<GMimeObject> corpo = dados.formato == FormatoAnexos::Mime ? corpoMime(dados) : corpoUuencode(dados);
    g_mime_message_set_mime_part(mensagem.get(), corpo.get());
    return escreverComCrlf(mensagem.get());
}

QString NovoIdMensagem(const QString &remetente)
{
    iniciarGMime();
    const QStringList remetentes = enderecosDaLista(remetente);
    const QString dominio = remetentes.isEmpty() ? QString() : remetentes.first().section(u'@', 1);
    char *id = g_mime_utils_generate_message_id(dominio.isEmpty() ? "localhost" : dominio.toUtf8().constData());
    const QString texto = QString::fromUtf8(id);
    g_free(id);
    return texto;
}
