// SPDX-License-Identifier: GPL-2.0-or-later
// Benchmark of the panel applet's refresh tick, run on the simulated laptop:
//   laptop/sandbox --env QT_QPA_PLATFORM=offscreen -- build/bin/bench_applet [--soak N]
// Prints the CPU time of one tick (the refresh slot) with one and with two
// batteries that do not change, and with one whose charge changes before
// every tick (so that the tick rebuilds the tool tip and repaints), as the
// median over 1000 ticks, and the process's resident memory before and after
// N ticks (100000 unless given).

#include "benchmeasures.h"
#include "laptopfixture.h"

#include "applet/batteryreadings.h"
#include "applet/graphframe.h"
#include "applet/pmapplet.h"
#include "batteries/modulefiles.h"

#include <QApplication>
#include <QFile>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <functional>
#include <memory>
#include <vector>

namespace {

constexpr int measuredTicks = 1000;

// The applet as the panel gets it, shown at its width on mains power.
std::unique_ptr<KPanelApplet> makeApplet()
{
    std::unique_ptr<KPanelApplet> applet(init(nullptr, QStringLiteral("bench_rc")));
    if (!applet) {
        return nullptr;
    }
    applet->resize(150, 40);
    applet->show();
    QCoreApplication::processEvents();
    return applet;
}

// before(i) runs ahead of tick i, outside the measured time.
double medianTickMicroseconds(GraphFrame* frame, const std::function<void(int)>& before = {})
{
    std::vector<double> samples;
    samples.reserve(measuredTicks);
    for (int i = 0; i < measuredTicks; ++i) {
        if (before) {
            before(i);
        }
        const double start = bench::threadCpuMicroseconds();
        bench::tick(frame);
        samples.push_back(bench::threadCpuMicroseconds() - start);
    }
    std::nth_element(samples.begin(), samples.begin() + measuredTicks / 2, samples.end());
    return samples[measuredTicks / 2];
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const long soakTicks = bench::soakTicks(argc, argv);
    if (!laptop::inside()) {
        std::fprintf(stderr, "bench_applet runs inside laptop/sandbox\n");
        return 2;
    }

    laptop::battery(0, {QStringLiteral("present=yes"), QStringLiteral("ac=yes")});
    auto applet = makeApplet();
    if (!applet) {
        return 1;
    }
    auto* frame = applet->findChild<GraphFrame*>();
    std::printf("refresh tick, one battery:   median %.1f us CPU over %d ticks\n",
                medianTickMicroseconds(frame), measuredTicks);

    // Two state texts that differ in the charge.
    const QString state0 = QStringLiteral("/proc/H8/BAT0/state");
    const QByteArray states[2] = {
        laptop::readFile(state0),
        QByteArray(laptop::readFile(state0))
            .replace("RelativeStateofCharge:", "RelativeStateofCharge: 1")};
    std::printf(
        "refresh tick, one battery whose charge changes at each tick: median %.1f us CPU "
        "over %d ticks\n",
        medianTickMicroseconds(frame, [&](int i) { laptop::writeFile(state0, states[i % 2]); }),
        measuredTicks);
    laptop::writeFile(state0, states[0]);

    const long before = bench::residentKiB();
    bench::soak(frame, soakTicks);
    const long after = bench::residentKiB();
    std::printf("resident memory: %ld KiB before, %ld KiB after %ld ticks (%+ld KiB)\n", before,
                after, soakTicks, after - before);
    applet.reset();

    laptop::battery(1, {QStringLiteral("present=yes"), QStringLiteral("ac=yes")});
    applet = makeApplet();
    if (!applet) {
        return 1;
    }
    frame = applet->findChild<GraphFrame*>();
    batteries::ModuleFiles files;
    if (!files.bay(0).present || !files.bay(1).present) {
        std::fprintf(stderr, "the second battery was not found\n");
        return 1;
    }
    std::printf("refresh tick, two batteries: median %.1f us CPU over %d ticks\n",
                medianTickMicroseconds(frame), measuredTicks);
    applet.reset();
    return 0;
}
