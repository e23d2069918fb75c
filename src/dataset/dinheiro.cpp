#include "dinheiro.h"

#include <QRegularExpression>
#include <cmath>
#include <limits>

namespace
{

std::int64_t arredondar(long double escalado)
{
    if (!std::isfinite(escalado) || std::fabs(escalado) > static_cast<long double>(Dinheiro::Limite))
        throw ErroForaDoLimite();
    return static_cast<std::int64_t>(std::llrintl(escalado));
}

// The value of sign, integer digits and decimal digits; beyond four decimals
// it is rounded (a tie to the even neighbour).
std::int64_t montar(bool negativo, QString inteiro, const QString &fracao)
{
    while (inteiro.startsWith(QLatin1Char('0')))
        inteiro.remove(0, 1);
    if (inteiro.size() > 12)
        throw ErroForaDoLimite();
    std::int64_t valor = inteiro.isEmpty() ? 0 : inteiro.toLongLong();
    const QString quatro = (fracao + QStringLiteral("0000")).left(4);
    valor = valor * Dinheiro::Escala + quatro.toLongLong();
    if (fracao.size() > 4) {
        const QString resto = fracao.mid(4);
        const int primeiro = resto.at(0).digitValue();
        const bool maisQueMeio = resto.mid(1).contains(QRegularExpression(QStringLiteral("[1-9]")));
        if (primeiro > 5 || (primeiro == 5 && (maisQueMeio || valor % 2 == 1)))
            ++valor;
    }
    if (valor > Dinheiro::Limite)
        throw ErroForaDoLimite();
    return negativo ? -valor : valor;
}

Erro naoEhValor(const QString &entrada)
{
    return Erro(QStringLiteral("'%1' não é um valor válido.").arg(entrada));
}

// Sign, digits, and one "." or "," before the decimals.
std::int64_t lerSimples(const QString &entrada)
{
    static const QRegularExpression formato(QStringLiteral("^([+-]?)(\\d*)(?:[,.](\\d*))?$"));
    const auto m = formato.match(entrada.trimmed());
    if (!m.hasMatch() || (m.capturedLength(2) == 0 && m.capturedLength(3) == 0))
        throw naoEhValor(entrada);
    return montar(m.captured(1) == QLatin1String("-"), m.captured(2), m.captured(3));
}

// Groups the integer digits in threes with '.'.
QString agrupar(QString digitos)
{
    for (int i = digitos.size() - 3; i > 0; i -= 3)
        digitos.insert(i, QLatin1Char('.'));
    return digitos;
}

QString comDuasCasas(std::int64_t valor, bool agrupado)
{
    // Two decimals from four: the hundredths rounded half away from zero, as
    // a display pattern does.
    const bool negativo = valor < 0;
    std::uint64_t abs = negativo ? 0 - static_cast<std::uint64_t>(valor) : static_cast<std::uint64_t>(valor);
    std::uint64_t centesimos = (abs + 50) / 100;
    QString inteiro = QString::number(centesimos / 100);
    if (agrupado)
        inteiro = agrupar(inteiro);
    QString texto = inteiro + QLatin1Char(',') + QStringLiteral("%1").arg(centesimos % 100, 2, 10, QLatin1Char('0'));
    if (negativo && centesimos != 0)
        texto.prepend(QLatin1Char('-'));
    return texto;
}

} // namespace

Dinheiro Dinheiro::deDouble(long double v)
{
    return Dinheiro(arredondar(v * Escala));
}

Dinheiro Dinheiro::arredondarEscalado(long double escalado)
{
    return Dinheiro(arredondar(escalado));
}

Dinheiro Dinheiro::multiplicar(long double fator) const
{
    return Dinheiro(arredondar(static_cast<long double>(m_valor) * fator));
}

Dinheiro Dinheiro::deEscaladoNoLimite(std::int64_t v)
{
    if (v > Limite || v < -Limite)
        throw ErroForaDoLimite();
    return Dinheiro(v);
}

Dinheiro Dinheiro::deTexto(const QString &entrada)
{
    // Thousands grouped with dots: a first group of one to three digits that
    // does not start with 0, then groups of exactly three, then the comma.
    static const QRegularExpression agrupado(QStringLiteral("^([+-]?)([1-9]\\d{0,2}(?:\\.\\d{3})+)(?:,(\\d*))?$"));
    const auto m = agrupado.match(entrada.trimmed());
    if (m.hasMatch())
        return Dinheiro(
            montar(m.captured(1) == QLatin1String("-"), m.captured(2).remove(QLatin1Char('.')), m.captured(3)));
    return Dinheiro(lerSimples(entrada));
}

Dinheiro Dinheiro::deTextoSimples(const QString &entrada)
{
    return Dinheiro(lerSimples(entrada));
}

QString Dinheiro::texto() const
{
    const bool negativo = m_valor < 0;
    const std::uint64_t abs = negativo ? 0 - static_cast<std::uint64_t>(m_valor) : static_cast<std::uint64_t>(m_valor);
    QString texto = QString::number(abs / Escala);
    if (const std::uint64_t fracao = abs % Escala) {
        QString casas = QStringLiteral("%1").arg(fracao, 4, 10, QLatin1Char('0'));
        while (casas.endsWith(QLatin1Char('0')))
            casas.chop(1);
        texto += QLatin1Char(',') + casas;
    }
    return negativo ? QLatin1Char('-') + texto : texto;
}

QString Dinheiro::exibicao() const
{
    return comDuasCasas(m_valor, true);
}

QString Dinheiro::edicao() const
{
    return comDuasCasas(m_valor, false);
}
