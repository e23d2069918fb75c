#pragma once

#include "conjunto_dados.h"
#include "dialogos_roteiro.h"
#include "logica_pesquisa.h"
#include "pasta_programa.h"
#include "udm.h"
#include "visao_cliente.h"

#include <gtest/gtest.h>

#include <QHash>
#include <memory>

// The customer window as the logic sees it: each box shows its field until
// something is typed into it, and confirming writes what was typed, as the
// bound boxes do.
class VisaoClienteRegistrada : public VisaoCliente
{
  public:
    static QString campoDe(CaixaCliente caixa)
    {
        static const QHash<CaixaCliente, QString> campos = {
            {CaixaCliente::NomeResumido, "fantasia"},
            {CaixaCliente::RazaoSocial, "Nome"},
            {CaixaCliente::Cnpj, "cnpj"},
            {CaixaCliente::InscEstadual, "Iest"},
            {CaixaCliente::Referencia, "Referencia"},
            {CaixaCliente::Endereco, "End"},
            {CaixaCliente::Cep, "CEP"},
            {CaixaCliente::Bairro, "Bairro"},
            {CaixaCliente::Cidade, "Cidade"},
            {CaixaCliente::Telefone, "Tel"},
            {CaixaCliente::Contato, "Contato"},
            {CaixaCliente::Nascimento, "Nasc"},
            {CaixaCliente::Email, "Email"},
            {CaixaCliente::CobrancaEndereco, "endcorr"},
            {CaixaCliente::CobrancaCep, "cepcorr"},
            {CaixaCliente::CobrancaBairro, "bairrocorr"},
            {CaixaCliente::CobrancaCidade, "cidadecorr"},
            {CaixaCliente::TipoCliente, "TipoCli"},
            {CaixaCliente::Status, "status"},
        };
        return campos.value(caixa);
    }

    void digitar(CaixaCliente caixa, const QString &texto) { digitados[caixa] = texto; }

    void focar(CaixaCliente caixa) override { focos.push_back(caixa); }
    QString digitado(CaixaCliente caixa) const override
    {
        if (digitados.contains(caixa))
            return digitados.value(caixa);
        return DM->QyCliente.campo(campoDe(caixa)).textoExibicao();
    }
    void confirmar() override
    {
        for (auto it = digitados.cbegin(); it != digitados.cend(); ++it) {
            Campo campo = DM->QyCliente.campo(campoDe(it.key()));
            if (it.value().isEmpty())
                campo.limpar();
            else
                campo.setTexto(it.value());
        }
        digitados.clear();
    }
    void mostrarContador(const QString &texto) override { contador = texto; }

    QHash<CaixaCliente, QString> digitados;
    std::vector<CaixaCliente> focos;
    QString contador;
};

// A program folder with twelve customers (the third one, PADARIA, without
// orders), orders and a pending item of the first two, a payment form and
// products whose prices and descriptions sort differently from their codes.
class CadastrosTeste : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        QString clientes;
        for (int i = 4; i <= 12; ++i)
            clientes += QStringLiteral(", (%1, 'CLIENTE %1 LTDA', 'CLIENTE %1', 'GO')").arg(i);
        pasta.executar(
            QStringLiteral(
                "INSERT INTO tbfuncionario (idfunc, Nome) VALUES ('12', 'JOÃO SILVA');"
                "INSERT INTO tbforma (idforma, Forma) VALUES (3, 'BOLETO 30 DIAS');"
                "INSERT INTO tbcliente (IdCliente, Nome, fantasia, UF) VALUES"
                " (1, 'MERCADO UM LTDA', 'MERCADO UM', 'GO'), (2, 'LOJA DOIS LTDA', 'LOJA DOIS', 'SP'),"
                " (3, 'PADARIA PAO QUENTE LTDA', 'PADARIA', 'TO')%1;"
                "UPDATE tbcliente SET cnpj = '11.111.111/1111-11', Email = 'compras@padaria.com.br' WHERE IdCliente = "
                "3;"
                "INSERT INTO tbpedido (nr_pedido, idFunc, idCliente, vl_total_item) VALUES (10, '12', 1, 0),"
                " (11, '12', 1, 0);"
                "INSERT INTO tbpedido_pendente (nr_pedido, codigo, quantidade, cod_cliente) VALUES (10, 'B', 3, 2);"
                "INSERT INTO tbproduto (CODIGO, PRODUTO, PRECOVENDA, ESTOQUE, FABRICANTE) VALUES"
                " ('A', 'Parafuso', 30, 1, 'ACME'), ('B', 'Arruela', 10, 2, 'FIXA'), ('C', 'Bucha', 20, 3, 'ACME'),"
                " ('D', 'Cabo', 5, 4, 'LUZ');")
                .arg(clientes));
    }

    void abrirDados()
    {
        dm = std::make_unique<TDM>(pasta.caminho());
        ASSERT_TRUE(dialogos.registros().empty()) << dialogos.textos().join(QLatin1Char('\n')).toStdString();
    }

    QString cliente(const char *campo) const { return dm->QyCliente.campo(QString::fromUtf8(campo)).texto(); }
    void irParaCliente(int id)
    {
        ASSERT_TRUE(dm->QyCliente.localizar(QStringLiteral("IdCliente"), QString::number(id)));
    }

    PastaProgramaTeste pasta;
    DialogosRoteiro dialogos;
    std::unique_ptr<TDM> dm;
};
