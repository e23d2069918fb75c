#include "impressao_qt.h"
#include "ucaixatexto.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace
{

QLineEdit *caixa(TFrmCaixaTexto &d)
{
    return d.findChild<QLineEdit *>(QStringLiteral("edtCaixaTexto"));
}

// Runs the dialog modally and lets a step act on it once it shows.
RespostaTexto executar(TFrmCaixaTexto &d, const std::function<void()> &passo)
{
    QTimer::singleShot(0, &d, passo);
    d.exec();
    return d.resposta();
}

TEST(CaixaTexto, EnterConfirmaOTextoDigitado)
{
    TFrmCaixaTexto d(QStringLiteral("Config"), QStringLiteral("Digite a senha: "), QString(), false);
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Config"));
    EXPECT_EQ(d.findChild<QLabel *>(QStringLiteral("lblCaixaTexto"))->text(), QStringLiteral("Digite a senha: "));
    const auto r = executar(d, [&] {
        QTest::keyClicks(caixa(d), QStringLiteral("AB 12"));
        QTest::keyClick(caixa(d), Qt::Key_Return);
    });
    EXPECT_TRUE(r.confirmado);
    EXPECT_EQ(r.texto, QStringLiteral("AB 12"));
}

TEST(CaixaTexto, MascaradoMostraAsteriscosEDevolveOTexto)
{
    TFrmCaixaTexto d(QStringLiteral("Config"), QStringLiteral("Senha"), QStringLiteral("abc"), true);
    const auto r = executar(d, [&] {
        EXPECT_EQ(caixa(d)->displayText(), QStringLiteral("***"));
        d.findChild<QPushButton *>(QStringLiteral("btnOk"))->click();
    });
    EXPECT_TRUE(r.confirmado);
    EXPECT_EQ(r.texto, QStringLiteral("abc"));
}

// Opened over a window with a style sheet of its own, as the main window
// is: the mask is still "*".
TEST(CaixaTexto, MascaraComAsteriscosSobreJanelaComFolhaDeEstilo)
{
    QWidget janela;
    janela.setStyleSheet(QStringLiteral("QWidget { background: #FFFFFF; }"));
    TFrmCaixaTexto d(QStringLiteral("Config"), QStringLiteral("Digite a senha: "), QString(), true, &janela);
    const auto r = executar(d, [&] {
        QTest::keyClicks(caixa(d), QStringLiteral("1234"));
        EXPECT_EQ(caixa(d)->displayText(), QStringLiteral("****"));
        QTest::keyClick(caixa(d), Qt::Key_Return);
    });
    EXPECT_EQ(r.texto, QStringLiteral("1234"));
}

TEST(CaixaTexto, CaixaVaziaConfirmadaEhDiferenteDeCancelada)
{
    TFrmCaixaTexto vazia(QStringLiteral("T"), QStringLiteral("P"), QStringLiteral("x"), false);
    const auto r1 = executar(vazia, [&] {
        caixa(vazia)->clear();
        QTest::keyClick(caixa(vazia), Qt::Key_Enter);
    });
    EXPECT_TRUE(r1.confirmado);
    EXPECT_TRUE(r1.texto.isEmpty());

    TFrmCaixaTexto cancelada(QStringLiteral("T"), QStringLiteral("P"), QStringLiteral("x"), false);
    const auto r2 =
        executar(cancelada, [&] { cancelada.findChild<QPushButton *>(QStringLiteral("btnCancelar"))->click(); });
    EXPECT_FALSE(r2.confirmado);
}

TEST(CaixaTexto, EscNaoFazNadaEACaixaDeFecharNaoConfirma)
{
    TFrmCaixaTexto d(QStringLiteral("T"), QStringLiteral("P"), QString(), false);
    const auto r = executar(d, [&] {
        QTest::keyClicks(caixa(d), QStringLiteral("digitado"));
        QTest::keyClick(caixa(d), Qt::Key_Escape);
        EXPECT_TRUE(d.isVisible());
        d.close(); // the close box
    });
    EXPECT_FALSE(r.confirmado);
    EXPECT_TRUE(r.texto.isEmpty());
}

TEST(CaixaTexto, TabNaoLevaOFocoAosBotoes)
{
    TFrmCaixaTexto d(QStringLiteral("T"), QStringLiteral("P"), QString(), false);
    EXPECT_EQ(d.findChild<QPushButton *>(QStringLiteral("btnOk"))->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(d.findChild<QPushButton *>(QStringLiteral("btnCancelar"))->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(d.size(), QSize(344, 87));
}

} // namespace
