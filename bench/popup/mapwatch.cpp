// SPDX-License-Identifier: GPL-2.0-or-later
// Times program starts on an X display: from just before fork and exec to
// the X server's MapNotify of the program's first top-level window, and on
// to the first complete frame in that window (see framecheck.h).
//
//   mapwatch RUNS PROGRAM-A CHECK-A PROGRAM-B CHECK-B
//
// CHECK is schemes:N or items:N. Starts the two programs alternately RUNS
// times each (after one unmeasured warm-up start of each), kills every
// instance once its frame is complete, and prints each program's times, the
// medians and 90th percentiles side by side with the ratios A / B, and the
// CPU time (user and system, all threads) each start used until it was
// killed, which a busy machine disturbs much less than the wall time.

#include "framecheck.h"

#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <signal.h>
#include <string>
#include <sys/resource.h>
#include <sys/select.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Disconnect
{
    void operator()(xcb_connection_t* c) const { xcb_disconnect(c); }
};
using Connection = std::unique_ptr<xcb_connection_t, Disconnect>;

void drainEvents(xcb_connection_t* x)
{
    while (xcb_generic_event_t* event = xcb_poll_for_event(x)) {
        std::free(event);
    }
}

// Waits for a MapNotify on the root window and returns the mapped window;
// XCB_NONE on timeout or error.
xcb_window_t waitForMap(xcb_connection_t* x, Clock::time_point deadline)
{
    const int fd = xcb_get_file_descriptor(x);
    while (Clock::now() < deadline) {
        xcb_generic_event_t* event = xcb_poll_for_event(x);
        if (!event) {
            if (xcb_connection_has_error(x)) {
                return XCB_NONE;
            }
            fd_set readable;
            FD_ZERO(&readable);
            FD_SET(fd, &readable);
            timeval tick{0, 2000};
            select(fd + 1, &readable, nullptr, nullptr, &tick);
            continue;
        }
        xcb_window_t mapped = XCB_NONE;
        if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY) {
            mapped = reinterpret_cast<xcb_map_notify_event_t*>(event)->window;
        }
        std::free(event);
        if (mapped != XCB_NONE) {
            return mapped;
        }
    }
    return XCB_NONE;
}

// Reads the window's pixels every quarter of a millisecond until the frame
// is complete; false on timeout. The reads are small, so the X server that
// the program draws through is hardly kept from its work.
bool waitForFrame(xcb_connection_t* x, xcb_window_t window, const FrameCheck& check,
                  Clock::time_point deadline)
{
    while (Clock::now() < deadline) {
        if (check.isPainted(x, window)) {
            return true;
        }
        usleep(250);
    }
    return false;
}

double milliseconds(const timeval& t)
{
    return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3;
}

double since(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct Start
{
    double mapMs = -1;   // from exec to map; negative when no window was mapped
    double frameMs = -1; // from exec to the complete frame; negative when none came
    double cpuMs = -1;   // CPU time the program used until it was killed
};

// One start of the program, killed as soon as its frame is complete.
Start timeStart(xcb_connection_t* x, const char* program, const FrameCheck& check)
{
    drainEvents(x);
    const Clock::time_point start = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execl(program, program, static_cast<char*>(nullptr));
        _exit(127);
    }
    if (child < 0) {
        return {};
    }
    Start measured;
    const Clock::time_point deadline = start + std::chrono::seconds(20);
    const xcb_window_t window = waitForMap(x, deadline);
    if (window != XCB_NONE) {
        measured.mapMs = since(start);
        if (waitForFrame(x, window, check, deadline)) {
            measured.frameMs = since(start);
        }
    }
    kill(child, SIGKILL);
    rusage usage{};
    wait4(child, nullptr, 0, &usage);
    usleep(100 * 1000); // let the server destroy the window before the next start
    measured.cpuMs = milliseconds(usage.ru_utime) + milliseconds(usage.ru_stime);
    return measured;
}

std::vector<double> sorted(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values;
}

