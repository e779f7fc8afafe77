// SPDX-License-Identifier: GPL-2.0-or-later
#include "glyphstrip.h"

#include <QImage>
#include <QPainter>

#include <algorithm>

GlyphStrip::GlyphStrip(const QPixmap& strip, int frameCount)
    : m_strip(strip), m_frameCount(std::max(1, frameCount))
{
    if (m_strip.isNull()) {
        return;
    }
    // One pass over the pixels clears those of the transparent colour (as
    // read without premultiplied alpha): what a mask made from that colour
    // does, without building the mask.
    const QImage source = m_strip.toImage();
    const QImage colours = source.convertToFormat(QImage::Format_ARGB32);
    QImage masked = source.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QRgb transparent = colours.pixel(0, colours.height() - 1);
    // The sizes are read once: they are calls into the library, which the
    // compiler cannot hoist out of the loop.
    const int width = masked.width();
    const int height = masked.height();
    for (int y = 0; y < height; ++y) {
        const auto* colour = reinterpret_cast<const QRgb*>(colours.constScanLine(y));
        auto* pixel = reinterpret_cast<QRgb*>(masked.scanLine(y));
        for (int x = 0; x < width; ++x) {
            if (colour[x] == transparent) {
                pixel[x] = 0;
            }
        }
    }
    m_strip = QPixmap::fromImage(std::move(masked));
}

void GlyphStrip::setFrameCount(int frameCount)
{
    m_frameCount = std::max(1, frameCount);
}

QSize GlyphStrip::frameSize() const
{
    if (m_strip.isNull()) {
        return {};
    }
    return {m_strip.width() / m_frameCount, m_strip.height()};
}

void GlyphStrip::paint(QPainter& painter, const QRect& target, int index) const
{
    if (m_strip.isNull()) {
        return;
    }
    if (index < 0 || index >= m_frameCount) {
        index = 0;
    }
    const QSize size = frameSize();
    const QPoint topLeft(target.x() + (target.width() - size.width()) / 2,
                         target.y() + (target.height() - size.height()) / 2);
    painter.save();
    painter.setClipRect(target, Qt::IntersectClip);
    painter.drawPixmap(topLeft, m_strip, QRect(QPoint(index * size.width(), 0), size));
    painter.restore();
}
