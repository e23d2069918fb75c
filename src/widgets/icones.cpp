#include "icones.h"

#include <QFont>
#include <QPainter>
#include <QPixmap>

QIcon IconeDesenhado(const QString &simbolo, const QColor &cor)
{
    constexpr int lado = 64;
    QPixmap imagem(lado, lado);
    imagem.fill(Qt::transparent);
    QPainter p(&imagem);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fundo(0, 0, 0, lado);
    fundo.setColorAt(0, cor.lighter(125));
    fundo.setColorAt(1, cor.darker(115));
    p.setBrush(fundo);
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(2, 2, lado - 4, lado - 4), 12, 12);
    QFont fonte(QStringLiteral("DejaVu Sans"));
    fonte.setPixelSize(38);
    fonte.setBold(true);
    p.setFont(fonte);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, lado, lado), Qt::AlignCenter, simbolo);
    return QIcon(imagem);
}
