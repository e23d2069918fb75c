// Look-up fields: the value of another data set's row found by a key.

#include "conjunto_dados_interno.h"

#include "erro.h"

#include <charconv>

using namespace ConjuntoInterno;

namespace ConjuntoInterno
{

// The text by which look-ups match keys: a whole number and the same digits
// as text find each other.
std::string_view chaveDe(const Celula &c, char (&buf)[32])
{
    switch (c.tipo) {
    case Celula::Tipo::Texto:
        return {c.texto, static_cast<std::size_t>(c.tamanho)};
    case Celula::Tipo::Inteiro:
        return {buf, static_cast<std::size_t>(std::to_chars(buf, buf + 32, c.inteiro).ptr - buf)};
    case Celula::Tipo::Real:
        return {buf, static_cast<std::size_t>(std::to_chars(buf, buf + 32, c.real).ptr - buf)};
    case Celula::Tipo::Nulo:
        break;
    }
    return {};
}

// A look-up key as look-ups compare it: a text ignoring letter case, as a
// locate finds it ("ab-1" finds "AB-1"); anything else as chaveDe gives it.
// A text already in small letters is its own key; another is folded into
// `dobrada`.
std::string_view chaveDeLookup(const Celula &c, char (&buf)[32], std::string &dobrada)
{
    const std::string_view k = chaveDe(c, buf);
    if (c.tipo != Celula::Tipo::Texto)
        return k;
    bool ascii = true;
    bool minusculas = true;
    for (const char ch : k) {
        ascii = ascii && static_cast<unsigned char>(ch) < 0x80;
        minusculas = minusculas && !(ch >= 'A' && ch <= 'Z');
    }
    if (ascii && minusculas)
        return k;
    if (ascii) {
        dobrada.assign(k);
        for (char &ch : dobrada)
            if (ch >= 'A' && ch <= 'Z')
                ch = static_cast<char>(ch + ('a' - 'A'));
    } else {
        dobrada = QString::fromUtf8(k.data(), static_cast<qsizetype>(k.size())).toCaseFolded().toStdString();
    }
    return dobrada;
}

} // namespace ConjuntoInterno

Celula ConjuntoDados::celulaLookup(const Lookup &l, int linha) const
{
    char buf[32];
    std::string dobrada;
    const Celula chave = celula(l.chave, linha);
    const std::string_view k = chaveDeLookup(chave, buf, dobrada);
    if (chave.nula())
        return {};
    const auto indice = l.modo == ModoLookup::Copia ? l.copia : l.origem->indice(l.chaveOrigem);
    if (!indice)
        return {};
    const auto achado = indice->linhas.find(k);
    if (achado == indice->linhas.end())
        return {};
    return LinhasCompactas::celula(achado->second, indice->colunas, l.colunaResultado);
}

std::shared_ptr<const ConjuntoDados::IndiceChave> ConjuntoDados::indice(int campo) const
{
    carregarSePendente();
    if (!ativo())
        return nullptr;
    auto &cache = m_indices[static_cast<std::size_t>(campo)];
    if (cache.second && cache.first == m_versao)
        return cache.second;
    auto novo = std::make_shared<IndiceChave>();
    novo->blocos = m_linhas.blocos();
    novo->colunas = m_linhas.colunas();
    novo->linhas.reserve(m_ordem.size());
    const int coluna = m_coluna[static_cast<std::size_t>(campo)];
    char buf[32];
    std::string dobrada;
    for (const int fis : m_ordem) {
        const Celula c = m_linhas.celula(fis, coluna);
        if (!c.nula())
            novo->linhas.try_emplace(std::string(chaveDeLookup(c, buf, dobrada)), m_linhas.linha(fis));
    }
    cache = {m_versao, novo};
    return novo;
}

void ConjuntoDados::ligarLookup(const QString &campo, const QString &chave, ConjuntoDados *origem,
                                const QString &chaveOrigem, ModoLookup modo)
{
    const int i = indiceCampoOuErro(campo);
    const DefCampo &d = m_campos[static_cast<std::size_t>(i)];
    const int resultado = origem->indiceCampoOuErro(QString::fromUtf8(d.campoLookup));
    const int chaveNaOrigem = origem->indiceCampoOuErro(chaveOrigem);
    if (origem->m_coluna[static_cast<std::size_t>(resultado)] < 0 ||
        origem->m_coluna[static_cast<std::size_t>(chaveNaOrigem)] < 0)
        throw Erro(
            textoErro(QStringLiteral("o campo %1 só pode buscar colunas de %2.").arg(campo, origem->objectName())));
    Lookup &l = m_lookups[static_cast<std::size_t>(i)];
    l.chave = indiceCampoOuErro(chave);
    l.origem = origem;
    l.chaveOrigem = chaveNaOrigem;
    l.colunaResultado = origem->m_coluna[static_cast<std::size_t>(resultado)];
    l.modo = modo;
}

void ConjuntoDados::tomarCopiasDosLookups()
{
    for (Lookup &l : m_lookups)
        if (l.origem && l.modo == ModoLookup::Copia)
            l.copia = l.origem->ativo() ? l.origem->indice(l.chaveOrigem) : nullptr;
}
