#include "tabela_posicoes.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <functional>

void TabelaPosicoes::reservar(std::size_t chaves)
{
    // At most half the slots taken, so that a probe seldom goes past one.
    const std::size_t vagas = std::bit_ceil(std::max<std::size_t>(16, 2 * chaves));
    if (vagas <= m_vagas.size())
        return;
    std::vector<Vaga> antigas = std::move(m_vagas);
    m_vagas.assign(vagas, Vaga{});
    m_mascara = vagas - 1;
    for (const Vaga &v : antigas) {
        if (v.posicao < 0)
            continue;
        const std::string_view chave(m_chaves.data() + v.inicio, v.tamanho);
        std::size_t i = primeiraVaga(hash(chave));
        while (m_vagas[i].posicao >= 0)
            i = (i + 1) & m_mascara;
        m_vagas[i] = v;
    }
}

void TabelaPosicoes::crescer()
{
    reservar(m_vagas.size());
}

std::uint64_t TabelaPosicoes::hash(std::string_view chave)
{
    return std::hash<std::string_view>{}(chave);
}

void TabelaPosicoes::antecipar(std::uint64_t hash) const
{
    if (!m_vagas.empty())
        __builtin_prefetch(&m_vagas[primeiraVaga(hash)]);
}

void TabelaPosicoes::inserirSeAusente(std::string_view chave, int posicao)
{
    if (2 * (m_ocupadas + 1) > m_vagas.size())
        crescer();
    const std::uint64_t h = hash(chave);
    const auto alto = static_cast<std::uint32_t>(h >> 32);
    std::size_t i = primeiraVaga(h);
    for (; m_vagas[i].posicao >= 0; i = (i + 1) & m_mascara) {
        const Vaga &v = m_vagas[i];
        if (v.hash == alto && v.tamanho == chave.size() &&
            std::memcmp(m_chaves.data() + v.inicio, chave.data(), chave.size()) == 0)
            return;
    }
    m_vagas[i] = {alto, posicao, static_cast<std::uint32_t>(m_chaves.size()), static_cast<std::uint32_t>(chave.size())};
    m_chaves.append(chave);
    ++m_ocupadas;
}

int TabelaPosicoes::posicao(std::string_view chave, std::uint64_t hash) const
{
    if (m_vagas.empty())
        return -1;
    const auto alto = static_cast<std::uint32_t>(hash >> 32);
    for (std::size_t i = primeiraVaga(hash); m_vagas[i].posicao >= 0; i = (i + 1) & m_mascara) {
        const Vaga &v = m_vagas[i];
        if (v.hash == alto && v.tamanho == chave.size() &&
            std::memcmp(m_chaves.data() + v.inicio, chave.data(), chave.size()) == 0)
            return v.posicao;
    }
    return -1;
}
