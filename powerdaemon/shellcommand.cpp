// SPDX-License-Identifier: GPL-2.0-or-later
#include "shellcommand.h"
#include "servicestate.h"
#include "uniquefd.h"

#include <algorithm>
#include <cerrno>
#include <system_error>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
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

// How long a command ended at its bound is given to end on SIGTERM before
// SIGKILL, and a killed one to be gone before a thread waits for it.
constexpr std::chrono::milliseconds EndGrace{1000};

// In the forked child: only async-signal-safe calls. Never returns into the
// caller's code, not even when exec fails. outputFd, when not -1, becomes
// the shell's standard output.
[[noreturn]] void becomeShell(const char* command, int outputFd, const ServiceLimits& limits)
{
    // A session of its own: its process group is what the runner ends at
    // the bound, and no terminal of the caller's signals it.
    ::setsid();
    if (outputFd == STDOUT_FILENO) {
        // Already in place, but marked close-on-exec like every pipe end.
        ::fcntl(outputFd, F_SETFD, 0);
    } else if (outputFd >= 0 && ::dup2(outputFd, STDOUT_FILENO) < 0) {
        ::_exit(ShellNotStarted);
    }
    [[maybe_unused]] const int becameRoot = ::setuid(0);
    // The command starts as init would start it, not with what the program
    // that runs it was given.
    resetSignals();
    if (::geteuid() == 0) {
        resetPriorityAndLimits(limits);
    }
    closeDescriptorsFrom(STDERR_FILENO + 1);
    ::execl("/bin/sh", "sh", "-c", command, static_cast<char*>(nullptr));
    ::_exit(ShellNotStarted);
}

// A descriptor that becomes readable when the child ends.
UniqueFd processHandle(pid_t child)
{
    return UniqueFd(static_cast<int>(::syscall(SYS_pidfd_open, child, 0)));
}

// Waits until the child has ended or the deadline has passed; true once it
// has ended (or is not ours to wait for). The child is not reaped: its pid,
// and with it its process group's id, stays taken until reap().
bool waitForEnd(pid_t child, Clock::time_point deadline)
{
    const UniqueFd handle = processHandle(child);
    for (;;) {
        siginfo_t info = {};
        if (::waitid(P_PID, id_t(child), &info, WEXITED | WNOHANG | WNOWAIT) == 0) {
            if (info.si_pid == child) {
                return true;
            }
        } else if (errno != EINTR) {
            return true;
        }
        const std::chrono::milliseconds left = timeLeft(deadline);
        if (left.count() <= 0) {
            return false;
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

// The wait status of a child that has ended; -1 when it is not ours.
int reap(pid_t child)
{
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) {
            return -1;
        }
    }
    return status;
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
        std::thread([child] { reap(child); }).detach();
    } catch (const std::system_error&) {
        // No thread to spare: the child stays a zombie until the process ends.
    }
}

// The child's process group, or the child alone before its setsid().
void signalGroup(pid_t child, int signal)
{
    if (::kill(-child, signal) != 0) {
        ::kill(child, signal);
    }
}

// Ends a command past its bound with what it started: SIGTERM, a grace to
// end, then SIGKILL for whatever is left of its process group.
void endCommand(pid_t child)
{
    signalGroup(child, SIGTERM);
    // A stopped process takes SIGTERM only once it runs again.
    signalGroup(child, SIGCONT);
    waitForEnd(child, Clock::now() + EndGrace);
    // Unreaped, the shell keeps the group's id taken, so this reaches no
    // other group even when the shell has ended.
    signalGroup(child, SIGKILL);
    // A process stuck in the kernel ends only when the kernel lets it.
    if (waitForEnd(child, Clock::now() + EndGrace)) {
        reap(child);
    } else {
        reapLater(child);
    }
}

} // namespace

CommandEnd runShellCommand(const char* command, std::chrono::milliseconds bound,
                           OutputCapture* output, AtBound atBound)
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
    // Read before the fork: the child may only make async-signal-safe calls.
    const ServiceLimits& limits = serviceLimits();
    const pid_t child = ::fork();
    if (child < 0) {
        return CommandEnd::NotStarted; // no child: nothing to wait for
    }
    if (child == 0) {
        becomeShell(command, writeEnd.get(), limits);
    }
    if (output) {
        // Only the child writes: the pipe ends when the command and
        // whatever it started have closed it.
        writeEnd.reset();
        readOutput(readEnd, *output, deadline);
        readEnd.reset();
    }
    if (!waitForEnd(child, deadline)) {
        if (atBound == AtBound::Leave) {
            reapLater(child);
        } else {
            endCommand(child);
        }
        return CommandEnd::StillRunning;
    }
    return reap(child) == 0 ? CommandEnd::Succeeded : CommandEnd::Failed;
}

} // namespace powerdaemon
