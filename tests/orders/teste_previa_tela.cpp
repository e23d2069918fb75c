#include "tela_pedido_teste.h"

#include "tela_pedido.h"

#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

namespace
{

class PreviaNaTela : public TelaPedidoTeste
{
  protected:
    void abrirJanela()
    {
        dm = std::make_unique<TDM>(pasta.caminho());
        tela = std::make_unique<TfrmPedido>(VariantePedidoRegular());
        tela->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(tela.get()));
        tela->activateWindow();
    }

    QLineEdit *caixa(const char *nome) const { return tela->findChild<QLineEdit *>(QString::fromUtf8(nome)); }
    // The preview is shown once the event that changed something is over.
    QString mostrado(const char *nome) const
    {
        QCoreApplication::processEvents();
        return caixa(nome)->text();
    }
    QString saldo() const
    {
        QCoreApplication::processEvents();
        const QList<QLabel *> rotulos = tela->findChildren<QLabel *>();
        for (QLabel *r : rotulos)
            if (r->parentWidget() && r->parentWidget()->toolTip() == QStringLiteral("Saldo do pedido"))
                return r->text();
        return {};
    }

    std::unique_ptr<TfrmPedido> tela;
};

// Order 12 holds P1 x 1 and E5 x 9 (37,00 when priced) but stores 20,00.
TEST_F(PreviaNaTela, PrecoESaldoEnquantoSeDigitaSemGravarNada)
{
    abrirJanela();
    ASSERT_EQ(pedidoAtual(), QStringLiteral("12"));
    EXPECT_EQ(saldo(), QStringLiteral("20,00"));
    QTest::mouseClick(tela->botao(AcaoPedido::NovoItem), Qt::LeftButton);
    QLineEdit *codigo = caixa("dbItemCodigo");
    QTest::keyClicks(codigo, QStringLiteral("p1"));
    QTest::keyClick(codigo, Qt::Key_Tab);
    QTest::keyClicks(caixa("dbItemQuantidade"), QStringLiteral("7"));
    // Still in the quantity box: nothing committed, the preview follows the typing.
    EXPECT_TRUE(dm->QyPedidoItem.campo(QStringLiteral("quantidade")).nulo());
    EXPECT_EQ(mostrado("dbItemUnitario"), QStringLiteral("10,00"));
    EXPECT_EQ(mostrado("dbItemTotal"), QStringLiteral("70,00"));
    EXPECT_TRUE(caixa("dbItemTotal")->font().italic());
    EXPECT_EQ(saldo(), QStringLiteral("107,00"));

    // F2 explains the line from the same steps.
    QTest::keyClick(tela.get(), Qt::Key_F2);
    ASSERT_EQ(dialogos.tabelas().size(), 1u);
    const TabelaDialogo &explicacao = dialogos.tabelas().back();
    EXPECT_EQ(explicacao.linhas.back(), (QStringList{QStringLiteral("Preço total: quantidade × preço unitário"),
                                                     QStringLiteral("× 7"), QStringLiteral("70,0000")}));
    EXPECT_TRUE(explicacao.observacao.contains(QStringLiteral("ainda não foi salvo")));

    const QString antes = pasta.consultar(QStringLiteral("SELECT group_concat(valorTotal) FROM tbpedido_item"));
    QTest::mouseClick(tela->botao(AcaoPedido::CancelarItem), Qt::LeftButton);
    QTest::mouseClick(tela->botao(AcaoPedido::Cancelar), Qt::LeftButton);
    EXPECT_EQ(mostrado("dbItemTotal"), QStringLiteral("10,00"));
    EXPECT_FALSE(caixa("dbItemTotal")->font().italic());
    EXPECT_EQ(saldo(), QStringLiteral("20,00"));
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT group_concat(valorTotal) FROM tbpedido_item")), antes);
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT vl_total_item FROM tbpedido WHERE nr_pedido=12")),
              QStringLiteral("20"));
}

TEST_F(PreviaNaTela, ExplicacaoDeItemGravadoQueMudou)
{
    // E5 stored at 3,00; the product now costs 4,00.
    pasta.executar(QStringLiteral("UPDATE tbproduto SET PRECOVENDA = 4 WHERE CODIGO = 'E5'"));
    abrirJanela();
    dm->QyPedidoItem.ultimo();
    tela->logica().explicarPreco();
    ASSERT_EQ(dialogos.tabelas().size(), 1u);
    EXPECT_TRUE(dialogos.tabelas().back().observacao.contains(QStringLiteral("3,0000")));
    EXPECT_TRUE(dialogos.tabelas().back().observacao.contains(QStringLiteral("4,0000")));
}

} // namespace
