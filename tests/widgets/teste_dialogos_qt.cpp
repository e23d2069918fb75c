#include "dialogos_qt.h"

#include <QApplication>
#include <QCheckBox>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace
{

// With no program to open it (no desktop opener on the path), the user is
// told where the file was written instead of nothing happening.
TEST(DialogosQt, SemProgramaParaAbrirDizOndeEstaOArquivo)
{
    QTemporaryDir semProgramas;
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", semProgramas.path().toLocal8Bit());
    QString mostrado;
    QTimer::singleShot(0, [&] {
        if (auto *caixa = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            mostrado = caixa->text();
            caixa->accept();
        }
    });
    DialogosQt dialogos;
    dialogos.abrirArquivo(QStringLiteral("/tmp/relatórios/pedido-12.pdf"));
    qputenv("PATH", path);
    EXPECT_EQ(mostrado, QStringLiteral("Não foi possível abrir o arquivo: nenhum programa está instalado para ele.\n"
                                       "O arquivo foi gravado em:\n/tmp/relatórios/pedido-12.pdf"));
}

// The recipients' choice as the user meets it: the boxes as offered (one
// without address cannot be checked), a click changes a mark, OK returns the
// marks and Cancelar nothing.
TEST(DialogosQt, EscolhaComCaixasDeMarcar)
{
    const QList<OpcaoMarcada> opcoes = {{QStringLiteral("Cliente"), true, true},
                                        {QStringLiteral("Central 1"), true, true},
                                        {QStringLiteral("Central 2 (sem endereço)"), false, false}};
    for (const bool confirmar : {true, false}) {
        QStringList vistas;
        QTimer::singleShot(0, [&] {
            QWidget *janela = QApplication::activeModalWidget();
            ASSERT_TRUE(janela);
            const QList<QCheckBox *> caixas = janela->findChildren<QCheckBox *>();
            for (QCheckBox *c : caixas)
                vistas << QStringLiteral("%1=%2%3").arg(c->text()).arg(c->isChecked()).arg(c->isEnabled() ? "" : "-");
            // Space toggles a box, as Tab and Space do for a user.
            QTest::keyClick(caixas[0], Qt::Key_Space);
            QTest::keyClick(caixas[2], Qt::Key_Space); // disabled: stays unchecked
            for (QPushButton *b : janela->findChildren<QPushButton *>())
                if (b->text() == (confirmar ? QStringLiteral("OK") : QStringLiteral("Cancelar")))
                    QTest::mouseClick(b, Qt::LeftButton);
        });
        DialogosQt dialogos;
        const std::optional<QList<bool>> marcas =
            dialogos.escolher(QStringLiteral("Atenção"), QStringLiteral("Enviar o pedido ( 7 ) para:"), opcoes);
        EXPECT_EQ(vistas, QStringList({"Cliente=1", "Central 1=1", "Central 2 (sem endereço)=0-"}));
        if (confirmar) {
            ASSERT_TRUE(marcas);
            EXPECT_EQ(*marcas, QList<bool>({false, true, false}));
        } else {
            EXPECT_FALSE(marcas);
        }
    }
}

} // namespace
