#include "demo_modelo.h"

namespace Demo
{

QDateTime diaReferencia()
{
    return QDateTime(QDate(2026, 11, 30), QTime(0, 0));
}

Modelo gerarModelo()
{
    Modelo m;
    m.formas = gerarFormas();
    m.localidades = gerarLocalidades();
    m.funcionarios = gerarFuncionarios();
    m.produtos = gerarProdutos();
    m.clientes = gerarClientes(m.formas);
    m.pedidos = gerarPedidos(m.produtos, m.clientes);
    return m;
}

QString digitosCnpj(const QString &dozeDigitos)
{
    auto digito = [](const QString &digitos) {
        int soma = 0;
        int peso = static_cast<int>(digitos.size()) - 7; // 5 for the first digit, 6 for the second
        for (const QChar c : digitos) {
            soma += c.digitValue() * peso;
            peso = peso == 2 ? 9 : peso - 1;
        }
        const int resto = soma % 11;
        return resto < 2 ? 0 : 11 - resto;
    };
    const int primeiro = digito(dozeDigitos);
    const int segundo = digito(dozeDigitos + QString::number(primeiro));
    return QString::number(primeiro) + QString::number(segundo);
}

} // namespace Demo
