#include "filtro.h"

#include "conjunto_dados.h"
#include "erro.h"
#include "formatos.h"
#include "valor_campo.h"

#include <QStringList>
#include <algorithm>
#include <optional>
#include <vector>

struct Filtro::No {
    virtual ~No() = default;
    virtual bool aceita(const ConjuntoDados &c, int linha) const = 0;
};

namespace
{

enum class Operador { Igual, Diferente, Menor, MenorIgual, Maior, MaiorIgual };

// How the values of a field compare.
enum class Classe { Texto, Numero, Moeda, DataHora };

Classe classeDe(TipoCampo t)
{
    switch (t) {
    case TipoCampo::Texto:
    case TipoCampo::TextoAnsi:
    case TipoCampo::Memo:
        return Classe::Texto;
    case TipoCampo::Moeda:
        return Classe::Moeda;
    case TipoCampo::DataHora:
        return Classe::DataHora;
    default:
        return Classe::Numero;
    }
}

bool satisfaz(Operador op, int cmp)
{
    switch (op) {
    case Operador::Igual:
        return cmp == 0;
    case Operador::Diferente:
        return cmp != 0;
    case Operador::Menor:
        return cmp < 0;
    case Operador::MenorIgual:
        return cmp <= 0;
    case Operador::Maior:
        return cmp > 0;
    case Operador::MaiorIgual:
        return cmp >= 0;
    }
    return false;
}

template <typename T> int comparar(T a, T b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

// A cell's text without allocating when it is plain ASCII, the usual case.
class LeitorTexto
{
  public:
    QStringView ler(const Celula &c, const DefCampo &def)
    {
        if (c.tipo != Celula::Tipo::Texto) {
            m_texto = ValorCampo::texto(c, def);
            return m_texto;
        }
        const auto *p = reinterpret_cast<const unsigned char *>(c.texto);
        for (qsizetype i = 0; i < c.tamanho; ++i)
            if (p[i] >= 0x80) {
                m_texto = QString::fromUtf8(c.texto, c.tamanho);
                return m_texto;
            }
        m_texto.resize(c.tamanho);
        QChar *d = m_texto.data();
        for (qsizetype i = 0; i < c.tamanho; ++i)
            d[i] = QChar(p[i]);
        return QStringView(m_texto.constData(), c.tamanho);
    }

  private:
    QString m_texto;
};

// The constant of a comparison, already in the field's terms.
struct Constante {
    bool nula = false;
    QString texto;
    double numero = 0;
    qint64 inteiro = 0; // money in ten-thousandths, date-times in seconds
};

std::optional<bool> lerBooleano(const QString &t)
{
    if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    return std::nullopt;
}

// The value written in the filter as a value of the field; nullopt when it
// cannot be one. Unquoted digits against a text are the text as written.
std::optional<Constante> constante(const QString &valor, const DefCampo &def)
{
    Constante k;
    try {
        switch (classeDe(def.tipo)) {
        case Classe::Texto:
            k.texto = valor;
            break;
        case Classe::Numero:
            if (def.tipo == TipoCampo::Booleano)
                if (const auto b = lerBooleano(valor.trimmed())) {
                    k.numero = *b ? 1 : 0;
                    break;
                }
            k.numero = Formatos::lerNumero(valor);
            break;
        case Classe::Moeda:
            k.inteiro = Dinheiro::deTexto(valor).escalado();
            break;
        case Classe::DataHora: {
            const QByteArray u = valor.trimmed().toUtf8();
            if (!ValorCampo::lerDataHoraBanco(u.constData(), u.size(), k.inteiro))
                k.inteiro = ValorCampo::empacotarDataHora(Formatos::lerDataHora(valor));
            break;
        }
        }
    } catch (const Erro &) {
        return std::nullopt;
    }
    return k;
}

class Comparacao : public Filtro::No
{
  public:
    Comparacao(int campo, Operador op, Constante k) : m_campo(campo), m_op(op), m_k(std::move(k)) {}

    bool aceita(const ConjuntoDados &c, int linha) const override
    {
        const Celula v = c.celula(m_campo, linha);
        if (m_k.nula)
            return v.nula() == (m_op == Operador::Igual);
        if (v.nula())
            return false;
        const DefCampo &def = c.defCampo(m_campo);
        try {
            switch (classeDe(def.tipo)) {
            case Classe::Texto:
                return satisfaz(m_op, m_leitor.ler(v, def).compare(m_k.texto, Qt::CaseInsensitive));
            case Classe::Numero:
                return satisfaz(m_op, comparar<double>(v.tipo == Celula::Tipo::Inteiro ? static_cast<double>(v.inteiro)
                                                                                       : ValorCampo::real(v, def),
                                                       m_k.numero));
            case Classe::Moeda:
                return satisfaz(m_op, comparar<qint64>(ValorCampo::dinheiro(v, def).escalado(), m_k.inteiro));
            case Classe::DataHora:
                return satisfaz(m_op,
                                comparar<qint64>(v.tipo == Celula::Tipo::Inteiro
                                                     ? v.inteiro
                                                     : ValorCampo::empacotarDataHora(ValorCampo::dataHora(v, def)),
                                                 m_k.inteiro));
            }
        } catch (const Erro &) {
            // A stored value that is not of the field's type matches nothing.
        }
        return false;
    }

  private:
    int m_campo;
    Operador m_op;
    Constante m_k;
    mutable LeitorTexto m_leitor;
};

// LIKE: the pattern split at its wildcards; the first piece must begin the
// text unless the pattern begins with a wildcard, the last must end it
// unless the pattern ends with one, and the pieces appear in order.
class Semelhante : public Filtro::No
{
  public:
    Semelhante(int campo, const QString &padrao) : m_campo(campo)
    {
        auto curinga = [](QChar ch) { return ch == QLatin1Char('*') || ch == QLatin1Char('%'); };
        m_curinga = std::any_of(padrao.begin(), padrao.end(), curinga);
        m_ancoraInicio = padrao.isEmpty() || !curinga(padrao.front());
        m_ancoraFim = padrao.isEmpty() || !curinga(padrao.back());
        QString parte;
        for (QChar ch : padrao) {
            if (!curinga(ch)) {
                parte += ch;
                continue;
            }
            if (!parte.isEmpty())
                m_partes << parte;
            parte.clear();
        }
        if (!parte.isEmpty())
            m_partes << parte;
    }

    bool aceita(const ConjuntoDados &c, int linha) const override
    {
        const Celula v = c.celula(m_campo, linha);
        if (v.nula())
            return false;
        const QStringView t = m_leitor.ler(v, c.defCampo(m_campo));
        if (!m_curinga)
            return t.compare(m_partes.value(0), Qt::CaseInsensitive) == 0;
        qsizetype pos = 0;
        for (qsizetype i = 0; i < m_partes.size(); ++i) {
            const QString &p = m_partes.at(i);
            const bool primeira = i == 0;
            const bool ultima = i == m_partes.size() - 1;
            if (primeira && m_ancoraInicio) {
                if (!t.startsWith(p, Qt::CaseInsensitive))
                    return false;
                pos = p.size();
            } else if (ultima && m_ancoraFim) {
                return t.size() - p.size() >= pos && t.endsWith(p, Qt::CaseInsensitive);
            } else {
                const qsizetype achado = t.indexOf(p, pos, Qt::CaseInsensitive);
                if (achado < 0)
                    return false;
                pos = achado + p.size();
            }
        }
        return true;
    }

  private:
    int m_campo;
    bool m_curinga = false;
    bool m_ancoraInicio = true;
    bool m_ancoraFim = true;
    QStringList m_partes;
    mutable LeitorTexto m_leitor;
};

class Juncao : public Filtro::No
{
  public:
    Juncao(bool todos, std::vector<std::unique_ptr<Filtro::No>> partes) : m_todos(todos), m_partes(std::move(partes)) {}

    bool aceita(const ConjuntoDados &c, int linha) const override
    {
        for (const auto &p : m_partes)
            if (p->aceita(c, linha) != m_todos)
                return !m_todos;
        return m_todos;
    }

  private:
    bool m_todos; // AND; otherwise OR
    std::vector<std::unique_ptr<Filtro::No>> m_partes;
};

// Recursive descent over the text:
//   expressao := termo { OR termo }
//   termo     := fator { AND fator }
//   fator     := "(" expressao ")" | campo operador valor | campo LIKE 'padrão'
class Analisador
{
  public:
    Analisador(const QString &texto, const ConjuntoDados &c) : m_texto(texto), m_conjunto(c) {}

    std::unique_ptr<Filtro::No> analisar()
    {
        auto raiz = expressao();
        pularEspacos();
        if (!fim())
            falhar(QStringLiteral("esperado AND ou OR antes de \"%1\"").arg(resto()));
        return raiz;
    }

  private:
    [[noreturn]] void falhar(const QString &motivo) const
    {
        throw Erro(QStringLiteral("Filtro inválido \"%1\": %2.").arg(m_texto, motivo));
    }

    bool fim() const { return m_pos >= m_texto.size(); }
    QChar atual() const { return fim() ? QChar() : m_texto.at(m_pos); }
    QString resto() const { return m_texto.mid(m_pos); }

    void pularEspacos()
    {
        while (!fim() && atual().isSpace())
            ++m_pos;
    }

    // A keyword followed by something that cannot continue a name.
    bool palavra(QLatin1String p)
    {
        pularEspacos();
        if (m_texto.mid(m_pos, p.size()).compare(p, Qt::CaseInsensitive) != 0)
            return false;
        const qsizetype depois = m_pos + p.size();
        if (depois < m_texto.size() && (m_texto.at(depois).isLetterOrNumber() || m_texto.at(depois) == u'_'))
            return false;
        m_pos = depois;
        return true;
    }

    std::unique_ptr<Filtro::No> expressao()
    {
        std::vector<std::unique_ptr<Filtro::No>> partes;
        partes.push_back(termo());
        while (palavra(QLatin1String("OR")))
            partes.push_back(termo());
        return partes.size() == 1 ? std::move(partes.front()) : std::make_unique<Juncao>(false, std::move(partes));
    }

    std::unique_ptr<Filtro::No> termo()
    {
        std::vector<std::unique_ptr<Filtro::No>> partes;
        partes.push_back(fator());
        while (palavra(QLatin1String("AND")))
            partes.push_back(fator());
        return partes.size() == 1 ? std::move(partes.front()) : std::make_unique<Juncao>(true, std::move(partes));
    }

    std::unique_ptr<Filtro::No> fator()
    {
        pularEspacos();
        if (atual() == u'(') {
            ++m_pos;
            auto dentro = expressao();
            pularEspacos();
            if (atual() != u')')
                falhar(QStringLiteral("falta fechar o parêntese"));
            ++m_pos;
            return dentro;
        }
        const QString nome = nomeDeCampo();
        const int campo = m_conjunto.indiceCampo(nome);
        if (campo < 0)
            falhar(QStringLiteral("campo \"%1\" não encontrado").arg(nome));
        if (palavra(QLatin1String("LIKE"))) {
            pularEspacos();
            if (atual() != u'\'')
                falhar(QStringLiteral("LIKE exige um texto entre aspas"));
            return std::make_unique<Semelhante>(campo, textoEntreAspas());
        }
        const Operador op = operador(nome);
        pularEspacos();
        const bool entreAspas = atual() == u'\'';
        const QString valor = entreAspas ? textoEntreAspas() : valorSemAspas();
        Constante k;
        if (!entreAspas && valor.compare(QLatin1String("NULL"), Qt::CaseInsensitive) == 0) {
            if (op != Operador::Igual && op != Operador::Diferente)
                falhar(QStringLiteral("NULL só pode ser comparado com = ou <>"));
            k.nula = true;
        } else if (const auto lido = constante(valor, m_conjunto.defCampo(campo))) {
            k = *lido;
        } else {
            falhar(QStringLiteral("o valor \"%1\" não serve para o campo %2").arg(valor, nome));
        }
        return std::make_unique<Comparacao>(campo, op, std::move(k));
    }

    QString nomeDeCampo()
    {
        pularEspacos();
        if (atual() == u'[') {
            const qsizetype fecha = m_texto.indexOf(u']', m_pos);
            if (fecha < 0)
                falhar(QStringLiteral("falta fechar o colchete"));
            const QString nome = m_texto.mid(m_pos + 1, fecha - m_pos - 1);
            m_pos = fecha + 1;
            return nome;
        }
        const qsizetype inicio = m_pos;
        while (!fim() && (atual().isLetterOrNumber() || atual() == u'_'))
            ++m_pos;
        if (m_pos == inicio)
            falhar(fim() ? QStringLiteral("esperado o nome de um campo no fim")
                         : QStringLiteral("esperado o nome de um campo em \"%1\"").arg(resto()));
        return m_texto.mid(inicio, m_pos - inicio);
    }

    Operador operador(const QString &campo)
    {
        pularEspacos();
        static const struct {
            const char *texto;
            Operador op;
        } operadores[] = {{"<>", Operador::Diferente},  {"!=", Operador::Diferente}, {"<=", Operador::MenorIgual},
                          {">=", Operador::MaiorIgual}, {"=", Operador::Igual},      {"<", Operador::Menor},
                          {">", Operador::Maior}};
        for (const auto &o : operadores) {
            const QLatin1String t(o.texto);
            if (m_texto.mid(m_pos, t.size()) == t) {
                m_pos += t.size();
                return o.op;
            }
        }
        falhar(QStringLiteral("esperado um operador depois de \"%1\"").arg(campo));
    }

    QString textoEntreAspas()
    {
        QString valor;
        for (++m_pos; !fim(); ++m_pos) {
            if (atual() != u'\'') {
                valor += atual();
                continue;
            }
            if (m_pos + 1 < m_texto.size() && m_texto.at(m_pos + 1) == u'\'') {
                valor += u'\'';
                ++m_pos;
                continue;
            }
            ++m_pos;
            return valor;
        }
        falhar(QStringLiteral("falta fechar as aspas"));
    }

    QString valorSemAspas()
    {
        const qsizetype inicio = m_pos;
        while (!fim() && !atual().isSpace() && atual() != u')')
            ++m_pos;
        if (m_pos == inicio)
            falhar(QStringLiteral("falta o valor da comparação"));
        return m_texto.mid(inicio, m_pos - inicio);
    }

    const QString &m_texto;
    const ConjuntoDados &m_conjunto;
    qsizetype m_pos = 0;
};

} // namespace

Filtro::Filtro(std::unique_ptr<No> raiz) : m_raiz(std::move(raiz)) {}

Filtro::~Filtro() = default;

std::unique_ptr<Filtro> Filtro::analisar(const QString &texto, const ConjuntoDados &conjunto)
{
    if (texto.trimmed().isEmpty())
        return nullptr;
    return std::unique_ptr<Filtro>(new Filtro(Analisador(texto, conjunto).analisar()));
}

std::unique_ptr<Filtro> Filtro::igualdade(const ConjuntoDados &conjunto, int campo, const QString &valor)
{
    auto k = constante(valor, conjunto.defCampo(campo));
    if (!k)
        return nullptr;
    return std::unique_ptr<Filtro>(new Filtro(std::make_unique<Comparacao>(campo, Operador::Igual, std::move(*k))));
}

bool Filtro::aceita(const ConjuntoDados &conjunto, int linha) const
{
    return m_raiz->aceita(conjunto, linha);
}
