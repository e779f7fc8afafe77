// SPDX-License-Identifier: GPL-2.0-or-later
#include "tform.h"

#include "accessiblefactory.h"
#include "errorbox.h"

#include <QEvent>
#include <QScreen>
#include <QShowEvent>

#include <exception>

TForm::TForm(QWidget* parent) : QWidget(parent, Qt::Window)
{
    installAccessibleFactory();
    applyWindowFlags();
}

void TForm::setBorderStyle(TBorderStyle style)
{
    m_borderStyle = style;
    applyWindowFlags();
}

void TForm::setFormStyle(TFormStyle style)
{
    m_formStyle = style;
    applyWindowFlags();
}

void TForm::applyWindowFlags()
{
    Qt::WindowFlags flags = Qt::Window;
    if (m_borderStyle == bsNone) {
        flags |= Qt::FramelessWindowHint;
    }
    if (m_formStyle == fsStayOnTop) {
        flags |= Qt::WindowStaysOnTopHint;
    }
    setWindowFlags(flags);
}

void TForm::setColor(const QColor& color)
{
    m_color = color;
    QPalette pal = palette();
    // Base is what lists and other item views fill their background with.
    pal.setColor(QPalette::Window, color);
    pal.setColor(QPalette::Base, color);
    setPalette(pal);
    setAutoFillBackground(true);
}

void TForm::setFontColor(const QColor& color)
{
    m_fontColor = color;
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, color);
    pal.setColor(QPalette::Text, color);
    setPalette(pal);
}

void TForm::setFontPixelSize(int pixels)
{
    QFont f = font();
    f.setPixelSize(pixels);
    setFont(f);
}

void TForm::runHandler(const std::function<void()>& work)
{
    try {
        work();
    } catch (const std::exception& error) {
        showErrorBox(this, QString::fromLocal8Bit(error.what()));
    }
}

void TForm::centreOnScreen()
{
    const QScreen* s = screen();
    if (!s) {
        return;
    }
    const QRect area = s->geometry();
    move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
}

void TForm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (event->spontaneous()) {
        return; // the window manager restored the window: not a new showing
    }
    m_shown = true;
    if (m_position == poScreenCenter) {
        centreOnScreen();
    }
    if (!m_activeControl.isEmpty()) {
        if (auto* control = findChild<QWidget*>(m_activeControl)) {
            control->setFocus(Qt::OtherFocusReason);
        }
    }
    emit OnShow();
}

void TForm::setVisible(bool visible)
{
    // Hiding takes the focus away before any hide event arrives.
    if (!visible) {
        m_shown = false;
    }
    QWidget::setVisible(visible);
}

void TForm::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::ActivationChange) {
        return;
    }
    // Report transitions only, and only while the form is shown: a form
    // that closes loses the focus without it passing to another window.
    const bool active = isActiveWindow();
    if (active == m_active || !m_shown) {
        return;
    }
    m_active = active;
    if (active) {
        emit OnActivate();
    } else {
        emit OnDeactivate();
    }
}
