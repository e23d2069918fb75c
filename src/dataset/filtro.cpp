#include "filtro.h"

#include "conjunto_dados.h"
#include "erro.h"
#include "formatos.h"
#include "valor_campo.h"

#include <QStringDecoder>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct Filtro::No {
    virtual ~No() = default;
    virtual bool aceita(const ConjuntoDados &c, int linha) const = 0;

  protected:
    // A field's value in a row, read as the filter's friend.
    static Celula celula(const ConjuntoDados &c, int campo, int linha) { return c.celula(campo, linha); }
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

// A text of the filter, case-folded; with its lower-case bytes too when it is
// plain ASCII, so that texts are compared byte by byte in the usual case.
struct TextoFiltro {
    QString dobrado;
    std::string ascii;
    bool ehAscii = true;
    // The longest run of ASCII in the folded text: a text that holds this
    // text, or equals it, holds the run among its lowered bytes.
    std::string trechoAscii;

    explicit TextoFiltro(const QString &t = {}) : dobrado(t.toCaseFolded())
    {
        std::string trecho;
        for (QChar ch : dobrado) {
            if (ch.unicode() >= 0x80) {
                ehAscii = false;
                trecho.clear();
                continue;
            }
            trecho += static_cast<char>(ch.unicode());
            if (trecho.size() > trechoAscii.size())
                trechoAscii = trecho;
        }
        if (ehAscii)
            ascii = trechoAscii;
    }
};

// Reads a cell's text for comparing, ignoring letter case, without
// allocating once its buffers are large enough.
class LeitorTexto
{
  public:
    enum class Bytes { Ascii, ComAcentos, Nenhum };

    // The cell's UTF-8 with ASCII letters lowered. An ASCII text compared
    // with these bytes gives what case folding gives, unless the text holds
    // one of the two letters outside ASCII that fold into it (KELVIN SIGN,
    // LONG S): then, or for a cell that is no text, Nenhum.
    Bytes bytes(const Celula &c)
    {
        if (c.tipo != Celula::Tipo::Texto)
            return Bytes::Nenhum;
        m_bytes.resize(static_cast<std::size_t>(c.tamanho));
        bool ascii = true;
        for (qsizetype i = 0; i < c.tamanho; ++i) {
            const auto b = static_cast<unsigned char>(c.texto[i]);
            if (b >= 0x80) {
                ascii = false;
                const bool kelvin = b == 0xE2 && i + 2 < c.tamanho &&
                                    static_cast<unsigned char>(c.texto[i + 1]) == 0x84 &&
                                    static_cast<unsigned char>(c.texto[i + 2]) == 0xAA;
                const bool sLongo =
                    b == 0xC5 && i + 1 < c.tamanho && static_cast<unsigned char>(c.texto[i + 1]) == 0xBF;
                if (kelvin || sLongo)
                    return Bytes::Nenhum;
            }
            m_bytes[static_cast<std::size_t>(i)] = static_cast<char>(b >= 'A' && b <= 'Z' ? b + 32 : b);
        }
        return ascii ? Bytes::Ascii : Bytes::ComAcentos;
    }
    std::string_view bytes() const { return m_bytes; }

    // The cell's text, case-folded.
    QStringView dobrado(const Celula &c, const DefCampo &def)
    {
        const bool foraDoBmp = c.tipo == Celula::Tipo::Texto && std::any_of(c.texto, c.texto + c.tamanho, [](char b) {
                                   return static_cast<unsigned char>(b) >= 0xF0;
                               });
        if (c.tipo != Celula::Tipo::Texto || foraDoBmp) {
            const QString t =
                c.tipo == Celula::Tipo::Texto ? QString::fromUtf8(c.texto, c.tamanho) : ValorCampo::texto(c, def);
            m_texto = t.toCaseFolded();
            return m_texto;
        }
        m_texto.resize(c.tamanho);
        QChar *fim = m_decodificador.appendToBuffer(m_texto.data(), QByteArrayView(c.texto, c.tamanho));
        const qsizetype n = fim - m_texto.constData();
        QChar *d = m_texto.data();
        for (qsizetype i = 0; i < n; ++i) {
            const char16_t u = d[i].unicode();
            d[i] = u < 0x80 ? QChar(u >= u'A' && u <= u'Z' ? u + 32 : u) : d[i].toCaseFolded();
        }
        return QStringView(m_texto.constData(), n);
    }

  private:
    std::string m_bytes;
    QString m_texto;
    QStringDecoder m_decodificador{QStringDecoder::Utf8, QStringConverter::Flag::Stateless};
};

int sinal(int v)
{
    return v < 0 ? -1 : (v > 0 ? 1 : 0);
}

