// SPDX-License-Identifier: GPL-2.0-or-later
// UPower as the battery source, against the real upowerd of the laptop of
// today (laptop/sandbox --today), as its user: the bays and the power source
// follow what laptop/todaysim changes, told by UPower's signals; UPower
// restarted comes back, stopped leaves no battery, and no call ever waits
// past its bound. The popup's question for the power source goes the same
// way. With --upower-mock hang the service owns its name and never answers.

#include "common/UPMComm.h"
#include "machine/answersahead.h"
#include "machine/machine.h"
#include "upower/batterysource.h"
#include "upower/powersourceprobe.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

namespace {

// Runs laptop/todaysim; each command returns once UPower shows its change.
void todaysim(const QStringList& arguments)
{
    QProcess sim;
    sim.start(qEnvironmentVariable("LAPTOP_SRC") + QStringLiteral("/todaysim"), arguments);
    QVERIFY2(sim.waitForFinished(20000), qPrintable(arguments.join(QLatin1Char(' '))));
    QVERIFY2(sim.exitStatus() == QProcess::NormalExit && sim.exitCode() == 0,
             qPrintable(arguments.join(QLatin1Char(' ')) + QLatin1Char(' ') +
                        QString::fromLocal8Bit(sim.readAllStandardError())));
}

// Each call of the seam returns at once, from what the source keeps.
void answersAtOnce(upower::BatterySource& source)
{
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < 1000; ++i) {
        source.bay(0);
        source.bay(1);
        source.powerSource();
    }
    QVERIFY2(clock.elapsed() < 100, qPrintable(QString::number(clock.elapsed())));
}

constexpr int Waiting = 10000; // ms; every change is told well before

} // namespace

class TestUPowerSource : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void followsTheLaptop();
    void hungServiceNeverHolds();
    void answerAskedAheadServesOneQuestion();
};

void TestUPowerSource::followsTheLaptop()
{
    QCOMPARE(machine::thisMachine().battery, machine::BatterySource::UPower);
    upower::BatterySource source;
    QSignalSpy sourceChanges(&source, &upower::BatterySource::powerSourceChanged);

    // The battery at 87 %, charging on mains; the mouse is no second bay.
    QTRY_VERIFY_WITH_TIMEOUT(source.bay(0).present, Waiting);
    QTRY_COMPARE_WITH_TIMEOUT(source.powerSource().source, batteries::PowerSource::Mains, Waiting);
    batteries::Bay bay = source.bay(0);
    QVERIFY(bay.known);
    QCOMPARE(bay.info.perC, 87);
    QCOMPARE(bay.info.status, 0);
    QVERIFY(bay.info.bAC);
    QCOMPARE(qRound(bay.info.lastFullC), 48000);
    QCOMPARE(qRound(bay.info.nowC), 41760);
    QVERIFY(!source.bay(1).present);
    QCOMPARE(GetPowerState(), 0);
    answersAtOnce(source);

    // Unplugged: on the battery, 3.48 h left (12528 s), told by a signal.
    sourceChanges.clear();
    todaysim({QStringLiteral("mains"), QStringLiteral("off")});
    QTRY_COMPARE_WITH_TIMEOUT(source.bay(0).info.status, 1, Waiting);
    QTRY_COMPARE_WITH_TIMEOUT(source.bay(0).info.toNulltime, 12528 / 60, Waiting);
    QCOMPARE(source.bay(0).info.iTime, 12528 / 60);
    QCOMPARE(source.powerSource().source, batteries::PowerSource::Battery);
    QCOMPARE(sourceChanges.count(), 1);
    QCOMPARE(sourceChanges.first().first().value<batteries::PowerSource>(),
             batteries::PowerSource::Battery);
    QCOMPARE(GetPowerState(), 1);

    // Drained.
    todaysim({QStringLiteral("set"), QStringLiteral("0"), QStringLiteral("charge=50"),
              QStringLiteral("rate=8")});
    QTRY_COMPARE_WITH_TIMEOUT(source.bay(0).info.perC, 50, Waiting);
    QTRY_COMPARE_WITH_TIMEOUT(source.bay(0).info.toNulltime, 180, Waiting);
    todaysim({QStringLiteral("step"), QStringLiteral("5")});
    QTRY_COMPARE_WITH_TIMEOUT(source.bay(0).info.perC, 45, Waiting);

    // Taken out and put back.
    todaysim({QStringLiteral("set"), QStringLiteral("0"), QStringLiteral("present=no")});
    QTRY_VERIFY_WITH_TIMEOUT(!source.bay(0).present, Waiting);
    todaysim({QStringLiteral("set"), QStringLiteral("0"), QStringLiteral("present=yes")});
    QTRY_VERIFY_WITH_TIMEOUT(source.bay(0).present, Waiting);

    // A new upowerd: asked again, the same readings.
    todaysim({QStringLiteral("upower"), QStringLiteral("restart")});
    QTRY_VERIFY_WITH_TIMEOUT(source.bay(0).present, Waiting);
    QTRY_COMPARE_WITH_TIMEOUT(source.bay(0).info.perC, 45, Waiting);
    QTRY_COMPARE_WITH_TIMEOUT(source.powerSource().source, batteries::PowerSource::Battery,
                              Waiting);

    // UPower gone: no battery, the power source unknown, and no wait.
    todaysim({QStringLiteral("upower"), QStringLiteral("stop")});
    QTRY_VERIFY_WITH_TIMEOUT(!source.bay(0).present, Waiting);
    QCOMPARE(source.powerSource().source, batteries::PowerSource::Unknown);
    answersAtOnce(source);
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(GetPowerState(), -1);
    QVERIFY2(clock.elapsed() < 600, qPrintable(QString::number(clock.elapsed())));

    // Back, plugged in meanwhile.
    todaysim({QStringLiteral("upower"), QStringLiteral("start")});
    todaysim({QStringLiteral("mains"), QStringLiteral("on")});
    QTRY_COMPARE_WITH_TIMEOUT(source.powerSource().source, batteries::PowerSource::Mains, Waiting);
    QTRY_COMPARE_WITH_TIMEOUT(source.bay(0).info.status, 0, Waiting);
    QCOMPARE(GetPowerState(), 0);
}

