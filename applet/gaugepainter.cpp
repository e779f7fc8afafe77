// SPDX-License-Identifier: GPL-2.0-or-later
#include "gaugepainter.h"

#include "batteryreadings.h"
#include "comm.h"
#include "mainsicon.h"
#include "pmapplet.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPixmap>
#include <QSize>

namespace {

// Written on the bar when the battery's charge cannot be read.
constexpr char strUnknownCharge[] = "?";

} // namespace

GaugePainter::GaugePainter() : m_iconAC(load_qpixmap(m_strACIconPath))
{
    if (m_iconAC->isNull()) {
        *m_iconAC = fallbackMainsIcon(m_iconSize);
    }
}

GaugePainter::~GaugePainter() = default;

QFont GaugePainter::heavyFont(const QFont& font)
{
    QFont heavy = font;
    heavy.setWeight(QFont::Black);
    heavy.setStretch(QFont::Expanded);
    return heavy;
}

void GaugePainter::paintNoBattery(QPainter& painter, const QSize& size, const QFont& font) const
{
    painter.setPen(Qt::black);
    painter.setFont(heavyFont(font));
    const int y = (QFontMetrics(font).height() + size.height()) / 2 - 5;
    painter.drawText(m_iMarginWidth, y, QString::fromLatin1(m_strNoBattery));
}

void GaugePainter::paint(QPainter& painter, const QSize& size, const QFont& font,
                         const GaugeReading& reading) const
{
    const int per = reading.known ? reading.per : 0;
    const bool bRightPer = reading.known && per >= 0 && per <= 100;

    // A charge of 3 % is low, not empty: it shares the red of 1 and 2 %.
    QColor colour;
    if (per > 10) {
        colour = Qt::green;
    } else if (per >= 4) {
        colour = QColor(255, 120, 30);
    } else if (per >= 1) {
        colour = Qt::red;
    } else {
        colour = Qt::gray;
    }
    QBrush brush(colour, Qt::SolidPattern);

    const bool bShowIcon = reading.showIcon;
    const int W = size.width();
    const int H = size.height();
    const int totalWidth = bShowIcon ? W - m_iconSize : W;
    const int batWidth = totalWidth - 29;
    const int batHeight = H - 2 * m_iMarginWidth;
    const int fillWidth = bRightPer ? per * batWidth / 100 : batWidth;
    if (reading.known) {
        painter.fillRect(QRect(m_iMarginWidth, m_iMarginWidth, fillWidth, batHeight), brush);
    }

    painter.setPen(QPen(Qt::gray, m_iFrameLineWidth, Qt::SolidLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(m_iMarginWidth, m_iMarginWidth, batWidth, batHeight);

    brush.setColor(Qt::gray);
    const QRect rect_top(batWidth + m_iTopWidth, batHeight / 2, m_iTopWidth, m_iTopHeight);
    painter.fillRect(rect_top, brush);

    if (bRightPer || !reading.known) {
        QString text = QString::fromLatin1(strUnknownCharge);
        if (reading.known) {
            text = reading.showPer || bShowIcon ? battery::formatPercentage(per) : reading.timeText;
        }
        painter.setPen(Qt::black);
        painter.setFont(heavyFont(font));
        // Placed by the widget's own font, though drawn in the heavy one.
        const QFontMetrics metrics(font);
        const int x = (batWidth - metrics.horizontalAdvance(text)) / 2;
        const int y = (H + metrics.height() - 5) / 2;
        painter.drawText(x, y, text);
    }

    if (bShowIcon && m_iconAC && !m_iconAC->isNull()) {
        painter.drawPixmap(W - m_iconSize - m_iMidWidth, (H - m_iconSize) / 2, *m_iconAC);
    }
}
