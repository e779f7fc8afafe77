// SPDX-License-Identifier: GPL-2.0-or-later
// The gauge's painting, texts, tool tip and refresh timer, for one and two
// batteries. The gauge is painted into an image and checked pixel by pixel at
// the fill, the outline, the nub and the mains icon.

#include "gaugehost.h"
#include "gaugeparts.h"
#include "laptopfixture.h"

#include "applet/graphframe.h"

#include <kpanelapplet.h>

#include <QImage>
#include <QTimer>
#include <QtTest>

#include <climits>
#include <memory>

namespace {

const QString state0 = QStringLiteral("/proc/H8/BAT0/state");
const QString state1 = QStringLiteral("/proc/H8/BAT1/state");
constexpr int gaugeHeight = 40;
const QColor green(0, 255, 0);
const QColor orange(255, 120, 30);
const QColor red(255, 0, 0);
const QColor gray(160, 160, 164);

QColor at(const QImage& image, int x, int y)
{
    return QColor(image.pixel(x, y));
}

// Pure black pixels inside the bar: the text, which no other part draws.
int textPixels(const QImage& image, int batWidth)
{
    int count = 0;
    for (int y = 6; y < image.height() - 6; ++y) {
        for (int x = 6; x < 5 + batWidth - 1; ++x) {
            if (at(image, x, y) == Qt::black) {
                ++count;
            }
        }
    }
    return count;
}

// An opaque pixel of the mains icon, to look for in the gauge.
QPoint iconProbe(const QImage& icon)
{
    for (int y = 0; y < icon.height(); ++y) {
        for (int x = 0; x < icon.width(); ++x) {
            if (qAlpha(icon.pixel(x, y)) == 255 && QColor(icon.pixel(x, y)) != Qt::black) {
                return QPoint(x, y);
            }
        }
    }
    return QPoint(-1, -1);
}

// Counts the paint events a widget receives.
class PaintCounter : public QObject
{
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            ++count;
        }
        return false;
    }
};

} // namespace

class TestGauge : public QObject, protected GaugeHost
{
    Q_OBJECT

private:
    QImage paint(int width)
    {
        m_frame->resize(width, gaugeHeight);
        return m_frame->grab().toImage();
    }
    QString refreshedToolTip()
    {
        QMetaObject::invokeMethod(m_frame, "transfer_draw_icon");
        return m_frame->toolTip();
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(laptop::inside()); }

    void init()
    {
        laptop::startingBatteries();
        makeGauge();
    }
    void cleanup() { m_host.reset(); }

    void formatTime_data()
    {
        QTest::addColumn<int>("time1");
        QTest::addColumn<int>("time2");
        QTest::addColumn<QString>("text");
        QTest::newRow("no times") << -1 << -1 << QString();
        QTest::newRow("zero") << 0 << -1 << QString();
        QTest::newRow("negative") << -7 << -1 << QString();
        QTest::newRow("two times") << 30 << 45 << QStringLiteral("1 : 15");
        QTest::newRow("first unknown") << -1 << 45 << QStringLiteral("0 : 45");
        QTest::newRow("one-digit minutes") << 125 << -1 << QStringLiteral("2 : 05");
        QTest::newRow("whole hour") << 60 << -1 << QStringLiteral("1 : 00");
        QTest::newRow("under an hour") << 59 << -1 << QStringLiteral("0 : 59");
        QTest::newRow("ten hours") << 600 << -1 << QStringLiteral("10 : 00");
        QTest::newRow("huge, no overflow") << INT_MAX << INT_MAX << QStringLiteral("71582788 : 14");
    }
    void formatTime()
    {
        QFETCH(int, time1);
        QFETCH(int, time2);
        QFETCH(QString, text);
        QCOMPARE(m_frame->FormatTime(time1, time2), text);
    }

    void formatPer()
    {
        QCOMPARE(battery::formatPercentage(87), QStringLiteral("87 %"));
        QCOMPARE(battery::formatPercentage(-5), QStringLiteral("-5 %"));
        // Its published name.
        QCOMPARE(m_frame->FormatPer(87), QStringLiteral("87 %"));
    }

    void refreshTimer()
    {
        const QList<QTimer*> timers = m_frame->findChildren<QTimer*>();
        QCOMPARE(timers.size(), 1);
        QCOMPARE(timers.first()->interval(), 5000);
        QVERIFY(timers.first()->isActive());
        QVERIFY(!timers.first()->isSingleShot());
    }

