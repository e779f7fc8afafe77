// SPDX-License-Identifier: GPL-2.0-or-later
#include "execshell.h"

#include <cstdio>
#include <cstring>

powerdaemon::CommandEnd runShell(const char* command, std::chrono::milliseconds bound,
                                 powerdaemon::OutputCapture* output, powerdaemon::AtBound atBound)
{
    const powerdaemon::CommandEnd end =
        powerdaemon::runShellCommand(command, bound, output, atBound);
    if (end == powerdaemon::CommandEnd::StillRunning) {
        std::fprintf(stderr, "ovraapplet: command did not finish within %g s, %s: %s\n",
                     double(bound.count()) / 1000.0,
                     atBound == powerdaemon::AtBound::Leave ? "left running" : "ended", command);
    }
    return end;
}

bool execShell(const char* command)
{
    return powerdaemon::ranToItsEnd(runShell(command));
}

bool execShellOutput(const char* command, char* buf, int size)
{
    if (!buf || size < 2) {
        return false;
    }
    powerdaemon::OutputCapture output;
    output.limit = size_t(size - 2);
    const powerdaemon::CommandEnd end = runShell(command, powerdaemon::CommandTimeLimit, &output);
    if (end == powerdaemon::CommandEnd::NotStarted) {
        return false;
    }
    std::memset(buf, 0, size_t(size));
    std::memcpy(buf, output.text.data(), output.text.size());
    return powerdaemon::ranToItsEnd(end);
}
