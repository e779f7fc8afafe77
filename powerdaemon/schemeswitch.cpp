// SPDX-License-Identifier: GPL-2.0-or-later
#include "schemeswitch.h"
#include "boundedread.h"
#include "configtext.h"
#include "powersavedaemon.h"
#include "replacefile.h"
#include "shellcommand.h"
#include "switchlock.h"

namespace powerdaemon {

namespace {

SwitchReport refusal(std::string reason)
{
    SwitchReport report;
    report.refused = true;
    report.reason = std::move(reason);
    return report;
}

// Sets the key; fills in how the write went.
void writeKey(const SwitchRequest& request, SwitchReport& report)
{
    // One switch at a time, from the read to the rename.
    const SwitchLock lock;
    if (!lock.held()) {
        report.saved = SwitchReport::Saved::Failed;
        report.reason = lock.reason();
        return;
    }
    powerdaemon::FileError failure;
    const auto read =
        powerdaemon::readRegularFile(CommonFile, powerdaemon::ConfigFileLimit, failure);
    if (!read) {
        report.saved = SwitchReport::Saved::Failed;
        report.reason = failure.message();
        return;
    }
    const std::string& text = *read;
    if (powerdaemon::keyValues(text, request.key).empty()) {
        report.saved = SwitchReport::Saved::NoKey;
        return;
    }
    const std::string updated = powerdaemon::setKeyValue(text, request.key, request.name);
    if (updated == text) {
        return;
    }
    if (const auto error = powerdaemon::replaceFileContents(CommonFile, updated)) {
        report.saved = SwitchReport::Saved::Failed;
        report.reason = error->message();
    }
}

// Runs one command within the bound; true when it ended with exit code 0.
bool run(const char* command, SwitchReport& report)
{
    const auto end = powerdaemon::runShellCommand(command, powerdaemon::CommandTimeLimit);
    if (end == powerdaemon::CommandEnd::StillRunning) {
        report.stillRunning.emplace_back(command);
    }
    return end == powerdaemon::CommandEnd::Succeeded;
}

void runCommands(Rules rules, SwitchReport& report)
{
    const SwitchCommands commands = switchCommands(rules);
    report.commandsRan = true;
    report.accepted = run(commands.reload, report);
    if (!report.accepted && commands.startAfterFailedReload) {
        report.accepted = run(commands.startAfterFailedReload, report);
    }
    run(commands.idletimeRestart, report);
}

} // namespace

std::variant<SwitchRequest, std::string> parseSwitchArguments(const std::vector<std::string>& args)
{
    if (args.size() != 3) {
        return std::string("expected three arguments: popup|applet AC_SCHEME|BATTERY_SCHEME NAME");
    }
    const auto rules = rulesNamed(args[0]);
    if (!rules) {
        return "unknown program rules: " + args[0];
    }
    if (!isSchemeKey(args[1])) {
        return "not a scheme key: " + args[1];
    }
    return SwitchRequest{*rules, args[1], args[2]};
}

std::vector<std::string> switchArguments(Rules rules, std::string_view key, std::string_view name)
{
    return {SwitchHelper, rulesName(rules), std::string(key), std::string(name)};
}

SwitchReport switchScheme(const SwitchRequest& request)
{
    if (!isSchemeKey(request.key)) {
        return refusal("not a scheme key: " + request.key);
    }
    if (!isSafeSchemeName(request.name)) {
        return refusal("not a safe scheme name (letters, digits, \".\", \"_\", \"+\" and \"-\"): " +
                       request.name);
    }
    if (!isListedScheme(request.rules, request.name)) {
        return refusal("no such scheme: " + request.name);
    }
    SwitchReport report;
    writeKey(request, report);
    if (report.saved != SwitchReport::Saved::Failed || commandsRunAfterFailedWrite(request.rules)) {
        runCommands(request.rules, report);
    }
    return report;
}

} // namespace powerdaemon
