#include "codigos_desconto.h"

#include "regras_tipo_pedido.h"

const std::array<CodigoDesconto, 26> &CodigosDesconto()
{
    static const std::array<CodigoDesconto, 26> tabela{{
        {'A', 1, 0.99},       {'B', 2, 0.98},  {'C', 3, 0.97},  {'D', 4, 0.96},       {'E', 5, 0.95},
        {'F', 6, 0.94},       {'G', 7, 0.93},  {'H', 8, 0.92},  {'I', 9, 0.91},       {'J', 10, 0.90},
        {'K', 10.7, 0.893},   {'L', 12, 0.88}, {'M', 13, 0.87}, {'N', 13.4, 0.866},   {'O', 15, 0.85},
        {'P', 15.17, 0.8483}, {'Q', 17, 0.83}, {'R', 18, 0.82}, {'S', 17.71, 0.8229}, {'T', 20, 0.80},
        {'U', 21, 0.79},      {'V', 22, 0.78}, {'W', 23, 0.77}, {'X', 24, 0.76},      {'Y', 25, 0.75},
        {'Z', 26, 0.74},
    }};
    return tabela;
}

double FatorReducao(const QString &codigo)
{
    if (codigo.size() != 1)
        return 1.0;
    const char16_t letra = codigo.at(0).unicode();
    if (letra < u'A' || letra > u'Z')
        return 1.0;
    return CodigosDesconto()[letra - u'A'].fator;
}

long double FatorDv(TipoPedido tipo, int dv)
{
    static constexpr long double fatores[] = {1.0L, 0.99L, 0.98L, 0.97L, 0.96L, 0.95L};
    if (dv == 6 && dv <= RegrasDoTipo(tipo).precos.dvMaximo)
        return 0.995L;
    return dv >= 0 && dv <= 5 ? fatores[dv] : 1.0L;
}

long double FatorAvista(int avista)
{
    static constexpr long double fatores[] = {1.0L, 0.99L, 0.98L, 0.97L, 0.96L, 0.95L};
    return avista >= 0 && avista <= 5 ? fatores[avista] : 1.0L;
}
