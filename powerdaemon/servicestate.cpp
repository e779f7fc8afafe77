// SPDX-License-Identifier: GPL-2.0-or-later
#include "servicestate.h"

#include <algorithm>
#include <csignal>
#include <fstream>

#include <sched.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace powerdaemon {

namespace {

constexpr rlim_t Infinity = RLIM_INFINITY;
constexpr rlim_t EightMiB = 8 * 1024 * 1024;

// The kernel gives init half its thread maximum as the process and
// pending-signal counts.
rlim_t kernelTaskLimit()
{
    std::ifstream file("/proc/sys/kernel/threads-max");
    unsigned long long threads = 0;
    if (file >> threads && threads >= 2) {
        return rlim_t(threads / 2);
    }
    return Infinity;
}

ServiceLimits readServiceLimits()
{
    const rlim_t tasks = kernelTaskLimit();
    return {{
        {RLIMIT_CPU, Infinity, Infinity},
        {RLIMIT_FSIZE, Infinity, Infinity},
        {RLIMIT_DATA, Infinity, Infinity},
        {RLIMIT_STACK, EightMiB, Infinity},
        {RLIMIT_CORE, 0, Infinity},
        {RLIMIT_RSS, Infinity, Infinity},
        {RLIMIT_NPROC, tasks, tasks},
        {RLIMIT_NOFILE, 1024, 524288},
        {RLIMIT_MEMLOCK, EightMiB, EightMiB},
        {RLIMIT_AS, Infinity, Infinity},
        {RLIMIT_LOCKS, Infinity, Infinity},
        {RLIMIT_SIGPENDING, tasks, tasks},
        {RLIMIT_MSGQUEUE, 819200, 819200},
        {RLIMIT_NICE, 0, 0},
        {RLIMIT_RTPRIO, 0, 0},
        {RLIMIT_RTTIME, Infinity, Infinity},
    }};
}

void setLimit(const ServiceLimit& limit) noexcept
{
    const int resource = limit.resource;
    const rlimit wanted{limit.soft, limit.hard};
    if (::setrlimit(resource, &wanted) == 0) {
        return;
    }
    // Not allowed to raise the hard limit: as near as it allows.
    rlimit current{};
    if (::getrlimit(resource, &current) != 0) {
        return;
    }
    const rlimit reachable{std::min(limit.soft, current.rlim_max),
                           std::min(limit.hard, current.rlim_max)};
    ::setrlimit(resource, &reachable);
}

// The C library refuses to touch the signals it keeps for its threads, but
// a caller may have ignored them with the system call, and an ignored signal
// outlives exec. SIG_DFL is zero and no flags are wanted, so a zeroed buffer
// larger than any architecture's kernel sigaction sets the default.
void resetReservedSignal(int signal) noexcept
{
    const unsigned long byDefault[8] = {};
    constexpr unsigned long kernelMaskBytes = (_NSIG - 1) / 8;
    ::syscall(SYS_rt_sigaction, signal, byDefault, nullptr, kernelMaskBytes);
}

} // namespace

const ServiceLimits& serviceLimits()
{
    static const ServiceLimits limits = readServiceLimits();
    return limits;
}

void resetSignals() noexcept
{
    struct sigaction byDefault = {};
    byDefault.sa_handler = SIG_DFL;
    sigemptyset(&byDefault.sa_mask);
    for (int signal = 1; signal < NSIG; ++signal) {
        if (signal != SIGKILL && signal != SIGSTOP &&
            ::sigaction(signal, &byDefault, nullptr) != 0) {
            resetReservedSignal(signal);
        }
    }
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
}

void resetPriorityAndLimits(const ServiceLimits& limits) noexcept
{
    ::setpriority(PRIO_PROCESS, 0, 0);
    const sched_param normal{};
    ::sched_setscheduler(0, SCHED_OTHER, &normal);
    // I/O class "none": the I/O priority follows the nice value again.
    constexpr int IoprioWhoProcess = 1;
    ::syscall(SYS_ioprio_set, IoprioWhoProcess, 0, 0);
    for (const ServiceLimit& limit : limits) {
        setLimit(limit);
    }
}

void closeDescriptorsFrom(int first) noexcept
{
    if (::syscall(SYS_close_range, unsigned(first), ~0U, 0U) == 0) {
        return;
    }
    // A kernel before 5.9: every number a descriptor could have.
    rlimit files{};
    const rlim_t end = ::getrlimit(RLIMIT_NOFILE, &files) == 0
                           ? std::min<rlim_t>(files.rlim_max, rlim_t(1) << 20)
                           : rlim_t(1) << 16;
    for (rlim_t fd = rlim_t(first); fd < end; ++fd) {
        ::close(int(fd));
    }
}

void becomeService()
{
    resetSignals();
    if (::geteuid() == 0) {
        resetPriorityAndLimits(serviceLimits());
    }
}

} // namespace powerdaemon
