#include "demo_gravacao.h"
#include "demo_logo.h"
#include "demo_modelo.h"
#include "erro.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <cstdio>
#include <memory>

// Writes one file of the demo installation. Usage:
//   gerar_demo local|central|logo <file>
// Same output on every run: the data comes from fixed seeds and dates.
int main(int argc, char **argv)
{
    const QString tipo = argc == 3 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (tipo != QLatin1String("local") && tipo != QLatin1String("central") && tipo != QLatin1String("logo")) {
        std::fprintf(stderr, "uso: gerar_demo local|central|logo <arquivo>\n");
        return 2;
    }
    // Drawing the logo needs fonts, not a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::unique_ptr<QCoreApplication> app = tipo == QLatin1String("logo")
                                                      ? std::make_unique<QGuiApplication>(argc, argv)
                                                      : std::make_unique<QCoreApplication>(argc, argv);
    const QString arquivo = QCoreApplication::arguments().at(2);
    try {
        if (!QDir().mkpath(QFileInfo(arquivo).absolutePath()))
            throw Erro(QStringLiteral("Não foi possível criar a pasta de %1.").arg(arquivo));
        if (tipo == QLatin1String("logo"))
            Demo::desenharLogo(arquivo);
        else if (tipo == QLatin1String("local"))
            Demo::gravarBancoLocal(Demo::gerarModelo(), arquivo);
        else
            Demo::gravarBancoCentral(Demo::gerarModelo(), arquivo);
    } catch (const Erro &e) {
        std::fprintf(stderr, "gerar_demo: %s\n", qPrintable(e.mensagem()));
        return 1;
    }
    return 0;
}
