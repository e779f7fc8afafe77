// SPDX-License-Identifier: GPL-2.0-or-later
// Power schemes: the popup's front ends on the schemes of this machine (the
// daemon's file by the popup's rules, or power-profiles-daemon) and on the
// one switch.
#include "UPMComm.h"
#include "rawfile.h"
#include "schemekeys.h"

#include "powerdaemon/powersavedaemon.h"
#include "powerprofiles/schemesofthismachine.h"
#include "schemes/bytesview.h"
#include "schemes/switchclient.h"
#include "schemes/switchwords.h"

#include <QEventLoop>
#include <QTimer>

#include <cerrno>

namespace {

constexpr int FileNotFound = 1;

using powerdaemon::SwitchReport;

// The errors of a write made in this process, raised as the popup's
// routines raise them.
void raiseWriteErrors(const SwitchReport& report, const std::optional<QByteArray>& acScheme,
                      const std::optional<QByteArray>& batteryScheme)
{
    if (report.refused) {
        const bool acUnsafe =
            acScheme && !powerdaemon::isSafeSchemeName(schemes::bytesView(*acScheme));
        throw UnsafeSchemeName(acUnsafe ? *acScheme : batteryScheme.value_or(QByteArray()));
    }
    if (report.saved == SwitchReport::Saved::Failed) {
        const powerdaemon::FileError& failure = report.failure;
        throw EInOutError(failure.action.c_str(), QByteArray::fromStdString(failure.path),
                          failure.code);
    }
}

void tell(const schemes::SwitchMessage& message)
{
    if (message.kind == schemes::SwitchMessage::Kind::Problem) {
        ShowErrorBox(message.text);
    } else {
        ShowNotice({message.summary, message.text});
    }
}

} // namespace

schemes::SchemeBackend& PopupSchemes()
{
    // Kept to the process's end: a D-Bus client must not be torn down after
    // the bus it listens on.
    static schemes::SchemeBackend* const schemes =
        powerprofiles::schemesOfThisMachine(powerdaemon::Rules::Popup).release();
    return *schemes;
}

QList<QByteArray> ListSchemes()
{
    QList<QByteArray> names;
    for (const schemes::SchemeEntry& entry : PopupSchemes().entries()) {
        names.append(entry.id);
    }
    return names;
}

bool SchemeAvailable(const QByteArray& name)
{
    return FileExists(powerdaemon::ProductSchemePrefix + name);
}

bool ReadCurrentSchemes(QByteArray& acScheme, QByteArray& batteryScheme)
{
    const schemes::SchemesInForce inForce = PopupSchemes().inForce();
    if (const auto& failure = inForce.failure) {
        if (failure->code != ENOENT) {
            throw EInOutError(failure->action.c_str(), QByteArray::fromStdString(failure->path),
                              failure->code);
        }
        ShowFileError(QByteArray(), powerdaemon::CommonFile, FileNotFound);
        return false;
    }
    // A key the file does not name leaves its variable as it was.
    if (!inForce.mains.isEmpty()) {
        acScheme = inForce.mains;
    }
    if (!inForce.battery.isEmpty()) {
        batteryScheme = inForce.battery;
    }
    return true;
}

bool UpdateSchemeKeys(const std::optional<QByteArray>& acScheme,
                      const std::optional<QByteArray>& batteryScheme)
{
    const SwitchReport report = powerdaemon::writeSchemeKeys(
        schemes::switchRequest(powerdaemon::Rules::Popup, {acScheme, batteryScheme}),
        powerdaemon::CommonFile);
    raiseWriteErrors(report, acScheme, batteryScheme);
    return report.saved == SwitchReport::Saved::Yes;
}

void WriteSchemes(const std::optional<QByteArray>& acScheme,
                  const std::optional<QByteArray>& batteryScheme)
{
    WriteSchemes(acScheme, batteryScheme, SwitchWaitView());
}

bool WriteSchemes(const std::optional<QByteArray>& acScheme,
                  const std::optional<QByteArray>& batteryScheme, const SwitchWaitView& view)
{
    auto job = PopupSchemes().prepareSwitch({acScheme, batteryScheme}, nullptr);
    std::optional<schemes::SwitchResult> result;
    QEventLoop loop;
    QObject::connect(job.get(), &schemes::SchemeSwitch::finished, &loop,
                     [&result, &loop](const schemes::SwitchResult& ended) {
                         result = ended;
                         loop.quit();
                     });
    job->start();
    // The events of the application go on while the user authenticates; a
    // wait that goes on is shown, with a way out.
    if (!result) {
        bool shown = false;
        QTimer showWait;
        showWait.setSingleShot(true);
        QObject::connect(&showWait, &QTimer::timeout, &loop, [&view, &loop, &shown] {
            shown = true;
            view.shown([&loop] { loop.quit(); });
        });
        if (view.shown) {
            showWait.start(SwitchWaitShownAfter);
        }
        loop.exec();
        if (shown && view.ended) {
            view.ended();
        }
    }
    if (!result) {
        // Given up: deleting the switch waits for nothing.
        return false;
    }
    if (result->ranHere && result->report) {
        raiseWriteErrors(*result->report, acScheme, batteryScheme);
    }
    // Told only now, so that a notice shown in a box holds up no command.
    for (const schemes::SwitchMessage& message :
         schemes::messagesOf(*result, schemes::Problems::Shown)) {
        tell(message);
    }
    return true;
}