// The constant of a comparison, already in the field's terms.
struct Constante {
    bool nula = false;
    TextoFiltro texto;
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
            k.texto = TextoFiltro(valor);
            break;
        case Classe::Numero:
            if (def.tipo == TipoCampo::Booleano) {
                const auto b = lerBooleano(valor.trimmed());
                k.numero = (b ? *b : Formatos::lerNumero(valor) != 0) ? 1 : 0;
                break;
            }
            k.numero = Formatos::lerNumero(valor);
            break;
        case Classe::Moeda:
            k.inteiro = Dinheiro::deTextoSimples(valor).escalado();
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

// A stored value as a number or a date-time is compared; may throw Erro.
double numeroDe(const Celula &v, const DefCampo &def)
{
    // Any non-zero Boolean is true (older databases store -1).
    if (def.tipo == TipoCampo::Booleano)
        return ValorCampo::booleano(v, def) ? 1 : 0;
    return v.tipo == Celula::Tipo::Inteiro ? static_cast<double>(v.inteiro) : ValorCampo::real(v, def);
}

qint64 dataHoraDe(const Celula &v, const DefCampo &def)
{
    return v.tipo == Celula::Tipo::Inteiro ? v.inteiro : ValorCampo::empacotarDataHora(ValorCampo::dataHora(v, def));
}

class Comparacao : public Filtro::No
{
  public:
    Comparacao(int campo, Operador op, Constante k) : m_campo(campo), m_op(op), m_k(std::move(k)) {}

