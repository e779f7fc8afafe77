// SPDX-License-Identifier: GPL-2.0-or-later
// Benchmark of the applet's refresh tick with its battery from UPower, run on
// the laptop of today (as root, which may read the bus's statistics):
//   laptop/sandbox --today --env QT_QPA_PLATFORM=offscreen -- build/bin/bench_upower [--soak N]
// Prints the CPU time of one tick (median over 1000), the messages the
// process sent on the system bus over N ticks (100000 unless given) as the
// bus daemon counts them, the resident memory before and after those ticks,
// and before and after 1000 changes of the power source told in UPower's
// words. The real upowerd tells about one change a second, so these come
// from a stand-in that owns UPower's name on the session bus, to a source
// of the benchmark's own; the gauge follows them.

#include "benchmeasures.h"

#include "applet/graphframe.h"
#include "applet/pmapplet.h"
#include "upower/batterysource.h"

#include <QApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QFile>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <functional>
#include <memory>
#include <vector>

namespace {

constexpr int measuredTicks = 1000;
constexpr int signalsSoaked = 1000;

// The messages the bus daemon has received from this process's system bus
// connection (its statistics interface); -1 where it keeps none for us.
long messagesSent()
{
    QDBusConnection bus = QDBusConnection::systemBus();
    QDBusMessage stats = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus.Debug.Stats"), QStringLiteral("GetConnectionStats"));
    stats << bus.baseService();
    const QDBusMessage reply = bus.call(stats, QDBus::Block, 2000);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        return -1;
    }
    const QVariantMap values = qdbus_cast<QVariantMap>(reply.arguments().first());
    const QVariant incoming = values.value(QStringLiteral("IncomingMessages"));
    return incoming.isValid() ? long(incoming.toULongLong()) : -1;
}

bool waitFor(const std::function<bool()>& done, int milliseconds)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > milliseconds) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const long soakTicks = bench::soakTicks(argc, argv);
    std::unique_ptr<KPanelApplet> applet(init(nullptr, QStringLiteral("bench_rc")));
    if (!applet) {
        std::fprintf(stderr, "bench_upower runs inside laptop/sandbox --today\n");
        return 2;
    }
    applet->resize(150, 40);
    applet->show();
    auto* frame = applet->findChild<GraphFrame*>();
    if (!waitFor([frame] { return frame->tipPercentage().has_value(); }, 10000)) {
        std::fprintf(stderr, "UPower's battery did not show\n");
        return 1;
    }

    std::vector<double> samples;
    for (int i = 0; i < measuredTicks; ++i) {
        const double start = bench::threadCpuMicroseconds();
        bench::tick(frame);
        samples.push_back(bench::threadCpuMicroseconds() - start);
    }
    std::nth_element(samples.begin(), samples.begin() + measuredTicks / 2, samples.end());
    std::printf("refresh tick, UPower's battery: median %.1f us CPU over %d ticks\n",
                samples[measuredTicks / 2], measuredTicks);

    // Questions for the statistics are counted too: as many as two of them
    // count with nothing between.
    const long first = messagesSent();
    const long sentBefore = messagesSent();
    const long before = bench::residentKiB();
    bench::soak(frame, soakTicks);
    const long after = bench::residentKiB();
    const long sentAfter = messagesSent();
    if (first < 0 || sentBefore < 0 || sentAfter < 0) {
        std::printf("system bus messages over %ld ticks: the bus keeps no statistics\n", soakTicks);
    } else {
        std::printf("system bus messages sent over %ld ticks: %ld\n", soakTicks,
                    (sentAfter - sentBefore) - (sentBefore - first));
    }
    std::printf("resident memory: %ld KiB before, %ld KiB after %ld ticks (%+ld KiB)\n", before,
                after, soakTicks, after - before);

    // The stand-in: its own connection to the session bus, owning UPower's name.
    QDBusConnection standIn =
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("upower"));
    if (!standIn.registerService(QStringLiteral("org.freedesktop.UPower"))) {
        std::fprintf(stderr, "the stand-in could not own org.freedesktop.UPower\n");
        return 1;
    }
    upower::BatterySource counter(QDBusConnection::sessionBus());
    int changes = 0;
    QObject::connect(&counter, &upower::BatterySource::powerSourceChanged, frame,
                     [&changes, frame] {
                         ++changes;
                         bench::tick(frame);
                     });
    const long beforeSignals = bench::residentKiB();
    for (int i = 0; i < signalsSoaked; ++i) {
        QDBusMessage change = QDBusMessage::createSignal(
            QStringLiteral("/org/freedesktop/UPower"),
            QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("PropertiesChanged"));
        change << QStringLiteral("org.freedesktop.UPower")
               << QVariantMap{{QStringLiteral("OnBattery"), i % 2 == 0}} << QStringList();
        standIn.send(change);
        waitFor([&changes, i] { return changes > i; }, 2000);
    }
    const long afterSignals = bench::residentKiB();
    std::printf("resident memory: %ld KiB before, %ld KiB after %d changes told in UPower's "
                "words (%+ld KiB)\n",
                beforeSignals, afterSignals, changes, afterSignals - beforeSignals);
    return 0;
}
