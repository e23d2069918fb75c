#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Byte strings to the first position given for each, in one flat table:
// open addressing over slots of a hash and a position, the keys' bytes in one
// block. A look-up reads a slot and the key's bytes, where a chained table
// reads a bucket and a node besides, each a wait on memory in a large table;
// and a slot can be fetched ahead, so that a batch of look-ups overlaps.
class TabelaPosicoes
{
  public:
    void reservar(std::size_t chaves);
    // Keeps the first position given for a key.
    void inserirSeAusente(std::string_view chave, int posicao);

    static std::uint64_t hash(std::string_view chave);
    // Brings the slot a key of this hash starts at into the cache.
    void antecipar(std::uint64_t hash) const;
    // The key's position, or -1.
    int posicao(std::string_view chave) const { return posicao(chave, hash(chave)); }
    int posicao(std::string_view chave, std::uint64_t hash) const;

  private:
    struct Vaga {
        std::uint32_t hash = 0; // the hash's high half
        std::int32_t posicao = -1;
        std::uint32_t inicio = 0; // the key in m_chaves
        std::uint32_t tamanho = 0;
    };
    std::size_t primeiraVaga(std::uint64_t hash) const { return static_cast<std::size_t>(hash) & m_mascara; }
    void crescer();

    std::vector<Vaga> m_vagas;
    std::size_t m_mascara = 0;
    std::size_t m_ocupadas = 0;
    std::string m_chaves;
};
