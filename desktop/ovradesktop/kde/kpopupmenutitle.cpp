// SPDX-License-Identifier: GPL-2.0-or-later
#include "kpopupmenutitle.h"

#include <QFontMetrics>
#include <QPainter>

KPopupMenuTitle::KPopupMenuTitle(const QPixmap& icon, const QString& text, QWidget* parent)
    : QWidget(parent), m_icon(icon), m_text(text)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QFont KPopupMenuTitle::titleFont() const
{
    QFont bold = font();
    bold.setBold(true);
    return bold;
}

QSize KPopupMenuTitle::iconSize() const
{
    return m_icon.isNull() ? QSize() : m_icon.size() / m_icon.devicePixelRatio();
}

QSize KPopupMenuTitle::sizeHint() const
{
    const QFontMetrics metrics(titleFont());
    const QSize icon = iconSize();
    const int iconWidth = icon.isEmpty() ? 0 : icon.width() + spacing;
    return QSize(2 * horizontalMargin + iconWidth + metrics.horizontalAdvance(m_text),
                 2 * verticalMargin + qMax(icon.height(), metrics.height()));
}

QSize KPopupMenuTitle::minimumSizeHint() const
{
    return sizeHint();
}

void KPopupMenuTitle::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QPalette& pal = palette();
    painter.fillRect(rect(), pal.color(QPalette::Active, QPalette::Mid));
    int x = horizontalMargin;
    const QSize icon = iconSize();
    if (!icon.isEmpty()) {
        painter.drawPixmap(QRect(QPoint(x, (height() - icon.height()) / 2), icon), m_icon);
        x += icon.width() + spacing;
    }
    painter.setFont(titleFont());
    painter.setPen(pal.color(QPalette::Active, QPalette::WindowText));
    painter.drawText(QRect(x, 0, width() - x - horizontalMargin, height()),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, m_text);
}
