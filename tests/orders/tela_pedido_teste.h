#pragma once

#include "dialogos_roteiro.h"
#include "impressao_qt.h"
#include "logica_pedido.h"
#include "pasta_programa.h"
#include "udm.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <memory>
#include <vector>

// The window as the logic sees it: what it was asked to do, in order.
class VisaoRegistrada : public VisaoPedido
{
  public:
    void focar(CaixaPedido caixa, int lista) override
    {
        focos.push_back(caixa);
        listasFocadas.push_back(lista);
    }
    void confirmar(CaixaPedido caixa, int) override { confirmadas.push_back(caixa); }
    void confirmarFoco() override {}
    void colorirPainel(const QColor &cor) override { painel = cor; }
    void fechar() override { ++fechamentos; }

    std::vector<CaixaPedido> focos;
    std::vector<int> listasFocadas; // the item list of each focus
    std::vector<CaixaPedido> confirmadas;
    QColor painel;
    int fechamentos = 0;
};

// A program folder with representative "12", products with and without sale
// multiples and stock (prices without freight: cif 'Não'), three customers, a payment form and regular orders of
// two representatives, plus a package order the regular screen must not list.
class TelaPedidoTeste : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        const auto diasAtras = [](int dias) {
            return QDateTime::currentDateTime().addDays(-dias).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        };
        pasta.executar(
            QStringLiteral(
                "INSERT INTO tbfuncionario (idfunc, Nome) VALUES ('12', 'JOÃO SILVA');"
                "INSERT INTO tbforma (idforma, Forma) VALUES (3, 'BOLETO 30 DIAS');"
                "INSERT INTO tbproduto (CODIGO, PRODUTO, PRECOVENDA, ESTOQUE, multiplo, FABRICANTE) VALUES"
                " ('P1', 'Parafuso', 10, 100, 0, 'ACME'), ('M6', 'Caixa com 6', 5, 100, 6, 'ACME'),"
                " ('M25', 'Meia dúzia', 2, 100, 2.5, 'ACME'), ('E55', 'Pouco estoque', 3, 5.5, 0, 'ACME'),"
                " ('E5', 'Cinco no estoque', 3, 5, 0, 'ACME'), ('MP', 'Múltiplo pequeno', 1, 100, 0.3, 'ACME');"
                "INSERT INTO tbcliente (IdCliente, Nome, fantasia, CliFPagto, ultimacompra) VALUES"
                " (1, 'LOJA UM LTDA', 'LOJA UM', '3', '%1'), (2, 'LOJA DOIS LTDA', 'LOJA DOIS', '', '%2'),"
                " (3, 'LOJA TRÊS LTDA', 'LOJA TRÊS', NULL, NULL);"
                "INSERT INTO tbpedido (nr_pedido, idFunc, idCliente, dt_pedido, vl_total_item, cif) VALUES"
                " (10, '12', 2, '2026-11-02 10:00:00', 30, 'Não'), (11, '99', 1, '2026-11-03 10:00:00', 0, 'Não'),"
                " (12, '12', 1, '2026-11-04 10:00:00', 20, 'Não');"
                "INSERT INTO tbpedido (nr_pedido, idFunc, idCliente, dt_pedido, vl_total_pacote) VALUES"
                " (13, '12', 1, '2026-11-05 10:00:00', 0);"
                "INSERT INTO tbpedido_item (nr_pedido, idfunc, codigo, quantidade, valorUnitario, valorTotal,"
                " cd_desconto1, cd_desconto2, cd_desconto3) VALUES"
                " (12, '12', 'P1', 1, 10, 10, '0', '0', '0'), (12, '12', 'E5', 9, 3, 27, '0', '0', '0'),"
                " (10, '12', 'P1', 3, 10, 30, '0', '0', '0');")
                .arg(diasAtras(25), diasAtras(60)));
    }

    // Opens the data module and the regular screen's logic.
    void abrirTela()
    {
        dm = std::make_unique<TDM>(pasta.caminho());
        ASSERT_TRUE(dialogos.registros().empty()) << dialogos.textos().join(QLatin1Char('\n')).toStdString();
        logica = std::make_unique<LogicaPedido>(VariantePedidoRegular(), visao);
        logica->abrir();
    }

    QString pedidoAtual() const { return dm->QyPedido.campo(QStringLiteral("nr_pedido")).texto(); }
    QString item(const char *campo) const { return dm->QyPedidoItem.campo(QString::fromUtf8(campo)).texto(); }
    void escreverItem(const char *campo, const QString &valor)
    {
        dm->QyPedidoItem.campo(QString::fromUtf8(campo)).setTexto(valor);
    }
    // A new item on the current order with a code and a quantity.
    void novoItem(const QString &codigo, const QString &quantidade)
    {
        logica->clicar(AcaoPedido::NovoItem);
        escreverItem("codigo", codigo);
        logica->saiu(CaixaPedido::ItemCodigo);
        if (!quantidade.isEmpty())
            escreverItem("quantidade", quantidade);
    }
    QString contar(const QString &tabela) const
    {
        return pasta.consultar(QStringLiteral("SELECT count(*) FROM ") + tabela);
    }

    PastaProgramaTeste pasta;
    DialogosRoteiro dialogos;
    VisaoRegistrada visao;
    std::unique_ptr<TDM> dm;
    std::unique_ptr<LogicaPedido> logica;
};
