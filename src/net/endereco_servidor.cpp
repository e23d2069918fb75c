#include "endereco_servidor.h"

#include <QRegularExpression>

EnderecoServidor SepararPorta(const QString &valor, int portaPadrao)
{
    static const QRegularExpression comPorta(QStringLiteral("^([^:]+):(\\d{1,5})$"));
    const QRegularExpressionMatch m = comPorta.match(valor.trimmed());
    if (m.hasMatch())
        return {m.captured(1), m.captured(2).toInt()};
    return {valor.trimmed(), portaPadrao};
}
