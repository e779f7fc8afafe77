// SPDX-License-Identifier: GPL-2.0-or-later
#include "tspeedbutton.h"

#include "accessiblefactory.h"

#include <QMouseEvent>
#include <QPainter>
#include <QtWidgets/qdrawutil.h>

namespace {

constexpr Qt::MouseButtons clickButtons = Qt::LeftButton | Qt::MiddleButton;

} // namespace

TSpeedButton::TSpeedButton(QWidget* parent) : QWidget(parent)
{
    installAccessibleFactory();
    setFocusPolicy(Qt::NoFocus);
}

void TSpeedButton::setGlyph(const QPixmap& glyph)
{
    m_glyph = glyph;
    m_strip = GlyphStrip(m_glyph, m_numGlyphs);
    update();
}

void TSpeedButton::setNumGlyphs(int count)
{
    m_numGlyphs = count;
    m_strip.setFrameCount(count);
    update();
}

void TSpeedButton::setDown(bool down)
{
    if (down == m_down) {
        return;
    }
    if (!down && m_groupIndex != 0 && !m_allowAllUp) {
        return;
    }
    m_down = down;
    if (down && m_groupIndex != 0 && parentWidget()) {
        const auto siblings =
            parentWidget()->findChildren<TSpeedButton*>(QString(), Qt::FindDirectChildrenOnly);
        for (TSpeedButton* other : siblings) {
            if (other != this && other->m_groupIndex == m_groupIndex && other->m_down) {
                other->m_down = false;
                other->update();
            }
        }
    }
    update();
}

void TSpeedButton::setFlat(bool flat)
{
    m_flat = flat;
    update();
}

void TSpeedButton::setTransparent(bool transparent)
{
    m_transparent = transparent;
    update();
}

TSpeedButton::Frame TSpeedButton::currentFrame() const
{
    if (!isEnabled()) {
        return FrameDisabled;
    }
    if (m_down) {
        return FrameDown;
    }
    return m_leftInside ? FramePressed : FrameUp;
}

QSize TSpeedButton::sizeHint() const
{
    return m_strip.isNull() ? QSize(23, 22) : m_strip.frameSize();
}

void TSpeedButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect area = rect();
    if (!m_transparent) {
        painter.fillRect(area, palette().button());
    }
    if (!m_flat) {
        const bool sunken = currentFrame() == FramePressed || currentFrame() == FrameDown;
        qDrawWinButton(&painter, area, palette(), sunken);
    }
    m_strip.paint(painter, area, currentFrame());
}

void TSpeedButton::mousePressEvent(QMouseEvent* event)
{
    if (!(event->button() & clickButtons)) {
        event->ignore();
        return;
    }
    m_pressed |= event->button();
    if (event->button() == Qt::LeftButton) {
        m_leftInside = true;
        update();
    }
}

void TSpeedButton::mouseMoveEvent(QMouseEvent* event)
{
    const bool inside =
        (m_pressed & Qt::LeftButton) && rect().contains(event->position().toPoint());
    if (inside != m_leftInside) {
        m_leftInside = inside;
        update();
    }
}

void TSpeedButton::mouseReleaseEvent(QMouseEvent* event)
{
    const Qt::MouseButton button = event->button();
    if (!(m_pressed & button)) {
        event->ignore();
        return;
    }
    m_pressed &= ~Qt::MouseButtons(button);
    if (button == Qt::LeftButton) {
        m_leftInside = false;
        update();
    }
    if (rect().contains(event->position().toPoint())) {
        emit Click();
    }
}

void TSpeedButton::enterEvent(QEnterEvent* event)
{
    QWidget::enterEvent(event);
    emit MouseEnter();
}

void TSpeedButton::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    emit MouseLeave();
}

void TSpeedButton::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange) {
        update();
    }
}
