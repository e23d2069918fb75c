#pragma once

#include <QSizeF>
#include <QString>

// Reading produced PDFs back through poppler's command-line tools.

// The text of the whole file, or of one page (counted from 1), in its layout.
QString TextoPdf(const QString &arquivo, int pagina = 0);
// The page count pdfinfo reports.
int PaginasPdf(const QString &arquivo);
// Width and height of the first page in points.
QSizeF TamanhoPaginaPdf(const QString &arquivo);
// How many images the file holds.
int ImagensPdf(const QString &arquivo);
