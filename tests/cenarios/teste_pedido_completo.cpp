#include "cenario.h"

#include "grade_itens.h"
#include "pdf_teste.h"

#include <QDir>
#include <QFile>

// One whole order of each kind, from the customer to the printed PDF, typed
// at the keyboard alone: shortcut keys where the screen has them, Tab and
// Space to reach a button where it has none.
class PedidoCompleto : public Cenario
{
  protected:
    void SetUp() override
    {
        Cenario::SetUp();
        const QDir fonte(QStringLiteral(PASTA_FONTES "/templates"));
        for (const char *modelo : {"pedido.rav", "pacote.rav", "troca.rav", "venda_casada.rav"})
            ASSERT_TRUE(
                QFile::copy(fonte.filePath(QString::fromUtf8(modelo)), pasta.arquivo(QString::fromUtf8(modelo))));
        ASSERT_TRUE(QDir(pasta.caminho()).mkdir(QStringLiteral("relatórios")));
    }

    QString ultimoPedido() const { return consultar(QStringLiteral("SELECT max(nr_pedido) FROM tbpedido")); }

    // Code, Tab, quantity, Alt+S: an item typed and saved.
    void item(const QString &codigo, const QString &quantidade)
    {
        digitar(codigo);
        tecla(Qt::Key_Tab);
        digitar(quantidade);
        tecla(Qt::Key_S, Qt::AltModifier);
    }

    // The items stored under the last order, "code x quantity" in order.
    QString itens(const char *tabela) const
    {
        return consultar(QStringLiteral("SELECT group_concat(c) FROM (SELECT codigo || 'x' || quantidade AS c FROM %1 "
                                        "WHERE nr_pedido=(SELECT max(nr_pedido) FROM tbpedido) ORDER BY item)")
                             .arg(QString::fromUtf8(tabela)));
    }

    // The printed PDF of the last order names both products.
    void conferirPdf(const char *prefixo)
    {
        const QString pdf =
            pasta.arquivo(QStringLiteral("relatórios/") + QString::fromUtf8(prefixo) + ultimoPedido() + ".pdf");
        ASSERT_TRUE(QFile::exists(pdf)) << pdf.toStdString();
        const QString texto = TextoPdf(pdf);
        EXPECT_TRUE(texto.contains(QStringLiteral("Parafuso")) && texto.contains(QStringLiteral("Prego")))
            << texto.toStdString();
        EXPECT_EQ(consultar(QStringLiteral("SELECT idCliente || '/' || impresso FROM tbpedido WHERE nr_pedido=") +
                            ultimoPedido()),
                  QStringLiteral("1/1"));
    }
};

TEST_F(PedidoCompleto, PedidoRegular)
{
    abrir(VariantePedidoRegular());
    ASSERT_EQ(foco(), tela->grade());
    tecla(Qt::Key_3, Qt::AltModifier); // Inserir the order
    ASSERT_EQ(foco(), caixa(CaixaPedido::CodigoCliente));
    digitar(QStringLiteral("1"));
    ASSERT_TRUE(tabAte(tela->grade()));
    tecla(Qt::Key_1, Qt::ControlModifier); // Inserir an item
    item(QStringLiteral("P1"), QStringLiteral("2"));
    tecla(Qt::Key_I, Qt::AltModifier);
    item(QStringLiteral("P2"), QStringLiteral("5"));
    ASSERT_TRUE(tabAte(tela->grade(), true));
    tecla(Qt::Key_5, Qt::AltModifier); // Salvar the order
    tecla(Qt::Key_2, Qt::AltModifier); // Imprimir
    EXPECT_EQ(itens("tbpedido_item"), QStringLiteral("P1x2,P2x5"));
    EXPECT_EQ(consultar(QStringLiteral("SELECT vl_total_item FROM tbpedido WHERE nr_pedido=") + ultimoPedido()),
              QStringLiteral("40"));
    conferirPdf("pedido-");
}

