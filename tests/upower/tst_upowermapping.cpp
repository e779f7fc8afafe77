// SPDX-License-Identifier: GPL-2.0-or-later
// UPower's properties read as the battery module's bays, on generated
// devices: every bay keeps the invariants the gauge relies on, a battery
// reads as the same battery written in the module's state file would, only
// laptop batteries become bays and in the order of their paths, and a
// property map is taken only in UPower's own types.

#include "batteries/appletreading.h"
#include "upower/bayreading.h"
#include "upower/propertymap.h"

#include <QDBusVariant>
#include <QRandomGenerator>
#include <QTest>

#include <cmath>
#include <limits>
#include <string>

using upower::DeviceProperties;
using upower::State;

namespace {

constexpr int Cases = 20000;

class Generator
{
public:
    explicit Generator(quint32 seed) : m_random(seed) {}

    int between(int low, int high) { return int(m_random.bounded(low, high + 1)); }
    bool chance(int percent) { return between(1, 100) <= percent; }

    // A value UPower might send, and some it should not.
    double oddDouble(double usualHigh)
    {
        switch (between(0, 9)) {
        case 0:
            return std::numeric_limits<double>::quiet_NaN();
        case 1:
            return std::numeric_limits<double>::infinity();
        case 2:
            return -m_random.generateDouble() * 1e9;
        case 3:
            return 1e300;
        default:
            return m_random.generateDouble() * usualHigh;
        }
    }
    std::int64_t oddSeconds()
    {
        switch (between(0, 7)) {
        case 0:
            return 0;
        case 1:
            return -between(1, 100000);
        case 2:
            return std::numeric_limits<std::int64_t>::max() - between(0, 5);
        case 3:
            return std::numeric_limits<std::int64_t>::min();
        default:
            return between(1, 86400);
        }
    }

    DeviceProperties device()
    {
        DeviceProperties d;
        d.received = chance(95);
        d.type = chance(70) ? upower::BatteryType : quint32(between(0, 12));
        d.powerSupply = chance(80);
        d.isPresent = chance(85);
        d.percentage = oddDouble(100.0);
        d.state = quint32(between(0, 8));
        d.timeToEmpty = oddSeconds();
        d.timeToFull = oddSeconds();
        d.energy = oddDouble(60.0);
        d.energyFull = oddDouble(60.0);
        return d;
    }
    std::optional<bool> onBattery()
    {
        if (chance(10)) {
            return std::nullopt;
        }
        return chance(50);
    }

private:
    QRandomGenerator m_random;
};

quint32 seed()
{
    const quint32 value = QRandomGenerator::global()->generate();
    qInfo("seed %u", value);
    return value;
}

// The status index the module's files would give: from OnBattery, else from
// the battery's own state; full only on mains.
int expectedStatus(const DeviceProperties& d, std::optional<bool> onBattery)
{
    const bool full = State(d.state) == State::FullyCharged;
    int ac = -1;
    if (onBattery) {
        ac = *onBattery ? 1 : 0;
    } else if (d.state == 1 || d.state == 4 || d.state == 5) {
        ac = 0;
    } else if (d.state == 2 || d.state == 3 || d.state == 6) {
        ac = 1;
    }
    return full && ac == 0 ? 2 : ac;
}

// A laptop battery of the given readings, in UPower's words.
DeviceProperties laptopBattery(double percent, double energy, double full, std::uint32_t state,
                               std::int64_t toEmpty, std::int64_t toFull)
{
    return {true, upower::BatteryType, true, true, percent, state, toEmpty, toFull, energy, full};
}

std::string field(const char* label, const std::string& value)
{
    std::string line = std::string(label) + ':';
    line.resize(std::max<std::size_t>(line.size(), 28), ' ');
    return line + ' ' + value + '\n';
}

} // namespace

class TestUPowerMapping : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void generatedDevicesReadAsBays();
    void batteryReadsAsTheModuleWritesIt();
    void onlyLaptopBatteriesInPathOrderAreBays();
    void propertyMapsAreTakenInUPowerTypesOnly();
};

