#pragma once

#include "tela_pedido_teste.h"

// The exchange screen over the order screen's folder, with exchange 20 of
// representative "12" (one returned P1 worth 10, one replacement of 10 E5
// with 5 in stock), exchange 21 stored without its totals and exchange 22 of
// another representative.
class TrocaTeste : public TelaPedidoTeste
{
  protected:
    // The item lists in the exchange variant's order.
    static constexpr int kSub = 0;
    static constexpr int kDev = 1;

    void SetUp() override
    {
        TelaPedidoTeste::SetUp();
        pasta.executar(QStringLiteral(
            "INSERT INTO tbpedido (nr_pedido, idFunc, idCliente, dt_pedido, cif, vl_total_troca1, vl_total_troca2,"
            " vl_diferenca_troca) VALUES (20, '12', 1, '2026-11-20 10:00:00', 'Não', 10, 30, 20),"
            " (22, '99', 1, '2026-11-21 10:00:00', 'Não', 0, 0, 0);"
            "INSERT INTO tbpedido (nr_pedido, idFunc, idCliente, vl_total_troca1) VALUES (21, '12', 2, 5);"
            "INSERT INTO tbpedido_troca2 (nr_pedido, idfunc, codigo, quantidade, valorUnitario, valorTotal) VALUES"
            " (20, '12', 'P1', 1, 10, 10);"
            "INSERT INTO tbpedido_troca1 (nr_pedido, idfunc, codigo, quantidade, valorUnitario, valorTotal) VALUES"
            " (20, '12', 'E5', 10, 3, 30);"));
    }

    void abrirTroca()
    {
        logica.reset();
        dm = std::make_unique<TDM>(pasta.caminho());
        ASSERT_TRUE(dialogos.registros().empty()) << dialogos.textos().join(QLatin1Char('\n')).toStdString();
        logica = std::make_unique<LogicaPedido>(VariantePedidoTroca(), visao);
        logica->abrir();
    }

    ConjuntoDados &lista(int l) const { return l == kSub ? dm->QyTrocaSub : dm->QyTrocaDev; }
    QString itemDe(int l, const char *campo) const { return lista(l).campo(QString::fromUtf8(campo)).texto(); }
    void escreverEm(int l, const char *campo, const QString &valor)
    {
        lista(l).campo(QString::fromUtf8(campo)).setTexto(valor);
    }
    // A new item of a list with a code and a quantity, its boxes left.
    void novoItemEm(int l, const QString &codigo, const QString &quantidade)
    {
        logica->clicar(AcaoPedido::NovoItem, l);
        escreverEm(l, "codigo", codigo);
        logica->saiu(CaixaPedido::ItemCodigo, l);
        if (!quantidade.isEmpty())
            escreverEm(l, "quantidade", quantidade);
        logica->saiu(CaixaPedido::ItemQuantidade, l);
    }
    // The stored exchange totals: returned / replacement / difference.
    QString totais(int nr) const
    {
        return pasta.consultar(QStringLiteral("SELECT vl_total_troca1 || '/' || vl_total_troca2 || '/' || "
                                              "vl_diferenca_troca FROM tbpedido WHERE nr_pedido = %1")
                                   .arg(nr));
    }
};
