#include "Backdrop.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace granwise {

Backdrop::Backdrop(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void Backdrop::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = rect();
    QLinearGradient sky(r.topLeft(), r.bottomLeft());
    sky.setColorAt(0, QColor(0x2b, 0x5f, 0x8c));
    sky.setColorAt(0.55, QColor(0x9c, 0xc3, 0xdd));
    sky.setColorAt(1, QColor(0xf1, 0xdc, 0x9a));
    p.fillRect(r, sky);

    // Rolling fields of ripe grain.
    const double h = r.height();
    const double w = r.width();
    const QColor fields[] = {QColor(0xd9, 0xb2, 0x4c), QColor(0xc8, 0x96, 0x2e), QColor(0xb0, 0x7a, 0x1f)};
    for (int i = 0; i < 3; ++i) {
        QPainterPath path;
        const double base = h * (0.68 + 0.1 * i);
        path.moveTo(0, base);
        path.cubicTo(w * 0.3, base - h * 0.08, w * 0.6, base + h * 0.06, w, base - h * 0.04);
        path.lineTo(w, h);
        path.lineTo(0, h);
        path.closeSubpath();
        p.fillPath(path, fields[i]);
    }

    // A row of storage silos on the horizon.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xee, 0xee, 0xea));
    const double siloW = w * 0.035;
    const double siloH = h * 0.2;
    for (int i = 0; i < 5; ++i) {
        const double x = w * 0.62 + i * siloW * 1.3;
        const double top = h * 0.66 - siloH;
        p.drawRect(QRectF(x, top, siloW, siloH));
        p.drawEllipse(QRectF(x, top - siloW * 0.35, siloW, siloW * 0.7));
    }
}

} // namespace granwise
