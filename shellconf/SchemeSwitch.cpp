// SPDX-License-Identifier: GPL-2.0-or-later
#include "SchemeSwitch.h"
#include "ConfigText.h"
#include "PowersaveDaemon.h"
#include "ReplaceFile.h"
#include "ShellCommand.h"
#include "UniqueFd.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace powersave {

namespace {

// No real configuration comes near this; anything larger is not read.
constexpr std::size_t ConfigSizeLimit = 1024 * 1024;

SwitchReport refusal(std::string reason)
{
    SwitchReport report;
    report.refused = true;
    report.reason = std::move(reason);
    return report;
}

std::string failure(const char* action, int code)
{
    return std::string("Could not ") + action + " file " + CommonFile + ": " + std::strerror(code);
}

// Reads the common file's text; nullopt, or why it could not be read. Only
// a regular file is read, without blocking and up to the limit.
std::optional<std::string> readCommonFile(std::string& text)
{
    const shellconf::UniqueFd fd(::open(CommonFile, O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!fd) {
        return failure("open", errno);
    }
    struct stat status;
    if (::fstat(fd.get(), &status) != 0) {
        return failure("read", errno);
    }
    if (!S_ISREG(status.st_mode)) {
        return failure("read", EINVAL);
    }
    char buffer[8192];
    for (;;) {
        const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n == 0) {
            return std::nullopt;
        }
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return failure("read", errno);
        }
        if (text.size() + std::size_t(n) > ConfigSizeLimit) {
            return failure("read", EFBIG);
        }
        text.append(buffer, std::size_t(n));
    }
}

// Sets the key; fills in how the write went.
void writeKey(const SwitchRequest& request, SwitchReport& report)
{
    std::string text;
    if (auto why = readCommonFile(text)) {
        report.saved = SwitchReport::Saved::Failed;
        report.reason = *why;
        return;
    }
    if (shellconf::keyValues(text, request.key).empty()) {
        report.saved = SwitchReport::Saved::NoKey;
        return;
    }
    const std::string updated = shellconf::setKeyValue(text, request.key, request.name);
    if (updated == text) {
        return;
    }
    if (const auto error = shellconf::replaceFileContents(CommonFile, updated)) {
        report.saved = SwitchReport::Saved::Failed;
        report.reason = error->message();
    }
}

// Runs one command within the bound; true when it ended with exit code 0.
bool run(const char* command, SwitchReport& report)
{
    const auto end = shellconf::runShellCommand(command, shellconf::CommandTimeLimit);
    if (end == shellconf::CommandEnd::StillRunning) {
        report.stillRunning.emplace_back(command);
    }
    return end == shellconf::CommandEnd::Succeeded;
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

} // namespace powersave
