#include "ordem_texto.h"

#include "erro.h"

#include <QRegularExpression>

#include <algorithm>
#include <cstring>
#include <memory>
#include <sqlite3.h>
#include <unicode/ucol.h>

namespace OrdemTexto
{

namespace
{

int comparar(void *dados, int n1, const void *t1, int n2, const void *t2)
{
    UErrorCode erro = U_ZERO_ERROR;
    const UCollationResult r = ucol_strcollUTF8(static_cast<UCollator *>(dados), static_cast<const char *>(t1), n1,
                                                static_cast<const char *>(t2), n2, &erro);
    if (U_SUCCESS(erro) && r != UCOL_EQUAL)
        return r == UCOL_LESS ? -1 : 1;
    // Texts the collator holds equal still get one fixed order.
    const int c = std::memcmp(t1, t2, size_t(std::min(n1, n2)));
    return c != 0 ? c : n1 - n2;
}

UCollator *abrirColador()
{
    UErrorCode erro = U_ZERO_ERROR;
    UCollator *colador = ucol_open("pt_BR", &erro);
    if (U_FAILURE(erro))
        throw Erro(QStringLiteral("Não foi possível preparar a ordem alfabética do português: %1")
                       .arg(QString::fromLatin1(u_errorName(erro))));
    return colador;
}

void liberar(void *dados)
{
    ucol_close(static_cast<UCollator *>(dados));
}

// The SQL with everything inside quotes, brackets and parentheses (those
// included) blanked out, position for position, so that a keyword or comma in
// a text or a subquery is never taken for the statement's own.
QString nivelZero(const QString &sql)
{
    QString mascara = sql;
    int nivel = 0;
    for (qsizetype i = 0; i < sql.size(); ++i) {
        const QChar c = sql.at(i);
        const QChar fecha = c == u'[' ? QChar(u']') : (c == u'\'' || c == u'"' || c == u'`') ? c : QChar();
        if (!fecha.isNull()) {
            qsizetype f = sql.indexOf(fecha, i + 1);
            f = f < 0 ? sql.size() - 1 : f;
            for (; i <= f; ++i)
                mascara[i] = u'#';
            --i;
            continue;
        }
        if (c == u'(')
            ++nivel;
        if (nivel > 0)
            mascara[i] = u'#';
        if (c == u')' && nivel > 0)
            --nivel;
    }
    return mascara;
}

QString comColacao(const QString &termo)
{
    static const QRegularExpression jaTem(QStringLiteral("\\bCOLLATE\\b"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression direcao(QStringLiteral("(\\s+(ASC|DESC))?(\\s+NULLS\\s+(FIRST|LAST))?\\s*$"),
                                            QRegularExpression::CaseInsensitiveOption);
    if (termo.trimmed().isEmpty() || jaTem.match(termo).hasMatch())
        return termo;
    const auto m = direcao.match(termo);
    const qsizetype corte = m.capturedStart();
    return termo.left(corte) + QStringLiteral(" COLLATE ") + QLatin1String(kNome) + termo.mid(corte);
}

const QRegularExpression &fimDaOrdem()
{
    static const QRegularExpression fim(QStringLiteral("\\bLIMIT\\b|;"), QRegularExpression::CaseInsensitiveOption);
    return fim;
}

// Where the terms of the statement's own ORDER BY begin in the masked SQL,
// or -1.
qsizetype inicioDaOrdem(const QString &mascara)
{
    static const QRegularExpression ordemPor(QStringLiteral("\\bORDER\\s+BY\\b"),
                                             QRegularExpression::CaseInsensitiveOption);
    qsizetype inicio = -1;
    for (auto it = ordemPor.globalMatch(mascara); it.hasNext();)
        inicio = it.next().capturedEnd();
    return inicio;
}

} // namespace

void registrar(sqlite3 *db)
{
    UCollator *colador = abrirColador();
    if (sqlite3_create_collation_v2(db, kNome, SQLITE_UTF8, colador, comparar, liberar) != SQLITE_OK) {
        ucol_close(colador);
        throw Erro(QStringLiteral("Não foi possível preparar a ordem alfabética do português: %1")
                       .arg(QString::fromUtf8(sqlite3_errmsg(db))));
    }
}

QString aplicar(const QString &sql)
{
    const QString mascara = nivelZero(sql);
    const qsizetype inicio = inicioDaOrdem(mascara);
    if (inicio < 0)
        return sql;
    const auto m = fimDaOrdem().match(mascara, inicio);
    const qsizetype fim = m.hasMatch() ? m.capturedStart() : sql.size();
    QString resultado = sql.left(inicio);
    qsizetype termo = inicio;
    for (qsizetype i = inicio; i <= fim; ++i) {
        if (i == fim || mascara.at(i) == u',') {
            resultado += comColacao(sql.mid(termo, i - termo));
            if (i < fim)
                resultado += u',';
            termo = i + 1;
        }
    }
    return resultado + sql.mid(fim);
}

std::optional<QStringList> colunasDaOrdem(const QString &sql)
{
    const QString mascara = nivelZero(sql);
    const qsizetype inicio = inicioDaOrdem(mascara);
    if (inicio < 0 || fimDaOrdem().match(mascara, inicio).hasMatch())
        return std::nullopt;
    static const QRegularExpression termo(QStringLiteral("^\\s*\"?([A-Za-z_][A-Za-z0-9_]*)\"?(\\s+ASC)?\\s*$"),
                                          QRegularExpression::CaseInsensitiveOption);
    QStringList colunas;
    for (const QString &t : sql.mid(inicio).split(u',')) {
        const auto m = termo.match(t);
        if (!m.hasMatch())
            return std::nullopt;
        colunas << m.captured(1);
    }
    return colunas;
}

int comparar(std::string_view a, std::string_view b)
{
    thread_local const std::unique_ptr<UCollator, void (*)(UCollator *)> colador(abrirColador(), ucol_close);
    return comparar(colador.get(), static_cast<int>(a.size()), a.data(), static_cast<int>(b.size()), b.data());
}

} // namespace OrdemTexto
