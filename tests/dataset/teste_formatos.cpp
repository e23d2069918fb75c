#include "erro.h"
#include "formatos.h"
#include "impressao_qt.h"

#include <gtest/gtest.h>

namespace
{

TEST(Formatos, Datas)
{
    EXPECT_EQ(Formatos::data(QDate(2010, 10, 31)), QStringLiteral("31/10/2010"));
    EXPECT_EQ(Formatos::dataHora(QDateTime(QDate(2010, 2, 1), QTime(0, 0))), QStringLiteral("01/02/2010"));
    EXPECT_EQ(Formatos::dataHora(QDateTime(QDate(2010, 2, 1), QTime(14, 5, 9))), QStringLiteral("01/02/2010 14:05:09"));
    EXPECT_EQ(Formatos::dataHoraCompleta(QDateTime(QDate(2010, 2, 1), QTime(0, 0))),
              QStringLiteral("01/02/2010 00:00:00"));
    EXPECT_EQ(Formatos::data(QDate()), QString());
}

TEST(Formatos, LeDatasDigitadas)
{
    EXPECT_EQ(Formatos::lerData(QStringLiteral("1/2/2010")), QDate(2010, 2, 1));
    EXPECT_EQ(Formatos::lerData(QStringLiteral("31/10/10")), QDate(2010, 10, 31));
    EXPECT_EQ(Formatos::lerDataHora(QStringLiteral("31/10/2010 23:59:59")),
              QDateTime(QDate(2010, 10, 31), QTime(23, 59, 59)));
    EXPECT_EQ(Formatos::lerDataHora(QStringLiteral("31/10/2010")), QDateTime(QDate(2010, 10, 31), QTime(0, 0)));
    for (const char *t : {"31/02/2010", "abc", "1/13/2010", "10/10/2010 25:00"})
        EXPECT_THROW(Formatos::lerDataHora(QString::fromUtf8(t)), Erro) << t;
}

TEST(Formatos, DataHoraDoBancoIdaEVolta)
{
    const QDateTime dt(QDate(2026, 12, 10), QTime(8, 30, 1));
    EXPECT_EQ(Formatos::dataHoraBanco(dt), QStringLiteral("2026-12-10 08:30:01"));
    EXPECT_EQ(Formatos::lerDataHoraBanco(Formatos::dataHoraBanco(dt)), dt);
}

TEST(Formatos, Numeros)
{
    EXPECT_EQ(Formatos::numero(6), QStringLiteral("6"));
    EXPECT_EQ(Formatos::numero(2.5), QStringLiteral("2,5"));
    EXPECT_EQ(Formatos::numero(16.36152), QStringLiteral("16,36152"));
    EXPECT_DOUBLE_EQ(Formatos::lerNumero(QStringLiteral("2,5")), 2.5);
    EXPECT_THROW(Formatos::lerNumero(QStringLiteral("dez")), Erro);
    EXPECT_EQ(Formatos::lerInteiro(QStringLiteral(" 12 ")), 12);
    EXPECT_THROW(Formatos::lerInteiro(QStringLiteral("1,5")), Erro);
}

} // namespace
