#pragma once

#include "demo_modelo.h"

#include <QString>

namespace Demo
{

// Write a new database file (an old one is replaced) with the tables of the
// schema and the demo rows, in one transaction. Throw Erro on failure and
// leave no file behind.
void gravarBancoLocal(const Modelo &modelo, const QString &arquivo);
void gravarBancoCentral(const Modelo &modelo, const QString &arquivo);

} // namespace Demo
