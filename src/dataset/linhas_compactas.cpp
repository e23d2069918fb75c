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

qsizetype tamanhoValor(std::uint8_t tag, const char *p)
{
    switch (tag) {
    case TagNulo:
    case TagZero:
    case TagUm:
        return 0;
    case TagInt8:
        return 1;
    case TagInt16:
        return 2;
    case TagInt32:
        return 4;
    case TagInt64:
    case TagReal:
        return 8;
    case TagTextoLongo:
        return 4 + ler<std::uint32_t>(p);
    default:
        return tag - TagTextoCurto;
    }
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
    m_tags.assign(static_cast<std::size_t>(colunas), TagNulo);
    m_pedacos.assign(static_cast<std::size_t>(colunas), Pedaco{});
    m_valores.resize(0);
}

void CodificadorLinha::definir(int coluna, const Celula &c)
{
    switch (c.tipo) {
    case Celula::Tipo::Nulo:
        m_tags[static_cast<std::size_t>(coluna)] = TagNulo;
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
    const auto i = static_cast<std::size_t>(coluna);
    Pedaco &p = m_pedacos[i];
    p.inicio = static_cast<std::uint32_t>(m_valores.size());
    if (v == 0 || v == 1) {
        m_tags[i] = v == 0 ? TagZero : TagUm;
        p.tamanho = 0;
        return;
    }
    auto anexar = [&](auto valor, Tag tag) {
        m_tags[i] = tag;
        p.tamanho = sizeof valor;
        m_valores.append(reinterpret_cast<const char *>(&valor), sizeof valor);
    };
    if (v >= std::numeric_limits<std::int8_t>::min() && v <= std::numeric_limits<std::int8_t>::max())
        anexar(static_cast<std::int8_t>(v), TagInt8);
    else if (v >= std::numeric_limits<std::int16_t>::min() && v <= std::numeric_limits<std::int16_t>::max())
        anexar(static_cast<std::int16_t>(v), TagInt16);
    else if (v >= std::numeric_limits<std::int32_t>::min() && v <= std::numeric_limits<std::int32_t>::max())
        anexar(static_cast<std::int32_t>(v), TagInt32);
    else
        anexar(static_cast<std::int64_t>(v), TagInt64);
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
    const auto i = static_cast<std::size_t>(coluna);
    m_tags[i] = TagReal;
    m_pedacos[i] = {static_cast<std::uint32_t>(m_valores.size()), 8};
    m_valores.append(reinterpret_cast<const char *>(&v), sizeof v);
}

void CodificadorLinha::definirTexto(int coluna, const char *utf8, qsizetype tamanho)
{
    const auto i = static_cast<std::size_t>(coluna);
    Pedaco &p = m_pedacos[i];
    p.inicio = static_cast<std::uint32_t>(m_valores.size());
    if (tamanho <= kTextoCurtoMax) {
        m_tags[i] = static_cast<std::uint8_t>(TagTextoCurto + tamanho);
        p.tamanho = static_cast<std::uint32_t>(tamanho);
    } else {
        m_tags[i] = TagTextoLongo;
        const auto n = static_cast<std::uint32_t>(tamanho);
        m_valores.append(reinterpret_cast<const char *>(&n), sizeof n);
        p.tamanho = static_cast<std::uint32_t>(tamanho + 4);
    }
    m_valores.append(utf8, tamanho);
}

qsizetype CodificadorLinha::tamanho() const
{
    qsizetype total = static_cast<qsizetype>(m_tags.size());
    for (std::size_t i = 0; i < m_tags.size(); ++i)
        if (m_tags[i] != TagNulo)
            total += m_pedacos[i].tamanho;
    return total;
}

void CodificadorLinha::escrever(char *destino) const
{
    char *p = destino + m_tags.size();
    for (std::size_t i = 0; i < m_tags.size(); ++i) {
        destino[i] = static_cast<char>(m_tags[i]);
        if (m_tags[i] == TagNulo)
            continue;
        const Pedaco &pd = m_pedacos[i];
        std::memcpy(p, m_valores.constData() + pd.inicio, pd.tamanho);
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
    Celula c;
    switch (const std::uint8_t tag = tags[coluna]) {
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
