#include "pagina_relatorio.h"

#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace
{

const QMarginsF kMargensMm(15, 15, 15, 12);
const qreal kRodapeMm = 8;
// The running header sits in the top margin.
const qreal kCabecalhoMm = 7;

qreal emPixels(const QPdfWriter &writer, qreal mm)
{
    return mm / 25.4 * writer.resolution();
}

QString numeracao(int pagina, int paginas)
{
    return QStringLiteral("Página %1 de %2").arg(pagina).arg(paginas);
}

// In the top margin, above the page's body: the header text, the page
// number and a rule beneath them.
void desenharCabecalho(QPainter &p, const QRectF &area, const QString &texto, int pagina, int paginas)
{
    const QString numero = numeracao(pagina, paginas);
    const qreal largura = p.fontMetrics().horizontalAdvance(numero);
    const QRectF esquerda(area.left(), area.top(), area.width() - largura - area.height(), area.height());
    p.drawText(esquerda, Qt::AlignLeft | Qt::AlignVCenter,
               p.fontMetrics().elidedText(texto, Qt::ElideRight, int(esquerda.width())));
    p.drawText(area, Qt::AlignRight | Qt::AlignVCenter, numero);
    p.drawLine(area.bottomLeft(), area.bottomRight());
}

} // namespace

QPageLayout PaginaRelatorio::Layout(bool paisagem)
{
    return QPageLayout(QPageSize(QPageSize::A4), paisagem ? QPageLayout::Landscape : QPageLayout::Portrait, kMargensMm,
                       QPageLayout::Millimeter);
}

void PaginaRelatorio::Configurar(QPdfWriter &writer, bool paisagem, const QString &titulo)
{
    writer.setPageLayout(Layout(paisagem));
    writer.setTitle(titulo);
}

QSizeF PaginaRelatorio::Corpo(const QPdfWriter &writer)
{
    const QRectF area = writer.pageLayout().paintRectPixels(writer.resolution());
    return QSizeF(area.width(), area.height() - emPixels(writer, kRodapeMm));
}

void PaginaRelatorio::DesenharMoldura(QPainter &p, const QPdfWriter &writer, const QString &cabecalho, int pagina,
                                      int paginas)
{
    const QSizeF corpo = Corpo(writer);
    p.save();
    p.setFont(QFont(QStringLiteral("DejaVu Sans"), 8));
    p.setPen(Qt::black);
    if (pagina > 1 && !cabecalho.isEmpty()) {
        const qreal faixa = emPixels(writer, kCabecalhoMm);
        desenharCabecalho(p, QRectF(0, -faixa - faixa / 4, corpo.width(), faixa), cabecalho, pagina, paginas);
    }
    p.drawText(QRectF(0, corpo.height(), corpo.width(), emPixels(writer, kRodapeMm)), Qt::AlignRight | Qt::AlignBottom,
               numeracao(pagina, paginas));
    p.restore();
}