void TestUPowerMapping::generatedDevicesReadAsBays()
{
    Generator g(seed());
    for (int i = 0; i < Cases; ++i) {
        const DeviceProperties d = g.device();
        const std::optional<bool> onBattery = g.onBattery();
        const batteries::Bay bay = upower::bayOf(d, onBattery);
        const batteries::BatteryInfo& info = bay.info;
        const bool shown =
            d.received && d.type == upower::BatteryType && d.powerSupply && d.isPresent;
        QCOMPARE(bay.present, shown);
        if (!shown) {
            QVERIFY(!bay.known);
            QCOMPARE(info.status, -1);
            QCOMPARE(info.perC + info.toFulltime + info.toNulltime + info.iTime, 0);
            QCOMPARE(info.nowC + info.lastFullC, 0.0f);
            continue;
        }
        QVERIFY(bay.known);
        QVERIFY2(info.perC >= 0 && info.perC <= 100, qPrintable(QString::number(info.perC)));
        QVERIFY(info.toFulltime >= 0 && info.toNulltime >= 0);
        QVERIFY(std::isfinite(info.nowC) && info.nowC >= 0);
        QVERIFY(std::isfinite(info.lastFullC) && info.lastFullC >= 0);
        QCOMPARE(info.status, expectedStatus(d, onBattery));
        QCOMPARE(bay.power.acIndex, info.status == 2 ? 0 : info.status);
        QCOMPARE(info.bAC, info.status != 1);
        QCOMPARE(info.iTime, info.bAC ? info.toFulltime : info.toNulltime);
        // In range, each value comes through in the module's units.
        if (d.percentage >= 0 && d.percentage <= 100) {
            QCOMPARE(info.perC, int(std::lround(d.percentage)));
        }
        if (d.timeToEmpty >= 0 && d.timeToEmpty <= 86400) {
            QCOMPARE(info.toNulltime, int(d.timeToEmpty / 60));
        }
        if (d.energy >= 0 && d.energy <= 60) {
            QCOMPARE(info.nowC, float(d.energy * 1000.0));
        }
        QCOMPARE(upower::powerSourceOf(onBattery),
                 !onBattery ? batteries::PowerSource::Unknown
                            : (*onBattery ? batteries::PowerSource::Battery
                                          : batteries::PowerSource::Mains));
    }
}

// The same battery in UPower's words and in the module's state file (as
// the battery simulator writes it) is the same bay: status, charge, times
// and capacities, so the gauge paints and words it alike.
void TestUPowerMapping::batteryReadsAsTheModuleWritesIt()
{
    Generator g(seed());
    for (int i = 0; i < Cases / 10; ++i) {
        const bool onMains = g.chance(50);
        const int percent = g.between(0, 100);
        const int fullMWh = g.between(1, 99) * 1000;
        const int remainingMWh = fullMWh / 100 * percent;
        const int minutes = g.between(0, 600);
        const bool full = onMains && percent == 100;
        const std::uint32_t state =
            full ? 4 : (onMains ? (g.chance(80) ? 1 : 5) : (percent == 0 ? 3 : 2));

        const std::string text =
            field("AC attached", onMains ? "Yes" : "No") +
            field("RelativeStateofCharge", std::to_string(percent) + "%") +
            field("RemainingCapacity", std::to_string(remainingMWh) + " mWh") +
            field("FullChargeCapacity", std::to_string(fullMWh) + " mWh") +
            field("AverageTimeToEmpty", std::to_string(onMains ? 0 : minutes) + " mins") +
            field("AverageTimeToFull", std::to_string(onMains ? minutes : 0) + " mins") +
            field("FullyCharged", full ? "1" : "0");
        const batteries::Bay module = batteries::bayOf(std::string_view(text));
        const batteries::Bay fromUPower =
            upower::bayOf(laptopBattery(percent, remainingMWh / 1000.0, fullMWh / 1000.0, state,
                                        onMains ? 0 : minutes * 60 + g.between(0, 59),
                                        onMains ? minutes * 60 + g.between(0, 59) : 0),
                          !onMains);

        const QByteArray what = QByteArray::fromStdString(text);
        QVERIFY2(fromUPower.present == module.present && fromUPower.known == module.known, what);
        QCOMPARE(fromUPower.power.acIndex, module.power.acIndex);
        QCOMPARE(fromUPower.power.fullyCharged, module.power.fullyCharged);
        const batteries::BatteryInfo &u = fromUPower.info, &m = module.info;
        QVERIFY2(u.status == m.status && u.bAC == m.bAC && u.iTime == m.iTime, what);
        QVERIFY2(u.perC == m.perC && u.toFulltime == m.toFulltime && u.toNulltime == m.toNulltime,
                 what);
        QVERIFY2(qFuzzyCompare(1.0f + u.nowC, 1.0f + m.nowC), what);
        QVERIFY2(qFuzzyCompare(u.lastFullC, m.lastFullC), what);
    }
}

