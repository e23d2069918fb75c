#include "dialogos_qt.h"

#include <QApplication>
#include <QLabel>
#include <QLocale>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Corlando"));
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    DialogosQt dialogos;
    Dialogos::definir(&dialogos);

    QLabel janela(QStringLiteral("Corlando"));
    janela.setWindowTitle(QStringLiteral("Corlando - Tela Principal"));
    janela.resize(1280, 800);
    janela.show();
    return app.exec();
}
