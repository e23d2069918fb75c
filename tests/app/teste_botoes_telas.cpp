#include "dialogos_roteiro.h"
#include "pasta_programa.h"
#include "udm.h"
#include "uprincipal.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

namespace
{

// Each order button opens its own screen, modal and maximised, and the main
// window waits until it is closed.
TEST(Principal, BotoesAbremAsTelasDePedidoModaisEMaximizadas)
{
    DialogosRoteiro dialogos;
    PastaProgramaTeste pasta;
    pasta.executar(QStringLiteral("INSERT INTO tbfuncionario (idfunc, Nome) VALUES ('12', 'JOÃO SILVA');"
                                  "INSERT INTO tbconfiguracoes (cod_funcionario) VALUES ('12');"));
    TfrmPrincipal principal;
    TDM dm(pasta.caminho());
    struct Caso {
        const char *botao;
        const char *tela;
        const char *titulo;
    } const casos[] = {
        {"BtnPedido", "TfrmPedido", "Corlando - Pedido"},
        {"BtnPacote", "TfrmPedidoPacote", "Corlando - Pacote"},
        {"BtnVendaCasada", "TfrmVendaCasada", "Corlando - Pedido Venda Casada"},
        {"BtnTrocaDevolucao", "TfrmPedidoTroca", "Corlando - Troca"},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.botao);
        QString aberta, titulo;
        bool modal = false, maximizada = false;
        QTimer::singleShot(0, [&] {
            QWidget *tela = QApplication::activeModalWidget();
            ASSERT_NE(tela, nullptr);
            aberta = tela->objectName();
            titulo = tela->windowTitle();
            modal = tela->isModal();
            maximizada = tela->windowState().testFlag(Qt::WindowMaximized);
            tela->close();
        });
        principal.findChild<QToolButton *>(QString::fromUtf8(c.botao))->click();
        EXPECT_EQ(aberta, QString::fromUtf8(c.tela));
        EXPECT_EQ(titulo, QString::fromUtf8(c.titulo));
        EXPECT_TRUE(modal);
        EXPECT_TRUE(maximizada);
        EXPECT_EQ(dm.QyPedido.filtro(), QStringLiteral("idFunc='12'"));
    }
}

} // namespace
