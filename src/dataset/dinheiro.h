#pragma once

#include <QString>
#include <compare>
#include <cstdint>

// Exact money: a 64-bit integer of ten-thousandths. A multiplication by a
// factor is done on the scaled integer in 80-bit long double and rounded back
// with llrintl, so an exact tie goes to the even neighbour.
class Dinheiro {
public:
    static constexpr std::int64_t Escala = 10000;

    constexpr Dinheiro() = default;
    static constexpr Dinheiro deEscalado(std::int64_t v) { return Dinheiro(v); }
    // The nearest 0.0001 to v (a tie to the even neighbour).
    static Dinheiro deDouble(long double v);
    // Rounds a value already scaled by 10 000, e.g. a whole expression
    // evaluated in long double.
    static Dinheiro arredondarEscalado(long double escalado);
    // Reads "1234,5", "1.234,50", "-0,5" or "1234.5"; throws Erro otherwise.
    static Dinheiro deTexto(const QString &texto);

    constexpr std::int64_t escalado() const { return m_valor; }
    double paraDouble() const { return static_cast<double>(m_valor) / Escala; }
    long double paraLongDouble() const { return static_cast<long double>(m_valor) / Escala; }

    // The product rounded to 0.0001.
    Dinheiro multiplicar(long double fator) const;

    constexpr Dinheiro operator+(Dinheiro o) const { return Dinheiro(m_valor + o.m_valor); }
    constexpr Dinheiro operator-(Dinheiro o) const { return Dinheiro(m_valor - o.m_valor); }
    constexpr Dinheiro operator-() const { return Dinheiro(-m_valor); }
    Dinheiro &operator+=(Dinheiro o) { m_valor += o.m_valor; return *this; }
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
