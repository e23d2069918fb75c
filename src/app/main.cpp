#include "correio_programa.h"
#include "dialogos_qt.h"
#include "indicador_caixa_saida.h"
#include "pasta_usuario.h"
#include "udm.h"
#include "ufunc.h"
#include "uprincipal.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

#include <cstdio>

namespace
{

// "--preparar demonstracao|vazia": makes the user's data folder without the
// first-start question and ends, for rolling the program out to many
// machines. Returns the exit code, or -1 when the option was not given.
int prepararSemPerguntar(const QCommandLineParser &opcoes, const QCommandLineOption &preparar)
{
    if (!opcoes.isSet(preparar))
        return -1;
    const QString valor = opcoes.value(preparar);
    if (valor != QLatin1String("demonstracao") && valor != QLatin1String("vazia")) {
        std::fprintf(stderr, "corlando: --preparar aceita \"demonstracao\" ou \"vazia\".\n");
        return 2;
    }
    const PastasPrograma pastas = EscolherPastas(QApplication::applicationDirPath());
    try {
        if (!pastas.compartilhada.isEmpty())
            PrepararPastaUsuario(pastas,
                                 valor == QLatin1String("vazia") ? InicioUsuario::Vazio : InicioUsuario::Demonstracao);
    } catch (const std::exception &erro) {
        std::fprintf(stderr, "corlando: %s\n", erro.what());
        return 1;
    }
    std::printf("%s\n", qPrintable(QDir::toNativeSeparators(pastas.sistema)));
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Corlando"));
    QApplication::setApplicationVersion(VersaoSistema());

    QCommandLineParser opcoes;
    opcoes.setApplicationDescription(QStringLiteral("Pedidos do representante comercial."));
    opcoes.addHelpOption();
    opcoes.addVersionOption();
    const QCommandLineOption preparar(QStringLiteral("preparar"),
                                      QStringLiteral("Cria a pasta de dados do usuário sem perguntar e termina."),
                                      QStringLiteral("demonstracao|vazia"));
    opcoes.addOption(preparar);
    opcoes.process(app);
    if (const int codigo = prepararSemPerguntar(opcoes, preparar); codigo >= 0)
        return codigo;

    // Standard dialogs in Portuguese.
    QTranslator traducaoQt;
    if (traducaoQt.load(QLocale(QLocale::Portuguese, QLocale::Brazil), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&traducaoQt);

    DialogosQt dialogos;
    Dialogos::definir(&dialogos);

    // The main window first (it fixes the number and date formats), then the
    // data folder and the data module, then the window is shown. The large
    // data sets are read once the window is on screen (or when a button
    // first needs them).
    TfrmPrincipal principal;
    const PastasPrograma pastas = IniciarPastas(QApplication::applicationDirPath());
    TDM dm(pastas.sistema, nullptr, TDM::Abertura::PrincipalPrimeiro);
    dm.PathCompartilhado = pastas.compartilhada;
    // The outbox sends in the background once the window has painted.
    const std::unique_ptr<RemessaCaixaSaida> remessa = CriarRemessaDoPrograma();
    IndicadorCaixaSaida caixaSaida(principal, *remessa);
    principal.show();
    return app.exec();
}
