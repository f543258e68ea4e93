#include "app/BannerArt.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace {

const QColor kTeal(0, 128, 128);

QPixmap blank(QSize size)
{
    QPixmap pm(size);
    pm.fill(Qt::transparent);
    return pm;
}

} // namespace

QPixmap drawBall(QSize size)
{
    QPixmap pm = blank(size);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal r = std::min(size.width(), size.height()) / 2.0 - 3;
    const QPointF c(size.width() / 2.0, size.height() / 2.0);
    p.setPen(QPen(Qt::black, 2));
    p.setBrush(Qt::white);
    p.drawEllipse(c, r, r);
    // A pentagon in the middle and five spokes to the rim.
    QPolygonF penta;
    for (int i = 0; i < 5; ++i) {
        const qreal a = qDegreesToRadians(-90.0 + 72.0 * i);
        penta << c + QPointF(std::cos(a), std::sin(a)) * r * 0.38;
    }
    p.setBrush(Qt::black);
    p.drawPolygon(penta);
    for (const QPointF& v : penta) {
        const QPointF dir = (v - c) / (r * 0.38);
        p.drawLine(v, c + dir * r);
    }
    return pm;
}

QPixmap drawTrophy(QSize size)
{
    QPixmap pm = blank(size);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = size.width();
    const qreal h = size.height();
    const QColor gold(212, 170, 40);
    p.setPen(QPen(gold.darker(160), 1.5));
    p.setBrush(gold);
    // Cup
    QPainterPath cup;
    cup.moveTo(w * 0.25, h * 0.08);
    cup.lineTo(w * 0.75, h * 0.08);
    cup.cubicTo(w * 0.75, h * 0.45, w * 0.6, h * 0.55, w * 0.5, h * 0.55);
    cup.cubicTo(w * 0.4, h * 0.55, w * 0.25, h * 0.45, w * 0.25, h * 0.08);
    p.drawPath(cup);
    // Handles
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(gold, 4));
    p.drawArc(QRectF(w * 0.1, h * 0.12, w * 0.22, h * 0.28), 90 * 16, 180 * 16);
    p.drawArc(QRectF(w * 0.68, h * 0.12, w * 0.22, h * 0.28), -90 * 16, 180 * 16);
    // Stem and base
    p.setPen(QPen(gold.darker(160), 1.5));
    p.setBrush(gold);
    p.drawRect(QRectF(w * 0.46, h * 0.55, w * 0.08, h * 0.2));
    p.setBrush(kTeal);
    p.drawRect(QRectF(w * 0.3, h * 0.75, w * 0.4, h * 0.18));
    return pm;
}
