#include "tela_pedido_teste.h"

#include "tela_pedido.h"

#include <QLabel>
#include <QTest>

// The status the central set on an order, as an update from the server
// brought it, shown read-only on the order screen and following the order.
TEST_F(TelaPedidoTeste, MostraASituacaoDoPedidoNaCentral)
{
    pasta.executar(
        QStringLiteral("CREATE TABLE tbpedido_status (idfunc TEXT NOT NULL, nr_pedido INTEGER NOT NULL, status TEXT, "
                       "dt_status DATETIME, PRIMARY KEY (idfunc, nr_pedido));"
                       "INSERT INTO tbpedido_status VALUES ('12', 12, 'faturado', '2026-12-01 08:00:00'), "
                       "('99', 10, 'cancelado', '2026-12-02 08:00:00');"));
    dm = std::make_unique<TDM>(pasta.caminho());
    TfrmPedido tela(VariantePedidoRegular());
    tela.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&tela));
    auto *situacao = tela.findChild<QLabel *>(QStringLiteral("lblSituacaoCentral"));
    ASSERT_NE(situacao, nullptr);

    struct Caso {
        const char *pedido;
        const char *texto;
    } const casos[] = {
        {"12", "faturado em 01/12/2026"},
        {"10", ""}, // the status of another representative's order 10 is not this one's
        {"12", "faturado em 01/12/2026"},
    };
    for (const Caso &caso : casos) {
        SCOPED_TRACE(caso.pedido);
        ASSERT_TRUE(dm->QyPedido.localizar(QStringLiteral("nr_pedido"), QString::fromUtf8(caso.pedido)));
        EXPECT_EQ(situacao->text(), QString::fromUtf8(caso.texto));
    }
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT count(*) FROM tbpedido_status")), QStringLiteral("2"))
        << "a tela só lê";
}
