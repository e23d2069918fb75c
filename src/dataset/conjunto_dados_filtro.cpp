// Locate and filter over the fetched rows, with the indexes that keep
// locating fast.

#include "conjunto_dados_interno.h"

#include "filtro.h"

#include <algorithm>

using namespace ConjuntoInterno;

bool ConjuntoDados::localizar(const QString &coluna, const QString &valor)
{
    exigirAtivo();
    const int campo = indiceCampoOuErro(coluna);
    if (valor.isEmpty())
        return false;
    sairDaEdicao();
    const int posicao = posicaoDe(campo, valor);
    if (posicao < 0)
        return false;
    irPara(posicao, false, false);
    return true;
}

namespace
{

void trazerParaCache(const char *linha)
{
    constexpr int kLinhaCache = 64, kLinhasCache = 4;
    for (int i = 0; i < kLinhasCache; ++i)
        __builtin_prefetch(linha + i * kLinhaCache);
}

} // namespace

// The values' keys are all made before any is looked up, so that the
// look-ups, each a wait on memory in a large index, overlap.
std::vector<int> ConjuntoDados::posicoes(const QString &coluna, const QStringList &valores) const
{
    exigirAtivo();
    carregarSePendente();
    const int campo = indiceCampoOuErro(coluna);
    std::vector<int> achadas(static_cast<std::size_t>(valores.size()), -1);
    if (!usaIndice(campo)) {
        for (qsizetype i = 0; i < valores.size(); ++i)
            if (!valores[i].isEmpty())
                achadas[static_cast<std::size_t>(i)] = posicaoDe(campo, valores[i]);
        return achadas;
    }
    std::vector<Filtro::Chave> chaves(achadas.size());
    for (qsizetype i = 0; i < valores.size(); ++i)
        if (!valores[i].isEmpty())
            chaves[static_cast<std::size_t>(i)] = Filtro::chaveDoValor(*this, campo, valores[i]);
    const std::shared_ptr<const IndiceVisao> indice = indiceVisao(campo);
    std::vector<std::uint64_t> hashes(chaves.size());
    for (std::size_t i = 0; i < chaves.size(); ++i) {
        hashes[i] = TabelaPosicoes::hash(chaves[i].bytes);
        indice->primeira.antecipar(hashes[i]);
    }
    for (std::size_t i = 0; i < chaves.size(); ++i)
        achadas[i] = indice->posicao(chaves[i], hashes[i]);
    // The rows found are read next: fetching them now lets those waits
    // overlap too.
    for (const int p : achadas)
        if (p >= 0)
            trazerParaCache(m_linhas.linha(m_visiveis[static_cast<std::size_t>(p)]));
    return achadas;
}

bool ConjuntoDados::usaIndice(int campo) const
{
    constexpr std::size_t kVarrerAte = 32;
    return m_visiveis.size() > kVarrerAte && m_coluna[static_cast<std::size_t>(campo)] >= 0;
}

// The first position in view whose field equals the value, or -1. A stored
// column of a larger view is looked up in an index, so that locating one row
// among many costs the same as among few; look-up and calculated fields,
// whose values hang on other sets, are compared row by row.
int ConjuntoDados::posicaoDe(int campo, const QString &valor) const
{
    if (usaIndice(campo))
        return indiceVisao(campo)->posicao(Filtro::chaveDoValor(*this, campo, valor));
    const auto igual = Filtro::igualdade(*this, campo, valor);
    if (!igual)
        return -1;
    for (std::size_t p = 0; p < m_visiveis.size(); ++p)
        if (igual->aceita(*this, m_visiveis[p]))
            return static_cast<int>(p);
    return -1;
}

std::shared_ptr<const ConjuntoDados::IndiceVisao> ConjuntoDados::indiceVisao(int campo) const
{
    auto &cache = m_indicesVisao[static_cast<std::size_t>(campo)];
    if (cache.second && cache.first == m_versaoVisao)
        return cache.second;
    auto novo = std::make_shared<IndiceVisao>();
    novo->primeira.reservar(m_visiveis.size());
    std::vector<Filtro::Chave> chaves = Filtro::chavesDasLinhas(*this, campo, m_visiveis);
    for (std::size_t p = 0; p < chaves.size(); ++p) {
        const int posicao = static_cast<int>(p);
        switch (chaves[p].tipo) {
        case Filtro::Chave::Tipo::Nenhuma:
            continue;
        case Filtro::Chave::Tipo::Todas:
            novo->primeiraTodas = std::min(novo->primeiraTodas, posicao);
            break;
        case Filtro::Chave::Tipo::Valor:
            novo->primeira.inserirSeAusente(chaves[p].bytes, posicao);
            break;
        }
        novo->primeiraComValor = std::min(novo->primeiraComValor, posicao);
    }
    cache = {m_versaoVisao, novo};
    return novo;
}

void ConjuntoDados::setFiltro(const QString &filtro)
{
    // Read first: a malformed filter leaves everything as it was.
    std::unique_ptr<Filtro> novo;
    if (m_declarados || ativo())
        novo = Filtro::analisar(filtro, *this);
    if (ativo() && m_filtrado)
        sairDaEdicao();
    m_textoFiltro = filtro;
    m_filtro = std::move(novo);
    if (ativo() && m_filtrado)
        reaplicarFiltro();
}

void ConjuntoDados::setFiltrado(bool filtrado)
{
    if (!ativo()) {
        m_filtrado = filtrado;
        return;
    }
    sairDaEdicao();
    if (m_filtrado == filtrado)
        return;
    m_filtrado = filtrado;
    reaplicarFiltro();
}

void ConjuntoDados::aplicarFiltro()
{
    ++m_versaoVisao;
    if (m_filtrado && m_filtro) {
        m_visiveis.clear();
        for (const int fis : m_ordem)
            if (m_filtro->aceita(*this, fis))
                m_visiveis.push_back(fis);
    } else {
        m_visiveis = m_ordem;
    }
}

// Changing the filter goes to the first row.
void ConjuntoDados::reaplicarFiltro()
{
    {
        Recarga r(*this);
        aplicarFiltro();
    }
    irPara(vazio() ? -1 : 0, true, false);
}
