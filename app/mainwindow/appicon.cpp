#include "mainwindow/appicon.h"

#include <QPainter>
#include <QPixmap>
#include <QRadialGradient>

namespace {
QPixmap drawIcon(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x20, 0x20, 0x30));
    p.drawRoundedRect(QRectF(0, 0, size, size), size * 0.18, size * 0.18);
    QRadialGradient light(QPointF(size * 0.5, size * 0.42), size * 0.42);
    light.setColorAt(0, QColor(255, 255, 210));
    light.setColorAt(0.55, QColor(255, 220, 90));
    light.setColorAt(1, QColor(255, 200, 60, 0));
    p.setBrush(light);
    p.drawEllipse(QPointF(size * 0.5, size * 0.42), size * 0.42, size * 0.42);
    p.setBrush(QColor(230, 230, 230));
    p.drawRect(QRectF(size * 0.38, size * 0.72, size * 0.24, size * 0.14));
    return pixmap;
}
} // namespace

QIcon appIcon()
{
    QIcon icon;
    for (int size : {16, 22, 32, 48, 64})
        icon.addPixmap(drawIcon(size));
    return icon;
}