    // Fill colour and width by percentage, on mains (150 px, bar 89 px) and on
    // the battery (110 px, bar 81 px; 600 px to see the thinnest fills).
    void fill_data()
    {
        QTest::addColumn<QStringList>("settings");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("batWidth");
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<int>("fillWidth");
        QTest::addColumn<bool>("text");
        const QString onMains = QStringLiteral("ac=yes");
        const QString onBattery = QStringLiteral("ac=no");
        auto charge = [](int per) { return QStringLiteral("charge=%1").arg(per); };
        QTest::newRow("100 on mains")
            << QStringList{onMains, charge(100)} << 150 << 89 << green << 89 << true;
        QTest::newRow("87 on mains")
            << QStringList{onMains, charge(87)} << 150 << 89 << green << 77 << true;
        QTest::newRow("101 on mains")
            << QStringList{onMains, charge(101)} << 150 << 89 << green << 89 << false;
        QTest::newRow("60 on battery")
            << QStringList{onBattery, charge(60)} << 110 << 81 << green << 48 << true;
        QTest::newRow("11") << QStringList{onBattery, charge(11)} << 110 << 81 << green << 8
                            << true;
        QTest::newRow("10") << QStringList{onBattery, charge(10)} << 110 << 81 << orange << 8
                            << true;
        QTest::newRow("4") << QStringList{onBattery, charge(4)} << 110 << 81 << orange << 3 << true;
        QTest::newRow("3") << QStringList{onBattery, charge(3)} << 600 << 571 << red << 17 << true;
        QTest::newRow("2") << QStringList{onBattery, charge(2)} << 600 << 571 << red << 11 << true;
        QTest::newRow("1") << QStringList{onBattery, charge(1)} << 600 << 571 << red << 5 << true;
        QTest::newRow("-5") << QStringList{onBattery, charge(-5)} << 110 << 81 << gray << 81
                            << false;
    }
    void fill()
    {
        QFETCH(QStringList, settings);
        QFETCH(int, width);
        QFETCH(int, batWidth);
        QFETCH(QColor, colour);
        QFETCH(int, fillWidth);
        QFETCH(bool, text);
        laptop::battery(0, settings);
        const QImage image = paint(width);

        // The outline's left and right edges (pen 2 px on x = 5 and 5 + batWidth).
        QCOMPARE(at(image, 5, 20), gray);
        QCOMPARE(at(image, 5 + batWidth, 7), gray);
        QVERIFY(at(image, 5 + batWidth + 2, 7) != gray);
        // The fill up to its last column, and not beyond it.
        const int last = std::min(5 + fillWidth - 1, 5 + batWidth - 3);
        QCOMPARE(at(image, 6, 7), colour);
        QCOMPARE(at(image, last, 7), colour);
        if (fillWidth < batWidth - 3) {
            QVERIFY(at(image, 5 + fillWidth + 1, 7) != colour);
        }
        // The nub, right of the outline, half way down.
        QCOMPARE(at(image, batWidth + 6, gaugeHeight / 2), gray);
        QCOMPARE(textPixels(image, batWidth) > 0, text);
    }

    void emptyBattery()
    {
        laptop::battery(0, {QStringLiteral("ac=no"), QStringLiteral("charge=0")});
        const QImage image = paint(110);
        const QColor background = at(image, 100, 2);
        QCOMPARE(at(image, 7, 7), background); // nothing filled
        QCOMPARE(at(image, 5, 20), gray);
        QVERIFY(textPixels(image, 81) > 0); // "0 %"
    }

    void mainsIcon()
    {
        const QImage icon(QStringLiteral("/opt/nexalt/pm/bin/res/ac.png"));
        const QPoint probe = iconProbe(icon.convertToFormat(QImage::Format_ARGB32));
        QVERIFY(probe.x() >= 0);
        const QColor iconColour(icon.pixel(probe));
        const int top = (gaugeHeight - 32) / 2;

        QImage image = paint(150);
        QCOMPARE(at(image, 150 - 42 + probe.x(), top + probe.y()), iconColour);

        laptop::mains(false);
        image = paint(150);
        QVERIFY(at(image, 150 - 42 + probe.x(), top + probe.y()) != iconColour);
        // Without the icon the bar takes the whole width: 150 - 29 = 121 px.
        QCOMPARE(at(image, 5 + 121, 7), gray);
    }

