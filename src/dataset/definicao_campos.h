#pragma once

#include <QString>
#include <vector>

// Field types of the data sets, as the tables declare them.
enum class TipoCampo { AutoInc, Texto, TextoAnsi, Inteiro, Word, Float, Moeda, DataHora, Booleano, Memo };

// Where a field's value comes from: a column of the table, a look-up in
// another data set, or a calculation on the fetched row.
enum class Origem { Coluna, Lookup, Calculado };

inline constexpr const char *kFormatoMoeda = "###,###,###,###,##0.00";
inline constexpr const char *kFormatoMoedaEdicao = "0.00";

struct DefCampo {
    const char *nome = "";
    TipoCampo tipo = TipoCampo::Texto;
    int largura = 0; // characters, for text types
    Origem origem = Origem::Coluna;
    bool somenteLeitura = false;
    const char *mascara = nullptr;
    const char *formatoExibicao = nullptr;
    const char *formatoEdicao = nullptr;
    // For a look-up: the field of the looked-up row that gives the value.
    const char *campoLookup = nullptr;
};

// The field list of a data set, in its binding order, look-up and calculated
// fields included; and the table it reads.
struct DefConjunto {
    const char *tabela;
    const std::vector<DefCampo> &campos;
};
