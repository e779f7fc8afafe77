// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// What the applet's benchmarks measure: the thread's CPU time, the
// process's resident memory, one refresh tick of the gauge and a soak of many.

#include "applet/graphframe.h"

#include <QCoreApplication>
#include <QFile>
#include <QMetaObject>

#include <cstdlib>
#include <cstring>
#include <ctime>

namespace bench {

inline double threadCpuMicroseconds()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e6 + double(ts.tv_nsec) / 1e3;
}

inline long residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) {
            return line.mid(6).trimmed().split(' ').first().toLong();
        }
    }
    return -1;
}

// The gauge's refresh slot, as its timer runs it.
inline void tick(GraphFrame* frame)
{
    QMetaObject::invokeMethod(frame, "transfer_draw_icon", Qt::DirectConnection);
}

// The ticks of the soak: N of "--soak N", else 100000.
inline long soakTicks(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--soak") == 0) {
        return std::strtol(argv[2], nullptr, 10);
    }
    return 100000;
}

// Ticks the gauge the given number of times, letting the event loop run
// between every thousand, as the panel would.
inline void soak(GraphFrame* frame, long ticks)
{
    for (long i = 0; i < ticks; ++i) {
        tick(frame);
        if (i % 1000 == 0) {
            QCoreApplication::processEvents();
        }
    }
    QCoreApplication::processEvents();
}

} // namespace bench
