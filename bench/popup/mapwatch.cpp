// SPDX-License-Identifier: GPL-2.0-or-later
// Times program starts on an X display: from just before fork and exec to the
// X server's MapNotify of the program's first top-level window.
//
//   mapwatch RUNS PROGRAM-A PROGRAM-B
//
// Starts the two programs alternately RUNS times each (after one unmeasured
// warm-up start of each), kills every instance once its window is mapped, and
// prints each program's times, their medians and the ratio A / B; then the
// same for the CPU time (user and system, all threads) each start used until
// it was killed, which a busy machine disturbs much less than the wall time.

#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <signal.h>
#include <string>
#include <sys/resource.h>
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

// Waits for a MapNotify on the root window; false on timeout or error.
bool waitForMap(xcb_connection_t* x, Clock::time_point deadline)
{
    const int fd = xcb_get_file_descriptor(x);
    while (Clock::now() < deadline) {
        xcb_generic_event_t* event = xcb_poll_for_event(x);
        if (!event) {
            if (xcb_connection_has_error(x)) {
                return false;
            }
            fd_set readable;
            FD_ZERO(&readable);
            FD_SET(fd, &readable);
            timeval tick{0, 2000};
            select(fd + 1, &readable, nullptr, nullptr, &tick);
            continue;
        }
        const bool mapped = (event->response_type & 0x7f) == XCB_MAP_NOTIFY;
        std::free(event);
        if (mapped) {
            return true;
        }
    }
    return false;
}

struct Start
{
    double ms = -1;    // from exec to map; negative when no window was mapped
    double cpuMs = -1; // CPU time the program used until it was killed
};

double milliseconds(const timeval& t)
{
    return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3;
}

// One start of the program, killed as soon as its window is mapped.
Start timeStart(xcb_connection_t* x, const char* program)
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
    const bool mapped = waitForMap(x, start + std::chrono::seconds(20));
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    kill(child, SIGKILL);
    rusage usage{};
    wait4(child, nullptr, 0, &usage);
    usleep(100 * 1000); // let the server destroy the window before the next start
    if (!mapped) {
        return {};
    }
    return {ms, milliseconds(usage.ru_utime) + milliseconds(usage.ru_stime)};
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void printTimes(const char* label, const std::vector<double>& times)
{
    std::printf("%s:", label);
    for (double t : times) {
        std::printf(" %.1f", t);
    }
    std::printf("\n");
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 4 || std::atoi(argv[1]) < 1) {
        std::fprintf(stderr, "usage: mapwatch RUNS PROGRAM-A PROGRAM-B\n");
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    const Connection x(xcb_connect(nullptr, nullptr));
    if (xcb_connection_has_error(x.get())) {
        std::fprintf(stderr, "mapwatch: cannot open the display\n");
        return 1;
    }
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(x.get())).data;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(x.get(), screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(x.get());

    const char* programs[2] = {argv[2], argv[3]};
    std::vector<double> times[2];
    std::vector<double> cpuTimes[2];
    for (int round = -1; round < runs; ++round) {
        for (int p = 0; p < 2; ++p) {
            const Start measured = timeStart(x.get(), programs[p]);
            if (measured.ms < 0) {
                std::fprintf(stderr, "mapwatch: %s did not map a window\n", programs[p]);
                return 1;
            }
            if (round >= 0) { // round -1 warms the caches up
                times[p].push_back(measured.ms);
                cpuTimes[p].push_back(measured.cpuMs);
            }
        }
    }
    const double a = median(times[0]);
    const double b = median(times[1]);
    printTimes(programs[0], times[0]);
    printTimes(programs[1], times[1]);
    std::printf("median exec-to-mapped: %s %.1f ms, %s %.1f ms\n", programs[0], a, programs[1], b);
    std::printf("ratio: %.3f\n", a / b);
    const double cpuA = median(cpuTimes[0]);
    const double cpuB = median(cpuTimes[1]);
    std::printf("median CPU until mapped: %s %.1f ms, %s %.1f ms, ratio %.3f\n", programs[0], cpuA,
                programs[1], cpuB, cpuA / cpuB);
    return 0;
}
