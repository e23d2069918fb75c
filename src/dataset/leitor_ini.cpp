#include "leitor_ini.h"

#include <QFile>
#include <QList>
#include <QStringDecoder>

#include <algorithm>
#include <cstring>
#include <ini.h>

namespace
{

// The file as UTF-8 lines: files written by older Windows tools are
// Windows-1252, and valid UTF-8 is never read as that.
QList<QByteArray> linhasEmUtf8(const QByteArray &bruto)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString texto = utf8(bruto);
    if (utf8.hasError())
        texto = QStringDecoder("windows-1252")(bruto);
    return texto.toUtf8().split('\n');
}

struct Leitura {
    QList<QByteArray> linhas;
    qsizetype proxima = 0;
    bool cortada = false; // the line just handed over did not fit the parser's buffer
    QString secao, chave;
    QString valor;
    bool achou = false;
};

// Hands the parser one line at a time. Leading blanks go, so that an indented
// key is a key and never the continuation of the value above it.
char *proximaLinha(char *destino, int tamanho, void *dados)
{
    auto &l = *static_cast<Leitura *>(dados);
    if (l.proxima >= l.linhas.size())
        return nullptr;
    const QByteArray linha = l.linhas[l.proxima++].trimmed();
    l.cortada = linha.size() >= tamanho;
    const auto n = std::min<qsizetype>(linha.size(), tamanho - 1);
    std::memcpy(destino, linha.constData(), size_t(n));
    destino[n] = '\0';
    return destino;
}

int aoLerPar(void *dados, const char *secao, const char *chave, const char *valor)
{
    auto &l = *static_cast<Leitura *>(dados);
    if (!l.achou && QString::fromUtf8(secao).compare(l.secao, Qt::CaseInsensitive) == 0 &&
        QString::fromUtf8(chave).compare(l.chave, Qt::CaseInsensitive) == 0) {
        l.achou = true;
        // Half a path is worse than none: it would name another file.
        if (!l.cortada)
            l.valor = QString::fromUtf8(valor);
    }
    return 1;
}

} // namespace

QString LerIni(const QString &secao, const QString &chave, const QString &arquivo)
{
    QFile f(arquivo);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    Leitura l;
    l.linhas = linhasEmUtf8(f.readAll());
    l.secao = secao;
    l.chave = chave;
    // Lines the parser cannot make sense of are skipped; the rest still counts.
    ini_parse_stream(proximaLinha, &l, aoLerPar, &l);
    return l.valor;
}
