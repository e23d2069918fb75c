#include "erro.h"
#include "esquema.h"
#include "impressao_qt.h"
#include "valor_campo.h"

#include <gtest/gtest.h>

namespace
{

const DefCampo kMoeda{
    .nome = "valor", .tipo = TipoCampo::Moeda, .formatoExibicao = kFormatoMoeda, .formatoEdicao = kFormatoMoedaEdicao};
const DefCampo kFrete{.nome = "PRECOCOMFRETE",
                      .tipo = TipoCampo::Float,
                      .formatoExibicao = "###,###,###,##0.00",
                      .formatoEdicao = kFormatoMoedaEdicao};
const DefCampo kFloat{.nome = "estoque", .tipo = TipoCampo::Float};
const DefCampo kData{.nome = "dt_pedido", .tipo = TipoCampo::DataHora};
const DefCampo kLogico{.nome = "enviado", .tipo = TipoCampo::Booleano};
const DefCampo kInteiro{.nome = "quantidade", .tipo = TipoCampo::Inteiro};
const DefCampo kWord{.nome = "nota", .tipo = TipoCampo::Word};
const DefCampo kTexto3{.nome = "cif", .tipo = TipoCampo::Texto, .largura = 3};

// What a bound box or a grid shows for a value typed into a field.
TEST(ValorCampo, TextoDigitadoEExibido)
{
    struct Caso {
        const DefCampo *def;
        const char *digitado;
        const char *texto;
        const char *exibicao;
        const char *edicao;
    } casos[] = {
        {&kMoeda, "1234,5", "1234,5", "1.234,50", "1234,50"},
        {&kMoeda, "1.234.567,895", "1234567,895", "1.234.567,90", "1234567,90"},
        {&kMoeda, "-0,004", "-0,004", "0,00", "0,00"},
        {&kMoeda, "0,005", "0,005", "0,01", "0,01"},
        {&kMoeda, "", "", "", ""},
        {&kFrete, "103,6", "103,6", "103,60", "103,60"},
        {&kFrete, "0,125", "0,125", "0,13", "0,13"},
        {&kFrete, "1,005", "1,005", "1,01", "1,01"},
        {&kFrete, "-1234567,891", "-1234567,891", "-1.234.567,89", "-1234567,89"},
        {&kFloat, "2.5", "2,5", "2,5", "2,5"},
        {&kData, "31/10/2010", "31/10/2010", "31/10/2010", "31/10/2010"},
        {&kData, "1/2/2010 9:05", "01/02/2010 09:05:00", "01/02/2010 09:05:00", "01/02/2010 09:05:00"},
        {&kLogico, "Sim", "True", "True", "True"},
        {&kLogico, "false", "False", "False", "False"},
        {&kInteiro, " 42 ", "42", "42", "42"},
        {&kTexto3, "Não é", "Não", "Não", "Não"},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.digitado);
        const Celula v = ValorCampo::deTexto(QString::fromUtf8(c.digitado), *c.def);
        EXPECT_EQ(ValorCampo::texto(v, *c.def), QString::fromUtf8(c.texto));
        EXPECT_EQ(ValorCampo::textoExibicao(v, *c.def), QString::fromUtf8(c.exibicao));
        EXPECT_EQ(ValorCampo::textoEdicao(v, *c.def), QString::fromUtf8(c.edicao));
    }
}

TEST(ValorCampo, TextoQueNaoCabeNoTipoERecusado)
{
    struct Caso {
        const DefCampo *def;
        const char *digitado;
        const char *mensagem;
    } casos[] = {
        {&kInteiro, "abc", "\"abc\" não é um número inteiro válido para o campo quantidade."},
        {&kInteiro, "1,5", "\"1,5\" não é um número inteiro válido para o campo quantidade."},
        {&kInteiro, "3000000000",
         "O valor 3000000000 está fora do intervalo permitido para o campo quantidade "
         "(-2147483648 a 2147483647)."},
        {&kWord, "70000", "O valor 70000 está fora do intervalo permitido para o campo nota (0 a 65535)."},
        {&kFloat, "dois", "\"dois\" não é um número válido para o campo estoque."},
        {&kMoeda, "R$ 10", "\"R$ 10\" não é um valor válido para o campo valor."},
        {&kData, "31/02/2010", "\"31/02/2010\" não é uma data válida para o campo dt_pedido."},
        {&kLogico, "talvez", "\"talvez\" não é um valor lógico válido para o campo enviado."},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.digitado);
        try {
            ValorCampo::deTexto(QString::fromUtf8(c.digitado), *c.def);
            ADD_FAILURE() << "aceito";
        } catch (const Erro &e) {
            EXPECT_EQ(e.mensagem(), QString::fromUtf8(c.mensagem));
        }
    }
}

TEST(ValorCampo, DatasDoBancoEmSegundos)
{
    qint64 s = 0;
    ASSERT_TRUE(ValorCampo::lerDataHoraBanco("2010-10-31 23:59:59", 19, s));
    EXPECT_EQ(ValorCampo::dataHoraBanco(s), QStringLiteral("2010-10-31 23:59:59"));
    EXPECT_EQ(ValorCampo::desempacotarDataHora(s), QDateTime(QDate(2010, 10, 31), QTime(23, 59, 59)));
    ASSERT_TRUE(ValorCampo::lerDataHoraBanco("1899-12-30", 10, s));
    EXPECT_EQ(ValorCampo::desempacotarDataHora(s), QDateTime(QDate(1899, 12, 30), QTime(0, 0)));
    for (const char *ruim : {"2010-02-30 00:00:00", "31/10/2010", "2010-10-31 24:00:00", "2010-10-31X"})
        EXPECT_FALSE(ValorCampo::lerDataHoraBanco(ruim, static_cast<qsizetype>(qstrlen(ruim)), s)) << ruim;
}

} // namespace
