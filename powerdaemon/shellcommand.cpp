// SPDX-License-Identifier: GPL-2.0-or-later
#include "shellcommand.h"
#include "uniquefd.h"

#include <algorithm>
#include <cerrno>
#include <optional>
#include <system_error>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <sys/syscall.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace powerdaemon {

namespace {

constexpr int ShellNotStarted = 127;

using Clock = std::chrono::steady_clock;

// The time left until deadline, in whole milliseconds.
std::chrono::milliseconds timeLeft(Clock::time_point deadline)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
}

// In the forked child: only async-signal-safe calls. Never returns into the
// caller's code, not even when exec fails. outputFd, when not -1, becomes
// the shell's standard output.
[[noreturn]] void becomeShell(const char* command, int outputFd)
{
    if (outputFd == STDOUT_FILENO) {
        // Already in place, but marked close-on-exec like every pipe end.
        ::fcntl(outputFd, F_SETFD, 0);
    } else if (outputFd >= 0 && ::dup2(outputFd, STDOUT_FILENO) < 0) {
        ::_exit(ShellNotStarted);
    }
    [[maybe_unused]] const int becameRoot = ::setuid(0);
    ::execl("/bin/sh", "sh", "-c", command, static_cast<char*>(nullptr));
    ::_exit(ShellNotStarted);
}

// A descriptor that becomes readable when the child ends.
UniqueFd processHandle(pid_t child)
{
    return UniqueFd(static_cast<int>(::syscall(SYS_pidfd_open, child, 0)));
}

// The child's wait status once it has ended before deadline; nullopt while
// it still runs. A child that has ended is seen even after the deadline.
std::optional<int> waitStatus(pid_t child, Clock::time_point deadline)
{
    const UniqueFd handle = processHandle(child);
    for (;;) {
        int status = 0;
        const pid_t waited = ::waitpid(child, &status, WNOHANG);
        if (waited == child) {
            return status;
        }
        if (waited < 0 && errno != EINTR) {
            return -1; // not ours to wait for any more
        }
        const std::chrono::milliseconds left = timeLeft(deadline);
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

// Reads the pipe into output until every writer has closed it, output.limit
// bytes have come or the deadline has passed.
void readOutput(const UniqueFd& pipe, OutputCapture& output, Clock::time_point deadline)
{
    char chunk[4096];
    while (output.text.size() < output.limit) {
        const std::chrono::milliseconds left = timeLeft(deadline);
        if (left.count() <= 0) {
            return;
        }
        pollfd ready{pipe.get(), POLLIN, 0};
        const int polled = ::poll(&ready, 1, static_cast<int>(left.count()));
        if (polled < 0 && errno == EINTR) {
            continue;
        }
        if (polled <= 0) {
            return; // the deadline, or a pipe that cannot be waited on
        }
        const std::size_t wanted = std::min(sizeof chunk, output.limit - output.text.size());
        const ssize_t got = ::read(pipe.get(), chunk, wanted);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return; // every writer has closed the pipe, or it cannot be read
        }
        output.text.append(chunk, static_cast<std::size_t>(got));
    }
}

// A pipe for the child's standard output, both ends closed on exec; false
// when none could be made.
bool makeOutputPipe(UniqueFd& readEnd, UniqueFd& writeEnd)
{
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        return false;
    }
    readEnd.reset(ends[0]);
    writeEnd.reset(ends[1]);
    return true;
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

CommandEnd runShellCommand(const char* command, std::chrono::milliseconds bound,
                           OutputCapture* output)
{
    const Clock::time_point deadline = Clock::now() + bound;
    UniqueFd readEnd;
    UniqueFd writeEnd;
    if (output) {
        output->text.clear();
        if (!makeOutputPipe(readEnd, writeEnd)) {
            return CommandEnd::NotStarted; // no pipe, so no child is made
        }
    }
    const pid_t child = ::fork();
    if (child < 0) {
        return CommandEnd::NotStarted; // no child: nothing to wait for
    }
    if (child == 0) {
        becomeShell(command, writeEnd.get());
    }
    if (output) {
        // Only the child writes: the pipe ends when the command and
        // whatever it started have closed it.
        writeEnd.reset();
        readOutput(readEnd, *output, deadline);
        readEnd.reset();
    }
    const std::optional<int> status = waitStatus(child, deadline);
    if (!status) {
        reapLater(child);
        return CommandEnd::StillRunning;
    }
    return *status == 0 ? CommandEnd::Succeeded : CommandEnd::Failed;
}

} // namespace powerdaemon
