// SPDX-License-Identifier: GPL-2.0-or-later
#include "GlyphStrip.h"

#include <QBitmap>
#include <QImage>
#include <QPainter>

#include <algorithm>

GlyphStrip::GlyphStrip(const QPixmap& strip, int frameCount)
    : m_strip(strip), m_frameCount(std::max(1, frameCount))
{
    if (m_strip.isNull()) {
        return;
    }
    const QImage image = m_strip.toImage();
    const QColor transparent = image.pixelColor(0, image.height() - 1);
    m_strip.setMask(m_strip.createMaskFromColor(transparent, Qt::MaskInColor));
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
