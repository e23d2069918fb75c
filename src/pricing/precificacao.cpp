#include "precificacao.h"

#include "codigos_desconto.h"
#include "erro.h"
#include "regras_tipo_pedido.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace
{

constexpr long double kFatorGordura = 0.74L;
constexpr long double kLimiteDesconto = 0.84L;

void registrar(PassosPreco *passos, EtapaPreco etapa, long double fator, Dinheiro resultado, QString codigo = {})
{
    if (passos)
        passos->push_back({etapa, fator, resultado, std::move(codigo)});
}

// Multiplies, rounds and records the step.
Dinheiro aplicar(Dinheiro valor, EtapaPreco etapa, long double fator, PassosPreco *passos, QString codigo = {})
{
    const Dinheiro resultado = valor.multiplicar(fator);
    registrar(passos, etapa, fator, resultado, std::move(codigo));
    return resultado;
}

// A level as a step shows it; nothing when no step is kept.
QString textoNivel(const PassosPreco *passos, int nivel)
{
    return passos ? QString::number(nivel) : QString();
}

Dinheiro multiplicarCodigos(Dinheiro valor, const std::array<QString, 3> &codigos, PassosPreco *passos)
{
    // Each field on its own: the same letter twice compounds.
    for (const QString &codigo : codigos)
        valor = aplicar(valor, EtapaPreco::Codigo, FatorReducao(codigo), passos, codigo);
    return valor;
}

// T - T * g in one long double expression, rounded once, then the 74 % share.
Dinheiro valorGordura(Dinheiro totalAnterior, double g)
{
    const long double t = static_cast<long double>(totalAnterior.escalado());
    return Dinheiro::arredondarEscalado(t - t * g).multiplicar(kFatorGordura);
}

// The number in plain decimal notation with up to 15 significant digits and a
// decimal comma: 16,36152 / 7 / -1,235. Never an exponent, so the two-decimal
// cut below also holds for very large or very small values.
QString textoQuinzeDigitos(long double valor)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.14Le", valor);
    const QString cientifico = QString::fromLatin1(buffer);
    const qsizetype posE = cientifico.indexOf(QLatin1Char('e'));
    const bool negativo = cientifico.startsWith(QLatin1Char('-'));
    QString digitos = cientifico.left(posE).remove(QLatin1Char('-')).remove(QLatin1Char('.'));
    const int expoente = cientifico.mid(posE + 1).toInt();
    while (digitos.size() > 1 && digitos.endsWith(QLatin1Char('0')))
        digitos.chop(1);
    if (digitos == QLatin1String("0"))
        return QStringLiteral("0");

    QString inteiro, fracao;
    if (expoente >= 0) {
        digitos = digitos.leftJustified(expoente + 1, QLatin1Char('0'));
        inteiro = digitos.left(expoente + 1);
        fracao = digitos.mid(expoente + 1);
    } else {
        inteiro = QStringLiteral("0");
        fracao = QString(-expoente - 1, QLatin1Char('0')) + digitos;
    }
    QString texto = negativo ? QLatin1Char('-') + inteiro : inteiro;
    if (!fracao.isEmpty())
        texto += QLatin1Char(',') + fracao;
    return texto;
}

double lerTexto(const QString &texto)
{
    return std::strtod(QString(texto).replace(QLatin1Char(','), QLatin1Char('.')).toLatin1().constData(), nullptr);
}

} // namespace

Dinheiro MultiplicarExato(Dinheiro a, Dinheiro b)
{
    const __int128 produto = static_cast<__int128>(a.escalado()) * b.escalado();
    const __int128 absoluto = produto < 0 ? -produto : produto;
    __int128 quociente = absoluto / Dinheiro::Escala;
    const __int128 resto = absoluto % Dinheiro::Escala;
    if (2 * resto > Dinheiro::Escala || (2 * resto == Dinheiro::Escala && quociente % 2 == 1))
        ++quociente;
    if (quociente > Dinheiro::Limite)
        throw ErroForaDoLimite();
    const auto valor = static_cast<std::int64_t>(quociente);
    return Dinheiro::deEscalado(produto < 0 ? -valor : valor);
}

