// SPDX-License-Identifier: GPL-2.0-or-later
#include "switchwords.h"
#include "bytesview.h"
#include "catalogue.h"

#include "powerdaemon/helpercall.h"
#include "powerdaemon/powersavedaemon.h"
#include "powerdaemon/schemerules.h"
#include "powerdaemon/shellcommand.h"

#include <QFile>

#include <cerrno>

namespace schemes {

namespace {

using Report = powerdaemon::SwitchReport;

SwitchMessage problem(const QString& text)
{
    return {SwitchMessage::Kind::Problem, QString(), text};
}

SwitchMessage notSaved(const QString& scheme, const QString& reason, bool reasonLogged = false)
{
    // TRANSLATORS: %1 is the scheme's name, %2 says why it was not saved.
    const QString body = translated(I18N_NOOP("The scheme \"%1\" was not saved: %2"));
    return {SwitchMessage::Kind::Notice, translated(I18N_NOOP("Power scheme not saved")),
            body.arg(scheme, reason), reasonLogged};
}

SwitchMessage notApplied(const QString& scheme)
{
    // TRANSLATORS: %1 is the scheme's name.
    const QString body =
        translated(I18N_NOOP("The power daemon did not accept the scheme \"%1\"."));
    return {SwitchMessage::Kind::Notice, translated(I18N_NOOP("Power scheme not applied")),
            body.arg(scheme)};
}

// Nothing was switched: the popup says so in its box, the applet in a notice.
SwitchMessage notSwitched(Problems problems, const QString& scheme, const QString& reason)
{
    if (problems == Problems::Logged) {
        return notSaved(scheme, reason);
    }
    // TRANSLATORS: %1 is the scheme's name, %2 says why it was not switched.
    const QString text = translated(I18N_NOOP("The power scheme \"%1\" was not switched: %2"));
    return problem(text.arg(scheme, reason));
}

// A D-Bus call's failure: a refusal, the service gone, or one that did not
// answer in time.
QString busReason(const SwitchResult& result)
{
    const QString& name = result.busError;
    if (name.endsWith(QLatin1String(".AccessDenied")) ||
        name.endsWith(QLatin1String(".NotAuthorized"))) {
        // TRANSLATORS: why a power profile was not switched: polkit refused.
        return translated(I18N_NOOP("you are not authorized to switch power profiles."));
    }
    if (name.endsWith(QLatin1String(".ServiceUnknown")) ||
        name.endsWith(QLatin1String(".NameHasNoOwner")) ||
        name.endsWith(QLatin1String(".NoReply")) || name.endsWith(QLatin1String(".Timeout")) ||
        name.endsWith(QLatin1String(".Disconnected"))) {
        const QString reason = translated(
            // TRANSLATORS: why a power profile was not switched; %1 is the D-Bus error's text.
            I18N_NOOP("the power profiles daemon did not answer (%1)."));
        return reason.arg(result.busMessage);
    }
    return result.busMessage.isEmpty() ? name : result.busMessage;
}

QString neverRanReason(const SwitchResult& result)
{
    if (!result.busError.isEmpty()) {
        return busReason(result);
    }
    if (!result.pkexecStarted) {
        // TRANSLATORS: %1 is the program pkexec, %2 why it could not be started.
        const QString reason = translated(I18N_NOOP("%1 could not be started (%2)."));
        return reason.arg(QString::fromLatin1(powerdaemon::Pkexec), result.pkexecMessage);
    }
    if (result.pkexecStatus == powerdaemon::PkexecDismissed) {
        // TRANSLATORS: why a scheme was not switched.
        return translated(I18N_NOOP("the authentication was dismissed."));
    }
    // TRANSLATORS: why a scheme was not switched: polkit did not authorise the user.
    QString reason = translated(I18N_NOOP("you are not authorized to switch power schemes."));
    // pkexec's own words only when they say more than that.
    if (powerdaemon::pkexecSaysMore(result.pkexecMessage.toStdString())) {
        reason += QLatin1Char('\n') + result.pkexecMessage;
    }
    return reason;
}

QString fileText()
{
    return QFile::decodeName(powerdaemon::CommonFile);
}

// The helper ended without a report: the switch may or may not have been
// made, so the user is told what the file says now.
SwitchMessage outcomeUnknown(Problems problems, const QString& scheme, bool mains,
                             const SchemesInForce& now)
{
    // TRANSLATORS: %1 is the scheme's name.
    QString text = translated(I18N_NOOP("The switch to the power scheme \"%1\" ended without "
                                        "a report: whether it was made is not known."))
                       .arg(scheme);
    if (now.failure) {
        // TRANSLATORS: %1 is the daemon's configuration file.
        text += QLatin1Char('\n') + translated(I18N_NOOP("%1 could not be read.")).arg(fileText());
    } else {
        // TRANSLATORS: %1 is the daemon's configuration file, %2 the key, %3 its scheme.
        const QString says = translated(I18N_NOOP("%1 now sets %2=\"%3\"."));
        const char* key = mains ? powerdaemon::AcSchemeKey : powerdaemon::BatterySchemeKey;
        text += QLatin1Char('\n') + says.arg(fileText(), QString::fromLatin1(key),
                                             QFile::decodeName(mains ? now.mains : now.battery));
    }
    if (problems == Problems::Shown) {
        return problem(text);
    }
    return {SwitchMessage::Kind::Notice, translated(I18N_NOOP("Power scheme switch not confirmed")),
            text};
}

} // namespace

QList<SwitchMessage> messagesOf(const SwitchResult& result, Problems problems)
{
    const bool mains = result.choice.mains.has_value();
    const QByteArray scheme = mains ? *result.choice.mains : result.choice.battery.value_or("");
    const QString name = QFile::decodeName(scheme);
    if (result.afterwards) {
        return {outcomeUnknown(problems, name, mains, *result.afterwards)};
    }
    if (!result.report) {
        return {notSwitched(problems, name, neverRanReason(result))};
    }
    const Report& report = *result.report;
    if (report.refused) {
        if (!powerdaemon::isSafeSchemeName(bytesView(scheme))) {
            return {problem(unsafeNameText(scheme))};
        }
        return {notSwitched(problems, name, QString::fromStdString(report.reason))};
    }
    QList<SwitchMessage> messages;
    if (const std::optional<QString> text = fileProblem(report)) {
        messages << problem(*text);
        if (problems == Problems::Logged) {
            // TRANSLATORS: why a scheme was not saved; %1 is the file's path.
            const QString reason = translated(I18N_NOOP("%1 could not be written."));
            const QString file = result.savedTo.isEmpty() ? fileText() : result.savedTo;
            messages << notSaved(name, reason.arg(file), true);
        }
    }
    for (const std::string& command : report.stillRunning) {
        messages << problem(commandLeftRunningText(QByteArray::fromStdString(command),
                                                   powerdaemon::CommandTimeLimit));
    }
    if (report.saved == Report::Saved::NoKey) {
        // TRANSLATORS: why a scheme was not saved; %1 is the file's path, %2 the key.
        const QString reason = translated(I18N_NOOP("%1 has no %2 setting."));
        const char* key = mains ? powerdaemon::AcSchemeKey : powerdaemon::BatterySchemeKey;
        messages << notSaved(name, reason.arg(fileText(), QString::fromLatin1(key)));
    }
    if (report.commandsRan && !report.accepted) {
        messages << notApplied(name);
    }
    return messages;
}

std::optional<QString> fileProblem(const powerdaemon::SwitchReport& report)
{
    if (report.saved != Report::Saved::Failed) {
        return std::nullopt;
    }
    const powerdaemon::FileError& failure = report.failure;
    if (failure.action == "open" && failure.code == ENOENT) {
        // TRANSLATORS: %1 is the daemon's configuration file.
        const QString text = translated(I18N_NOOP("configuration %1 is missing; not created"));
        return text.arg(QFile::decodeName(QByteArray::fromStdString(failure.path)));
    }
    return QString::fromLocal8Bit(QByteArray::fromStdString(report.reason));
}

QString unsafeNameText(const QByteArray& name)
{
    const QString text = translated(
        // TRANSLATORS: %1 is the daemon's configuration file, %2 the refused name.
        I18N_NOOP("scheme name not written to %1 (a name holds only letters, digits, \".\", "
                  "\"_\", \"+\" and \"-\"): %2"));
    return text.arg(fileText(), QString::fromLocal8Bit(name));
}

QString waitingText()
{
    // TRANSLATORS: shown while a scheme switch waits (for a password, for polkit).
    return translated(I18N_NOOP("Waiting for the power scheme switch. Escape or Close stops "
                                "waiting."));
}

QString commandLeftRunningText(const QByteArray& command, std::chrono::milliseconds bound)
{
    const QString text = translated(
        // TRANSLATORS: %1 is the bound in seconds, %2 the command.
        I18N_NOOP("The command did not finish within %1 s and was ended: %2"));
    return text.arg(bound.count() / 1000.0).arg(QString::fromLocal8Bit(command));
}

} // namespace schemes
