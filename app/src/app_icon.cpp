#include "app_icon.h"

#include <QPainter>
#include <QPixmap>
#include <QRadialGradient>

namespace app {

namespace {

// A crystal ball on a small stand.
QPixmap drawIcon(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x5a, 0x3e, 0x2b));
    painter.drawRoundedRect(QRectF(s * 0.2, s * 0.78, s * 0.6, s * 0.16), s * 0.05, s * 0.05);
    QRadialGradient glass(QPointF(s * 0.4, s * 0.32), s * 0.45);
    glass.setColorAt(0.0, QColor(0xf4, 0xee, 0xff));
    glass.setColorAt(0.45, QColor(0x9b, 0x7b, 0xe0));
    glass.setColorAt(1.0, QColor(0x3b, 0x24, 0x80));
    painter.setBrush(glass);
    painter.drawEllipse(QRectF(s * 0.14, s * 0.06, s * 0.72, s * 0.72));
    return pixmap;
}

} // namespace

QIcon ApplicationIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(drawIcon(size));
    return icon;
}

} // namespace app
