#include "texto_celula.h"

#include <QHash>

namespace
{

QChar entidade(const QString &nome)
{
    static const QHash<QString, QChar> nomes = {
        {QStringLiteral("amp"), u'&'},  {QStringLiteral("lt"), u'<'},    {QStringLiteral("gt"), u'>'},
        {QStringLiteral("quot"), u'"'}, {QStringLiteral("apos"), u'\''}, {QStringLiteral("nbsp"), QChar(0xa0)},
        {QStringLiteral("#39"), u'\''},
    };
    if (const auto it = nomes.constFind(nome); it != nomes.cend())
        return *it;
    bool ok = false;
    const uint codigo = nome.startsWith(QStringLiteral("#x"), Qt::CaseInsensitive) ? nome.mid(2).toUInt(&ok, 16)
                        : nome.startsWith(u'#')                                    ? nome.mid(1).toUInt(&ok, 10)
                                                                                   : 0;
    return ok && codigo < 0x10000 ? QChar(char16_t(codigo)) : QChar();
}

class Conversor
{
  public:
    TextoCelula resultado;

    void espaco() { m_espacoPendente = !resultado.texto.isEmpty(); }

    void quebra()
    {
        resultado.texto += QChar::LineSeparator;
        m_espacoPendente = false;
    }

    void caractere(QChar c)
    {
        if (m_espacoPendente && !resultado.texto.endsWith(QChar::LineSeparator))
            resultado.texto += u' ';
        m_espacoPendente = false;
        resultado.texto += c;
    }

    void marca(QStringView nome, bool fecha)
    {
        const QString n = nome.toString().toLower();
        if (n == QLatin1String("br")) {
            quebra();
            return;
        }
        const bool negrito = n == QLatin1String("b") || n == QLatin1String("strong");
        const bool italico = n == QLatin1String("i") || n == QLatin1String("em");
        if (!negrito && !italico)
            return;
        fecharTrecho();
        int &nivel = negrito ? m_negrito : m_italico;
        nivel = fecha ? std::max(0, nivel - 1) : nivel + 1;
        m_inicioTrecho = int(resultado.texto.size());
    }

    void fecharTrecho()
    {
        const int fim = int(resultado.texto.size());
        if ((m_negrito > 0 || m_italico > 0) && fim > m_inicioTrecho)
            resultado.trechos.append({m_inicioTrecho, fim - m_inicioTrecho, m_negrito > 0, m_italico > 0});
        m_inicioTrecho = fim;
    }

  private:
    bool m_espacoPendente = false;
    int m_negrito = 0;
    int m_italico = 0;
    int m_inicioTrecho = 0;
};

} // namespace

TextoCelula ConverterCelula(const QString &html)
{
    Conversor c;
    const qsizetype n = html.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar ch = html.at(i);
        if (ch == u'<') {
            const qsizetype fim = html.indexOf(u'>', i);
            if (fim < 0)
                break;
            QStringView marca = QStringView(html).mid(i + 1, fim - i - 1).trimmed();
            const bool fecha = marca.startsWith(u'/');
            if (fecha)
                marca = marca.mid(1);
            qsizetype tamanho = 0;
            while (tamanho < marca.size() && marca.at(tamanho).isLetterOrNumber())
                ++tamanho;
            c.marca(marca.left(tamanho), fecha);
            i = fim;
        } else if (ch == u'&') {
            const qsizetype fim = html.indexOf(u';', i);
            const QChar decodificado = fim > i && fim - i < 10 ? entidade(html.mid(i + 1, fim - i - 1)) : QChar();
            if (decodificado.isNull()) {
                c.caractere(ch);
            } else {
                c.caractere(decodificado);
                i = fim;
            }
        } else if (ch.isSpace() && ch != QChar(0xa0)) {
            c.espaco();
        } else {
            c.caractere(ch);
        }
    }
    c.fecharTrecho();
    return c.resultado;
}
