// SPDX-License-Identifier: GPL-2.0-or-later
#include "shellcommand.h"
#include "uniquefd.h"

#include <algorithm>
#include <cerrno>
#include <optional>
#include <system_error>
#include <thread>

#include <poll.h>
#include <sys/syscall.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace powerdaemon {

namespace {

constexpr int ShellNotStarted = 127;

// In the forked child: only async-signal-safe calls. Never returns into the
// caller's code, not even when exec fails.
[[noreturn]] void becomeShell(const char* command)
{
    [[maybe_unused]] const int becameRoot = ::setuid(0);
    ::execl("/bin/sh", "sh", "-c", command, static_cast<char*>(nullptr));
    ::_exit(ShellNotStarted);
}

// A descriptor that becomes readable when the child ends.
UniqueFd processHandle(pid_t child)
{
    return UniqueFd(static_cast<int>(::syscall(SYS_pidfd_open, child, 0)));
}

// The child's wait status once it has ended within bound; nullopt while it
// still runs.
std::optional<int> waitStatus(pid_t child, std::chrono::milliseconds bound)
{
    const UniqueFd handle = processHandle(child);
    const auto deadline = std::chrono::steady_clock::now() + bound;
    for (;;) {
        int status = 0;
        const pid_t waited = ::waitpid(child, &status, WNOHANG);
        if (waited == child) {
            return status;
        }
        if (waited < 0 && errno != EINTR) {
            return -1; // not ours to wait for any more
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return std::nullopt;
        }
        if (handle) {
            pollfd ready{handle.get(), POLLIN, 0};
            ::poll(&ready, 1, static_cast<int>(left.count()));
        } else {
            // No process handles on this kernel: look again shortly.
            std::this_thread::sleep_for(std::min(left, std::chrono::milliseconds(20)));
        }
    }
}

// Reaps the child whenever it ends, so that it never stays a zombie.
void reapLater(pid_t child)
{
    try {
        std::thread([child] {
            int status = 0;
            while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
            }
        }).detach();
    } catch (const std::system_error&) {
        // No thread to spare: the child stays a zombie until the process ends.
    }
}

} // namespace

CommandEnd runShellCommand(const char* command, std::chrono::milliseconds bound)
{
    const pid_t child = ::fork();
    if (child < 0) {
        return CommandEnd::NotStarted; // no child: nothing to wait for
    }
    if (child == 0) {
        becomeShell(command);
    }
    const std::optional<int> status = waitStatus(child, bound);
    if (!status) {
        reapLater(child);
        return CommandEnd::StillRunning;
    }
    return *status == 0 ? CommandEnd::Succeeded : CommandEnd::Failed;
}

} // namespace powerdaemon
