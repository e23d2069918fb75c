#pragma once

#include "figuras_painel.h"

#include <QString>
#include <QStringList>
#include <vector>

class QChart;
class QChartView;
class QWidget;

// The dashboard's charts, in Portuguese, each value written as money on its
// bar.

// Vertical bars, one per month ("jan/26"), the value above each bar.
QChartView *GraficoVendasMes(const QString &titulo, const std::vector<VendaMes> &vendas, QWidget *pai = nullptr);

// Horizontal bars, the largest on top; each bar's label names it with its
// quantity, and its value is written at its end. `unidade` follows the
// quantity ("un.", "pedidos").
QChartView *GraficoRanking(const QString &titulo, const std::vector<ItemRanking> &ranking, const QString &unidade,
                           QWidget *pai = nullptr);

// "jan/26".
QString NomeMes(const QDate &mes);
