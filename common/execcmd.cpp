// SPDX-License-Identifier: GPL-2.0-or-later
// The popup's shell command runner.
#include "execcmd.h"
#include "UPMComm.h"
#include "powerdaemon/shellcommand.h"
#include "schemes/switchwords.h"

bool RunCommand(const QByteArray& command, std::chrono::milliseconds bound)
{
    switch (powerdaemon::runShellCommand(command.constData(), bound)) {
    case powerdaemon::CommandEnd::Succeeded:
        return true;
    case powerdaemon::CommandEnd::StillRunning:
        // Through the installed presenter (standard error when the program
        // installed none).
        ShowErrorBox(schemes::commandLeftRunningText(command, bound));
        return false;
    case powerdaemon::CommandEnd::Failed:
    case powerdaemon::CommandEnd::NotStarted:
        break;
    }
    return false;
}

bool ExecCmd(const QByteArray& command)
{
    return RunCommand(command, powerdaemon::CommandTimeLimit);
}