void TestUPowerSource::hungServiceNeverHolds()
{
    QElapsedTimer clock;
    clock.start();
    upower::BatterySource source;
    QVERIFY2(clock.elapsed() < 500, qPrintable(QString::number(clock.elapsed())));
    answersAtOnce(source);
    QVERIFY(!source.bay(0).present);
    QCOMPARE(source.powerSource().source, batteries::PowerSource::Unknown);

    clock.restart();
    QCOMPARE(upower::PowerSourceProbe().powerSource().source, batteries::PowerSource::Unknown);
    const qint64 asked = clock.elapsed();
    QVERIFY2(asked >= 400 && asked < 1500, qPrintable(QString::number(asked)));
    // Its answers never come: past the bound, still nothing, never held up.
    QTest::qWait(int(upower::BatterySource::ReplyBound.count()) + 200);
    QVERIFY(!source.bay(0).present);
}

void TestUPowerSource::answerAskedAheadServesOneQuestion()
{
    const QDBusMessage onBattery = machine::onBatteryQuestion();
    const auto askedSource = [] { return upower::PowerSourceProbe().powerSource().source; };

    // Asked ahead on mains, unplugged before the popup asks: the popup takes
    // the answer of its start; the next question is asked anew.
    machine::askAhead(onBattery, upower::PowerSourceProbe::Bound);
    todaysim({QStringLiteral("mains"), QStringLiteral("off")});
    QCOMPARE(askedSource(), batteries::PowerSource::Mains);
    QCOMPARE(askedSource(), batteries::PowerSource::Battery);

    // Taken once, never asked ahead again: no later question gets an old answer.
    machine::askAhead(onBattery, upower::PowerSourceProbe::Bound);
    todaysim({QStringLiteral("mains"), QStringLiteral("on")});
    QCOMPARE(askedSource(), batteries::PowerSource::Mains);
    QVERIFY(!machine::takeAnswerAhead(onBattery, upower::PowerSourceProbe::Bound));
}

QTEST_GUILESS_MAIN(TestUPowerSource)
#include "tst_upowersource.moc"
