// SPDX-License-Identifier: GPL-2.0-or-later
#include "mainsicon.h"

#include <QPainter>
#include <QPen>
#include <QPixmap>

namespace {

// A mains plug: a body with a cable below and two prongs above, in the
// amber of the product's own icon, outlined dark so that it reads on the
// panel's light and dark backgrounds alike.
QPixmap drawnPlug(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal unit = size / 16.0;
    painter.setPen(QPen(QColor(70, 50, 0), unit / 2));
    painter.setBrush(QColor(245, 190, 20));
    painter.drawRect(QRectF(5.5 * unit, 1.5 * unit, 1.5 * unit, 4 * unit));
    painter.drawRect(QRectF(9 * unit, 1.5 * unit, 1.5 * unit, 4 * unit));
    painter.drawRoundedRect(QRectF(3.5 * unit, 5.5 * unit, 9 * unit, 5 * unit), unit, unit);
    painter.drawRect(QRectF(7.25 * unit, 10.5 * unit, 1.5 * unit, 4 * unit));
    return pixmap;
}

} // namespace

QPixmap fallbackMainsIcon(int size)
{
    return drawnPlug(size);
}
