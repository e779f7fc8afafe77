// SPDX-License-Identifier: GPL-2.0-or-later
#include "execshell.h"

#include <shellcommand.h>

#include <QtGlobal>

#include <cstdio>
#include <cstring>
#include <memory>

bool execShell(const char* command)
{
    return execShell(command, powerdaemon::CommandTimeLimit);
}

namespace {

powerdaemon::CommandEnd runCommand(const char* command, std::chrono::milliseconds bound)
{
    const powerdaemon::CommandEnd end = powerdaemon::runShellCommand(command, bound);
    if (end == powerdaemon::CommandEnd::StillRunning)
        std::fprintf(stderr, "ovraapplet: command did not finish within %g s, left running: %s\n",
                     double(bound.count()) / 1000.0, command);
    return end;
}

} // namespace

bool execShell(const char* command, std::chrono::milliseconds bound)
{
    // The command's exit status is not looked at; a command that does not
    // end in time is left running and said on standard error.
    switch (runCommand(command, bound)) {
    case powerdaemon::CommandEnd::StillRunning:
    case powerdaemon::CommandEnd::NotStarted: // no child was made: nothing to wait for
        return false;
    case powerdaemon::CommandEnd::Failed:
    case powerdaemon::CommandEnd::Succeeded:
        break;
    }
    return true;
}

bool execShellSucceeded(const char* command)
{
    return runCommand(command, powerdaemon::CommandTimeLimit) == powerdaemon::CommandEnd::Succeeded;
}

bool execShell(const char* command, char* buf, int size)
{
    if (!buf || size < 2)
        return false;
    struct PipeCloser
    {
        void operator()(FILE* stream) const { pclose(stream); }
    };
    const std::unique_ptr<FILE, PipeCloser> stream(popen(command, "r"));
    if (!stream)
        return false;
    std::memset(buf, 0, size_t(size));
    const size_t read = std::fread(buf, 1, size_t(size - 2), stream.get());
    Q_UNUSED(read)
    return true;
}
