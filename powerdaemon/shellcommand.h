// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Running one command line through /bin/sh with a bound on the wait: the one
// command runner of the popup, the applet and the switch helper.

#include <chrono>
#include <cstddef>
#include <string>

namespace powerdaemon {

// How long a caller waits for one command before it gives up on it.
inline constexpr std::chrono::seconds CommandTimeLimit{30};

enum class CommandEnd
{
    Succeeded,   // the shell ended normally with exit code 0
    Failed,      // the shell ended in any other way
    NotStarted,  // no child process could be made
    StillRunning // still running at the bound: ended then (AtBound::End) or left to run
};

// What becomes of a command still running at its bound.
enum class AtBound
{
    End,  // ended with everything it started: SIGTERM, then SIGKILL after a short grace
    Leave // left to run to its end and reaped then (a dialog left to the user)
};

// True when the command ran to its end, whatever its exit status.
constexpr bool ranToItsEnd(CommandEnd end)
{
    return end == CommandEnd::Succeeded || end == CommandEnd::Failed;
}

// The start of a command's standard output, for a caller that keeps it.
struct OutputCapture
{
    // The most bytes kept. Once they are read, or the bound has passed, the
    // runner closes its end of the pipe: a command that writes more then
    // fails to write (SIGPIPE), as under popen() and pclose().
    std::size_t limit = 0;
    std::string text; // what the command wrote, at most limit bytes
};

// Forks; the child starts a session of its own, becomes root where the
// effective user id allows it (otherwise it keeps the caller's ids) and
// turns into `sh -c command`, with default signal dispositions, no signal
// blocked and no descriptor but 0, 1 and 2; as root also with nice 0 and a
// service's resource limits (servicestate.h), whatever the caller had.
// Waits at most `bound` for it. A command still running then is ended with
// its session's process group, which holds whatever it started and did not
// move away (atBound End), or left to run (Leave); either way it is never
// left a zombie. With `output`, the command's standard output is a pipe
// read within the same bound, until it ends or output->limit bytes have
// come; without, the command shares the caller's standard output.
CommandEnd runShellCommand(const char* command, std::chrono::milliseconds bound,
                           OutputCapture* output = nullptr, AtBound atBound = AtBound::End);

} // namespace powerdaemon
