// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Paints the gauge: the charge as a battery-shaped bar in the colour of its
// level, with the percentage or the time left in it and the mains icon
// beside it; a "?" in an empty bar when the charge cannot be read; or "No
// battery".

#include <QString>

#include <memory>

class QFont;
class QPainter;
class QPixmap;
class QSize;

// What one painting of the bar shows.
struct GaugeReading
{
    int per;           // charge in percent; outside 0..100 the whole bar is gray, without text
    QString timeText;  // the time left, shown instead of the percentage when chosen
    bool showPer;      // the display submenu chose the percentage
    bool showIcon;     // on mains power: the icon shows and the bar makes room for it
    bool known = true; // false: the charge could not be read; an empty bar marked "?"
};

class GaugePainter
{
public:
    // Loads the mains icon.
    GaugePainter();
    ~GaugePainter();
    GaugePainter(const GaugePainter&) = delete;
    GaugePainter& operator=(const GaugePainter&) = delete;

    // Paints into an area of the given size whose widget has the font font.
    void paint(QPainter& painter, const QSize& size, const QFont& font,
               const GaugeReading& reading) const;
    void paintNoBattery(QPainter& painter, const QSize& size, const QFont& font) const;

    // The text font: the widget's own, black weight and expanded.
    static QFont heavyFont(const QFont& font);

private:
    std::unique_ptr<QPixmap> m_iconAC;
};
