#include "formatos.h"

#include "erro.h"

#include <QRegularExpression>

namespace Formatos
{

namespace
{

Erro dataInvalida(const QString &texto)
{
    return Erro(QStringLiteral("'%1' não é uma data válida.").arg(texto));
}

} // namespace

QString data(const QDate &d)
{
    return d.isValid() ? d.toString(QStringLiteral("dd/MM/yyyy")) : QString();
}

QString dataHora(const QDateTime &dt)
{
    if (!dt.isValid())
        return {};
    return dt.time() == QTime(0, 0) ? data(dt.date()) : dataHoraCompleta(dt);
}

QString dataHoraCompleta(const QDateTime &dt)
{
    return dt.isValid() ? dt.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss")) : QString();
}

QDate lerData(const QString &texto)
{
    static const QRegularExpression formato(QStringLiteral("^(\\d{1,2})/(\\d{1,2})/(\\d{2}|\\d{4})$"));
    const auto m = formato.match(texto.trimmed());
    if (!m.hasMatch())
        throw dataInvalida(texto);
    int ano = m.captured(3).toInt();
    if (m.captured(3).size() == 2)
        ano += ano < 50 ? 2000 : 1900;
    const QDate d(ano, m.captured(2).toInt(), m.captured(1).toInt());
    if (!d.isValid())
        throw dataInvalida(texto);
    return d;
}

QDateTime lerDataHora(const QString &texto)
{
    static const QRegularExpression formato(QStringLiteral("^(\\S+)(?:\\s+(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}))?)?$"));
    const auto m = formato.match(texto.trimmed());
    if (!m.hasMatch())
        throw dataInvalida(texto);
    const QDate d = lerData(m.captured(1));
    QTime t(0, 0);
    if (!m.captured(2).isEmpty()) {
        t = QTime(m.captured(2).toInt(), m.captured(3).toInt(), m.captured(4).toInt());
        if (!t.isValid())
            throw dataInvalida(texto);
    }
    return QDateTime(d, t);
}

QString dataHoraBanco(const QDateTime &dt)
{
    return dt.isValid() ? dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) : QString();
}

QDateTime lerDataHoraBanco(const QString &texto)
{
    QDateTime dt = QDateTime::fromString(texto, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!dt.isValid())
        dt = QDateTime::fromString(texto, Qt::ISODateWithMs);
    if (!dt.isValid())
        dt = QDateTime(QDate::fromString(texto, QStringLiteral("yyyy-MM-dd")), QTime(0, 0));
    return dt;
}

QString numero(double v)
{
    return QString::number(v, 'g', 15).replace(QLatin1Char('.'), QLatin1Char(','));
}

double lerNumero(const QString &texto)
{
    static const QRegularExpression formato(QStringLiteral("^[+-]?(\\d+([.,]\\d*)?|[.,]\\d+)$"));
    const QString limpo = texto.trimmed();
    if (!formato.match(limpo).hasMatch())
        throw Erro(QStringLiteral("'%1' não é um número válido.").arg(texto));
    QString ponto = limpo;
    return ponto.replace(QLatin1Char(','), QLatin1Char('.')).toDouble();
}

qint64 lerInteiro(const QString &texto)
{
    bool ok = false;
    const qint64 v = texto.trimmed().toLongLong(&ok);
    if (!ok)
        throw Erro(QStringLiteral("'%1' não é um número inteiro válido.").arg(texto));
    return v;
}

} // namespace Formatos
