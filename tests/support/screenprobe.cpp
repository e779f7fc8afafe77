// SPDX-License-Identifier: GPL-2.0-or-later
// Reads screenshots for the end-to-end tests.
//
//   screenprobe gauge FILE.png   ->   "bar=89 icon=yes width=150 fill=77 text=5c0a11f3 x=16 y=993"
// The battery gauge: its bar's outline is the longest horizontal run of the
// outline's gray; the gauge's width follows from the bar's width (29 px of
// margins, and 32 px more when the mains icon is shown); fill is the width of
// the charge's green, orange or red inside it (0 when none); text tells the
// text written on the bar apart from others, a hash of its dark pixels
// ("none" without any); x and y are the bar's top-left corner on the screen.
// Exit status 1 when no gauge is found.
//
//   screenprobe rows FILE.png X Y W H   ->   "846 883 905 ..."
// The rows of a menu in that rectangle: the middle line of every band of rows
// holding dark (text) pixels, from the top. Exit status 1 when there is none.

#include <QColor>
#include <QGuiApplication>
#include <QImage>
#include <QRect>
#include <QStringList>

#include <cstdio>
#include <cstdlib>

namespace {

const QRgb outlineGray = qRgb(160, 160, 164);

bool isOutline(QRgb pixel)
{
    return (pixel & 0xffffff) == (outlineGray & 0xffffff);
}

bool isDark(QRgb pixel)
{
    return qGray(pixel) < 100;
}

struct Run
{
    int x = -1;
    int y = -1;
    int length = 0;
};

Run longestOutlineRun(const QImage& image)
{
    Run best;
    for (int y = 0; y < image.height(); ++y) {
        int start = -1;
        for (int x = 0; x <= image.width(); ++x) {
            const bool gray = x < image.width() && isOutline(image.pixel(x, y));
            if (gray && start < 0) {
                start = x;
            }
            if (!gray && start >= 0) {
                if (x - start > best.length) {
                    best = Run{start, y, x - start};
                }
                start = -1;
            }
        }
    }
    return best;
}

// The mains icon's yellow right of the bar, within the bar's rows.
bool iconRightOf(const QImage& image, const Run& top, int barHeight)
{
    for (int y = std::max(top.y - 4, 0); y < top.y + barHeight + 4 && y < image.height(); ++y) {
        for (int x = top.x + top.length; x < image.width(); ++x) {
            const QColor c(image.pixel(x, y));
            if (c.red() > 200 && c.green() > 150 && c.green() < 230 && c.blue() < 80) {
                return true;
            }
        }
    }
    return false;
}

bool isFill(QRgb pixel)
{
    const QRgb rgb = pixel & 0xffffff;
    return rgb == (qRgb(0, 255, 0) & 0xffffff) || rgb == (qRgb(255, 120, 30) & 0xffffff) ||
           rgb == (qRgb(255, 0, 0) & 0xffffff);
}

// The fill's width, on a row below the outline's top edge and above the text;
// its first column lies under the outline's left edge.
int fillWidth(const QImage& image, const Run& top)
{
    const int y = top.y + 3;
    int count = 0;
    for (int x = top.x; y < image.height() && x < top.x + top.length; ++x) {
        if (isFill(image.pixel(x, y))) {
            ++count;
        }
    }
    return count > 0 ? count + 1 : 0;
}

// A hash of where the bar's dark pixels lie, as 8 hex digits; "none" without any.
QByteArray textHash(const QImage& image, const Run& top, int barHeight)
{
    quint32 hash = 0;
    bool any = false;
    for (int y = top.y + 2; y < top.y + barHeight - 2 && y < image.height(); ++y) {
        for (int x = top.x + 2; x < top.x + top.length - 2; ++x) {
            if (isDark(image.pixel(x, y))) {
                hash = hash * 31u + quint32((x - top.x) * 1000 + (y - top.y));
                any = true;
            }
        }
    }
    return any ? QByteArray::number(hash, 16).rightJustified(8, '0') : QByteArray("none");
}

int gauge(const QImage& image)
{
    const Run top = longestOutlineRun(image);
    if (top.length < 10) {
        std::printf("no gauge\n");
        return 1;
    }
    // The top edge of a 2-pixel pen spans the bar's width and 2 more pixels.
    const int bar = top.length - 2;
    int barHeight = 0;
    while (top.y + barHeight < image.height() && isOutline(image.pixel(top.x, top.y + barHeight))) {
        ++barHeight;
    }
    const bool icon = iconRightOf(image, top, barHeight);
    std::printf("bar=%d icon=%s width=%d fill=%d text=%s x=%d y=%d\n", bar, icon ? "yes" : "no",
                bar + 29 + (icon ? 32 : 0), fillWidth(image, top),
                textHash(image, top, barHeight).constData(), top.x + 1, top.y + 1);
    return 0;
}

int menuRows(const QImage& image, const QRect& area)
{
    const QRect rect = area.intersected(image.rect());
    QStringList rows;
    int bandStart = -1;
    for (int y = rect.top(); y <= rect.bottom() + 1; ++y) {
        bool dark = false;
        for (int x = rect.left(); y <= rect.bottom() && x <= rect.right() && !dark; ++x) {
            dark = isDark(image.pixel(x, y));
        }
        if (dark && bandStart < 0) {
            bandStart = y;
        }
        if (!dark && bandStart >= 0) {
            rows << QString::number((bandStart + y - 1) / 2);
            bandStart = -1;
        }
    }
    std::printf("%s\n", qPrintable(rows.join(QLatin1Char(' '))));
    return rows.isEmpty() ? 1 : 0;
}

int usage()
{
    std::fprintf(stderr, "usage: screenprobe gauge FILE.png | screenprobe rows FILE.png X Y W H\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 3) {
        return usage();
    }
    const QImage image =
        QImage(QString::fromLocal8Bit(argv[2])).convertToFormat(QImage::Format_RGB32);
    if (image.isNull()) {
        return usage();
    }
    const QByteArray mode = argv[1];
    if (mode == "gauge" && argc == 3) {
        return gauge(image);
    }
    if (mode == "rows" && argc == 7) {
        return menuRows(image, QRect(std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]),
                                     std::atoi(argv[6])));
    }
    return usage();
}
