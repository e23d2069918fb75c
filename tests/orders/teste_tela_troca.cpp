#include "troca_teste.h"

#include "grade_itens.h"
#include "tela_pedido.h"

#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

// The exchange window over the exchange folder: its two item blocks as a
// user meets them.
class JanelaTrocaTeste : public TrocaTeste
{
  protected:
    void abrirJanela()
    {
        dm = std::make_unique<TDM>(pasta.caminho());
        tela = std::make_unique<TfrmPedido>(VariantePedidoTroca());
        tela->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(tela.get()));
        tela->activateWindow();
    }

    QString rotulo(const char *nome) const
    {
        auto *l = tela->findChild<QLabel *>(QString::fromUtf8(nome));
        return l ? l->text() : QStringLiteral("(sem rótulo)");
    }

    std::unique_ptr<TfrmPedido> tela;
};

TEST_F(JanelaTrocaTeste, DoisBlocosDeItensComSeusNomesGradesESubtotais)
{
    abrirJanela();
    EXPECT_EQ(tela->windowTitle(), QStringLiteral("Corlando - Troca"));
    EXPECT_EQ(tela->objectName(), QStringLiteral("TfrmPedidoTroca"));
    EXPECT_EQ(tela->botao(AcaoPedido::Novo)->objectName(), QStringLiteral("BtnNovo"));
    EXPECT_EQ(tela->botao(AcaoPedido::Novo)->text(), QStringLiteral("Inserir"));
    EXPECT_EQ(tela->botao(AcaoPedido::PesquisarPedido)->statusTip(), QStringLiteral("Pesquisar troca(s)"));
    EXPECT_EQ(tela->botao(AcaoPedido::NovoItem, kDev)->objectName(), QStringLiteral("BtnNovoDevolucao"));
    EXPECT_EQ(tela->botao(AcaoPedido::NovoItem, kDev)->statusTip(), QStringLiteral("Inserir devolução"));
    EXPECT_EQ(tela->botao(AcaoPedido::ProximoItem, kSub)->statusTip(), QStringLiteral("Próxima substituição"));
    EXPECT_EQ(tela->botao(AcaoPedido::ImportarPendencia, kSub)->objectName(), QStringLiteral("BtnImportarPendencia"));
    EXPECT_EQ(tela->caixa(CaixaPedido::CodigoCliente)->objectName(), QStringLiteral("edtCodigoCliente"));
    EXPECT_EQ(tela->caixa(CaixaPedido::ItemCodigo, kSub)->objectName(), QStringLiteral("dbItemTrocaSubCodigo"));
    EXPECT_EQ(tela->caixa(CaixaPedido::ItemDesconto1, kDev), nullptr);
    EXPECT_EQ(tela->grade(kDev)->objectName(), QStringLiteral("dbgTrocaDevolucao"));
    // The two grids share the height left.
    EXPECT_LE(std::abs(tela->grade(kDev)->height() - tela->grade(kSub)->height()), 2);
    EXPECT_EQ(tela->grade(kDev)->model()->rowCount(), 1);
    EXPECT_EQ(tela->grade(kSub)->model()->headerData(5, Qt::Horizontal).toString(), QStringLiteral("Estoque"));
    EXPECT_EQ(rotulo("vl_total_troca1"), QStringLiteral("10,00"));
    EXPECT_EQ(rotulo("vl_total_troca2"), QStringLiteral("30,00"));
    // The returned block sits above the replacement block.
    EXPECT_LT(tela->grade(kDev)->mapTo(tela.get(), QPoint()).y(), tela->grade(kSub)->mapTo(tela.get(), QPoint()).y());
}

TEST_F(JanelaTrocaTeste, CadaBlocoSegueSuaListaAoDigitarESalvar)
{
    abrirJanela();
    QTest::mouseClick(tela->botao(AcaoPedido::NovoItem, kDev), Qt::LeftButton);
    EXPECT_TRUE(tela->botao(AcaoPedido::SalvarItem, kDev)->isEnabled());
    EXPECT_FALSE(tela->botao(AcaoPedido::SalvarItem, kSub)->isEnabled());
    auto *codigo = qobject_cast<QLineEdit *>(tela->caixa(CaixaPedido::ItemCodigo, kDev));
    ASSERT_TRUE(codigo->hasFocus());
    QTest::keyClicks(codigo, QStringLiteral("m25"));
    QTest::keyClick(codigo, Qt::Key_Tab);
    EXPECT_EQ(itemDe(kDev, "codigo"), QStringLiteral("M25"));
    EXPECT_EQ(itemDe(kDev, "item_descricao"), QStringLiteral("Meia dúzia"));
    auto *quantidade = qobject_cast<QLineEdit *>(tela->caixa(CaixaPedido::ItemQuantidade, kDev));
    quantidade->setFocus();
    QTest::keyClicks(quantidade, QStringLiteral("4"));
    // Saving commits the box being typed in.
    QTest::mouseClick(tela->botao(AcaoPedido::SalvarItem, kDev), Qt::LeftButton);
    EXPECT_TRUE(dialogos.registros().empty()) << dialogos.textos().join(u'\n').toStdString();
    EXPECT_EQ(tela->grade(kDev)->model()->rowCount(), 2);
    EXPECT_EQ(rotulo("vl_total_troca1"), QStringLiteral("18,00"));
    EXPECT_EQ(totais(20), QStringLiteral("18/30/12"));
    EXPECT_TRUE(tela->botao(AcaoPedido::Editar)->isEnabled());
}