    // Time or percentage on the bar: on the battery as chosen, on mains always the percentage.
    void displayChoice()
    {
        laptop::writeFile(state0, "AC attached: No\nRelativeStateofCharge: 50%\n"
                                  "AverageTimeToEmpty: 95 mins\n");
        const QImage percentage = paint(110);
        QMetaObject::invokeMethod(m_frame, "slot_show_time");
        QVERIFY(!gaugeparts::showsPercentage(m_frame));
        const QImage time = paint(110);
        QVERIFY(textPixels(time, 81) > 0);
        QVERIFY(time != percentage);

        // Less than a minute left: no time, so nothing is written.
        laptop::writeFile(state0, "AC attached: No\nRelativeStateofCharge: 50%\n"
                                  "AverageTimeToEmpty: 0 mins\n");
        QCOMPARE(textPixels(paint(110), 81), 0);

        laptop::battery(0, {QStringLiteral("ac=yes"), QStringLiteral("charge=50")});
        const QImage mainsTime = paint(150);
        QMetaObject::invokeMethod(m_frame, "slot_show_percentage");
        QVERIFY(gaugeparts::showsPercentage(m_frame));
        QCOMPARE(paint(150), mainsTime);
    }

    void toolTip_data()
    {
        QTest::addColumn<QByteArray>("state");
        QTest::addColumn<QString>("tip");
        QTest::newRow("on battery")
            << QByteArray("AC attached: No\nRelativeStateofCharge: 60%\n"
                          "AverageTimeToEmpty: 95 mins\nAverageTimeToFull: 7 mins\n")
            << QStringLiteral("Running on batteries -- 1 : 35 -- 60 %");
        QTest::newRow("charging") << QByteArray("AC attached: Yes\nRelativeStateofCharge: 87%\n"
                                                "AverageTimeToFull: 14 mins\n")
                                  << QStringLiteral("charging -- 0 : 14 -- 87 %");
        QTest::newRow("full") << QByteArray("AC attached: Yes\nFullyCharged: 1\n"
                                            "RelativeStateofCharge: 100%\n")
                              << QStringLiteral("full charged --  -- 100 %");
        QTest::newRow("no status") << QByteArray("RelativeStateofCharge: 40%\n")
                                   << QStringLiteral("no battery reading --  -- 40 %");
    }
    void toolTip()
    {
        QFETCH(QByteArray, state);
        QFETCH(QString, tip);
        laptop::writeFile(state0, state);
        QCOMPARE(refreshedToolTip(), tip);
    }

    // A state file that cannot be read: the charge is unknown, not empty, and
    // nothing says mains power.
    void unreadableStateFile()
    {
        laptop::battery(0, {QStringLiteral("readable=no")});
        QCOMPARE(refreshedToolTip(), QStringLiteral("no battery reading --  -- ? %"));
        const QImage image = paint(150);
        QCOMPARE(at(image, 5, 20), gray);
        QVERIFY(textPixels(image, 121) > 0);          // "?"
        QCOMPARE(at(image, 7, 7), at(image, 100, 2)); // nothing filled
        QCOMPARE(at(image, 5 + 121, 7), gray);        // no room kept for the icon
    }

