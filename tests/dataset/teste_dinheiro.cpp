#include "dinheiro.h"
#include "erro.h"
#include "impressao_qt.h"

#include <gtest/gtest.h>
#include <limits>

namespace
{

Dinheiro D(std::int64_t escalado)
{
    return Dinheiro::deEscalado(escalado);
}

TEST(Dinheiro, MultiplicarArredondaAoDecimoDeMilesimoComEmpateParaPar)
{
    struct Caso {
        std::int64_t valor;
        long double fator;
        std::int64_t esperado;
    } casos[] = {
        {102564, 0.99L, 101538}, // 10.153836 -> 10.1538
        {253820, 0.893, 226661}, // 22.666126 -> 22.6661 (code factor as double)
        {226661, 0.98L, 222128}, // 22.212778 -> 22.2128
        {222128, 0.74, 164375},  // 16.437472 -> 16.4375
        {100000, 1.036L, 103600},
        {5, 0.5L, 2}, // 0.00025 -> tie -> 0.0002 (even)
        {7, 0.5L, 4}, // 0.00035 -> tie -> 0.0004 (even)
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

// Typed text keeps the Brazilian grouping; a dot that cannot group thousands
// is a decimal point, so no reading is ever a thousand times off. The
// program's own text (filters, locate, database) never groups.
TEST(Dinheiro, LeTextoDigitadoESimples)
{
    constexpr std::int64_t Recusa = std::numeric_limits<std::int64_t>::min(); // refused
    struct Caso {
        const char *texto;
        std::int64_t digitado, simples;
    } casos[] = {
        {"1234,5", 12345000, 12345000},
        {"1.234,50", 12345000, Recusa},
        {"1.234.567", 12345670000, Recusa},
        {"1.234.567,8", 12345678000, Recusa},
        {"1234.5", 12345000, 12345000},
        {"12.5", 125000, 125000},
        {"0.125", 1250, 1250},
        {"2.125", 21250000, 21250},
        {"2.1250", 21250, 21250},
        {"1234.567", 12345670, 12345670},
        {"-0,5", -5000, -5000},
        {"-2.125", -21250000, -21250},
        {" 7 ", 70000, 70000},
        {",25", 2500, 2500},
        {".25", 2500, 2500},
        {"0,00005", 0, 0},
        {"0,00015", 2, 2},
        {"0,000051", 1, 1},
        {"0.123,5", Recusa, Recusa},
        {"1.234.5", Recusa, Recusa},
        {"12.345,6.7", Recusa, Recusa},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.texto);
        const QString t = QString::fromUtf8(c.texto);
        if (c.digitado == Recusa)
            EXPECT_THROW(Dinheiro::deTexto(t), Erro);
        else
            EXPECT_EQ(Dinheiro::deTexto(t).escalado(), c.digitado);
        if (c.simples == Recusa)
            EXPECT_THROW(Dinheiro::deTextoSimples(t), Erro);
        else
            EXPECT_EQ(Dinheiro::deTextoSimples(t).escalado(), c.simples);
    }
}

TEST(Dinheiro, TextoQueNaoEhNumeroDaErroClaro)
{
    for (const char *t : {"abc", "", "1,2,3", "12a", "1.23.4", ".", ","}) {
        try {
            Dinheiro::deTexto(QString::fromUtf8(t));
            ADD_FAILURE() << t;
        } catch (const Erro &e) {
            EXPECT_TRUE(e.mensagem().contains(QStringLiteral("não é um valor válido"))) << t;
        }
    }
}

// Beyond what the database keeps to the last decimal, money is refused with
// its own message instead of coming back with another last digit.
TEST(Dinheiro, ForaDoLimiteRecusado)
{
    EXPECT_EQ(Dinheiro::deTexto(QStringLiteral("549.755.813.888")).escalado(), Dinheiro::Limite);
    EXPECT_EQ(Dinheiro::deTextoSimples(QStringLiteral("-549755813888,0000")).escalado(), -Dinheiro::Limite);
    const auto recusa = [](auto ler) {
        try {
            ler();
            ADD_FAILURE() << "aceitou";
        } catch (const Erro &e) {
            EXPECT_EQ(e.mensagem(), QStringLiteral("Valor fora do limite para moeda."));
        }
    };
    recusa([] { Dinheiro::deTexto(QStringLiteral("549755813888,0001")); });
    recusa([] { Dinheiro::deTexto(QStringLiteral("900.719.925.474,0993")); });
    recusa([] { Dinheiro::deTextoSimples(QStringLiteral("-1000000000000")); });
    recusa([] { Dinheiro::deTexto(QStringLiteral("99999999999999999999")); });
    recusa([] { Dinheiro::deDouble(6e11); });
    recusa([] { Dinheiro::deEscalado(Dinheiro::Limite).multiplicar(1.01L); });
    recusa([] { Dinheiro::deEscaladoNoLimite(Dinheiro::Limite + 1); });
}

TEST(Dinheiro, DeDoubleArredonda)
{
    EXPECT_EQ(Dinheiro::deDouble(103.6).escalado(), 1036000);
    EXPECT_EQ(Dinheiro::deDouble(16.36152).escalado(), 163615);
    EXPECT_THROW(Dinheiro::deDouble(1e300), Erro);
}

} // namespace
