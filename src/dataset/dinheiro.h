#pragma once

#include "erro.h"

#include <QString>
#include <compare>
#include <cstdint>

// Money beyond the range kept exactly: a message of its own, which
// conversions pass on unchanged.
class ErroForaDoLimite : public Erro
{
  public:
    ErroForaDoLimite() : Erro(QStringLiteral("Valor fora do limite para moeda.")) {}
};

// Exact money: a 64-bit integer of ten-thousandths. A multiplication by a
// factor is done on the scaled integer in 80-bit long double and rounded back
// with llrintl, so an exact tie goes to the even neighbour.
class Dinheiro
{
  public:
    static constexpr std::int64_t Escala = 10000;
    // The largest scaled value whose four decimals the database keeps exactly
    // (stored as a double, below 2^39 the spacing of doubles is finer than
    // 0.0001): 549.755.813.888,0000. Beyond it money is refused, not altered.
    static constexpr std::int64_t Limite = (std::int64_t(1) << 39) * Escala;

    constexpr Dinheiro() = default;
    static constexpr Dinheiro deEscalado(std::int64_t v) { return Dinheiro(v); }
    // The same, refusing a value beyond Limite with the money-range error.
    static Dinheiro deEscaladoNoLimite(std::int64_t v);
    // The nearest 0.0001 to v (a tie to the even neighbour).
    static Dinheiro deDouble(long double v);
    // Rounds a value already scaled by 10 000, e.g. a whole expression
    // evaluated in long double.
    static Dinheiro arredondarEscalado(long double escalado);
    // What a user types: "1234,5", "1.234,50", "1.234.567", "-0,5", and a dot
    // that cannot group thousands as the decimal separator ("1234.5", "12.5",
    // "0.125"). Throws Erro otherwise.
    static Dinheiro deTexto(const QString &texto);
    // The program's own number text (filters, locate, text in the database):
    // "." or "," is the decimal separator and nothing groups, so "2.125" is
    // 2,125. Throws Erro otherwise.
    static Dinheiro deTextoSimples(const QString &texto);

    constexpr std::int64_t escalado() const { return m_valor; }
    double paraDouble() const { return static_cast<double>(m_valor) / Escala; }
    long double paraLongDouble() const { return static_cast<long double>(m_valor) / Escala; }

    // The product rounded to 0.0001.
    Dinheiro multiplicar(long double fator) const;

    constexpr Dinheiro operator+(Dinheiro o) const { return Dinheiro(m_valor + o.m_valor); }
    constexpr Dinheiro operator-(Dinheiro o) const { return Dinheiro(m_valor - o.m_valor); }
    constexpr Dinheiro operator-() const { return Dinheiro(-m_valor); }
    Dinheiro &operator+=(Dinheiro o)
    {
        m_valor += o.m_valor;
        return *this;
    }
    constexpr auto operator<=>(const Dinheiro &) const = default;

    // Shortest decimal text with a decimal comma: 1234,5 / 0 / -0,0001.
    QString texto() const;
    // Display pattern "###,###,###,###,##0.00": 1.234,50.
    QString exibicao() const;
    // Edit pattern "0.00": 1234,50.
    QString edicao() const;

  private:
    constexpr explicit Dinheiro(std::int64_t v) : m_valor(v) {}
    std::int64_t m_valor = 0;
};
