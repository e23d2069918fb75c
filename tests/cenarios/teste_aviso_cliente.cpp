#include "cenario.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QLabel>
#include <QTest>

// The warning beside the customer's name: it follows the order's total as
// the items are typed, and the customer's average delay against the limit
// of the settings. It never stops the order.

namespace
{

class AvisoCliente : public Cenario
{
  protected:
    // The customer list and the settings read again after a change here.
    void mudar(const QString &sql)
    {
        pasta.executar(sql);
        for (ConjuntoDados *c : {&dm->QyCliente, &dm->QyConfiguracoes}) {
            c->fechar();
            c->abrir();
        }
    }

    // What the screen shows beside the name, once the preview has run.
    QString aviso() const
    {
        QCoreApplication::processEvents();
        // The customer box's completion list opens once events run, and
        // offscreen it takes the activation: closed, as the user would.
        for (QCompleter *c : tela->findChildren<QCompleter *>())
            c->popup()->hide();
        QApplication::setActiveWindow(tela.get());
        const auto *rotulo = tela->findChild<QLabel *>(QStringLiteral("lblAvisoCliente"));
        EXPECT_NE(rotulo, nullptr);
        return rotulo && rotulo->isVisible() ? rotulo->text() : QString();
    }

    void novoPedidoPara(const char *cliente)
    {
        abrir(VariantePedidoRegular());
        clicar(AcaoPedido::Novo);
        QTest::mouseClick(caixa(CaixaPedido::CodigoCliente), Qt::LeftButton);
        digitar(QString::fromLatin1(cliente));
        tecla(Qt::Key_Tab);
    }
};

TEST_F(AvisoCliente, CreditoAcompanhaOTotalEnquantoSeDigita)
{
    mudar(QStringLiteral("UPDATE tbcliente SET credito = 50 WHERE IdCliente = 1"));
    novoPedidoPara("1");
    EXPECT_EQ(aviso(), QString());

    clicar(AcaoPedido::EditarItem);
    QTest::mouseClick(caixa(CaixaPedido::ItemCodigo), Qt::LeftButton);
    digitar(QStringLiteral("P1"));
    QTest::mouseClick(caixa(CaixaPedido::ItemQuantidade), Qt::LeftButton);
    digitar(QStringLiteral("4"));
    EXPECT_EQ(aviso(), QString());
    digitar(QStringLiteral("0"));
    EXPECT_EQ(aviso(), QStringLiteral("⚠ Pedido acima do crédito (R$ 50,00)"));
    tecla(Qt::Key_Backspace);
    EXPECT_EQ(aviso(), QString());
    digitar(QStringLiteral("6"));
    EXPECT_FALSE(aviso().isEmpty());
    clicar(AcaoPedido::SalvarItem);
    EXPECT_FALSE(aviso().isEmpty());
    clicar(AcaoPedido::Salvar);
    // Stored as typed: the warning asked nothing and stopped nothing.
    EXPECT_EQ(consultar(QStringLiteral("SELECT count(*) FROM tbpedido p WHERE idCliente = 1 AND nr_pedido > 41 AND"
                                       " vl_total_item > 50 AND vl_total_item = (SELECT sum(valorTotal) FROM"
                                       " tbpedido_item i WHERE i.nr_pedido = p.nr_pedido AND quantidade = 46)")),
              QStringLiteral("1"));
    EXPECT_FALSE(aviso().isEmpty());
    EXPECT_TRUE(dialogos->textos.isEmpty()) << dialogos->textos.join(u'\n').toStdString();
}

TEST_F(AvisoCliente, AtrasoMedioAcimaDoLimiteDaConfiguracao)
{
    struct Caso {
        const char *sql;
        const char *aviso;
    } const casos[] = {
        {"UPDATE tbcliente SET mediaatraso = 31 WHERE IdCliente = 2", "⚠ Atraso médio de 31 dias"},
        {"UPDATE tbcliente SET mediaatraso = 30 WHERE IdCliente = 2", ""},
        {"INSERT INTO tbconfiguracoes (cod_funcionario, limite_atraso) VALUES ('12', 20)", "⚠ Atraso médio de 30 dias"},
        {"UPDATE tbconfiguracoes SET limite_atraso = 45", ""},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.sql);
        mudar(QString::fromUtf8(c.sql));
        novoPedidoPara("2");
        EXPECT_EQ(aviso(), QString::fromUtf8(c.aviso));
        // Another customer on the same order takes the warning away.
        QTest::mouseClick(caixa(CaixaPedido::CodigoCliente), Qt::LeftButton);
        QTest::keyClick(foco(), Qt::Key_A, Qt::ControlModifier);
        digitar(QStringLiteral("1"));
        tecla(Qt::Key_Tab);
        EXPECT_EQ(aviso(), QString());
        clicar(AcaoPedido::Cancelar);
    }
}

} // namespace
