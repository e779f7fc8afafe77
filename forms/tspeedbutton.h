// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// An image button drawn from a glyph strip of four frames in a fixed order:
// normal, disabled, pressed, latched ("down"). Buttons with the same non-zero
// group index under one parent form a latch group in which at most one is
// down. A click is a press and release of the left or the middle mouse
// button with the pointer over the button at the release.

#include "glyphstrip.h"

#include <QPixmap>
#include <QWidget>

class TSpeedButton : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QPixmap glyph READ glyph WRITE setGlyph)
    Q_PROPERTY(int numGlyphs READ numGlyphs WRITE setNumGlyphs)
    Q_PROPERTY(int groupIndex READ groupIndex WRITE setGroupIndex)
    Q_PROPERTY(bool allowAllUp READ allowAllUp WRITE setAllowAllUp)
    Q_PROPERTY(bool down READ isDown WRITE setDown)
    Q_PROPERTY(bool flat READ isFlat WRITE setFlat)
    Q_PROPERTY(bool transparent READ isTransparent WRITE setTransparent)

public:
    enum Frame
    {
        FrameUp = 0,
        FrameDisabled = 1,
        FramePressed = 2,
        FrameDown = 3
    };

    explicit TSpeedButton(QWidget* parent = nullptr);

    QPixmap glyph() const { return m_glyph; }
    void setGlyph(const QPixmap& glyph);
    int numGlyphs() const { return m_numGlyphs; }
    void setNumGlyphs(int count);
    int groupIndex() const { return m_groupIndex; }
    void setGroupIndex(int index) { m_groupIndex = index; }
    bool allowAllUp() const { return m_allowAllUp; }
    void setAllowAllUp(bool allow) { m_allowAllUp = allow; }
    bool isDown() const { return m_down; }
    // Latching a grouped button unlatches the others of its group; a grouped
    // button can be unlatched only when its group allows all up.
    void setDown(bool down);
    bool isFlat() const { return m_flat; }
    void setFlat(bool flat);
    bool isTransparent() const { return m_transparent; }
    void setTransparent(bool transparent);

    // The frame of the glyph strip that the button shows now.
    Frame currentFrame() const;

    QSize sizeHint() const override;

public slots:
    // Performs a click: raises the Click notification.
    void click() { emit Click(); }

signals:
    void Click();
    void MouseEnter();
    void MouseLeave();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QPixmap m_glyph;
    GlyphStrip m_strip;
    int m_numGlyphs = 1;
    int m_groupIndex = 0;
    bool m_allowAllUp = false;
    bool m_down = false;
    bool m_flat = false;
    bool m_transparent = true;
    Qt::MouseButtons m_pressed; // left or middle buttons pressed on the button
    bool m_leftInside = false;  // the left button is held and the pointer is over us
};
