#include "cenario.h"

#include <QApplication>
#include <QTableWidget>
#include <QTest>

// "Negociar preço" on the item being typed: the target asked in the prompt,
// the first line of the list taken with Enter, the item saved.
class NegociarPreco : public Cenario
{
};

TEST_F(NegociarPreco, PrimeiraLinhaEscolhidaEGuardadaComOPrecoDaLinha)
{
    for (const VariantePedido &(*variante)() : {VariantePedidoRegular, VariantePedidoVendaCasada}) {
        const QString tabela = variante == VariantePedidoRegular ? QStringLiteral("tbpedido_item")
                                                                 : QStringLiteral("tbpedido_venda_casada");
        SCOPED_TRACE(tabela.toStdString());
        abrir(variante());
        clicar(AcaoPedido::NovoItem);
        QTest::mouseClick(caixa(CaixaPedido::ItemCodigo), Qt::LeftButton);
        digitar(QStringLiteral("P2"));
        tecla(Qt::Key_Tab);
        digitar(QStringLiteral("3"));

        QStringList linha;
        dialogos->planejar([](QWidget *) {
            QWidget *caixaAlvo = QApplication::focusWidget();
            QTest::keyClicks(caixaAlvo, QStringLiteral("3,50"));
            QTest::keyClick(caixaAlvo, Qt::Key_Return);
        });
        dialogos->planejar([&linha](QWidget *janela) {
            auto *t = janela->findChild<QTableWidget *>(QStringLiteral("tabela"));
            ASSERT_NE(t, nullptr);
            ASSERT_GT(t->rowCount(), 0);
            for (int c = 0; c < t->columnCount(); ++c)
                linha << t->item(0, c)->text();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        });
        tecla(Qt::Key_F3);
        EXPECT_TRUE(dialogos->atosEsgotados());
        EXPECT_TRUE(dialogos->inesperadas.isEmpty()) << dialogos->inesperadas.join(u'|').toStdString();
        ASSERT_EQ(linha.size(), 5);
        EXPECT_TRUE(tela->logica().itens().emEdicao()); // nothing stored before the save
        clicar(AcaoPedido::SalvarItem);
        fecharTela();

        // Prices of 4,00 less codes: the closest at or above 3,50.
        const QString guardado =
            consultar(QStringLiteral("SELECT printf('%.4f', valorUnitario) || ' ' || cd_desconto1 || ' ' || "
                                     "cd_desconto2 || ' ' || cd_desconto3 || ' ' || printf('%.2f', valorTotal) "
                                     "FROM %1 WHERE codigo='P2' AND quantidade=3")
                          .arg(tabela));
        const QString esperado =
            QString(linha[1]).replace(u',', u'.') + u' ' + linha[0] + u' ' + QString(linha[2]).replace(u',', u'.');
        EXPECT_EQ(guardado, esperado);
        EXPECT_GE(linha[1].replace(u',', u'.').toDouble(), 3.5);
    }
}
