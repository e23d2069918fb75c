#pragma once

#include <QPageLayout>
#include <QRectF>
#include <QSizeF>
#include <QString>

class QPainter;
class QPdfWriter;

// The page every document is printed on: A4 with the program's margins, in
// portrait or landscape; "Página N de M" at the foot of every page and, on
// the pages after the first, a running header in the top margin. Anything
// that writes a PDF of the program's look starts here.
namespace PaginaRelatorio
{

QPageLayout Layout(bool paisagem);

// Sets the writer's page and title (the PDF's file name without extension).
void Configurar(QPdfWriter &writer, bool paisagem, const QString &titulo);

// The area the content is laid out in, in the writer's device units, from
// the top-left corner of the printable area: the page less the margins and
// the footer.
QSizeF Corpo(const QPdfWriter &writer);

// The running header (when `cabecalho` is not empty and this is not the
// first page) and the footer, around a page whose content is drawn.
void DesenharMoldura(QPainter &p, const QPdfWriter &writer, const QString &cabecalho, int pagina, int paginas);

} // namespace PaginaRelatorio
