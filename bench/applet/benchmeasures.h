// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// What the applet's benchmarks measure: the thread's CPU time, the
// process's resident memory, and one refresh tick of the gauge.

#include "applet/graphframe.h"

#include <QFile>
#include <QMetaObject>

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

} // namespace bench
