#include "dinheiro.h"
#include "erro.h"
#include "impressao_qt.h"

#include <gtest/gtest.h>

namespace {

Dinheiro D(std::int64_t escalado) { return Dinheiro::deEscalado(escalado); }

TEST(Dinheiro, MultiplicarArredondaAoDecimoDeMilesimoComEmpateParaPar)
{
    struct Caso {
        std::int64_t valor;
        long double fator;
        std::int64_t esperado;
    } casos[] = {
        {102564, 0.99L, 101538},   // 10.153836 -> 10.1538
        {253820, 0.893, 226661},   // 22.666126 -> 22.6661 (code factor as double)
        {226661, 0.98L, 222128},   // 22.212778 -> 22.2128
        {222128, 0.74, 164375},    // 16.437472 -> 16.4375
        {100000, 1.036L, 103600},
        {5, 0.5L, 2},              // 0.00025 -> tie -> 0.0002 (even)
        {7, 0.5L, 4},              // 0.00035 -> tie -> 0.0004 (even)
        {-7, 0.5L, -4},
    };
    for (const Caso &c : casos)
        EXPECT_EQ(D(c.valor).multiplicar(c.fator).escalado(), c.esperado) << c.valor;
}

TEST(Dinheiro, SomaExata)
{
    Dinheiro total;
    for (int i = 0; i < 10; ++i)
        total += Dinheiro::deTexto(QStringLiteral("0,1"));
    EXPECT_EQ(total, Dinheiro::deTexto(QStringLiteral("1")));
}

TEST(Dinheiro, Textos)
{
    struct Caso {
        std::int64_t valor;
        const char *texto, *exibicao, *edicao;
    } casos[] = {
        {12345000, "1234,5", "1.234,50", "1234,50"},
        {0, "0", "0,00", "0,00"},
        {-12345000, "-1234,5", "-1.234,50", "-1234,50"},
        {1, "0,0001", "0,00", "0,00"},
        {1015380, "101,538", "101,54", "101,54"},
        {12345678901230000, "1234567890123", "1.234.567.890.123,00", "1234567890123,00"},
        {-50, "-0,005", "-0,01", "-0,01"},
    };
    for (const Caso &c : casos) {
        EXPECT_EQ(D(c.valor).texto(), QString::fromUtf8(c.texto));
        EXPECT_EQ(D(c.valor).exibicao(), QString::fromUtf8(c.exibicao));
        EXPECT_EQ(D(c.valor).edicao(), QString::fromUtf8(c.edicao));
    }
}

TEST(Dinheiro, LeTexto)
{
    struct Caso {
        const char *texto;
        std::int64_t esperado;
    } casos[] = {
        {"1234,5", 12345000}, {"1.234,50", 12345000}, {"1234.5", 12345000}, {"-0,5", -5000},
        {" 7 ", 70000},       {",25", 2500},          {"0,00005", 0},       {"0,00015", 2},
        {"0,000051", 1},
    };
    for (const Caso &c : casos)
        EXPECT_EQ(Dinheiro::deTexto(QString::fromUtf8(c.texto)).escalado(), c.esperado) << c.texto;
}

TEST(Dinheiro, TextoQueNaoEhNumeroDaErroClaro)
{
    for (const char *t : {"abc", "", "1,2,3", "12a", "1.23.4"}) {
        try {
            Dinheiro::deTexto(QString::fromUtf8(t));
            ADD_FAILURE() << t;
        } catch (const Erro &e) {
            EXPECT_TRUE(e.mensagem().contains(QStringLiteral("não é um valor válido"))) << t;
        }
    }
}

TEST(Dinheiro, DeDoubleArredonda)
{
    EXPECT_EQ(Dinheiro::deDouble(103.6).escalado(), 1036000);
    EXPECT_EQ(Dinheiro::deDouble(16.36152).escalado(), 163615);
    EXPECT_THROW(Dinheiro::deDouble(1e300), Erro);
}

} // namespace
