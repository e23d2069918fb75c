#include "conferencia_cliente.h"

#include "caractere_controle.h"
#include "erro.h"
#include "formatos.h"
#include "lista_enderecos.h"

#include <QRegularExpression>

QString SoDigitos(const QString &texto)
{
    QString digitos;
    for (const QChar c : texto)
        if (c.isDigit())
            digitos += c;
    return digitos;
}

bool CnpjValido(const QString &texto)
{
    const QString d = SoDigitos(texto);
    if (d.size() != 14 || d.count(d.at(0)) == d.size())
        return false;
    // Both check digits: weights 5..2,9..2 for the first, 6..2,9..2 for the second.
    const auto verificador = [&d](int quantos) {
        int soma = 0;
        int peso = quantos - 7;
        for (int i = 0; i < quantos; ++i) {
            soma += d.at(i).digitValue() * peso;
            peso = peso == 2 ? 9 : peso - 1;
        }
        const int resto = soma % 11;
        return resto < 2 ? 0 : 11 - resto;
    };
    return verificador(12) == d.at(12).digitValue() && verificador(13) == d.at(13).digitValue();
}

bool CepCompleto(const QString &texto)
{
    return SoDigitos(texto).size() == 8;
}

bool DataValida(const QString &texto)
{
    static const QRegularExpression forma(QStringLiteral("^\\d{2}/\\d{2}/\\d{4}$"));
    if (!forma.match(texto.trimmed()).hasMatch())
        return false;
    try {
        return Formatos::lerData(texto.trimmed()).isValid();
    } catch (const Erro &) {
        return false;
    }
}

bool NascimentoPlausivel(const QDate &nascimento, const QDate &hoje)
{
    return nascimento >= QDate(1900, 1, 1) && nascimento <= hoje;
}

bool EmailValido(const QString &texto)
{
    if (TemCaractereDeControle(texto))
        return false;
    static const QRegularExpression endereco(QStringLiteral("^[^@\\s<>,;]+@[^@\\s<>,;.]+(\\.[^@\\s<>,;.]+)+$"));
    QStringList enderecos;
    try {
        enderecos = enderecosDaLista(texto);
    } catch (const Erro &) {
        return false; // a piece that holds no readable address
    }
    if (enderecos.isEmpty())
        return false;
    for (const QString &e : enderecos)
        if (!endereco.match(e).hasMatch())
            return false;
    // Every "@" typed must have ended in an address: "a@x.com, lixo@" is not a list.
    return texto.count(QLatin1Char('@')) == enderecos.size();
}
