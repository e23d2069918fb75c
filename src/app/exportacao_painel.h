#pragma once

#include "figuras_painel.h"

#include <QString>
#include <vector>

class QChartView;

// A chart as it is on screen, to a PNG file. Throws Erro when the file
// cannot be written (a missing "relatórios" folder, a locked file).
void GravarGraficoPng(QChartView *grafico, const QString &arquivo);

// The whole dashboard on the reports' landscape A4 page: the charts on the
// first page, the customer lists after it. `resumo` is the line comparing
// this month with last year's.
void GravarPainelPdf(const QString &arquivo, const std::vector<QChartView *> &graficos, const Painel &painel,
                     const QString &resumo);