    bool aceita(const ConjuntoDados &c, int linha) const override
    {
        const Celula v = celula(c, m_campo, linha);
        if (m_k.nula)
            return v.nula() == (m_op == Operador::Igual);
        if (v.nula())
            return false;
        const DefCampo &def = c.defCampo(m_campo);
        try {
            switch (classeDe(def.tipo)) {
            case Classe::Texto: {
                // Equality needs no more than ASCII in the constant; order
                // by bytes also needs it in the cell.
                const auto b = m_leitor.bytes(v);
                const bool igualdade = m_op == Operador::Igual || m_op == Operador::Diferente;
                if (m_k.texto.ehAscii &&
                    (b == LeitorTexto::Bytes::Ascii || (b == LeitorTexto::Bytes::ComAcentos && igualdade)))
                    return satisfaz(m_op, sinal(m_leitor.bytes().compare(m_k.texto.ascii)));
                if (igualdade && b != LeitorTexto::Bytes::Nenhum &&
                    m_leitor.bytes().find(m_k.texto.trechoAscii) == std::string_view::npos)
                    return m_op == Operador::Diferente;
                return satisfaz(m_op, sinal(m_leitor.dobrado(v, def).compare(m_k.texto.dobrado)));
            }
            case Classe::Numero:
                return satisfaz(m_op, comparar<double>(numeroDe(v, def), m_k.numero));
            case Classe::Moeda:
                return satisfaz(m_op, comparar<qint64>(ValorCampo::dinheiro(v, def).escalado(), m_k.inteiro));
            case Classe::DataHora:
                return satisfaz(m_op, comparar<qint64>(dataHoraDe(v, def), m_k.inteiro));
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
                m_partes.emplace_back(parte);
            parte.clear();
        }
        if (!parte.isEmpty() || m_partes.empty())
            m_partes.emplace_back(parte);
        m_ascii = std::all_of(m_partes.begin(), m_partes.end(), [](const TextoFiltro &p) { return p.ehAscii; });
    }

    bool aceita(const ConjuntoDados &c, int linha) const override
    {
        const Celula v = celula(c, m_campo, linha);
        if (v.nula())
            return false;
        const auto b = m_leitor.bytes(v);
        if (b != LeitorTexto::Bytes::Nenhum) {
            if (m_ascii)
                return casa<std::string_view>(m_leitor.bytes(),
                                              [](const TextoFiltro &p) { return std::string_view(p.ascii); });
            // An ASCII text holds no letter outside ASCII once folded.
            for (const TextoFiltro &p : m_partes)
                if ((b == LeitorTexto::Bytes::Ascii && !p.ehAscii) ||
                    m_leitor.bytes().find(p.trechoAscii) == std::string_view::npos)
                    return false;
        }
        return casa<QStringView>(m_leitor.dobrado(v, c.defCampo(m_campo)),
                                 [](const TextoFiltro &p) { return QStringView(p.dobrado); });
    }

  private:
    // The same walk over lowered bytes or over case-folded text.
    static qsizetype procurar(std::string_view t, std::string_view p, qsizetype de)
    {
        const auto achado = t.find(p, static_cast<std::size_t>(de));
        return achado == std::string_view::npos ? -1 : static_cast<qsizetype>(achado);
    }
    static qsizetype procurar(QStringView t, QStringView p, qsizetype de) { return t.indexOf(p, de); }
    static bool comeca(std::string_view t, std::string_view p) { return t.starts_with(p); }
    static bool comeca(QStringView t, QStringView p) { return t.startsWith(p); }
    static bool termina(std::string_view t, std::string_view p) { return t.ends_with(p); }
    static bool termina(QStringView t, QStringView p) { return t.endsWith(p); }

    template <typename V, typename F> bool casa(V t, F parte) const
    {
        if (!m_curinga)
            return t == parte(m_partes.front());
        qsizetype pos = 0;
        for (std::size_t i = 0; i < m_partes.size(); ++i) {
            const V p = parte(m_partes[i]);
            const auto tamanho = static_cast<qsizetype>(p.size());
            if (p.empty())
                continue;
            if (i == 0 && m_ancoraInicio) {
                if (!comeca(t, p))
                    return false;
                pos = tamanho;
            } else if (i == m_partes.size() - 1 && m_ancoraFim) {
                return static_cast<qsizetype>(t.size()) - tamanho >= pos && termina(t, p);
            } else {
                const qsizetype achado = procurar(t, p, pos);
                if (achado < 0)
                    return false;
                pos = achado + tamanho;
            }
        }
        return true;
    }

    int m_campo;
    bool m_curinga = false;
    bool m_ancoraInicio = true;
    bool m_ancoraFim = true;
    bool m_ascii = true;
    std::vector<TextoFiltro> m_partes;
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
            // Each level costs stack here and in every later evaluation.
            if (++m_profundidade > kProfundidadeMaxima)
                falhar(QStringLiteral("mais de %1 parênteses abertos uns dentro dos outros").arg(kProfundidadeMaxima));
            ++m_pos;
            auto dentro = expressao();
            --m_profundidade;
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

    static constexpr int kProfundidadeMaxima = 64;

    const QString &m_texto;
    const ConjuntoDados &m_conjunto;
    qsizetype m_pos = 0;
    int m_profundidade = 0;
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

namespace
{

template <typename T> Filtro::Chave chaveDeValor(T v)
{
    Filtro::Chave k{Filtro::Chave::Tipo::Valor, std::string(sizeof v, '\0')};
    std::memcpy(k.bytes.data(), &v, sizeof v);
    return k;
}

// A number compares equal to a NaN, and -0 to 0.
Filtro::Chave chaveDeNumero(double v)
{
    if (std::isnan(v))
        return {Filtro::Chave::Tipo::Todas, {}};
    return chaveDeValor(v + 0.0);
}

Filtro::Chave chaveDeTexto(QStringView dobrado)
{
    return {Filtro::Chave::Tipo::Valor, std::string(reinterpret_cast<const char *>(dobrado.utf16()),
                                                    static_cast<std::size_t>(dobrado.size()) * sizeof(char16_t))};
}

// The same key as chaveDeTexto of the folded text; plain ASCII, as a code
// mostly is, is lowered straight into the key.
Filtro::Chave chaveDeTextoDigitado(const QString &valor)
{
    std::string bytes(static_cast<std::size_t>(valor.size()) * sizeof(char16_t), '\0');
    for (qsizetype i = 0; i < valor.size(); ++i) {
        char16_t u = valor[i].unicode();
        if (u >= 0x80)
            return chaveDeTexto(valor.toCaseFolded());
        if (u >= u'A' && u <= u'Z')
            u += 32;
        std::memcpy(bytes.data() + i * sizeof(char16_t), &u, sizeof u);
    }
    return {Filtro::Chave::Tipo::Valor, std::move(bytes)};
}

} // namespace

// The keys follow Comparacao's equality: texts folded as the cell reader
// folds them (its byte paths agree with the folded texts), numbers, money
// and date-times as the values compared.
std::vector<Filtro::Chave> Filtro::chavesDasLinhas(const ConjuntoDados &conjunto, int campo,
                                                   const std::vector<int> &linhas)
{
    const DefCampo &def = conjunto.defCampo(campo);
    const Classe classe = classeDe(def.tipo);
    LeitorTexto leitor;
    std::vector<Chave> chaves(linhas.size());
    for (std::size_t i = 0; i < linhas.size(); ++i) {
        const Celula v = conjunto.celula(campo, linhas[i]);
        if (v.nula())
            continue;
        try {
            switch (classe) {
            case Classe::Texto:
                chaves[i] = chaveDeTexto(leitor.dobrado(v, def));
                break;
            case Classe::Numero:
                chaves[i] = chaveDeNumero(numeroDe(v, def));
                break;
            case Classe::Moeda:
                chaves[i] = chaveDeValor(ValorCampo::dinheiro(v, def).escalado());
                break;
            case Classe::DataHora:
                chaves[i] = chaveDeValor(dataHoraDe(v, def));
                break;
            }
        } catch (const Erro &) {
            // Matches nothing, as in the comparison.
        }
    }
    return chaves;
}

Filtro::Chave Filtro::chaveDoValor(const ConjuntoDados &conjunto, int campo, const QString &valor)
{
    const DefCampo &def = conjunto.defCampo(campo);
    // A text's key is only its folded form: what else a filter's constant
    // keeps is not needed.
    if (classeDe(def.tipo) == Classe::Texto)
        return chaveDeTextoDigitado(valor);
    const auto k = constante(valor, def);
    if (!k)
        return {};
    switch (classeDe(def.tipo)) {
    case Classe::Texto:
        break;
    case Classe::Numero:
        return chaveDeNumero(k->numero);
    case Classe::Moeda:
    case Classe::DataHora:
        break;
    }
    return chaveDeValor(k->inteiro);
}
