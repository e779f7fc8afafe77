// SPDX-License-Identifier: GPL-2.0-or-later
// The gauge's battery readings: the status index, the readings record, the
// wear class, and the applet's width following the power source at each
// refresh; and the published reading functions on the gauge. State files
// come from the battery simulator (the module's own format) or are written by
// hand with odd lines.

#include "gaugehost.h"
#include "gaugeparts.h"
#include "laptopfixture.h"

#include "applet/graphframe.h"
#include "batteries/modulefiles.h"

#include <kpanelapplet.h>

#include <QSignalSpy>
#include <QtTest>

#include <memory>

using BatInfo = GraphFrame::s_batInfo;
Q_DECLARE_METATYPE(BatInfo)

namespace {

const QString state0 = QStringLiteral("/proc/H8/BAT0/state");

// The status index battery n's state file gives.
int statusIndexOf(int index)
{
    return battery::statusIndexOf(batteries::ModuleFiles().bay(index).power);
}

BatInfo info(float lastFullC, float nowC, int toFulltime, int toNulltime, int perC, int status)
{
    BatInfo i{};
    i.lastFullC = lastFullC;
    i.nowC = nowC;
    i.toFulltime = toFulltime;
    i.toNulltime = toNulltime;
    i.perC = perC;
    i.status = status;
    i.bAC = status != 1;
    i.iTime = i.bAC ? toFulltime : toNulltime;
    return i;
}

} // namespace

class TestReadings : public QObject, protected GaugeHost
{
    Q_OBJECT

private:
    void refresh() { QMetaObject::invokeMethod(m_frame, "transfer_draw_icon"); }
    void compareInfo(const BatInfo& actual, const BatInfo& expected)
    {
        QCOMPARE(actual.status, expected.status);
        QCOMPARE(actual.bAC, expected.bAC);
        QCOMPARE(actual.perC, expected.perC);
        QCOMPARE(actual.nowC, expected.nowC);
        QCOMPARE(actual.lastFullC, expected.lastFullC);
        QCOMPARE(actual.toFulltime, expected.toFulltime);
        QCOMPARE(actual.toNulltime, expected.toNulltime);
        QCOMPARE(actual.iTime, expected.iTime);
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(laptop::inside()); }

    void init()
    {
        laptop::battery(0, {QStringLiteral("present=yes"), QStringLiteral("ac=yes"),
                            QStringLiteral("charge=87"), QStringLiteral("full=4400"),
                            QStringLiteral("rate=1800"), QStringLiteral("readable=yes")});
        makeGauge();
    }
    void cleanup() { m_host.reset(); }

    void statusIndex_data()
    {
        QTest::addColumn<QByteArray>("state");
        QTest::addColumn<int>("index");
        QTest::newRow("charging") << QByteArray("AC attached:   Yes\nFullyCharged:  0\n") << 0;
        QTest::newRow("full") << QByteArray("AC attached:   Yes\nFullyCharged:  1\n") << 2;
        QTest::newRow("flag 10 holds a zero")
            << QByteArray("AC attached:   Yes\nFullyCharged:  10\n") << 0;
        QTest::newRow("full flag first") << QByteArray("FullyCharged: 1\nAC attached: Yes\n") << 2;
        QTest::newRow("on battery, flag set")
            << QByteArray("AC attached: No\nFullyCharged: 1\n") << 1;
        QTest::newRow("no blank") << QByteArray("AC attached:Yes\n") << 0;
        QTest::newRow("both words") << QByteArray("AC attached: Yes No\n") << 1;
        QTest::newRow("neither word") << QByteArray("AC attached: maybe\n") << -1;
        QTest::newRow("no mains line") << QByteArray("FullyCharged: 1\nVoltage: 11 V\n") << -1;
        QTest::newRow("later line wins") << QByteArray("AC attached: No\nAC attached: Yes\n") << 0;
        QTest::newRow("label case") << QByteArray("ac attached: Yes\n") << -1;
        QTest::newRow("empty file") << QByteArray() << -1;
        QTest::newRow("crlf") << QByteArray("AC attached: Yes\r\nFullyCharged: 1\r\n") << 2;
    }
    void statusIndex()
    {
        QFETCH(QByteArray, state);
        QFETCH(int, index);
        laptop::writeFile(state0, state);
        QCOMPARE(statusIndexOf(0), index);
        QCOMPARE(gaugeparts::readingsOf(0).status, index);
    }

