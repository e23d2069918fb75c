#include "explicacao_preco.h"

#include "codigos_desconto.h"
#include "formatos.h"

#include <QLocale>

namespace
{

QString S(const char *texto)
{
    return QString::fromUtf8(texto);
}

QString fator(long double f)
{
    return QStringLiteral("× ") + Formatos::numero(static_cast<double>(f));
}

// A factor that enters a formula rather than multiplying the price.
QString valor(long double f)
{
    return Formatos::numero(static_cast<double>(f));
}

// "K (10,7 %)", or the code alone when it gives no discount.
QString codigoComPercentual(const QString &codigo)
{
    for (const CodigoDesconto &c : CodigosDesconto())
        if (codigo == QString(QLatin1Char(c.codigo)))
            return QStringLiteral("%1 (%2 %)").arg(codigo, Formatos::numero(c.percentual));
    return codigo.isEmpty() ? S("sem código") : codigo + S(" (sem desconto)");
}

QStringList linha(const PassoPreco &p, int &codigosVistos)
{
    const QString resultado = QuatroCasas(p.resultado);
    switch (p.etapa) {
    case EtapaPreco::PrecoProduto:
        return {S("Preço de venda do produto"), QString(), resultado};
    case EtapaPreco::Frete:
        return {S("Frete (CIF \"Sim\")"), fator(p.fator), resultado};
    case EtapaPreco::Dv:
        return {S("DV ") + p.codigo, fator(p.fator), resultado};
    case EtapaPreco::Avista:
        return {S("Avista ") + p.codigo, fator(p.fator), resultado};
    case EtapaPreco::Codigo:
        ++codigosVistos;
        return {QStringLiteral("D%1: %2").arg(codigosVistos).arg(codigoComPercentual(p.codigo)), fator(p.fator),
                resultado};
    case EtapaPreco::Gordura:
        return {S("Volume (G ") + codigoComPercentual(p.codigo) +
                    S("): (total anterior − total anterior × fator) × 0,74"),
                valor(p.fator), resultado};
    case EtapaPreco::DescontoPacote:
        return {S("Desconto do pacote: fator do G − 0,84"), valor(p.fator), resultado};
    case EtapaPreco::PisoPromocional:
        return {S("Preço promocional: o desconto chegou ao piso; o preço passa a ser o promocional e os "
                  "códigos D1, D2 e D3 são limpos"),
                QString(), resultado};
    case EtapaPreco::Total:
        return {S("Preço total: quantidade × preço unitário"), fator(p.fator), resultado};
    case EtapaPreco::MediaPacote:
        return {S("Média do pacote: Σ(quantidade × preço unitário) ÷ Σ quantidade, com os códigos do primeiro item"),
                QString(), resultado};
    case EtapaPreco::CentavosPacote:
        return {S("Média em centavos (duas casas, a metade para cima), para o total"), QString(), resultado};
    }
    return {};
}

} // namespace

QList<QStringList> ExplicarPassos(const PassosPreco &passos)
{
    QList<QStringList> linhas;
    int codigosVistos = 0;
    for (const PassoPreco &p : passos)
        linhas.append(linha(p, codigosVistos));
    return linhas;
}

QString QuatroCasas(Dinheiro valor)
{
    const std::int64_t escalado = valor.escalado();
    const std::int64_t absoluto = escalado < 0 ? -escalado : escalado;
    const QLocale brasil(QLocale::Portuguese, QLocale::Brazil);
    const QString inteiro = brasil.toString(static_cast<qlonglong>(absoluto / Dinheiro::Escala));
    const QString fracao = QStringLiteral("%1").arg(absoluto % Dinheiro::Escala, 4, 10, QLatin1Char('0'));
    return (escalado < 0 ? QStringLiteral("-") : QString()) + inteiro + QLatin1Char(',') + fracao;
}
