#include "dialogos.h"

#include "erro.h"

namespace
{
Dialogos *g_dialogos = nullptr;
}

Dialogos &Dialogos::atual()
{
    if (!g_dialogos)
        throw Erro(QStringLiteral("Nenhuma interface de diálogos foi definida."));
    return *g_dialogos;
}

void Dialogos::definir(Dialogos *dialogos)
{
    g_dialogos = dialogos;
}
