#pragma once

#include "fonte_relatorio.h"

#include <QMap>
#include <QString>
#include <vector>

// Renders a report template (HTML with Mustache tags, UTF-8) to a PDF file.
// The template sees each source by its name, holding the current record's
// fields and the list "linhas" of its rows; each parameter as a top-level
// value; "logo" as the file URL of logo.bmp beside the template, when present.
// Pages are A4, numbered "Página N de M"; a table's <thead> repeats on every
// page. Throws Erro for a missing or malformed template or an unwritable PDF.
void GerarRelatorio(const QString &arquivoModelo, const std::vector<const FonteRelatorio *> &fontes,
                    const QMap<QString, QString> &parametros, const QString &arquivoPdf);
