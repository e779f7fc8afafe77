// SPDX-License-Identifier: GPL-2.0-or-later
#include "execshell.h"

#include <ShellCommand.h>

#include <QtGlobal>

#include <cstdio>
#include <cstring>
#include <memory>

bool execShell(const char* command)
{
    return execShell(command, shellconf::CommandTimeLimit);
}

bool execShell(const char* command, std::chrono::milliseconds bound)
{
    // The command's exit status is not looked at; a command that does not
    // end in time is left running and said on standard error.
    switch (shellconf::runShellCommand(command, bound)) {
    case shellconf::CommandEnd::StillRunning:
        std::fprintf(stderr, "ovraapplet: command did not finish within %g s, left running: %s\n",
                     double(bound.count()) / 1000.0, command);
        return false;
    case shellconf::CommandEnd::NotStarted:
        return false; // no child was made: there is nothing to wait for
    case shellconf::CommandEnd::Failed:
    case shellconf::CommandEnd::Succeeded:
        break;
    }
    return true;
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
