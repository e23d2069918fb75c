#include <QLocale>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Each test program runs with the smallest application object its layer
// needs (widgets, fonts and painting, or neither), offscreen, with the
// program's locale, as the real program does.
#if defined(TESTES_JANELAS)
#include <QApplication>
using Aplicacao = QApplication;
#elif defined(TESTES_GRAFICOS)
#include <QGuiApplication>
using Aplicacao = QGuiApplication;
#else
#include <QCoreApplication>
using Aplicacao = QCoreApplication;
#endif

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    Aplicacao app(argc, argv);
    // Window sizes and keyboard choices the tests store stay out of the
    // user's own settings, and out of those of the test programs running
    // beside this one: each program keeps its own.
    QStandardPaths::setTestModeEnabled(true);
    const QTemporaryDir configuracoes;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, configuracoes.path());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
