#include "linhas_compactas.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace
{

// Tags of the packed format. Texts up to kTextoCurtoMax bytes carry their
// length in the tag itself.
enum Tag : std::uint8_t {
    TagNulo = 0,
    TagInt8 = 1,
    TagInt16 = 2,
    TagInt32 = 3,
    TagInt64 = 4,
    TagZero = 5,
    TagUm = 6,
    TagReal = 7,
    TagTextoLongo = 9,
    TagTextoCurto = 10,
};
constexpr qsizetype kTextoCurtoMax = 255 - TagTextoCurto;
constexpr std::size_t kTamanhoBloco = 1 << 20;

template <typename T> T ler(const char *p)
{
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

// Walked over for every column before the one read: texts first, as most
// columns are, and the fixed sizes from a table rather than a switch.
qsizetype tamanhoValor(std::uint8_t tag, const char *p)
{
    if (tag >= TagTextoCurto)
        return tag - TagTextoCurto;
    if (tag == TagTextoLongo)
        return 4 + static_cast<qsizetype>(ler<std::uint32_t>(p));
    static constexpr std::uint8_t kFixo[TagTextoLongo] = {
        0, // TagNulo
        1, // TagInt8
        2, // TagInt16
        4, // TagInt32
        8, // TagInt64
        0, // TagZero
        0, // TagUm
        8, // TagReal
        0, // unused
    };
    return kFixo[tag];
}

// The value of a column, from its tag and where its bytes begin.
Celula lerValor(std::uint8_t tag, const char *p)
{
    Celula c;
    switch (tag) {
    case TagNulo:
        break;
    case TagZero:
        c = Celula::deInteiro(0);
        break;
    case TagUm:
        c = Celula::deInteiro(1);
        break;
    case TagInt8:
        c = Celula::deInteiro(ler<std::int8_t>(p));
        break;
    case TagInt16:
        c = Celula::deInteiro(ler<std::int16_t>(p));
        break;
    case TagInt32:
        c = Celula::deInteiro(ler<std::int32_t>(p));
        break;
    case TagInt64:
        c = Celula::deInteiro(ler<std::int64_t>(p));
        break;
    case TagReal:
        c = Celula::deReal(ler<double>(p));
        break;
    case TagTextoLongo:
        c.tipo = Celula::Tipo::Texto;
        c.tamanho = ler<std::uint32_t>(p);
        c.texto = p + 4;
        break;
    default:
        c.tipo = Celula::Tipo::Texto;
        c.tamanho = tag - TagTextoCurto;
        c.texto = p;
        break;
    }
    return c;
}

} // namespace

Celula Celula::deInteiro(qint64 v)
{
    Celula c;
    c.tipo = Tipo::Inteiro;
    c.inteiro = v;
    return c;
}

Celula Celula::deReal(double v)
{
    Celula c;
    c.tipo = Tipo::Real;
    c.real = v;
    return c;
}

Celula Celula::deTexto(QByteArray utf8)
{
    Celula c;
    c.tipo = Tipo::Texto;
    c.dono = std::move(utf8);
    c.texto = c.dono.constData();
    c.tamanho = c.dono.size();
    return c;
}

Celula Celula::copia() const
{
    if (tipo != Tipo::Texto)
        return *this;
    return deTexto(QByteArray(texto, tamanho));
}

void CodificadorLinha::iniciar(int colunas)
{
    const auto n = static_cast<std::size_t>(colunas);
    m_tags.assign(n, TagNulo);
    // A piece is read only under a tag that is not NULL, which sets it.
    m_pedacos.resize(n);
    m_valores.clear();
    m_emOrdem = true;
    m_ultima = -1;
}

void CodificadorLinha::anexar(int coluna, std::uint8_t tag, const void *bytes, std::size_t tamanho)
{
    if (coluna <= m_ultima)
        m_emOrdem = false;
    m_ultima = std::max(m_ultima, coluna);
    const auto i = static_cast<std::size_t>(coluna);
    m_tags[i] = tag;
    m_pedacos[i] = {static_cast<std::uint32_t>(m_valores.size()), static_cast<std::uint32_t>(tamanho)};
    if (tamanho > 0)
        m_valores.append(static_cast<const char *>(bytes), tamanho);
}

void CodificadorLinha::definir(int coluna, const Celula &c)
{
    switch (c.tipo) {
    case Celula::Tipo::Nulo:
        anexar(coluna, TagNulo, nullptr, 0);
        break;
    case Celula::Tipo::Inteiro:
        definirInteiro(coluna, c.inteiro);
        break;
    case Celula::Tipo::Real:
        definirReal(coluna, c.real);
        break;
    case Celula::Tipo::Texto:
        definirTexto(coluna, c.texto, c.tamanho);
        break;
    }
}

void CodificadorLinha::definirInteiro(int coluna, qint64 v)
{
    if (v == 0 || v == 1) {
        anexar(coluna, v == 0 ? TagZero : TagUm, nullptr, 0);
        return;
    }
    auto comTag = [&](auto valor, Tag tag) { anexar(coluna, tag, &valor, sizeof valor); };
    if (v >= std::numeric_limits<std::int8_t>::min() && v <= std::numeric_limits<std::int8_t>::max())
        comTag(static_cast<std::int8_t>(v), TagInt8);
    else if (v >= std::numeric_limits<std::int16_t>::min() && v <= std::numeric_limits<std::int16_t>::max())
        comTag(static_cast<std::int16_t>(v), TagInt16);
    else if (v >= std::numeric_limits<std::int32_t>::min() && v <= std::numeric_limits<std::int32_t>::max())
        comTag(static_cast<std::int32_t>(v), TagInt32);
    else
        comTag(static_cast<std::int64_t>(v), TagInt64);
}

void CodificadorLinha::definirReal(int coluna, double v)
{
    // A whole value is kept as a whole number, which the field's type turns
    // back into floating point; -0.0 keeps its sign bit.
    constexpr double kLimite = 2147483647.0;
    if (v == std::trunc(v) && std::fabs(v) <= kLimite && !(v == 0 && std::signbit(v))) {
        definirInteiro(coluna, static_cast<qint64>(v));
        return;
    }
    anexar(coluna, TagReal, &v, sizeof v);
}

void CodificadorLinha::definirTexto(int coluna, const char *utf8, qsizetype tamanho)
{
    const auto n = static_cast<std::size_t>(tamanho);
    if (tamanho <= kTextoCurtoMax) {
        anexar(coluna, static_cast<std::uint8_t>(TagTextoCurto + tamanho), utf8, n);
        return;
    }
    // The length, then the text, as one piece.
    const auto comprimento = static_cast<std::uint32_t>(tamanho);
    anexar(coluna, TagTextoLongo, &comprimento, sizeof comprimento);
    m_valores.append(utf8, n);
    m_pedacos[static_cast<std::size_t>(coluna)].tamanho += static_cast<std::uint32_t>(n);
}

qsizetype CodificadorLinha::tamanho() const
{
    qsizetype total = static_cast<qsizetype>(m_tags.size());
    if (m_emOrdem)
        return total + static_cast<qsizetype>(m_valores.size());
    for (std::size_t i = 0; i < m_tags.size(); ++i)
        if (m_tags[i] != TagNulo)
            total += m_pedacos[i].tamanho;
    return total;
}

void CodificadorLinha::escrever(char *destino) const
{
    std::memcpy(destino, m_tags.data(), m_tags.size());
    char *p = destino + m_tags.size();
    if (m_emOrdem) {
        std::memcpy(p, m_valores.data(), m_valores.size());
        return;
    }
    for (std::size_t i = 0; i < m_tags.size(); ++i) {
        if (m_tags[i] == TagNulo)
            continue;
        const Pedaco &pd = m_pedacos[i];
        std::memcpy(p, m_valores.data() + pd.inicio, pd.tamanho);
        p += pd.tamanho;
    }
}

void LinhasCompactas::redefinir(int colunas)
{
    m_colunas = colunas;
    m_blocos.clear();
    m_linhas.clear();
}

const char *LinhasCompactas::guardar(const CodificadorLinha &linha)
{
    const auto tamanho = static_cast<std::size_t>(linha.tamanho());
    if (m_blocos.empty() || m_blocos.back()->capacidade - m_blocos.back()->usado < tamanho) {
        auto bloco = std::make_shared<Bloco>();
        bloco->capacidade = std::max(kTamanhoBloco, tamanho);
        bloco->dados.reset(new char[bloco->capacidade]);
        m_blocos.push_back(std::move(bloco));
    }
    Bloco &b = *m_blocos.back();
    char *destino = b.dados.get() + b.usado;
    linha.escrever(destino);
    b.usado += tamanho;
    return destino;
}

int LinhasCompactas::acrescentar(const CodificadorLinha &linha)
{
    m_linhas.push_back(guardar(linha));
    return quantidade() - 1;
}

void LinhasCompactas::substituir(int linha, const CodificadorLinha &nova)
{
    m_linhas[static_cast<std::size_t>(linha)] = guardar(nova);
}

Celula LinhasCompactas::celula(const char *linha, int colunas, int coluna)
{
    const auto *tags = reinterpret_cast<const std::uint8_t *>(linha);
    const char *p = linha + colunas;
    for (int j = 0; j < coluna; ++j)
        p += tamanhoValor(tags[j], p);
    return lerValor(tags[coluna], p);
}

std::vector<Celula> LinhasCompactas::celulas(int linha) const
{
    const char *inicio = this->linha(linha);
    const auto *tags = reinterpret_cast<const std::uint8_t *>(inicio);
    const char *p = inicio + m_colunas;
    std::vector<Celula> celulas;
    celulas.reserve(static_cast<std::size_t>(m_colunas));
    for (int j = 0; j < m_colunas; ++j) {
        celulas.push_back(lerValor(tags[j], p));
        p += tamanhoValor(tags[j], p);
    }
    return celulas;
}

std::shared_ptr<const LinhasCompactas::Bloco> LinhasCompactas::blocoDe(int linha) const
{
    const char *p = this->linha(linha);
    for (const std::shared_ptr<Bloco> &b : m_blocos)
        if (p >= b->dados.get() && p < b->dados.get() + b->usado)
            return b;
    return nullptr;
}
