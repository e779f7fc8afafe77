// SPDX-License-Identifier: GPL-2.0-or-later
// The shell command runner.
#include "ShellCommand.h"
#include "UPMComm.h"

namespace {

// Tells the user about a command given up on, through the installed
// presenter (standard error when the program installed none).
void reportStillRunning(const QByteArray& command, std::chrono::milliseconds bound)
{
    const QString text =
        QStringLiteral("The command did not finish within %1 s and was left running: %2")
            .arg(bound.count() / 1000.0)
            .arg(QString::fromLocal8Bit(command));
    ShowErrorBox(text);
}

} // namespace

bool ExecCmd(const QByteArray& command)
{
    return ExecCmd(command, shellconf::CommandTimeLimit);
}

bool ExecCmd(const QByteArray& command, std::chrono::milliseconds bound)
{
    switch (shellconf::runShellCommand(command.constData(), bound)) {
    case shellconf::CommandEnd::Succeeded:
        return true;
    case shellconf::CommandEnd::StillRunning:
        reportStillRunning(command, bound);
        return false;
    case shellconf::CommandEnd::Failed:
    case shellconf::CommandEnd::NotStarted:
        break;
    }
    return false;
}
