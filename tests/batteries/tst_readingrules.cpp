// SPDX-License-Identifier: GPL-2.0-or-later
// The popup's and the applet's rules for the battery module's state files
// side by side (batteries/readingrules.h): on generated texts in the
// module's own format both read the same power source, charge, capacities
// and times; a line made for a difference the rules name changes what they
// read in that way, and nothing else.

#include "batteries/appletreading.h"
#include "batteries/popupreading.h"
#include "common/batterystatetext.h"

#include <QByteArrayList>
#include <QRandomGenerator>
#include <QTest>

#include <algorithm>
#include <string_view>

namespace {

std::string_view viewOf(const QByteArray& bytes)
{
    return std::string_view(bytes.constData(), std::size_t(bytes.size()));
}

// The readings both programs take, named alike.
struct Readings
{
    int mains; // 0 mains, 1 battery, -1 unknown
    int charge;
    double remaining, full;
    int toEmpty, toFull;
};

Readings popupReadings(const QByteArray& text)
{
    RBatState r;
    ParseBatState(text, r);
    return {r.ACState == 0 ? 0 : 1, r.RelativeStateOfCharge, r.RemainingCapacity,
            r.FullChargeCapacity,   r.AverageTimeToEmpty,    r.AverageTimeToFull};
}

Readings appletReadings(const QByteArray& text)
{
    const batteries::Bay bay = batteries::bayOf(viewOf(text));
    const batteries::BatteryInfo& i = bay.info;
    return {bay.power.acIndex, i.perC, i.nowC, i.lastFullC, i.toNulltime, i.toFulltime};
}

// The readings in which the two differ, as "name popup applet" each.
QByteArrayList differences(const QByteArray& text)
{
    const Readings p = popupReadings(text), a = appletReadings(text);
    QByteArrayList found;
    const auto compare = [&found](const char* name, double popup, double applet) {
        if (popup != applet) {
            found << name + (' ' + QByteArray::number(popup)) + ' ' + QByteArray::number(applet);
        }
    };
    compare("mains", p.mains, a.mains);
    compare("charge", p.charge, a.charge);
    compare("remaining", p.remaining, a.remaining);
    compare("full", p.full, a.full);
    compare("toEmpty", p.toEmpty, a.toEmpty);
    compare("toFull", p.toFull, a.toFull);
    return found;
}

// One line as the module writes it: label, colon, blanks to column 29, value.
QByteArray field(const char* label, const QByteArray& value)
{
    return (QByteArray(label) + ':').leftJustified(28) + ' ' + value;
}

QByteArray moduleText(QRandomGenerator& random)
{
    const bool mains = random.bounded(2) == 0;
    const int charge = random.bounded(101);
    const int full = 1000 + random.bounded(9000);
    QByteArrayList lines = {
        field("AC attached", mains ? "Yes" : "No"),
        field("Voltage", "11.100 V"),
        field("Average Current", QByteArray::number(random.bounded(4000) - 2000) + " mA"),
        field("RelativeStateofCharge", QByteArray::number(charge) + '%'),
        field("RemainingCapacity", QByteArray::number(full * charge / 100) + " mWh"),
        field("FullChargeCapacity", QByteArray::number(full) + " mWh"),
        field("RunTimeToEmpty", QByteArray::number(random.bounded(65536)) + " minutes"),
        field("AverageTimeToEmpty", QByteArray::number(random.bounded(65536)) + " mins"),
        field("AverageTimeToFull", QByteArray::number(random.bounded(65536)) + " mins"),
        field("FullyCharged", mains && charge == 100 ? "1" : "0"),
        field("Cycle Count", QByteArray::number(random.bounded(1000)) + 'x'),
    };
    std::shuffle(lines.begin(), lines.end(), random);
    return lines.join(random.bounded(2) == 0 ? "\n" : "\r\n") + '\n';
}

} // namespace

class TestReadingRules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void moduleFormatReadsAlike()
    {
        QRandomGenerator random(29);
        for (int i = 0; i < 500; ++i) {
            const QByteArray text = moduleText(random);
            QVERIFY2(differences(text).isEmpty(), differences(text).join('\n') + '\n' + text);
            // The power source alone, as the popup asks its source for it.
            const bool mains = popupReadings(text).mains == 0;
            QCOMPARE(batteries::popupPowerSource(viewOf(text)),
                     mains ? batteries::PowerSource::Mains : batteries::PowerSource::Battery);
        }
    }

    void namedDifferences_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QByteArrayList>("expected"); // "reading popup applet"
        const auto row = [](const char* rule, const char* line, QByteArrayList expected) {
            QTest::newRow(rule) << QByteArray(line) << expected;
        };
        row("lines: a carriage return inside", "RelativeStateofCharge: 8\r7%", {"charge 87 0"});
        row("labels: one per line, or each in turn",
            "AverageTimeToEmpty: AverageTimeToFull: 42 mins", {"toEmpty 95 0", "toFull -2 42"});
        row("numbers: the unit after the last blank, or of a fixed length",
            "AverageTimeToFull: 42 min", {"toFull 42 4"});
        row("numbers: no number", "RelativeStateofCharge: x%", {"charge -2 0"});
        row("numbers: an empty value", "RelativeStateofCharge:", {"charge -1 55"});
        row("mains: exactly Yes, or holding it", "AC attached: Yes ", {"mains 1 0"});
        row("mains: neither word", "AC attached: yes", {"mains 1 0"});
    }
    void namedDifferences()
    {
        QFETCH(QByteArray, line);
        QFETCH(QByteArrayList, expected);
        const QByteArray before = field("AC attached", "Yes") + '\n' +
                                  field("RelativeStateofCharge", "55%") + '\n' +
                                  field("AverageTimeToEmpty", "95 mins") + '\n' +
                                  field("AverageTimeToFull", "50 mins") + '\n';
        QVERIFY(differences(before).isEmpty());
        QCOMPARE(differences(before + line + '\n'), expected);
    }
};

QTEST_GUILESS_MAIN(TestReadingRules)
#include "tst_readingrules.moc"
