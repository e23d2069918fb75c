#include "fonte_itens_pedido.h"

#include "codigos_desconto.h"
#include "formatos.h"

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

} // namespace

CamposRelatorio FonteItensPedido::registroAtual() const
{
    return comPercentuais(FonteConjunto::registroAtual());
}

QList<CamposRelatorio> FonteItensPedido::linhas() const
{
    QList<CamposRelatorio> resultado = FonteConjunto::linhas();
    for (CamposRelatorio &campos : resultado)
        campos = comPercentuais(std::move(campos));
    return resultado;
}
