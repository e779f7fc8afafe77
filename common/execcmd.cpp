// SPDX-License-Identifier: GPL-2.0-or-later
// The shell command runner.
#include "UPMComm.h"
#include "commandleftrunning.h"
#include "shellcommand.h"

QString CommandLeftRunningText(const QByteArray& command, std::chrono::milliseconds bound)
{
    return QStringLiteral("The command did not finish within %1 s and was left running: %2")
        .arg(bound.count() / 1000.0)
        .arg(QString::fromLocal8Bit(command));
}

namespace {

// Tells the user about a command given up on, through the installed
// presenter (standard error when the program installed none).
void reportStillRunning(const QByteArray& command, std::chrono::milliseconds bound)
{
    ShowErrorBox(CommandLeftRunningText(command, bound));
}

} // namespace

bool ExecCmd(const QByteArray& command)
{
    return ExecCmd(command, powerdaemon::CommandTimeLimit);
}

bool ExecCmd(const QByteArray& command, std::chrono::milliseconds bound)
{
    switch (powerdaemon::runShellCommand(command.constData(), bound)) {
    case powerdaemon::CommandEnd::Succeeded:
        return true;
    case powerdaemon::CommandEnd::StillRunning:
        reportStillRunning(command, bound);
        return false;
    case powerdaemon::CommandEnd::Failed:
    case powerdaemon::CommandEnd::NotStarted:
        break;
    }
    return false;
}
