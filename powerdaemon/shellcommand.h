// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Running one command line through /bin/sh with a bound on the wait.

#include <chrono>

namespace powerdaemon {

// How long a caller waits for one command before it gives up on it.
inline constexpr std::chrono::seconds CommandTimeLimit{30};

enum class CommandEnd
{
    Succeeded,   // the shell ended normally with exit code 0
    Failed,      // the shell ended in any other way
    NotStarted,  // no child process could be made
    StillRunning // not ended within the bound: left running, reaped when it ends
};

// Forks; the child becomes root where the effective user id allows it
// (otherwise it keeps the caller's ids) and turns into
// `sh -c command`. Waits at most `bound` for it. A command still running
// then is neither killed nor left a zombie: a detached thread reaps it.
CommandEnd runShellCommand(const char* command, std::chrono::milliseconds bound);

} // namespace powerdaemon