void TestUPowerMapping::onlyLaptopBatteriesInPathOrderAreBays()
{
    Generator g(seed());
    for (int i = 0; i < Cases / 10; ++i) {
        std::vector<DeviceProperties> devices(std::size_t(g.between(0, 6)));
        for (DeviceProperties& d : devices) {
            d = g.device();
        }
        const std::optional<bool> onBattery = g.onBattery();
        const auto bays = upower::baysOf(devices, onBattery);

        std::vector<batteries::Bay> expected;
        for (const DeviceProperties& d : devices) {
            if (d.received && d.type == upower::BatteryType && d.powerSupply) {
                expected.push_back(upower::bayOf(d, onBattery));
            }
        }
        for (std::size_t n = 0; n < bays.size(); ++n) {
            const batteries::Bay want = n < expected.size() ? expected[n] : batteries::Bay();
            QCOMPARE(bays[n].present, want.present);
            QCOMPARE(bays[n].info.perC, want.info.perC);
            QCOMPARE(bays[n].info.status, want.info.status);
        }
        // A mouse's battery, anywhere in the list, changes nothing.
        DeviceProperties mouse = g.device();
        mouse.type = 5;
        mouse.powerSupply = false;
        devices.insert(devices.begin() + g.between(0, int(devices.size())), mouse);
        const auto withMouse = upower::baysOf(devices, onBattery);
        for (std::size_t n = 0; n < bays.size(); ++n) {
            QCOMPARE(withMouse[n].present, bays[n].present);
            QCOMPARE(withMouse[n].info.perC, bays[n].info.perC);
        }
    }
}

void TestUPowerMapping::propertyMapsAreTakenInUPowerTypesOnly()
{
    DeviceProperties d;
    upower::takeDeviceProperties(
        d, {{QStringLiteral("Type"), QVariant::fromValue(quint32(2))},
            {QStringLiteral("PowerSupply"), true},
            {QStringLiteral("IsPresent"), QVariant::fromValue(QDBusVariant(true))},
            {QStringLiteral("Percentage"), 87.0},
            {QStringLiteral("State"), QVariant::fromValue(quint32(1))},
            {QStringLiteral("TimeToEmpty"), QVariant::fromValue(qint64(0))},
            {QStringLiteral("TimeToFull"), QVariant::fromValue(qint64(1800))},
            {QStringLiteral("Energy"), 41.76},
            {QStringLiteral("EnergyFull"), 48.0},
            {QStringLiteral("Model"), QStringLiteral("ignored")}});
    QCOMPARE(d.type, 2u);
    QVERIFY(d.powerSupply && d.isPresent);
    QCOMPARE(d.percentage, 87.0);
    QCOMPARE(d.state, 1u);
    QCOMPARE(d.timeToFull, 1800);
    QCOMPARE(d.energy, 41.76);

    // Another type than UPower's leaves the value as it was.
    upower::takeDeviceProperties(d, {{QStringLiteral("Type"), QStringLiteral("5")},
                                     {QStringLiteral("PowerSupply"), 0},
                                     {QStringLiteral("Percentage"), QStringLiteral("3")},
                                     {QStringLiteral("State"), 2},
                                     {QStringLiteral("TimeToFull"), 60.0},
                                     {QStringLiteral("Energy"), QVariant()}});
    QCOMPARE(d.type, 2u);
    QVERIFY(d.powerSupply);
    QCOMPARE(d.percentage, 87.0);
    QCOMPARE(d.state, 1u);
    QCOMPARE(d.timeToFull, 1800);
    QCOMPARE(d.energy, 41.76);

    QCOMPARE(upower::onBatteryIn({{QStringLiteral("OnBattery"), true}}), std::optional<bool>(true));
    QCOMPARE(upower::onBatteryIn({{QStringLiteral("OnBattery"), QStringLiteral("true")}}),
             std::optional<bool>());
    QCOMPARE(upower::onBatteryIn({}), std::optional<bool>());
}

QTEST_GUILESS_MAIN(TestUPowerMapping)
#include "tst_upowermapping.moc"
