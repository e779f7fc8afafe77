// SPDX-License-Identifier: GPL-2.0-or-later
// When the applet warns of a low battery, on generated sequences of
// readings: at 10 % and at 5 % while on battery, once per level, never while
// charging or full, again only after the charge has risen above the level.
#include "applet/lowbatterywarning.h"

#include <QRandomGenerator>
#include <QtTest>

#include <optional>
#include <vector>

namespace {

struct Reading
{
    std::optional<int> per;
    bool onBattery;
};

struct Warning
{
    int step;
    int level;
    bool operator==(const Warning& other) const
    {
        return step == other.step && level == other.level;
    }
};

std::vector<Warning> warningsOf(const std::vector<Reading>& readings)
{
    LowBatteryWarning rule;
    std::vector<Warning> warnings;
    for (int i = 0; i < int(readings.size()); ++i) {
        if (const std::optional<int> level = rule.reading(readings[i].per, readings[i].onBattery)) {
            warnings.push_back({i, *level});
        }
    }
    return warnings;
}

// A discharge or charge from `from` to `to` in steps of one percent.
void ramp(std::vector<Reading>& readings, int from, int to, bool onBattery)
{
    const int step = from <= to ? 1 : -1;
    for (int per = from; per != to + step; per += step) {
        readings.push_back({per, onBattery});
    }
}

// A charge that wanders up and down, the power source changing now and then.
std::vector<Reading> randomWalk(quint32 seed, int length)
{
    QRandomGenerator random(seed);
    std::vector<Reading> readings;
    int per = random.bounded(0, 101);
    bool onBattery = true;
    for (int i = 0; i < length; ++i) {
        if (random.bounded(20) == 0) {
            onBattery = !onBattery;
        }
        per = qBound(0, per + random.bounded(-3, 4), 100);
        readings.push_back({per, onBattery});
    }
    return readings;
}

QString show(const std::vector<Warning>& warnings)
{
    QStringList out;
    for (const Warning& w : warnings) {
        out << QStringLiteral("%1@%2").arg(w.level).arg(w.step);
    }
    return out.join(QLatin1Char(' '));
}

} // namespace

class TestLowBattery : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void dischargeWarnsAtTenAndAtFive()
    {
        std::vector<Reading> readings;
        ramp(readings, 100, 0, true);
        // Step i reads 100 - i percent.
        const std::vector<Warning> expected{{90, 10}, {95, 5}};
        QCOMPARE(show(warningsOf(readings)), show(expected));
    }

    void chargingOrFullNeverWarns()
    {
        std::vector<Reading> readings;
        ramp(readings, 100, 0, false);
        ramp(readings, 0, 100, false);
        QVERIFY(warningsOf(readings).empty());
    }

    void warnsAgainOnlyAboveTheLevel()
    {
        std::vector<Reading> readings;
        ramp(readings, 12, 9, true);   // 12 11 10 9: warns at 10 (step 2)
        ramp(readings, 10, 10, false); // charging back to 10 only: not above it
        ramp(readings, 9, 8, true);    // no second warning
        ramp(readings, 9, 11, false);  // charged above 10
        ramp(readings, 10, 10, true);  // warns again (step 10)
        QCOMPARE(show(warningsOf(readings)), show({{2, 10}, {10, 10}}));
    }

    void unpluggedBelowTheLevelWarns()
    {
        // Charging at 8 % says nothing; pulling the plug there does.
        const std::vector<Reading> readings{{8, false}, {8, false}, {8, true}, {8, true}};
        QCOMPARE(show(warningsOf(readings)), show({{2, 10}}));
    }

    void fallingPastBothLevelsWarnsOnce()
    {
        const std::vector<Reading> readings{{50, true}, {3, true}, {4, true}, {9, true}};
        QCOMPARE(show(warningsOf(readings)), show({{1, 5}}));
    }

    void readingsWithoutACharge()
    {
        // Unknown charges neither warn nor re-arm.
        const std::vector<Reading> readings{
            {std::nullopt, true}, {-5, true},           {101, true}, {9, true},
            {101, true},          {std::nullopt, true}, {9, true}};
        QCOMPARE(show(warningsOf(readings)), show({{3, 10}}));
    }

    // On random walks: every warning comes on battery at or below its level;
    // a level warns only when nothing warned of it (or of a lower level)
    // since the charge was last above it; and every reading on battery at or
    // below a level is covered by such a warning.
    void randomWalksKeepTheRule()
    {
        int total = 0;
        for (quint32 seed = 1; seed <= 200; ++seed) {
            const std::vector<Reading> readings = randomWalk(seed, 600);
            const std::vector<Warning> warnings = warningsOf(readings);
            total += int(warnings.size());
            for (const int level : {LowBatteryWarning::FirstLevel, LowBatteryWarning::LastLevel}) {
                bool covered = false;
                std::size_t next = 0;
                for (int i = 0; i < int(readings.size()); ++i) {
                    const Reading& r = readings[std::size_t(i)];
                    const QString where =
                        QStringLiteral("seed %1 step %2 level %3: ").arg(seed).arg(i).arg(level);
                    if (*r.per > level) {
                        covered = false;
                    }
                    for (; next < warnings.size() && warnings[next].step == i; ++next) {
                        const Warning& w = warnings[next];
                        QVERIFY2(r.onBattery && *r.per <= w.level,
                                 qPrintable(where + QStringLiteral("warned above it")));
                        if (w.level == level) {
                            QVERIFY2(!covered, qPrintable(where + QStringLiteral("warned again")));
                        }
                        if (w.level <= level) {
                            covered = true;
                        }
                    }
                    if (r.onBattery && *r.per <= level) {
                        QVERIFY2(covered, qPrintable(where + QStringLiteral("no warning")));
                    }
                }
            }
        }
        // The walks reach the low levels often.
        QVERIFY2(total > 200, qPrintable(QString::number(total)));
    }
};

QTEST_GUILESS_MAIN(TestLowBattery)
#include "tst_lowbattery.moc"
