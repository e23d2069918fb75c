// carregar_central <central.db> <central.udl>: loads the catalogue of a
// central database file into the central server the data-link file names.
#include "carga_central.h"
#include "erro.h"
#include "servidor_central.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "uso: carregar_central <central.db> <central.udl>\n");
        return 2;
    }
    try {
        const auto link = LerLinkServidor(args[2]);
        if (!link)
            throw Erro(QStringLiteral("O arquivo \"%1\" não indica um servidor (DRIVER=QPSQL).").arg(args[2]));
        ServidorCentral servidor(*link);
        CarregarCentral(args[1], servidor);
    } catch (const Erro &erro) {
        std::fprintf(stderr, "%s\n", erro.mensagem().toLocal8Bit().constData());
        return 1;
    }
    return 0;
}
