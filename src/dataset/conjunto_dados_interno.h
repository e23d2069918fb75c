#pragma once

// The parts of the data set's engine its units (conjunto_dados*.cpp) share.
// Nothing outside them includes this header.

#include "conjunto_dados.h"
#include "filtro.h"
#include "tabela_posicoes.h"

#include <cstdint>
#include <limits>
#include <map>
#include <memory>
#include <sqlite3.h>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// Rows of another data set by the text of a key field, for look-ups. It keeps
// the row blocks it points into alive, so it is also a copy of those rows as
// they were when it was built.
struct ConjuntoDados::IndiceChave {
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    LinhasCompactas::Blocos blocos;
    std::unordered_map<std::string, const char *, Hash, std::equal_to<>> linhas;
    int colunas = 0;
};

// The first position of the view holding each value of a field, as locate
// compares values.
struct ConjuntoDados::IndiceVisao {
    static constexpr int kNenhuma = std::numeric_limits<int>::max();
    TabelaPosicoes primeira;
    int primeiraTodas = kNenhuma;    // a row matching every value
    int primeiraComValor = kNenhuma; // a row matching some value

    int posicao(const Filtro::Chave &k) const { return posicao(k, TabelaPosicoes::hash(k.bytes)); }
    // With the key's hash, taken ahead (TabelaPosicoes::antecipar).
    int posicao(const Filtro::Chave &k, std::uint64_t hash) const
    {
        int p = kNenhuma;
        switch (k.tipo) {
        case Filtro::Chave::Tipo::Nenhuma:
            return -1;
        case Filtro::Chave::Tipo::Todas:
            p = primeiraComValor;
            break;
        case Filtro::Chave::Tipo::Valor:
            if (const int achada = primeira.posicao(k.bytes, hash); achada >= 0)
                p = achada;
            p = std::min(p, primeiraTodas);
            break;
        }
        return p == kNenhuma ? -1 : p;
    }
};

// A prepared statement, finalized on every way out.
struct ConjuntoDados::Consulta {
    sqlite3_stmt *st = nullptr;
    ~Consulta() { sqlite3_finalize(st); }
};

// What the database keeps of a written column, learned once per table:
// whether it keeps a value as bound (by the column's affinity), whether a
// column the table computes may follow it, and whether the set's SQL names
// the column (a written value may then move the row or drop it from the
// result).
namespace ConjuntoInterno
{
// A column's affinity: what SQLite turns a value stored in it into.
enum class Afinidade : std::uint8_t { Desconhecida, Inteira, Texto, Nenhuma, Real, Numerica };
} // namespace ConjuntoInterno

struct ConjuntoDados::DestinoEscrita {
    std::vector<ConjuntoInterno::Afinidade> afinidades; // per stored column
    bool colunasGeradas = false;
    QString sql; // the SQL text `nomeadas` was learned from
    bool tabelaNomeada = false;
    std::vector<char> nomeadas; // per stored column
};

// The statements that write the set's rows, prepared once per set of columns
// and reused: preparing costs more than most single-row writes.
struct ConjuntoDados::Instrucoes {
    // A bound on the statements kept, for sets written with many column sets.
    static constexpr std::size_t kMaximo = 64;
    sqlite3 *db = nullptr;
    std::map<std::vector<int>, sqlite3_stmt *> insercoes;
    std::map<std::vector<int>, sqlite3_stmt *> atualizacoes;
    sqlite3_stmt *exclusao = nullptr;
    sqlite3_stmt *releitura = nullptr;
    sqlite3_stmt *versaoDados = nullptr;
    std::unique_ptr<DestinoEscrita> destino;

    ~Instrucoes() { limpar(); }
    void limpar()
    {
        for (auto *mapa : {&insercoes, &atualizacoes})
            for (auto &[colunas, st] : *mapa)
                sqlite3_finalize(st);
        insercoes.clear();
        atualizacoes.clear();
        sqlite3_finalize(exclusao);
        sqlite3_finalize(releitura);
        sqlite3_finalize(versaoDados);
        exclusao = releitura = versaoDados = nullptr;
        destino.reset();
    }
};

// A cached statement in use: reset (bindings kept until rebound) on every way
// out, so it holds no lock and can run again.
struct ConjuntoDados::Uso {
    sqlite3_stmt *st;
    ~Uso()
    {
        sqlite3_reset(st);
        sqlite3_clear_bindings(st);
    }
};

namespace ConjuntoInterno
{

// Keeps table models in step: everything they show is replaced between the
// two signals.
class Recarga
{
  public:
    explicit Recarga(ConjuntoDados &c) : m_c(c) { Q_EMIT m_c.antesRecarregar(); }
    ~Recarga() { Q_EMIT m_c.recarregado(); }
    Recarga(const Recarga &) = delete;
    Recarga &operator=(const Recarga &) = delete;

  private:
    ConjuntoDados &m_c;
};

// Look-up keys (conjunto_dados_lookup.cpp).
std::string_view chaveDe(const Celula &c, char (&buf)[32]);
std::string_view chaveDeLookup(const Celula &c, char (&buf)[32], std::string &dobrada);

// A result column stored in a row, in its field's terms
// (conjunto_dados_busca.cpp).
void codificar(CodificadorLinha &cod, sqlite3_stmt *st, int i, int coluna, TipoCampo tipo);

// A value bound to a statement's parameter, and a quoted SQL name
// (conjunto_dados_gravacao.cpp).
void vincular(sqlite3_stmt *st, int i, const Celula &c, TipoCampo tipo);
QString identificador(const QString &nome);

} // namespace ConjuntoInterno