double median(const std::vector<double>& values)
{
    const std::vector<double> s = sorted(values);
    const size_t n = s.size();
    return n % 2 ? s[n / 2] : (s[n / 2 - 1] + s[n / 2]) / 2;
}

// The nearest-rank 90th percentile: 90 % of the starts took at most this.
double percentile90(const std::vector<double>& values)
{
    const std::vector<double> s = sorted(values);
    const size_t rank = size_t(std::ceil(0.9 * double(s.size())));
    return s[rank - 1];
}

void printTimes(const char* program, const char* what, const std::vector<double>& times)
{
    std::printf("%s %s:", program, what);
    for (double t : times) {
        std::printf(" %.1f", t);
    }
    std::printf("\n");
}

struct Series
{
    std::vector<double> map;
    std::vector<double> frame;
    std::vector<double> cpu;
};

void printRow(const char* label, double a, double b)
{
    std::printf("%-30s %9.1f ms %9.1f ms %8.3f\n", label, a, b, a / b);
}

void printSummary(const char* programs[2], const Series series[2])
{
    std::printf("\n%-30s %12s %12s %8s\n", "", "A", "B", "A / B");
    printRow("exec to map, median", median(series[0].map), median(series[1].map));
    printRow("exec to map, 90th pct", percentile90(series[0].map), percentile90(series[1].map));
    printRow("exec to first frame, median", median(series[0].frame), median(series[1].frame));
    printRow("exec to first frame, 90th pct", percentile90(series[0].frame),
             percentile90(series[1].frame));
    printRow("CPU until first frame, median", median(series[0].cpu), median(series[1].cpu));
    std::printf("A: %s\nB: %s\n", programs[0], programs[1]);
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 6 || std::atoi(argv[1]) < 1) {
        std::fprintf(stderr, "usage: mapwatch RUNS PROGRAM-A CHECK-A PROGRAM-B CHECK-B\n"
                             "CHECK: schemes:ROWS or items:ROWS\n");
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    const char* programs[2] = {argv[2], argv[4]};
    const FrameCheck checks[2] = {FrameCheck(argv[3]), FrameCheck(argv[5])};
    if (!checks[0].isValid() || !checks[1].isValid()) {
        std::fprintf(stderr, "mapwatch: a check is schemes:ROWS or items:ROWS\n");
        return 2;
    }
    const Connection x(xcb_connect(nullptr, nullptr));
    if (xcb_connection_has_error(x.get())) {
        std::fprintf(stderr, "mapwatch: cannot open the display\n");
        return 1;
    }
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(x.get())).data;
    if (screen->root_depth != 24) {
        std::fprintf(stderr, "mapwatch: the screen must have depth 24\n");
        return 1;
    }
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(x.get(), screen->root, XCB_CW_EVENT_MASK, &mask);
    // The pointer rests in a corner that neither window covers, so no row
    // is highlighted under it.
    xcb_warp_pointer(x.get(), XCB_NONE, screen->root, 0, 0, 0, 0,
                     int16_t(screen->width_in_pixels - 1), int16_t(screen->height_in_pixels - 1));
    xcb_flush(x.get());

    Series series[2];
    for (int round = -1; round < runs; ++round) {
        for (int p = 0; p < 2; ++p) {
            const Start measured = timeStart(x.get(), programs[p], checks[p]);
            if (measured.mapMs < 0) {
                std::fprintf(stderr, "mapwatch: %s did not map a window\n", programs[p]);
                return 1;
            }
            if (measured.frameMs < 0) {
                std::fprintf(stderr, "mapwatch: %s never showed its complete frame (%s)\n",
                             programs[p], argv[p == 0 ? 3 : 5]);
                return 1;
            }
            if (round >= 0) { // round -1 warms the caches up
                series[p].map.push_back(measured.mapMs);
                series[p].frame.push_back(measured.frameMs);
                series[p].cpu.push_back(measured.cpuMs);
            }
        }
    }
    for (int p = 0; p < 2; ++p) {
        printTimes(programs[p], "map", series[p].map);
        printTimes(programs[p], "frame", series[p].frame);
    }
    printSummary(programs, series);
    return 0;
}