    // The module's own format, as the simulator writes it.
    void moduleFormat_data()
    {
        QTest::addColumn<QStringList>("settings");
        QTest::addColumn<BatInfo>("expected");
        // 87 % of 4400 mWh is 3828 mWh; 572 mWh at 2400 mW take 14 minutes.
        QTest::newRow("charging") << QStringList{QStringLiteral("ac=yes")}
                                  << info(4400, 3828, 14, 65535, 87, 0);
        // 3828 mWh at 1800 mW last 127 minutes.
        QTest::newRow("on battery")
            << QStringList{QStringLiteral("ac=no")} << info(4400, 3828, 65535, 127, 87, 1);
        QTest::newRow("full") << QStringList{QStringLiteral("ac=yes"), QStringLiteral("charge=100")}
                              << info(4400, 4400, 0, 65535, 100, 2);
        QTest::newRow("nearly empty")
            << QStringList{QStringLiteral("ac=no"), QStringLiteral("charge=3"),
                           QStringLiteral("full=4000"), QStringLiteral("rate=1200")}
            << info(4000, 120, 65535, 6, 3, 1);
    }
    void moduleFormat()
    {
        QFETCH(QStringList, settings);
        QFETCH(BatInfo, expected);
        laptop::battery(0, settings);
        compareInfo(gaugeparts::readingsOf(0), expected);
    }

    // Values cut by position: the label's length at the front, the unit's at the end.
    void cutValues_data()
    {
        QTest::addColumn<QByteArray>("state");
        QTest::addColumn<BatInfo>("expected");
        const QByteArray off = "AC attached: No\n";
        QTest::newRow("four-letter unit") << off + "AverageTimeToEmpty: 95 mins\n"
                                          << info(0, 0, 0, 95, 0, 1);
        QTest::newRow("three-letter unit cuts a digit") << off + "AverageTimeToEmpty: 95 min\n"
                                                        << info(0, 0, 0, 9, 0, 1);
        QTest::newRow("three digits, no unit") << off + "AverageTimeToEmpty: 123\n"
                                               << info(0, 0, 0, 123, 0, 1);
        QTest::newRow("four digits, no unit: nothing left")
            << off + "AverageTimeToEmpty: 50 mins\nAverageTimeToEmpty: 1234\n"
            << info(0, 0, 0, 50, 0, 1);
        QTest::newRow("not a number stores 0")
            << off + "AverageTimeToEmpty: 50 mins\nAverageTimeToEmpty: soon mins\n"
            << info(0, 0, 0, 0, 0, 1);
        QTest::newRow("to full") << QByteArray("AC attached: Yes\nAverageTimeToFull:   42 mins\n")
                                 << info(0, 0, 42, 0, 0, 0);
        QTest::newRow("percent sign") << off + "RelativeStateofCharge: 87%\n"
                                      << info(0, 0, 0, 0, 87, 1);
        QTest::newRow("percent after a blank") << off + "RelativeStateofCharge: 87 %\n"
                                               << info(0, 0, 0, 0, 87, 1);
        QTest::newRow("capacities") << off + "RemainingCapacity: 3828.5 mWh\nFullChargeCapacity: "
                                             "4400 mWh\n"
                                    << info(4400, 3828.5f, 0, 0, 0, 1);
        QTest::newRow("no status: mains time")
            << QByteArray("AverageTimeToFull: 30 mins\n") << info(0, 0, 30, 0, 0, -1);
        QTest::newRow("unknown labels skipped")
            << off + "RunTimeToEmpty: 77 minutes\nCycle Count: 12x\n"
            << info(0, 0, 0, 0, 0, 1);
    }
    void cutValues()
    {
        QFETCH(QByteArray, state);
        QFETCH(BatInfo, expected);
        laptop::writeFile(state0, state);
        compareInfo(gaugeparts::readingsOf(0), expected);
    }

    // A state file that opens but cannot be read, and one that is missing.
    void noReading()
    {
        laptop::battery(0, {QStringLiteral("readable=no")});
        compareInfo(gaugeparts::readingsOf(0), info(0, 0, 0, 0, 0, -1));
        QCOMPARE(battery::statusText(gaugeparts::readingsOf(0).status),
                 QStringLiteral("no battery reading"));

        laptop::battery(0, {QStringLiteral("present=no")});
        compareInfo(gaugeparts::readingsOf(0), info(0, 0, 0, 0, 0, -1));
        compareInfo(gaugeparts::readingsOf(1), info(0, 0, 0, 0, 0, -1));
    }

    void negativeIndexTouchesNothing()
    {
        QSignalSpy layout(m_host.get(), &KPanelApplet::updateLayout);
        QVERIFY(!m_frame->oldStatus());
        QCOMPARE(m_frame->get_batteryStatusIndex(-1), -1);
        compareInfo(m_frame->get_batteryInfo(-1), info(0, 0, 0, 0, 0, -1));
        QVERIFY(!m_frame->oldStatus());
        QCOMPARE(layout.count(), 0);
    }

