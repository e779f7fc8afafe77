// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// A text label that reports the pointer entering and leaving it and clicks
// on it (left or middle button, released over the label), and that can stand
// for an image button (its linked button).

#include <QColor>
#include <QLabel>
#include <QPointer>

#include "tspeedbutton.h"

class TLabel : public QLabel
{
    Q_OBJECT
    Q_PROPERTY(bool autoSize READ autoSize WRITE setAutoSize)
    Q_PROPERTY(QColor color READ color WRITE setColor)

public:
    explicit TLabel(QWidget* parent = nullptr);

    // An auto-sized label is as wide as its text in its font; its left edge stays.
    bool autoSize() const { return m_autoSize; }
    void setAutoSize(bool autoSize);

    // An own background colour makes the label opaque.
    QColor color() const { return m_color; }
    void setColor(const QColor& color);

    // Sets the text and, when auto-sized, fits the width to it.
    void setText(const QString& text);

    TSpeedButton* linkedButton() const { return m_linkedButton; }
    void setLinkedButton(TSpeedButton* button) { m_linkedButton = button; }

signals:
    void Click();
    void MouseEnter();
    void MouseLeave();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void adjustToText();

    bool m_autoSize = false;
    QColor m_color;
    QPointer<TSpeedButton> m_linkedButton;
    Qt::MouseButtons m_pressed;
};
