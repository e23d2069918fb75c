#include "dialogos_roteiro.h"
#include "pasta_programa.h"
#include "udm.h"
#include "uprincipal.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <functional>
#include <gtest/gtest.h>

namespace
{

// The main window without a mouse: Tab walks the buttons, Enter presses the
// one with the focus, Alt+letter and the F-keys press theirs, F1 lists them.
TEST(TecladoPrincipal, JanelaPrincipalSemMouse)
{
    DialogosRoteiro dialogos;
    PastaProgramaTeste pasta;
    pasta.executar(QStringLiteral("INSERT INTO tbfuncionario (idfunc, Nome) VALUES ('12', 'JOÃO SILVA');"
                                  "INSERT INTO tbconfiguracoes (cod_funcionario) VALUES ('12');"
                                  "INSERT INTO tbcliente (IdCliente, Nome) VALUES (1, 'MERCEARIA VITÓRIA');"));
    TfrmPrincipal principal;
    TDM dm(pasta.caminho());
    principal.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&principal));
    principal.activateWindow();

    // What opens, and Esc closes it. A button's letter presses it after its
    // short press animation, so the screen is waited for.
    auto abrir = [&](const std::function<void()> &teclas) {
        QString aberta;
        QTimer espera;
        espera.setInterval(10);
        QObject::connect(&espera, &QTimer::timeout, [&] {
            if (QWidget *tela = QApplication::activeModalWidget()) {
                espera.stop();
                aberta = tela->objectName();
                QTest::keyClick(tela, Qt::Key_Escape);
            }
        });
        espera.start();
        teclas();
        QDeadlineTimer prazo(5000);
        while (aberta.isEmpty() && !prazo.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        // Offscreen, the window is not made active again by itself.
        principal.activateWindow();
        QCoreApplication::processEvents();
        return aberta;
    };

    auto *botao = qobject_cast<QToolButton *>(QApplication::focusWidget());
    ASSERT_NE(botao, nullptr);
    EXPECT_EQ(botao->objectName(), QStringLiteral("BtnClientes"));
    EXPECT_EQ(abrir([&] { QTest::keyClick(botao, Qt::Key_Return); }), QStringLiteral("TfrmCliente"));
    ASSERT_EQ(QApplication::focusWidget(), botao);
    QTest::keyClick(botao, Qt::Key_Tab);
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), QStringLiteral("BtnProdutos"));
    EXPECT_EQ(abrir([&] { QTest::keyClick(&principal, Qt::Key_D, Qt::AltModifier); }), QStringLiteral("TfrmPedido"));
    EXPECT_EQ(abrir([&] { QTest::keyClick(&principal, Qt::Key_A, Qt::AltModifier); }),
              QStringLiteral("TfrmPedidoPacote"));
    EXPECT_EQ(dm.QyPedido.filtro(), QStringLiteral("idFunc='12'")); // every screen put the filter back

    QTest::keyClick(&principal, Qt::Key_F1);
    ASSERT_EQ(dialogos.tabelas().size(), 1u);
    QStringList linhas;
    for (const QStringList &l : dialogos.tabelas().front().linhas)
        linhas << l.join(QStringLiteral(" = "));
    for (const char *esperada : {"Alt+C = Clientes", "Alt+D = Gerar Pedido", "F2 = Pedidos Enviados",
                                 "F12 = Clientes - Completo", "Alt+S = Sair"})
        EXPECT_TRUE(linhas.contains(QString::fromUtf8(esperada))) << esperada << "\n"
                                                                  << linhas.join('\n').toStdString();
    // Every button has its own key.
    const auto botoes = principal.findChildren<QToolButton *>();
    EXPECT_EQ(linhas.filter(QRegularExpression(QStringLiteral("^(Alt\\+.|F([2-9]|1[0-2])) = "))).size(), botoes.size());
    EXPECT_EQ(pasta.consultar(QStringLiteral("SELECT count(*) FROM tbpedido")), QStringLiteral("0"));
}

} // namespace
