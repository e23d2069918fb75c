#include "documentos_teste.h"
#include "impressao_pedido.h"
#include "pdf_teste.h"

namespace
{

class PercentuaisDesconto : public DocumentosTeste
{
};

// A company template that shows each line's discounts as percentages.
TEST_F(PercentuaisDesconto, ModeloMostraOsDescontosDeCadaLinha)
{
    inserirPedido1234();
    pasta.executar(QStringLiteral(
        "INSERT INTO tbpedido_item (nr_pedido, idfunc, codigo, quantidade, valorUnitario, valorTotal,"
        " cd_desconto1, cd_desconto2, cd_desconto3) VALUES (1234, '12', '7891000', 1, 7.2, 7.2, 'K', 'B', 'a');"));
    pasta.escrever(QStringLiteral("pedido.rav"),
                   QStringLiteral("<html><body><table>{{#rvdsPedidoItem.linhas}}<tr><td>{{codigo}}</td>"
                                  "<td>[{{percentuais_desconto}}]</td><td>D1 {{percentual_desconto1}}</td></tr>"
                                  "{{/rvdsPedidoItem.linhas}}</table></body></html>"));
    abrirNaTela(1234, "vl_total_item>=0");
    ImprimirPedido(TipoPedido::Pedido, QStringLiteral("1234"), false, acoes(TipoPedido::Pedido));
    ASSERT_EQ(dialogos.textos(QStringLiteral("mensagem")), QStringList{});

    const QString texto = TextoPdf(pasta.arquivo(QStringLiteral("relatórios/pedido-1234.pdf")));
    // "0" and "a" give no discount and no percentage.
    for (const char *esperado : {"ABC123 [1%] D1 1%", "7891000 [] D1", "7891000 [10,7% + 2%] D1 10,7%"})
        EXPECT_TRUE(texto.simplified().contains(QString::fromUtf8(esperado))) << esperado << "\n"
                                                                              << texto.toStdString();
}

} // namespace
