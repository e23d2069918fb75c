#include "fonte_itens_pedido.h"

#include "codigos_desconto.h"
#include "conjunto_dados.h"
#include "formatos.h"
#include "valor_campo.h"

#include <QStringList>

namespace
{

QString percentual(const QString &codigo)
{
    for (const CodigoDesconto &c : CodigosDesconto())
        if (codigo == QString(QLatin1Char(c.codigo)))
            return Formatos::numero(c.percentual) + QLatin1Char('%');
    return {};
}

CamposRelatorio comPercentuais(CamposRelatorio campos)
{
    if (!campos.contains(QStringLiteral("cd_desconto1")))
        return campos;
    QStringList presentes;
    for (int i = 1; i <= 3; ++i) {
        const QString p = percentual(campos.value(QStringLiteral("cd_desconto%1").arg(i)));
        campos.insert(QStringLiteral("percentual_desconto%1").arg(i), p);
        if (!p.isEmpty())
            presentes << p;
    }
    campos.insert(QStringLiteral("percentuais_desconto"), presentes.join(QStringLiteral(" + ")));
    return campos;
}

const QString kUnitario = QStringLiteral("valorUnitario");

// A unit price with the decimals it was computed with: two to four, grouped
// as every money value is ("1.234,5678", "8,20").
QString precoUnitario(const Dinheiro &valor)
{
    QString texto = ValorCampo::formatar(valor, "###,###,###,###,##0.0000");
    while (texto.endsWith(u'0') && texto.size() - texto.indexOf(u',') > 3)
        texto.chop(1);
    return texto;
}

CamposRelatorio comUnitario(CamposRelatorio campos, const Campo &unitario)
{
    if (campos.contains(kUnitario) && !unitario.nulo())
        campos.insert(kUnitario, precoUnitario(unitario.dinheiro()));
    return campos;
}

} // namespace

CamposRelatorio FonteItensPedido::registroAtual() const
{
    CamposRelatorio campos = FonteConjunto::registroAtual();
    if (campos.isEmpty())
        return campos;
    return comPercentuais(comUnitario(std::move(campos), m_itens.campo(kUnitario)));
}

QList<CamposRelatorio> FonteItensPedido::linhas() const
{
    QList<CamposRelatorio> resultado = FonteConjunto::linhas();
    for (qsizetype i = 0; i < resultado.size(); ++i)
        resultado[i] = comPercentuais(
            comUnitario(std::move(resultado[i]), m_itens.registro(static_cast<int>(i)).campo(kUnitario)));
    return resultado;
}
