#include "uuencode.h"

#include "gmime_apoio.h"

namespace
{

// A line break in the name would end the "begin" line early and let the rest
// pass for mail text.
QByteArray nomeSeguro(const QString &nome)
{
    QByteArray bytes = nome.toUtf8();
    for (char &c : bytes) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            c = '_';
    }
    return bytes;
}

} // namespace

QByteArray blocoUuencode(const QString &nome, const QByteArray &dados)
{
    iniciarGMime();
    GMimeEncoding estado;
    g_mime_encoding_init_encode(&estado, GMIME_CONTENT_ENCODING_UUENCODE);
    QByteArray codificado(static_cast<qsizetype>(g_mime_encoding_outlen(&estado, dados.size())), '\0');
    const size_t tamanho = g_mime_encoding_flush(&estado, dados.constData(), dados.size(), codificado.data());
    codificado.truncate(static_cast<qsizetype>(tamanho));

    // GMime writes the encoded lines and the closing "`" line only.
    return "begin 644 " + nomeSeguro(nome) + '\n' + codificado + "end\n";
}
