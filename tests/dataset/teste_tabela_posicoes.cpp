#include "tabela_posicoes.h"

#include <gtest/gtest.h>
#include <string>

// Keys that share prefixes, lengths and (in a small table) slots; more than
// reserved, so that the table grows while it is filled.
TEST(TabelaPosicoes, PrimeiraPosicaoDeCadaChaveAtravesDoCrescimento)
{
    TabelaPosicoes t;
    t.reservar(4);
    constexpr int n = 5000;
    for (int i = 0; i < n; ++i)
        t.inserirSeAusente("P" + std::to_string(i), i);
    for (int i = 0; i < n; ++i)
        t.inserirSeAusente("P" + std::to_string(i), n + i); // a repeated key keeps its first position
    t.inserirSeAusente("", 7);
    for (int i = 0; i < n; ++i)
        ASSERT_EQ(t.posicao("P" + std::to_string(i)), i);
    EXPECT_EQ(t.posicao(""), 7);
    EXPECT_EQ(t.posicao("P"), -1);
    EXPECT_EQ(t.posicao("P5000"), -1);
    EXPECT_EQ(t.posicao(std::string("P1\0", 3)), -1);
    EXPECT_EQ(TabelaPosicoes().posicao("P1"), -1);
}
