#pragma once

#include <QString>

// One value of a sectioned settings file; section and key are matched ignoring
// letter case. A missing or unreadable file, section or key gives "".
QString LerIni(const QString &secao, const QString &chave, const QString &arquivo);