TEST_F(PedidoCompleto, VendaCasada)
{
    abrir(VariantePedidoVendaCasada());
    tecla(Qt::Key_3, Qt::AltModifier);
    ASSERT_EQ(foco(), caixa(CaixaPedido::CodigoCliente));
    digitar(QStringLiteral("1"));
    ASSERT_TRUE(tabAte(tela->grade()));
    tecla(Qt::Key_1, Qt::ControlModifier);
    item(QStringLiteral("P1"), QStringLiteral("2"));
    tecla(Qt::Key_I, Qt::AltModifier);
    item(QStringLiteral("P2"), QStringLiteral("5"));
    ASSERT_TRUE(tabAte(tela->grade(), true));
    tecla(Qt::Key_5, Qt::AltModifier);
    tecla(Qt::Key_2, Qt::AltModifier);
    EXPECT_EQ(itens("tbpedido_venda_casada"), QStringLiteral("P1x2,P2x5"));
    conferirPdf("venda-");
}

TEST_F(PedidoCompleto, Pacote)
{
    abrir(VariantePedidoPacote());
    ASSERT_TRUE(tabAte(caixa(CaixaPedido::CodigoCliente)));
    tecla(Qt::Key_I, Qt::AltModifier); // Inserir the order: the focus is in its boxes
    ASSERT_TRUE(tela->logica().cabecalho().emEdicao());
    ASSERT_EQ(foco(), caixa(CaixaPedido::CodigoCliente));
    digitar(QStringLiteral("1"));
    ASSERT_TRUE(tabAte(caixa(CaixaPedido::ItemCodigo)));
    tecla(Qt::Key_I, Qt::AltModifier); // Inserir an item: the focus is in the item's boxes
    item(QStringLiteral("P1"), QStringLiteral("2"));
    tecla(Qt::Key_I, Qt::AltModifier);
    item(QStringLiteral("P2"), QStringLiteral("5"));
    ASSERT_TRUE(tabAte(caixa(CaixaPedido::CodigoCliente), true));
    tecla(Qt::Key_S, Qt::AltModifier); // Salvar the order
    ASSERT_FALSE(tela->logica().cabecalho().emEdicao());
    tecla(Qt::Key_M, Qt::AltModifier); // Imprimir
    EXPECT_EQ(itens("tbpedido_pacote"), QStringLiteral("P1x2,P2x5"));
    conferirPdf("pacote-");
}

TEST_F(PedidoCompleto, Troca)
{
    constexpr int kSub = 0;
    constexpr int kDev = 1;
    abrir(VariantePedidoTroca());
    apertar(AcaoPedido::Novo);
    ASSERT_EQ(foco(), caixa(CaixaPedido::CodigoCliente));
    digitar(QStringLiteral("1"));
    apertar(AcaoPedido::NovoItem, kDev);
    ASSERT_EQ(foco(), caixa(CaixaPedido::ItemCodigo, kDev));
    digitar(QStringLiteral("P1"));
    tecla(Qt::Key_Tab);
    digitar(QStringLiteral("1"));
    apertar(AcaoPedido::SalvarItem, kDev);
    apertar(AcaoPedido::NovoItem, kSub);
    ASSERT_EQ(foco(), caixa(CaixaPedido::ItemCodigo, kSub));
    digitar(QStringLiteral("P2"));
    tecla(Qt::Key_Tab);
    digitar(QStringLiteral("5"));
    apertar(AcaoPedido::SalvarItem, kSub);
    apertar(AcaoPedido::Imprimir);
    EXPECT_EQ(itens("tbpedido_troca2"), QStringLiteral("P1x1"));
    EXPECT_EQ(itens("tbpedido_troca1"), QStringLiteral("P2x5"));
    EXPECT_EQ(consultar(QStringLiteral("SELECT vl_diferenca_troca FROM tbpedido WHERE nr_pedido=") + ultimoPedido()),
              QStringLiteral("10"));
    conferirPdf("troca-");
}
