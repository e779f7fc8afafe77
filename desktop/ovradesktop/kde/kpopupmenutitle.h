// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QPixmap>
#include <QString>
#include <QWidget>

/// The title row of a KPopupMenu: an icon and bold text on the Mid colour.
/// Its action is disabled so that it cannot be chosen, and it paints itself
/// with the active colours so that it never looks greyed out for that,
/// whatever style or style sheet the application uses (desktop panels such
/// as LXQt's style their menus with style sheets).
class KPopupMenuTitle : public QWidget
{
    Q_OBJECT

public:
    KPopupMenuTitle(const QPixmap& icon, const QString& text, QWidget* parent);

    QString text() const { return m_text; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    static constexpr int horizontalMargin = 6;
    static constexpr int verticalMargin = 3;
    static constexpr int spacing = 6;

    QFont titleFont() const;
    QSize iconSize() const;

    QPixmap m_icon;
    QString m_text;
};
