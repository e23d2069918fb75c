#include "dialogos_qt.h"

#include <QApplication>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

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

} // namespace