ResultadoPreco PrecificarItem(const EntradaPreco &e, PassosPreco *passos)
{
    const auto &regras = RegrasDoTipo(e.tipo).precos;
    ResultadoPreco r;
    Dinheiro unitario = e.precoVenda;
    registrar(passos, EtapaPreco::PrecoProduto, 1, unitario);
    if (regras.freteECodigos && e.cif == QLatin1String("Sim"))
        unitario = aplicar(unitario, EtapaPreco::Frete, kFatorFrete, passos);
    unitario = aplicar(unitario, EtapaPreco::Dv, FatorDv(e.tipo, e.dv), passos, textoNivel(passos, e.dv));
    unitario = aplicar(unitario, EtapaPreco::Avista, FatorAvista(e.avista), passos, textoNivel(passos, e.avista));

    if (regras.freteECodigos) {
        unitario = multiplicarCodigos(unitario, e.codigos, passos);
        const double g = FatorReducao(e.gordura1);
        r.vlGordura = valorGordura(e.valorTotal, g);
        registrar(passos, EtapaPreco::Gordura, g, *r.vlGordura, e.gordura1);
        if (regras.descontoPelaGordura && g > kLimiteDesconto) {
            r.desconto = Dinheiro::deDouble(g - kLimiteDesconto);
            registrar(passos, EtapaPreco::DescontoPacote, g, *r.desconto, e.gordura1);
        }
    }

    if (regras.pisoPromocional) {
        // Equality included: a promotional price equal to the discounted one
        // still replaces it and drops the codes.
        const Dinheiro promo = Dinheiro::deDouble(e.precoPromo);
        if (promo >= unitario) {
            unitario = promo;
            r.limparCodigos = true;
            registrar(passos, EtapaPreco::PisoPromocional, 1, unitario);
        }
    }

    r.valorUnitario = unitario;
    r.valorTotal = MultiplicarExato(unitario, e.quantidade);
    registrar(passos, EtapaPreco::Total, e.quantidade.paraLongDouble(), r.valorTotal);
    return r;
}

double ArredondarDuasCasas(double valor)
{
    if (!std::isfinite(valor))
        return valor;
    const QString texto = textoQuinzeDigitos(valor);
    const qsizetype virgula = texto.indexOf(QLatin1Char(','));
    if (virgula < 0)
        return valor;
    const QString truncado = texto.left(virgula + 3);
    const QString casas = texto.mid(virgula + 1);
    if (casas.size() < 3 || casas.at(2) < QLatin1Char('5'))
        return lerTexto(truncado);
    // Adds a cent to the truncated text, so negatives move toward zero.
    return lerTexto(textoQuinzeDigitos(static_cast<long double>(lerTexto(truncado)) + 0.01L));
}

void SomaPacote::adicionar(Dinheiro quantidade, Dinheiro valorUnitario)
{
    // Each step evaluated in extended precision and kept as a double.
    m_soma =
        static_cast<double>(m_soma + static_cast<long double>(quantidade.paraDouble()) * valorUnitario.paraDouble());
    m_quantidade += quantidade.paraDouble();
    m_quantidadeExata += quantidade;
}

std::optional<double> SomaPacote::media() const
{
    if (m_quantidadeExata == Dinheiro())
        return std::nullopt;
    return m_soma / m_quantidade;
}

PrecoMedio PrecoPelaMedia(double media, Dinheiro quantidade)
{
    // The quantity times the double the two-decimal rounding returns, as
    // every money factor is applied: 40607.35 is held just below itself, so
    // 14.505 of it gives 589009.6117, not the decimal tie 589009.61175.
    const double centavos = ArredondarDuasCasas(media);
    const Dinheiro unitario = Dinheiro::deDouble(media);
    const Dinheiro total = quantidade.multiplicar(centavos);
    return {unitario,
            total,
            {{EtapaPreco::MediaPacote, 1, unitario, {}},
             {EtapaPreco::CentavosPacote, 1, Dinheiro::deDouble(centavos), {}},
             {EtapaPreco::Total, quantidade.paraLongDouble(), total, {}}}};
}
