#include "demo_logo.h"

#include "erro.h"

#include <QFile>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

namespace Demo
{

namespace
{

const QColor kAzul(0x1B, 0x3A, 0x6B);
const QColor kLaranja(0xF2, 0x8C, 0x28);
const QColor kCinza(0x6B, 0x72, 0x80);

// A navy disc holding a white "C" with an orange bolt in its mouth.
void desenharEmblema(QPainter &p)
{
    const QPointF centro(100, 100);
    p.setPen(Qt::NoPen);
    p.setBrush(kAzul);
    p.drawEllipse(centro, 80, 80);

    QPen arco(Qt::white, 20, Qt::SolidLine, Qt::RoundCap);
    p.setPen(arco);
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(centro.x() - 48, centro.y() - 48, 96, 96), 50 * 16, 260 * 16);

    QPainterPath raio;
    raio.moveTo(124, 62);
    raio.lineTo(100, 104);
    raio.lineTo(116, 104);
    raio.lineTo(104, 140);
    raio.lineTo(136, 92);
    raio.lineTo(120, 92);
    raio.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(kLaranja);
    p.drawPath(raio);
}

void escrever(QPainter &p, const QString &texto, int tamanho, QFont::Weight peso, const QColor &cor, int x, int y)
{
    QFont fonte(QStringLiteral("DejaVu Sans"));
    fonte.setPixelSize(tamanho);
    fonte.setWeight(peso);
    p.setFont(fonte);
    p.setPen(cor);
    p.drawText(QPointF(x, y), texto);
}

} // namespace

void desenharLogo(const QString &arquivo)
{
    QImage imagem(600, 200, QImage::Format_RGB32);
    imagem.fill(Qt::white);
    {
        QPainter p(&imagem);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        desenharEmblema(p);
        escrever(p, QStringLiteral("Corlando"), 64, QFont::Bold, kAzul, 205, 100);
        escrever(p, QStringLiteral("Distribuidora"), 34, QFont::Normal, kLaranja, 208, 142);
        p.fillRect(QRectF(208, 154, 360, 3), kLaranja);
        escrever(p, QStringLiteral("Ferragens · Material elétrico · Limpeza"), 16, QFont::Normal, kCinza, 208, 180);
    }
    QFile::remove(arquivo);
    if (!imagem.save(arquivo, "BMP"))
        throw Erro(QStringLiteral("Não foi possível gravar o logotipo em %1.").arg(arquivo));
}

} // namespace Demo
