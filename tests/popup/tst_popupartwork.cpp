// SPDX-License-Identifier: GPL-2.0-or-later
// The popup's shipped pictures: they are what the generator draws, in the
// sizes and formats the buttons and the masthead rely on, with the
// transparent colour only where it belongs.

#include "popup/artwork/artwork.h"
#include "popup/embeddedpicture.h"
#include "popup/schemepoppictures.h"

#include <QFile>
#include <QImage>
#include <QPixmap>
#include <QTest>
#include <QtEndian>

namespace {

struct PngHeader
{
    int width = 0;
    int height = 0;
    int bitDepth = 0;
    int colourType = 0; // 2 = RGB, 3 = palette
};

PngHeader pngHeader(const QByteArray& png)
{
    PngHeader h;
    // Signature (8), chunk length (4), "IHDR" (4), then the header fields.
    if (png.size() < 26 || png.mid(12, 4) != "IHDR") {
        return h;
    }
    const auto* bytes = reinterpret_cast<const uchar*>(png.constData());
    h.width = int(qFromBigEndian<quint32>(bytes + 16));
    h.height = int(qFromBigEndian<quint32>(bytes + 20));
    h.bitDepth = bytes[24];
    h.colourType = bytes[25];
    return h;
}

QByteArray shipped(const QString& name)
{
    QFile file(QStringLiteral(":/schemepop/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QImage shippedImage(const QString& name)
{
    return QImage::fromData(shipped(name), "PNG").convertToFormat(QImage::Format_RGB32);
}

bool isRed(const QColor& c)
{
    return c.red() > 150 && c.green() < 90 && c.blue() < 90;
}

} // namespace

class TestPopupArtwork : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { Q_INIT_RESOURCE(schemepop); }
    void shippedPicturesAreTheGeneratorsDrawings();
    void picturesHaveTheirSizesAndDepths_data();
    void picturesHaveTheirSizesAndDepths();
    void circleStripsHaveOnlyTheirBottomRowTransparent_data();
    void circleStripsHaveOnlyTheirBottomRowTransparent();
    void closeStripIsTransparentOnlyAroundItsFaces();
    void circleFramesFollowTheButtonStates();
    void mastheadShowsTheBatteryDisc();
    void formGetsTheShippedPicturesPixelForPixel();
};

void TestPopupArtwork::shippedPicturesAreTheGeneratorsDrawings()
{
    for (const auto& [name, drawn] : artwork::all()) {
        const QImage stored = shippedImage(name);
        QVERIFY2(!stored.isNull(), qPrintable(name));
        QVERIFY2(stored == drawn.convertToFormat(QImage::Format_RGB32),
                 qPrintable(name + QStringLiteral(" differs: run the popup-artwork target")));
    }
}

void TestPopupArtwork::picturesHaveTheirSizesAndDepths_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("colourType");
    QTest::newRow("masthead") << "masthead.png" << QSize(520, 38) << 2;
    QTest::newRow("small close") << "close.png" << QSize(64, 16) << 3;
    QTest::newRow("close") << "closeb.png" << QSize(176, 44) << 2;
    QTest::newRow("power manager") << "openac.png" << QSize(176, 44) << 2;
}

void TestPopupArtwork::picturesHaveTheirSizesAndDepths()
{
    QFETCH(QString, name);
    QFETCH(QSize, size);
    QFETCH(int, colourType);
    const PngHeader h = pngHeader(shipped(name));
    QCOMPARE(QSize(h.width, h.height), size);
    QCOMPARE(h.bitDepth, 8); // 8 bits a channel (24-bit RGB) or an 8-bit palette
    QCOMPARE(h.colourType, colourType);
}

void TestPopupArtwork::circleStripsHaveOnlyTheirBottomRowTransparent_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("close") << "closeb.png";
    QTest::newRow("power manager") << "openac.png";
}

void TestPopupArtwork::circleStripsHaveOnlyTheirBottomRowTransparent()
{
    QFETCH(QString, name);
    const QImage strip = shippedImage(name);
    const QColor transparent = strip.pixelColor(0, strip.height() - 1);
    QCOMPARE(transparent, QColor(255, 0, 0));
    for (int y = 0; y < strip.height(); ++y) {
        for (int x = 0; x < strip.width(); ++x) {
            const bool bottom = y == strip.height() - 1;
            QCOMPARE(strip.pixelColor(x, y) == transparent, bottom);
        }
    }
}

