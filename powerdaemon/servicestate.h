// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The process state that init gives a service, for the commands root runs:
// whatever the caller set (resource limits, nice value, blocked or ignored
// signals) passes through pkexec and fork, and must not reach the daemon's
// commands or the switch's own write.

#include <sys/resource.h>

#include <array>

namespace powerdaemon {

// A limit as a service gets it: RLIMIT_* and its soft and hard values.
struct ServiceLimit
{
    int resource;
    rlim_t soft;
    rlim_t hard;
};

// Every resource limit, with the values a service started by init gets
// (those of systemd's services; the process and signal counts as the
// kernel gives init).
using ServiceLimits = std::array<ServiceLimit, 16>;
const ServiceLimits& serviceLimits();

// The calls below are async-signal-safe, so that a child forked from a
// program with threads may make them before exec.

// Every signal's disposition back to the default, and no signal blocked.
void resetSignals() noexcept;
// For root: nice 0, the normal scheduling policy and I/O priority, and the
// given limits. A limit that may not be raised (in a user namespace) is
// raised as far as the hard limit allows.
void resetPriorityAndLimits(const ServiceLimits& limits) noexcept;
// Closes every descriptor from `first` on.
void closeDescriptorsFrom(int first) noexcept;

// The process itself becomes as init would start it: signals, and for root
// the priority and limits. Descriptors are left alone.
void becomeService();

} // namespace powerdaemon
