#pragma once

#include "figuras_painel.h"

#include <QString>

// The dashboard over the program's own database: the representative's
// orders (every order on the supervisor's installation), the settings
// row's delay limit, and where its exports go.

FigurasPainel FigurasDoPrograma();

// The last 90 days up to today, this year, the configured delay limit.
PeriodoPainel PeriodoPadrao(const QDateTime &agora);

// "relatórios/painel-<nome>ddmmyyyy<extensao>" in the program's folder,
// as the reports name theirs; `nome` "" gives "painel-<ddmmyyyy>".
QString ArquivoPainel(const QString &nome, const QString &extensao);

// Whether a file may be written: a file already there is replaced only
// when the user agrees.
bool PodeGravarArquivo(const QString &arquivo);