void TestPopupArtwork::closeStripIsTransparentOnlyAroundItsFaces()
{
    const QImage strip = shippedImage(QStringLiteral("close.png"));
    const QColor transparent = strip.pixelColor(0, strip.height() - 1);
    for (int frame = 0; frame < 4; ++frame) {
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                const bool border = x == 0 || y == 0 || x == 15 || y == 15;
                QCOMPARE(strip.pixelColor(frame * 16 + x, y) == transparent, border);
            }
        }
    }
    // Frame 1 is a white face with a black cross, frame 2 a light grey cross.
    QCOMPARE(strip.pixelColor(2, 13), QColor(Qt::white));
    QCOMPARE(strip.pixelColor(8, 8), QColor(Qt::black));
    QVERIFY(strip.pixelColor(16 + 8, 8).lightness() > 150);
    QVERIFY(strip.pixelColor(16 + 8, 8) != QColor(Qt::white));
}

void TestPopupArtwork::circleFramesFollowTheButtonStates()
{
    const QImage strip = shippedImage(QStringLiteral("closeb.png"));
    const auto at = [&strip](int frame, int x, int y) {
        return strip.pixelColor(frame * 44 + x, y);
    };
    // The X mark crosses at the centre; dimmer when disabled; the pressed
    // frame is a glowing disc; the latched ring is brighter than the normal one.
    QCOMPARE(at(0, 22, 21), QColor(Qt::white));
    QVERIFY(at(1, 22, 21).lightness() < 200);
    QVERIFY(at(2, 22, 21).lightness() > 240);
    QVERIFY(at(2, 10, 21).lightness() > 200); // the glow has no dark face around a mark
    QVERIFY(at(3, 22, 4).lightness() > at(0, 22, 4).lightness() + 60);
    QCOMPARE(at(0, 1, 1), QColor(Qt::black)); // on black
}

void TestPopupArtwork::mastheadShowsTheBatteryDisc()
{
    const QImage masthead = shippedImage(QStringLiteral("masthead.png"));
    for (int y = 0; y < masthead.height(); ++y) {
        for (int x = 0; x < masthead.width(); ++x) {
            if (x < 439 || x > 479) {
                QCOMPARE(masthead.pixelColor(x, y), QColor(Qt::black));
            }
        }
    }
    QVERIFY(isRed(masthead.pixelColor(459, 4)));
    QVERIFY(isRed(masthead.pixelColor(443, 19)));
    int white = 0;
    int sparkGreen = 0;
    for (int y = 0; y < 38; ++y) {
        for (int x = 439; x <= 479; ++x) {
            const QColor c = masthead.pixelColor(x, y);
            white += c == QColor(Qt::white);
            sparkGreen += c.green() > 150 && c.red() < c.green() && c.blue() < 100;
        }
    }
    QVERIFY(white > 40);     // the battery outline
    QVERIFY(sparkGreen > 4); // the spark
}

// The form's pictures come decoded with the program: each is the shipped
// file as the toolkit would have read it, in the same pixel format.
void TestPopupArtwork::formGetsTheShippedPicturesPixelForPixel()
{
    QStringList embedded;
    for (const EmbeddedPicture* picture = embeddedPictures; picture->path; ++picture) {
        embedded << QString::fromUtf8(picture->path);
    }
    const QStringList shippedPaths{
        QStringLiteral(":/schemepop/masthead.png"), QStringLiteral(":/schemepop/close.png"),
        QStringLiteral(":/schemepop/closeb.png"), QStringLiteral(":/schemepop/openac.png")};
    QCOMPARE(embedded, shippedPaths);
    for (const QString& path : shippedPaths) {
        const QImage read = QPixmap(path).toImage();
        const QImage given = schemepopPicture(path.toUtf8().constData()).toImage();
        QVERIFY2(!read.isNull(), qPrintable(path));
        QCOMPARE(given.format(), read.format());
        QVERIFY2(given == read, qPrintable(path + QStringLiteral(" differs from its file")));
    }
}

QTEST_MAIN(TestPopupArtwork)
#include "tst_popupartwork.moc"