    void statusText_data()
    {
        QTest::addColumn<QStringList>("settings");
        QTest::addColumn<QString>("text");
        QTest::newRow("charging") << QStringList{QStringLiteral("ac=yes")}
                                  << QStringLiteral("charging");
        QTest::newRow("battery") << QStringList{QStringLiteral("ac=no")}
                                 << QStringLiteral("Running on batteries");
        QTest::newRow("full") << QStringList{QStringLiteral("ac=yes"), QStringLiteral("charge=100")}
                              << QStringLiteral("full charged");
    }
    void statusText()
    {
        QFETCH(QStringList, settings);
        QFETCH(QString, text);
        laptop::battery(0, settings);
        QCOMPARE(battery::statusText(gaugeparts::readingsOf(0).status), text);
    }

    // The applet is 150 px wide on mains power and 110 px otherwise; only a
    // change of the power source resizes it and asks the panel for a new
    // layout. Each refresh reads the batteries.
    void widthFollowsPowerSource()
    {
        QSignalSpy layout(m_host.get(), &KPanelApplet::updateLayout);
        QCOMPARE(m_host->minimumWidth(), 150);
        QCOMPARE(m_host->maximumWidth(), 150);
        QVERIFY(!m_frame->oldStatus());

        laptop::mains(false);
        refresh();
        QCOMPARE(layout.count(), 1);
        QCOMPARE(m_host->minimumWidth(), 110);
        QCOMPARE(m_host->maximumWidth(), 110);
        QVERIFY(m_frame->oldStatus());
        refresh();
        refresh();
        QCOMPARE(layout.count(), 1);

        laptop::mains(true);
        refresh();
        refresh();
        QCOMPARE(layout.count(), 2);
        QCOMPARE(m_host->minimumWidth(), 150);
        QVERIFY(!m_frame->oldStatus());

        // Full on mains is still mains.
        laptop::battery(0, {QStringLiteral("charge=100")});
        refresh();
        QCOMPARE(layout.count(), 2);

        // Readings without a status count as not on mains, once.
        laptop::battery(0, {QStringLiteral("readable=no")});
        for (int i = 0; i < 3; ++i) {
            refresh();
        }
        QCOMPARE(layout.count(), 3);
        QCOMPARE(m_host->maximumWidth(), 110);
        laptop::mains(false);
        laptop::battery(0, {QStringLiteral("readable=yes")});
        refresh();
        QCOMPARE(layout.count(), 3);
    }

    void batteryLife_data()
    {
        QTest::addColumn<int>("cycles");
        QTest::addColumn<int>("lastFull");
        QTest::addColumn<int>("design");
        QTest::addColumn<int>("wear");
        QTest::newRow("87 %") << 0 << 87 << 100 << 0;
        QTest::newRow("86 %") << 0 << 86 << 100 << 1;
        QTest::newRow("65 %") << 0 << 65 << 100 << 1;
        QTest::newRow("64 %") << 0 << 64 << 100 << 2;
        QTest::newRow("no capacity") << 0 << 0 << 100 << -2;
        QTest::newRow("no design") << 3 << 50 << 0 << -2;
        QTest::newRow("negative cycles") << -1 << 87 << 100 << -1;
        QTest::newRow("negative cycles, no capacity") << -1 << 0 << 0 << -1;
        QTest::newRow("large capacities") << 5 << 2000000000 << 2100000000 << 0;
    }
    void batteryLife()
    {
        QFETCH(int, cycles);
        QFETCH(int, lastFull);
        QFETCH(int, design);
        QFETCH(int, wear);
        QCOMPARE(battery::batteryLife(cycles, lastFull, design), wear);
    }

    // The published reading functions give what the readings give, battery
    // 0's status text whatever the argument says, and keep the width in step
    // with the power source they read.
    void publishedInterface()
    {
        QSignalSpy layout(m_host.get(), &KPanelApplet::updateLayout);
        for (const bool mains : {true, false}) {
            laptop::mains(mains);
            const BatInfo expected = gaugeparts::readingsOf(0);
            compareInfo(m_frame->get_batteryInfo(0), expected);
            QCOMPARE(m_frame->get_batteryStatusIndex(0), expected.status);
            QCOMPARE(m_frame->get_batteryStatus(55), battery::statusText(expected.status));
            QCOMPARE(m_frame->oldStatus(), !mains);
        }
        QCOMPARE(layout.count(), 1);
        laptop::battery(1, {QStringLiteral("present=yes"), QStringLiteral("ac=yes"),
                            QStringLiteral("charge=40")});
        compareInfo(m_frame->get_batteryInfo(1), gaugeparts::readingsOf(1));
        QCOMPARE(layout.count(), 2);
        QCOMPARE(m_frame->GetBatteryLife(0, 64, 100), 2);
        QCOMPARE(m_frame->GetBatteryLife(-1, 87, 100), -1);
    }
};

QTEST_MAIN(TestReadings)
#include "tst_readings.moc"
