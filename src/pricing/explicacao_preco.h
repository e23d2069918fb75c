#pragma once

#include "passo_preco.h"

#include <QList>
#include <QString>
#include <QStringList>

// A line's price told step by step: a row per step with what the step was,
// the factor it multiplied by and its result to four decimals.
QList<QStringList> ExplicarPassos(const PassosPreco &passos);

// "1.234,5678"
QString QuatroCasas(Dinheiro valor);
