#include "valor_campo.h"

#include "erro.h"
#include "formatos.h"

#include <array>
#include <cmath>
#include <limits>

namespace ValorCampo
{

namespace
{

constexpr qint64 kDiaJuliano2000 = 2451545; // 2000-01-01
constexpr qint64 kSegundosDia = 86400;
// Days from 1899-12-30, the zero of a floating-point date, to 2000-01-01.
constexpr double kDias1899a2000 = 36526.0;

bool registrarConversoes()
{
    QMetaType::registerConverter<Dinheiro, double>(&Dinheiro::paraDouble);
    QMetaType::registerConverter<Dinheiro, QString>(&Dinheiro::texto);
    return true;
}
[[maybe_unused]] const bool kConversoesRegistradas = registrarConversoes();

QString nomeDe(const DefCampo &def)
{
    return QString::fromUtf8(def.nome);
}

// A one-letter text, such as a discount code, is shared rather than
// allocated each time it is read.
QString textoDaCelula(const Celula &c)
{
    if (c.tamanho == 1 && static_cast<unsigned char>(c.texto[0]) < 0x80) {
        static const std::array<QString, 0x80> letras = [] {
            std::array<QString, 0x80> a;
            for (char16_t u = 0; u < 0x80; ++u)
                a[u] = QString(QChar(u));
            return a;
        }();
        return letras[static_cast<std::size_t>(c.texto[0])];
    }
    return QString::fromUtf8(c.texto, c.tamanho);
}

Erro naoCabe(const QString &valor, const DefCampo &def)
{
    return Erro(QStringLiteral("O campo %1 não aceita o valor \"%2\".").arg(nomeDe(def), valor));
}

// Runs a text conversion, turning its error into one that names the field.
template <typename F> auto converter(const QString &t, const DefCampo &def, const char *oQue, F f)
{
    try {
        return f(t);
    } catch (const ErroForaDoLimite &) {
        throw;
    } catch (const Erro &) {
        throw Erro(QStringLiteral("\"%1\" não é %2 para o campo %3.").arg(t, QString::fromUtf8(oQue), nomeDe(def)));
    }
}

bool lerBooleano(const QString &t, bool &valor)
{
    static const char *const verdadeiros[] = {"true", "t", "sim", "s", "verdadeiro", "1", "-1"};
    static const char *const falsos[] = {"false", "f", "não", "nao", "n", "falso", "0"};
    const QString v = t.trimmed();
    for (const char *s : verdadeiros)
        if (v.compare(QString::fromUtf8(s), Qt::CaseInsensitive) == 0)
            return valor = true;
    for (const char *s : falsos)
        if (v.compare(QString::fromUtf8(s), Qt::CaseInsensitive) == 0) {
            valor = false;
            return true;
        }
    return false;
}

Celula inteiroNoIntervalo(qint64 v, const DefCampo &def)
{
    qint64 minimo = std::numeric_limits<qint32>::min();
    qint64 maximo = std::numeric_limits<qint32>::max();
    if (def.tipo == TipoCampo::Word) {
        minimo = 0;
        maximo = 65535;
    }
    if (v < minimo || v > maximo)
        throw Erro(QStringLiteral("O valor %1 está fora do intervalo permitido para o campo %2 (%3 a %4).")
                       .arg(v)
                       .arg(nomeDe(def))
                       .arg(minimo)
                       .arg(maximo));
    return Celula::deInteiro(v);
}

int doisDigitos(const char *p)
{
    return (p[0] - '0') * 10 + (p[1] - '0');
}

bool digitos(const char *p, int n)
{
    for (int i = 0; i < n; ++i)
        if (p[i] < '0' || p[i] > '9')
            return false;
    return true;
}

// Decimal digits of |v| with the given number of decimals, rounded to
// `casas` decimals (a half away from zero), grouped and signed.
QString formatarDigitos(QByteArray d, int escala, bool negativo, int casas, bool agrupar)
{
    if (escala < casas) {
        d.append(casas - escala, '0');
    } else if (escala > casas) {
        const qsizetype manter = d.size() - (escala - casas);
        bool subir = manter >= 0 && manter < d.size() && d.at(manter) >= '5';
        d = manter > 0 ? d.left(manter) : QByteArray("0");
        for (qsizetype i = d.size() - 1; subir && i >= 0; --i) {
            subir = d.at(i) == '9';
            d[i] = subir ? '0' : static_cast<char>(d.at(i) + 1);
        }
        if (subir)
            d.prepend('1');
    }
    while (d.size() > casas + 1 && d.at(0) == '0')
        d.remove(0, 1);
    if (d.size() < casas + 1)
        d.prepend(QByteArray(casas + 1 - d.size(), '0'));
    QString inteiro = QString::fromLatin1(d.left(d.size() - casas));
    if (agrupar)
        for (qsizetype i = inteiro.size() - 3; i > 0; i -= 3)
            inteiro.insert(i, QLatin1Char('.'));
    QString texto = inteiro;
    if (casas > 0)
        texto += QLatin1Char(',') + QString::fromLatin1(d.right(casas));
    const bool zero = d.count('0') == d.size();
    return negativo && !zero ? QLatin1Char('-') + texto : texto;
}

void lerPadrao(const char *padrao, int &casas, bool &agrupar)
{
    const QByteArray p(padrao);
    const qsizetype ponto = p.indexOf('.');
    casas = ponto < 0 ? 0 : static_cast<int>(p.size() - ponto - 1);
    agrupar = p.contains(',');
}

} // namespace

bool ehTexto(TipoCampo t)
{
    return t == TipoCampo::Texto || t == TipoCampo::TextoAnsi || t == TipoCampo::Memo;
}

qint64 empacotarDataHora(const QDateTime &dt)
{
    return (dt.date().toJulianDay() - kDiaJuliano2000) * kSegundosDia + dt.time().msecsSinceStartOfDay() / 1000;
}

QDateTime desempacotarDataHora(qint64 segundos)
{
    qint64 dias = segundos / kSegundosDia;
    qint64 resto = segundos % kSegundosDia;
    if (resto < 0) {
        resto += kSegundosDia;
        --dias;
    }
    return QDateTime(QDate::fromJulianDay(dias + kDiaJuliano2000),
                     QTime::fromMSecsSinceStartOfDay(static_cast<int>(resto * 1000)));
}

bool lerDataHoraBanco(const char *t, qsizetype n, qint64 &segundos)
{
    if (n < 10 || !digitos(t, 4) || t[4] != '-' || !digitos(t + 5, 2) || t[7] != '-' || !digitos(t + 8, 2))
        return false;
    const int ano = doisDigitos(t) * 100 + doisDigitos(t + 2);
    const int mes = doisDigitos(t + 5);
    const int dia = doisDigitos(t + 8);
    if (!QDate::isValid(ano, mes, dia))
        return false;
    int h = 0, m = 0, s = 0;
    if (n > 10) {
        if (n < 16 || (t[10] != ' ' && t[10] != 'T') || !digitos(t + 11, 2) || t[13] != ':' || !digitos(t + 14, 2))
            return false;
        h = doisDigitos(t + 11);
        m = doisDigitos(t + 14);
        if (n >= 19) {
            if (t[16] != ':' || !digitos(t + 17, 2))
                return false;
            s = doisDigitos(t + 17);
        }
        if (h > 23 || m > 59 || s > 59)
            return false;
    }
    segundos = (QDate(ano, mes, dia).toJulianDay() - kDiaJuliano2000) * kSegundosDia + h * 3600 + m * 60 + s;
    return true;
}

QString dataHoraBanco(qint64 segundos)
{
    return Formatos::dataHoraBanco(desempacotarDataHora(segundos));
}

QString formatar(Dinheiro v, const char *padrao)
{
    int casas = 0;
    bool agrupar = false;
    lerPadrao(padrao, casas, agrupar);
    const qint64 e = v.escalado();
    const quint64 abs = e < 0 ? 0 - static_cast<quint64>(e) : static_cast<quint64>(e);
    return formatarDigitos(QByteArray::number(abs), 4, e < 0, casas, agrupar);
}

QString formatar(double v, const char *padrao)
{
    if (!std::isfinite(v))
        return QString::number(v);
    int casas = 0;
    bool agrupar = false;
    lerPadrao(padrao, casas, agrupar);
    // The value as its 15 significant digits show it, then rounded.
    const QByteArray e = QByteArray::number(std::fabs(v), 'e', 14);
    const qsizetype pos = e.indexOf('e');
    QByteArray d = e.left(pos);
    d.remove(1, 1);
    const int expoente = e.mid(pos + 1).toInt();
    int escala = 14 - expoente;
    if (escala < 0) {
        d.append(-escala, '0');
        escala = 0;
    }
    return formatarDigitos(d, escala, v < 0, casas, agrupar);
}

QVariant variante(const Celula &c, const DefCampo &def)
{
    if (c.nula())
        return {};
    switch (def.tipo) {
    case TipoCampo::AutoInc:
    case TipoCampo::Inteiro:
    case TipoCampo::Word:
        return QVariant::fromValue<qlonglong>(inteiro(c, def));
    case TipoCampo::Booleano:
        return booleano(c, def);
    case TipoCampo::Float:
        return real(c, def);
    case TipoCampo::Moeda:
        return QVariant::fromValue(dinheiro(c, def));
    case TipoCampo::DataHora:
        return dataHora(c, def);
    case TipoCampo::Texto:
    case TipoCampo::TextoAnsi:
    case TipoCampo::Memo:
        break;
    }
    return texto(c, def);
}

QString texto(const Celula &c, const DefCampo &def)
{
    switch (c.tipo) {
    case Celula::Tipo::Nulo:
        return {};
    case Celula::Tipo::Texto:
        return textoDaCelula(c);
    case Celula::Tipo::Real:
        return Formatos::numero(c.real);
    case Celula::Tipo::Inteiro:
        break;
    }
    switch (def.tipo) {
    case TipoCampo::Booleano:
        return c.inteiro ? QStringLiteral("True") : QStringLiteral("False");
    case TipoCampo::Moeda:
        return Dinheiro::deEscalado(c.inteiro).texto();
    case TipoCampo::DataHora:
        return Formatos::dataHora(desempacotarDataHora(c.inteiro));
    default:
        return QString::number(c.inteiro);
    }
}

QString textoExibicao(const Celula &c, const DefCampo &def)
{
    if (c.nula() || c.tipo == Celula::Tipo::Texto || !def.formatoExibicao)
        return texto(c, def);
    if (def.tipo == TipoCampo::Moeda)
        return formatar(dinheiro(c, def), def.formatoExibicao);
    return formatar(real(c, def), def.formatoExibicao);
}

QString textoEdicao(const Celula &c, const DefCampo &def)
{
    if (c.nula() || c.tipo == Celula::Tipo::Texto || !def.formatoEdicao)
        return texto(c, def);
    if (def.tipo == TipoCampo::Moeda)
        return formatar(dinheiro(c, def), def.formatoEdicao);
    return formatar(real(c, def), def.formatoEdicao);
}

qint64 inteiro(const Celula &c, const DefCampo &def)
{
    switch (c.tipo) {
    case Celula::Tipo::Nulo:
        return 0;
    case Celula::Tipo::Real:
        return std::llround(c.real);
    case Celula::Tipo::Texto:
        if (def.tipo == TipoCampo::Booleano)
            return booleano(c, def) ? 1 : 0;
        return converter(textoDaCelula(c), def, "um número inteiro válido", &Formatos::lerInteiro);
    case Celula::Tipo::Inteiro:
        break;
    }
    if (def.tipo == TipoCampo::Moeda)
        return std::llround(Dinheiro::deEscalado(c.inteiro).paraLongDouble());
    if (def.tipo == TipoCampo::DataHora)
        return static_cast<qint64>(std::floor(real(c, def)));
    return c.inteiro;
}

double real(const Celula &c, const DefCampo &def)
{
    switch (c.tipo) {
    case Celula::Tipo::Nulo:
        return 0;
    case Celula::Tipo::Real:
        return c.real;
    case Celula::Tipo::Texto:
        return converter(textoDaCelula(c), def, "um número válido", &Formatos::lerNumero);
    case Celula::Tipo::Inteiro:
        break;
    }
    if (def.tipo == TipoCampo::Moeda)
        return Dinheiro::deEscalado(c.inteiro).paraDouble();
    if (def.tipo == TipoCampo::DataHora)
        return kDias1899a2000 + static_cast<double>(c.inteiro) / kSegundosDia;
    return static_cast<double>(c.inteiro);
}

Dinheiro dinheiro(const Celula &c, const DefCampo &def)
{
    switch (c.tipo) {
    case Celula::Tipo::Nulo:
        return {};
    case Celula::Tipo::Real:
        return Dinheiro::deDouble(c.real);
    case Celula::Tipo::Texto:
        return converter(textoDaCelula(c), def, "um valor válido", &Dinheiro::deTextoSimples);
    case Celula::Tipo::Inteiro:
        break;
    }
    if (def.tipo == TipoCampo::Moeda)
        return Dinheiro::deEscalado(c.inteiro);
    return Dinheiro::deDouble(real(c, def));
}

QDateTime dataHora(const Celula &c, const DefCampo &def)
{
    if (c.tipo == Celula::Tipo::Texto) {
        qint64 s = 0;
        if (lerDataHoraBanco(c.texto, c.tamanho, s))
            return desempacotarDataHora(s);
        return converter(textoDaCelula(c), def, "uma data válida", &Formatos::lerDataHora);
    }
    if (c.tipo == Celula::Tipo::Inteiro && def.tipo == TipoCampo::DataHora)
        return desempacotarDataHora(c.inteiro);
    return {};
}

bool booleano(const Celula &c, const DefCampo &def)
{
    switch (c.tipo) {
    case Celula::Tipo::Nulo:
        return false;
    case Celula::Tipo::Inteiro:
        return c.inteiro != 0;
    case Celula::Tipo::Real:
        return c.real != 0;
    case Celula::Tipo::Texto:
        break;
    }
    bool v = false;
    const QString t = textoDaCelula(c);
    if (!lerBooleano(t, v))
        throw Erro(QStringLiteral("\"%1\" não é um valor lógico válido para o campo %2.").arg(t, nomeDe(def)));
    return v;
}

Celula deTexto(const QString &t, const DefCampo &def)
{
    if (ehTexto(def.tipo)) {
        const bool limitar = def.tipo != TipoCampo::Memo && def.largura > 0 && t.size() > def.largura;
        return Celula::deTexto((limitar ? t.left(def.largura) : t).toUtf8());
    }
    if (t.trimmed().isEmpty())
        return {};
    switch (def.tipo) {
    case TipoCampo::AutoInc:
    case TipoCampo::Inteiro:
    case TipoCampo::Word:
        return inteiroNoIntervalo(converter(t, def, "um número inteiro válido", &Formatos::lerInteiro), def);
    case TipoCampo::Float:
        return Celula::deReal(converter(t, def, "um número válido", &Formatos::lerNumero));
    case TipoCampo::Moeda:
        return Celula::deInteiro(converter(t, def, "um valor válido", &Dinheiro::deTexto).escalado());
    case TipoCampo::DataHora:
        return Celula::deInteiro(empacotarDataHora(converter(t, def, "uma data válida", &Formatos::lerDataHora)));
    case TipoCampo::Booleano: {
        bool v = false;
        if (!lerBooleano(t, v))
            throw Erro(QStringLiteral("\"%1\" não é um valor lógico válido para o campo %2.").arg(t, nomeDe(def)));
        return Celula::deInteiro(v ? 1 : 0);
    }
    default:
        break;
    }
    return {};
}

Celula deInteiro(qint64 v, const DefCampo &def)
{
    switch (def.tipo) {
    case TipoCampo::AutoInc:
    case TipoCampo::Inteiro:
    case TipoCampo::Word:
        return inteiroNoIntervalo(v, def);
    case TipoCampo::Booleano:
        return Celula::deInteiro(v != 0 ? 1 : 0);
    case TipoCampo::Float:
        return Celula::deReal(static_cast<double>(v));
    case TipoCampo::Moeda:
        return Celula::deInteiro(Dinheiro::deDouble(static_cast<long double>(v)).escalado());
    case TipoCampo::DataHora:
        throw naoCabe(QString::number(v), def);
    default:
        break;
    }
    return deTexto(QString::number(v), def);
}

Celula deReal(double v, const DefCampo &def)
{
    if (!std::isfinite(v))
        throw naoCabe(QString::number(v), def);
    switch (def.tipo) {
    case TipoCampo::AutoInc:
    case TipoCampo::Inteiro:
    case TipoCampo::Word:
        return inteiroNoIntervalo(std::llround(v), def);
    case TipoCampo::Booleano:
        return Celula::deInteiro(v != 0 ? 1 : 0);
    case TipoCampo::Float:
        return Celula::deReal(v);
    case TipoCampo::Moeda:
        return Celula::deInteiro(Dinheiro::deDouble(v).escalado());
    case TipoCampo::DataHora:
        throw naoCabe(Formatos::numero(v), def);
    default:
        break;
    }
    return deTexto(Formatos::numero(v), def);
}

Celula deDinheiro(Dinheiro v, const DefCampo &def)
{
    switch (def.tipo) {
    case TipoCampo::Moeda:
        return Celula::deInteiro(Dinheiro::deEscaladoNoLimite(v.escalado()).escalado());
    case TipoCampo::Float:
        return Celula::deReal(v.paraDouble());
    case TipoCampo::AutoInc:
    case TipoCampo::Inteiro:
    case TipoCampo::Word:
        return inteiroNoIntervalo(std::llround(v.paraLongDouble()), def);
    case TipoCampo::Booleano:
        return Celula::deInteiro(v.escalado() != 0 ? 1 : 0);
    case TipoCampo::DataHora:
        throw naoCabe(v.texto(), def);
    default:
        break;
    }
    return deTexto(v.texto(), def);
}

Celula deDataHora(const QDateTime &v, const DefCampo &def)
{
    if (!v.isValid())
        return {};
    if (def.tipo == TipoCampo::DataHora)
        return Celula::deInteiro(empacotarDataHora(v));
    if (ehTexto(def.tipo))
        return deTexto(Formatos::dataHora(v), def);
    throw naoCabe(Formatos::dataHora(v), def);
}

Celula deBooleano(bool v, const DefCampo &def)
{
    if (ehTexto(def.tipo))
        return deTexto(v ? QStringLiteral("True") : QStringLiteral("False"), def);
    if (def.tipo == TipoCampo::DataHora)
        throw naoCabe(v ? QStringLiteral("True") : QStringLiteral("False"), def);
    return deInteiro(v ? 1 : 0, def);
}

Celula deVariante(const QVariant &v, const DefCampo &def)
{
    if (!v.isValid() || v.isNull())
        return {};
    if (v.metaType() == QMetaType::fromType<Dinheiro>())
        return deDinheiro(v.value<Dinheiro>(), def);
    switch (v.typeId()) {
    case QMetaType::Bool:
        return deBooleano(v.toBool(), def);
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return deInteiro(v.toLongLong(), def);
    case QMetaType::ULongLong:
    case QMetaType::ULong:
        return deInteiro(static_cast<qint64>(v.toULongLong()), def);
    case QMetaType::Double:
    case QMetaType::Float:
        return deReal(v.toDouble(), def);
    case QMetaType::QDateTime:
        return deDataHora(v.toDateTime(), def);
    case QMetaType::QDate:
        return deDataHora(QDateTime(v.toDate(), QTime(0, 0)), def);
    default:
        break;
    }
    return deTexto(v.toString(), def);
}

} // namespace ValorCampo
