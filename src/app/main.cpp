#include "dialogos_qt.h"
#include "udm.h"
#include "uprincipal.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Corlando"));

    // Standard dialogs in Portuguese.
    QTranslator traducaoQt;
    if (traducaoQt.load(QLocale(QLocale::Portuguese, QLocale::Brazil), QStringLiteral("qtbase"),
                        QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&traducaoQt);

    DialogosQt dialogos;
    Dialogos::definir(&dialogos);

    // The main window first (it fixes the number and date formats), then the
    // data module, then the window is shown. The large data sets are read
    // once the window is on screen (or when a button first needs them).
    TfrmPrincipal principal;
    TDM dm(QDir(QApplication::applicationDirPath()).absolutePath() + QLatin1Char('/'), nullptr,
           TDM::Abertura::PrincipalPrimeiro);
    principal.show();
    return app.exec();
}
