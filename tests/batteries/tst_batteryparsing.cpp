// SPDX-License-Identifier: GPL-2.0-or-later
// Property of the applet's state file parser: on generated state texts in
// the module's format, with its lines in any order, either line end and any
// run of blanks behind the labels, every reading comes back as written and
// the time that applies follows the power source.

#include "batteries/appletreading.h"

#include <QRandomGenerator>
#include <QStringList>
#include <QTest>

#include <algorithm>
#include <string_view>

namespace {

using batteries::BatteryInfo;

struct Generated
{
    QByteArray text;
    BatteryInfo written;
    bool onMains;
};

Generated generate(QRandomGenerator& random)
{
    Generated g{};
    g.onMains = random.bounded(2) == 0;
    BatteryInfo& w = g.written;
    w.perC = random.bounded(101);
    w.toNulltime = random.bounded(1000);
    w.toFulltime = random.bounded(1000);
    w.nowC = float(random.bounded(100000)) / 10.0f;
    w.lastFullC = float(random.bounded(100000)) / 10.0f;

    QList<QByteArray> lines = {
        "AC attached:" + QByteArray(g.onMains ? "Yes" : "No"),
        "RelativeStateofCharge:" + QByteArray::number(w.perC) + '%',
        "RemainingCapacity:" + QByteArray::number(w.nowC, 'f', 1) + " mWh",
        "FullChargeCapacity:" + QByteArray::number(w.lastFullC, 'f', 1) + " mWh",
        "RunTimeToEmpty:" + QByteArray::number(random.bounded(1000)) + " minutes",
        "AverageTimeToEmpty:" + QByteArray::number(w.toNulltime) + " mins",
        "AverageTimeToFull:" + QByteArray::number(w.toFulltime) + " mins",
        "Voltage:11.100 V",
        "FullyCharged:0",
    };
    std::shuffle(lines.begin(), lines.end(), random);
    const QByteArray lineEnd = random.bounded(2) == 0 ? "\n" : "\r\n";
    for (QByteArray& line : lines) {
        const int colon = line.indexOf(':') + 1;
        line.insert(colon, QByteArray(random.bounded(12), random.bounded(2) ? ' ' : '\t'));
        g.text += line + lineEnd;
    }
    return g;
}

} // namespace

class TestBatteryParsing : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readingsComeBackAsWritten()
    {
        QRandomGenerator random(1713);
        for (int i = 0; i < 500; ++i) {
            const Generated g = generate(random);
            const std::string_view text(g.text.constData(), std::size_t(g.text.size()));
            const batteries::PowerState state = batteries::readStatus(text);
            QCOMPARE(state.acIndex, g.onMains ? 0 : 1);
            QVERIFY(!state.fullyCharged);

            const BatteryInfo info = batteries::bayOf(text).info;
            const BatteryInfo& w = g.written;
            QVERIFY2(info.perC == w.perC && info.toNulltime == w.toNulltime &&
                         info.toFulltime == w.toFulltime && info.nowC == w.nowC &&
                         info.lastFullC == w.lastFullC,
                     g.text.constData());
            QCOMPARE(info.bAC, g.onMains);
            QCOMPARE(info.iTime, g.onMains ? w.toFulltime : w.toNulltime);
        }
    }
};

QTEST_GUILESS_MAIN(TestBatteryParsing)
#include "tst_batteryparsing.moc"
