#pragma once

#include <cstdint>
#include <utility>
#include <vector>

// A fixed-seed number generator of our own (splitmix64), so the demo data is
// the same on every machine and with every standard library.
class Sorteio
{
  public:
    explicit Sorteio(std::uint64_t semente) : m_estado(semente) {}

    std::uint64_t proximo()
    {
        std::uint64_t z = (m_estado += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    // A whole number from minimo to maximo, both included.
    int entre(int minimo, int maximo)
    {
        const auto faixa = static_cast<std::uint64_t>(maximo - minimo) + 1;
        return minimo + static_cast<int>(proximo() % faixa);
    }

    // True in about porcento of the draws.
    bool chance(int porcento) { return entre(1, 100) <= porcento; }

    template <typename T> const T &escolher(const std::vector<T> &opcoes)
    {
        return opcoes[static_cast<std::size_t>(entre(0, static_cast<int>(opcoes.size()) - 1))];
    }

    template <typename T> void embaralhar(std::vector<T> &itens)
    {
        for (std::size_t i = itens.size(); i > 1; --i)
            std::swap(itens[i - 1], itens[static_cast<std::size_t>(entre(0, static_cast<int>(i) - 1))]);
    }

  private:
    std::uint64_t m_estado;
};
