// Reads a screenshot of the panel and reports the battery gauge it shows:
//   gaugeprobe FILE.png   ->   "bar=89 icon=yes width=150"
// The bar's outline is the longest horizontal run of the outline's gray; the
// gauge's width follows from the bar's width (29 px of margins, and 32 px more
// when the mains icon is shown). Exit status 1 when no gauge is found.

#include <QColor>
#include <QGuiApplication>
#include <QImage>

#include <cstdio>

namespace {

const QRgb outlineGray = qRgb(160, 160, 164);

struct Run
{
    int x = -1;
    int y = -1;
    int length = 0;
};

Run longestGrayRun(const QImage& image)
{
    Run best;
    for (int y = 0; y < image.height(); ++y) {
        int start = -1;
        for (int x = 0; x <= image.width(); ++x) {
            const bool gray =
                x < image.width() && (image.pixel(x, y) & 0xffffff) == (outlineGray & 0xffffff);
            if (gray && start < 0)
                start = x;
            if (!gray && start >= 0) {
                if (x - start > best.length)
                    best = Run{start, y, x - start};
                start = -1;
            }
        }
    }
    return best;
}

// The mains icon's yellow right of the bar, within the bar's rows.
bool iconRightOf(const QImage& image, const Run& top, int barHeight)
{
    for (int y = top.y - 4; y < top.y + barHeight + 4 && y < image.height(); ++y) {
        for (int x = top.x + top.length; x < image.width(); ++x) {
            const QColor c(image.pixel(x, std::max(y, 0)));
            if (c.red() > 200 && c.green() > 150 && c.green() < 230 && c.blue() < 80)
                return true;
        }
    }
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: gaugeprobe FILE.png\n");
        return 2;
    }
    const QImage image =
        QImage(QString::fromLocal8Bit(argv[1])).convertToFormat(QImage::Format_RGB32);
    const Run top = longestGrayRun(image);
    if (top.length < 10) {
        std::printf("no gauge\n");
        return 1;
    }
    // The top edge of a 2-pixel pen spans the bar's width and 2 more pixels.
    const int bar = top.length - 2;
    int barHeight = 0;
    while (top.y + barHeight < image.height() &&
           (image.pixel(top.x, top.y + barHeight) & 0xffffff) == (outlineGray & 0xffffff))
        ++barHeight;
    const bool icon = iconRightOf(image, top, barHeight);
    std::printf("bar=%d icon=%s width=%d\n", bar, icon ? "yes" : "no", bar + 29 + (icon ? 32 : 0));
    return 0;
}
