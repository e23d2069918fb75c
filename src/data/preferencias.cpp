#include "preferencias.h"

#include <QSettings>

namespace
{
const QString kEnterAvanca = QStringLiteral("teclado/enterAvanca");
}

bool EnterAvancaCaixa()
{
    return QSettings().value(kEnterAvanca, true).toBool();
}

void DefinirEnterAvancaCaixa(bool avanca)
{
    QSettings().setValue(kEnterAvanca, avanca);
}
