// SPDX-License-Identifier: GPL-2.0-or-later
#include "tlabel.h"

#include <QEvent>
#include <QFontMetrics>
#include <QMouseEvent>

namespace {

constexpr Qt::MouseButtons clickButtons = Qt::LeftButton | Qt::MiddleButton;

} // namespace

TLabel::TLabel(QWidget* parent) : QLabel(parent)
{
}

void TLabel::setAutoSize(bool autoSize)
{
    m_autoSize = autoSize;
    adjustToText();
}

void TLabel::setColor(const QColor& color)
{
    m_color = color;
    QPalette pal = palette();
    pal.setColor(QPalette::Window, color);
    setPalette(pal);
    setAutoFillBackground(true);
}

void TLabel::adjustToText()
{
    if (!m_autoSize) {
        return;
    }
    resize(QFontMetrics(font()).horizontalAdvance(text()), height());
}

void TLabel::setText(const QString& text)
{
    QLabel::setText(text);
    adjustToText();
}

void TLabel::mousePressEvent(QMouseEvent* event)
{
    if (!(event->button() & clickButtons)) {
        event->ignore();
        return;
    }
    m_pressed |= event->button();
}

void TLabel::mouseReleaseEvent(QMouseEvent* event)
{
    const Qt::MouseButton button = event->button();
    if (!(m_pressed & button)) {
        event->ignore();
        return;
    }
    m_pressed &= ~Qt::MouseButtons(button);
    if (rect().contains(event->position().toPoint())) {
        emit Click();
    }
}

void TLabel::enterEvent(QEnterEvent* event)
{
    QLabel::enterEvent(event);
    emit MouseEnter();
}

void TLabel::leaveEvent(QEvent* event)
{
    QLabel::leaveEvent(event);
    emit MouseLeave();
}

void TLabel::changeEvent(QEvent* event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        adjustToText();
    }
}
