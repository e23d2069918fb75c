#pragma once

#include "dialogos_roteiro.h"
#include "dinheiro.h"
#include "impressao_qt.h"
#include "pasta_programa.h"
#include "udm.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <utility>

// A program folder with a representative and products, for tests that price
// and total orders through the data module. Each test adds its orders with
// SQL and then opens the data module on one of them.
class PedidosTeste : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        pasta.executar(QStringLiteral(
            "INSERT INTO tbfuncionario (idfunc, Nome) VALUES ('ABC', 'JOÃO');"
            "INSERT INTO tbproduto (idProduto, CODIGO, PRODUTO, PRECOVENDA, PRECOPROMO) VALUES"
            " (1, 'P1', 'Parafuso', 10, NULL), (2, 'P2', 'Porca', 25.9, 20), (3, 'P3', 'Arruela', 20.5, NULL),"
            " (4, 'P4', 'Bucha', 10.1538, NULL);"));
    }

    // Creates the data module and makes order `nr` the current header.
    void abrir(int nr)
    {
        dm = std::make_unique<TDM>(pasta.caminho());
        ASSERT_TRUE(dialogos.registros().empty()) << dialogos.textos().join(QLatin1Char('\n')).toStdString();
        irPara(nr);
    }

    void irPara(int nr) { ASSERT_TRUE(dm->QyPedido.localizar(QStringLiteral("nr_pedido"), QString::number(nr))) << nr; }

    // Writes fields of the current row from their texts ("" clears).
    static void escrever(ConjuntoDados &c, std::initializer_list<std::pair<const char *, const char *>> campos)
    {
        for (const auto &[nome, valor] : campos) {
            Campo campo = c.campo(QString::fromUtf8(nome));
            if (*valor)
                campo.setTexto(QString::fromUtf8(valor));
            else
                campo.limpar();
        }
    }

    static Dinheiro D(const char *texto) { return Dinheiro::deTexto(QString::fromUtf8(texto)); }
    static Dinheiro dinheiro(const ConjuntoDados &c, const char *campo)
    {
        return c.campo(QString::fromUtf8(campo)).dinheiro();
    }

    PastaProgramaTeste pasta;
    DialogosRoteiro dialogos;
    std::unique_ptr<TDM> dm;
};
