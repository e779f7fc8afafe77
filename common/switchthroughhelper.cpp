// SPDX-License-Identifier: GPL-2.0-or-later
#include "switchthroughhelper.h"

#include "UPMComm.h"
#include "execcmd.h"
#include "powerdaemon/helpercall.h"
#include "powerdaemon/shellcommand.h"
#include "powersavepaths.h"
#include "schemenotices.h"

#include <QEventLoop>
#include <QFile>
#include <QProcess>

#include <unistd.h>

namespace {

// pkexec's status when the user dismissed the authentication dialog.
constexpr int PkexecDismissed = 126;

struct HelperRun
{
    bool started = false;
    int exitCode = -1;
    QByteArray output;
    QString message; // what pkexec said on its standard error
};

QStringList pkexecArguments(const char* key, const QByteArray& name)
{
    QStringList arguments;
    for (const std::string& argument :
         powerdaemon::pkexecArguments(powerdaemon::Rules::Popup, key, name.toStdString())) {
        arguments << QFile::decodeName(QByteArray::fromStdString(argument));
    }
    return arguments;
}

HelperRun runHelper(const char* key, const QByteArray& name)
{
    HelperRun run;
    QProcess process;
    process.setProgram(QString::fromLatin1(powerdaemon::Pkexec));
    process.setArguments(pkexecArguments(key, name));
    process.setStandardInputFile(QProcess::nullDevice());
    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&process, &QProcess::errorOccurred, &loop, [&](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            loop.quit();
        }
    });
    process.start();
    // The events of the application go on while the user authenticates.
    if (process.state() != QProcess::NotRunning) {
        loop.exec();
    }
    run.started = process.error() != QProcess::FailedToStart;
    if (!run.started) {
        run.message = process.errorString();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.output = process.readAllStandardOutput();
    run.message = QString::fromLocal8Bit(process.readAllStandardError().left(
                                             qsizetype(powerdaemon::HelperOutputLimit)))
                      .trimmed();
    return run;
}

QString schemeText(const QByteArray& name)
{
    return QFile::decodeName(name);
}

void reportNotAuthorised(const QByteArray& name, const HelperRun& run)
{
    QString text;
    if (!run.started) {
        text = QStringLiteral(
                   "The power scheme \"%1\" was not switched: %2 could not be started (%3).")
                   .arg(schemeText(name), QString::fromLatin1(powerdaemon::Pkexec), run.message);
    } else if (run.exitCode == PkexecDismissed) {
        text = QStringLiteral("The power scheme \"%1\" was not switched: the authentication was "
                              "dismissed.")
                   .arg(schemeText(name));
    } else {
        text = QStringLiteral("The power scheme \"%1\" was not switched: you are not authorized "
                              "to switch power schemes.")
                   .arg(schemeText(name));
        // pkexec's own words only when they say more than that.
        if (powerdaemon::pkexecSaysMore(run.message.toStdString())) {
            text += QStringLiteral("\n") + run.message;
        }
    }
    ShowErrorBox(text);
}

void reportOutcome(const char* key, const QByteArray& name, const powerdaemon::SwitchReport& report)
{
    for (const std::string& command : report.stillRunning) {
        ShowErrorBox(CommandLeftRunningText(QByteArray::fromStdString(command),
                                            powerdaemon::CommandTimeLimit));
    }
    if (report.refused) {
        ShowErrorBox(QStringLiteral("The power scheme \"%1\" was not switched: %2")
                         .arg(schemeText(name), QString::fromStdString(report.reason)));
        return;
    }
    if (report.saved == powerdaemon::SwitchReport::Saved::Failed) {
        ShowErrorBox(QString::fromLocal8Bit(QByteArray::fromStdString(report.reason)));
    }
    // Told once the commands have run, as after a switch of the popup's own.
    if (report.saved == powerdaemon::SwitchReport::Saved::NoKey) {
        ShowNotice(NotSavedNotice(name, key));
    }
    if (report.commandsRan && !report.accepted) {
        ShowNotice(NotAcceptedNotice(name));
    }
}

} // namespace

bool SwitchRunsThroughHelper()
{
    return ::getuid() != 0;
}

void SwitchThroughHelper(const char* key, const QByteArray& name)
{
    const HelperRun run = runHelper(key, name);
    const auto report = powerdaemon::helperReport(
        std::string_view(run.output.constData(), std::size_t(run.output.size())));
    if (!report) {
        reportNotAuthorised(name, run);
        return;
    }
    reportOutcome(key, name, *report);
}
