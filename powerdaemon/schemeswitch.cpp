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

struct KeySetting
{
    const char* key;
    const std::string& name;
};

std::vector<KeySetting> settingsOf(const SwitchRequest& request)
{
    std::vector<KeySetting> settings;
    if (request.acScheme) {
        settings.push_back({AcSchemeKey, *request.acScheme});
    }
    if (request.batteryScheme) {
        settings.push_back({BatterySchemeKey, *request.batteryScheme});
    }
    return settings;
}

void fail(SwitchReport& report, const FileError& failure)
{
    report.saved = SwitchReport::Saved::Failed;
    report.reason = failure.message();
    report.failure = failure;
}

// Runs one command within the bound; true when it ended with exit code 0.
bool run(const char* command, SwitchReport& report)
{
    const auto end = runShellCommand(command, CommandTimeLimit);
    if (end == CommandEnd::StillRunning) {
        report.stillRunning.emplace_back(command);
    }
    return end == CommandEnd::Succeeded;
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
    SwitchRequest request{*rules, std::nullopt, std::nullopt};
    (args[1] == AcSchemeKey ? request.acScheme : request.batteryScheme) = args[2];
    return request;
}

std::vector<std::string> switchArguments(Rules rules, std::string_view key, std::string_view name)
{
    return {SwitchHelper, rulesName(rules), std::string(key), std::string(name)};
}

SwitchReport writeSchemeKeys(const SwitchRequest& request, const std::string& path)
{
    SwitchReport report;
    const std::vector<KeySetting> settings = settingsOf(request);
    for (const KeySetting& setting : settings) {
        if (!isSafeSchemeName(setting.name)) {
            report.refused = true;
            report.reason =
                "not a safe scheme name (letters, digits, \".\", \"_\", \"+\" and \"-\"): " +
                setting.name;
            return report;
        }
    }
    // One switch at a time, from the read to the rename.
    const SwitchLock lock;
    if (!lock.held()) {
        fail(report, FileError{"lock", SwitchLockFile, lock.errorCode()});
        report.reason = lock.reason();
        return report;
    }
    FileError failure;
    const auto text = readRegularFile(path, ConfigFileLimit, failure);
    if (!text) {
        fail(report, failure);
        return report;
    }
    std::string updated = *text;
    for (const KeySetting& setting : settings) {
        if (keyValues(*text, setting.key).empty()) {
            report.saved = SwitchReport::Saved::NoKey;
        }
        updated = setKeyValue(updated, setting.key, setting.name);
    }
    if (updated == *text) {
        return report;
    }
    if (const auto error = replaceFileContents(path, updated)) {
        fail(report, *error);
    }
    return report;
}

SwitchReport switchScheme(const SwitchRequest& request)
{
    SwitchReport report = writeSchemeKeys(request, CommonFile);
    if (report.refused) {
        return report;
    }
    if (report.saved != SwitchReport::Saved::Failed || commandsRunAfterFailedWrite(request.rules)) {
        runCommands(request.rules, report);
    }
    return report;
}

} // namespace powerdaemon
