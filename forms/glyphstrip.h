// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// A glyph strip: one image holding several equally wide frames side by side.
// The colour of the strip's bottom-left pixel is its transparent colour:
// pixels of that colour are never painted.

#include <QPixmap>
#include <QPoint>
#include <QRect>

class QPainter;

class GlyphStrip
{
public:
    GlyphStrip() = default;
    GlyphStrip(const QPixmap& strip, int frameCount);

    bool isNull() const { return m_strip.isNull(); }
    int frameCount() const { return m_frameCount; }
    // The transparent colour does not depend on the frames: changing their
    // number keeps the masked strip.
    void setFrameCount(int frameCount);
    QSize frameSize() const;

    // Paints frame `index` (0-based; a frame the strip lacks falls back to
    // the first) centred on `target` and clipped to it.
    void paint(QPainter& painter, const QRect& target, int index) const;

private:
    QPixmap m_strip; // masked by the transparent colour
    int m_frameCount = 1;
};