    // A refresh that finds what the gauge shows already paints nothing and
    // leaves the tool tip; one that finds a change shows it, also when a
    // painting in between showed other readings.
    void refreshShowsOnlyChanges()
    {
        const auto state = [](int per, int toFull) {
            return "AC attached: Yes\nRelativeStateofCharge: " + QByteArray::number(per) +
                   "%\nAverageTimeToFull: " + QByteArray::number(toFull) + " mins\n";
        };
        laptop::writeFile(state0, state(50, 20));
        m_host->resize(150, gaugeHeight);
        m_frame->resize(150, gaugeHeight);
        m_host->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_host.get()));
        PaintCounter paints(m_frame);
        QCOMPARE(refreshedToolTip(), QStringLiteral("charging -- 0 : 20 -- 50 %"));
        paints.count = 0;
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(refreshedToolTip(), QStringLiteral("charging -- 0 : 20 -- 50 %"));
        }
        QCOMPARE(paints.count, 0);

        laptop::writeFile(state0, state(51, 20));
        QCOMPARE(refreshedToolTip(), QStringLiteral("charging -- 0 : 20 -- 51 %"));
        QCOMPARE(paints.count, 1);
        // On mains the bar writes the percentage: a new time is the tool tip's alone.
        laptop::writeFile(state0, state(51, 30));
        QCOMPARE(refreshedToolTip(), QStringLiteral("charging -- 0 : 30 -- 51 %"));
        QCOMPARE(paints.count, 1);

        laptop::writeFile(state0, state(60, 30));
        m_frame->repaint();
        QCOMPARE(paints.count, 2);
        laptop::writeFile(state0, state(51, 30));
        QCOMPARE(refreshedToolTip(), QStringLiteral("charging -- 0 : 30 -- 51 %"));
        QCOMPARE(paints.count, 3);
    }

    // Two batteries: 3828 + 1344 mWh of 4400 + 2100 mWh make 79 %; the times add up.
    void twoBatteries()
    {
        laptop::battery(1, {QStringLiteral("present=yes"), QStringLiteral("ac=yes")});
        makeGauge();
        QCOMPARE(gaugeparts::batteriesInBays(), 2);
        QCOMPARE(refreshedToolTip(), QStringLiteral("charging -- 0 : 32 -- 79 %"));
        const QImage image = paint(150);
        QCOMPARE(at(image, 5 + 79 * 89 / 100 - 1, 7), green);
        QVERIFY(at(image, 5 + 79 * 89 / 100 + 1, 7) != green);
        QVERIFY(textPixels(image, 89) > 0);
    }

    // Full capacities that add up to 0: no division, painted as out of range.
    void twoBatteriesWithoutCapacity()
    {
        laptop::battery(1, {QStringLiteral("present=yes")});
        makeGauge();
        const QByteArray state = "AC attached: Yes\nRemainingCapacity: 0 mWh\n"
                                 "FullChargeCapacity: 0 mWh\nAverageTimeToFull: 20 mins\n";
        laptop::writeFile(state0, state);
        laptop::writeFile(state1, state);
        QCOMPARE(refreshedToolTip(), QStringLiteral("charging -- 0 : 40 -- ? %"));
        const QImage image = paint(150);
        QCOMPARE(at(image, 6, 7), gray);
        QCOMPARE(at(image, 5 + 89 - 3, 7), gray);
        QCOMPARE(textPixels(image, 89), 0);
    }

    void combinedPercentage_data()
    {
        QTest::addColumn<float>("now0");
        QTest::addColumn<float>("full0");
        QTest::addColumn<float>("now1");
        QTest::addColumn<float>("full1");
        QTest::addColumn<int>("per"); // -1000 stands for "none"
        QTest::newRow("plain") << 3828.f << 4400.f << 1344.f << 2100.f << 79;
        QTest::newRow("truncated") << 1.f << 3.f << 0.f << 0.f << 33;
        QTest::newRow("no capacity") << 5.f << 0.f << 5.f << 0.f << -1000;
        QTest::newRow("capacities cancel") << 5.f << 10.f << 5.f << -10.f << -1000;
        QTest::newRow("huge") << 3e38f << 1.f << 3e38f << 1.f << 1000000;
    }
    void combinedPercentage()
    {
        QFETCH(float, now0);
        QFETCH(float, full0);
        QFETCH(float, now1);
        QFETCH(float, full1);
        QFETCH(int, per);
        GraphFrame::s_batInfo bat0{};
        GraphFrame::s_batInfo bat1{};
        bat0.nowC = now0;
        bat0.lastFullC = full0;
        bat1.nowC = now1;
        bat1.lastFullC = full1;
        QCOMPARE(battery::combinedPercentage(bat0, bat1).value_or(-1000), per);
    }

    // Only batteries 0 and 1 are counted; without them the gauge says so and
    // the applet is narrow from the start.
    void noBattery()
    {
        laptop::battery(0, {QStringLiteral("present=no")});
        laptop::writeFile(QStringLiteral("/proc/H8/BAT2/state"), "AC attached: Yes\n");
        makeGauge();
        QCOMPARE(gaugeparts::batteriesInBays(), 0);
        QCOMPARE(m_host->maximumWidth(), 110);
        QCOMPARE(m_host->minimumWidth(), 110);
        QCOMPARE(refreshedToolTip(), QStringLiteral("No battery"));
        const QImage image = paint(110);
        QVERIFY(at(image, 5, 20) != gray); // no bar
        QVERIFY(textPixels(image, 81) > 0);
    }
};

QTEST_MAIN(TestGauge)
#include "tst_gauge.moc"
