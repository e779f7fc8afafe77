// SPDX-License-Identifier: GPL-2.0-or-later
#include "switchreport.h"
#include "linewalk.h"

#include <charconv>

namespace powerdaemon {

namespace {

const char* savedWord(SwitchReport::Saved saved)
{
    switch (saved) {
    case SwitchReport::Saved::Yes:
        return "yes";
    case SwitchReport::Saved::NoKey:
        return "no-key";
    case SwitchReport::Saved::Failed:
        break;
    }
    return "failed";
}

// The field after "word\t" on a line, or nullopt for a line of another word.
std::optional<std::string_view> field(std::string_view line, std::string_view word)
{
    if (line.size() <= word.size() || line.substr(0, word.size()) != word ||
        line[word.size()] != '\t') {
        return std::nullopt;
    }
    return line.substr(word.size() + 1);
}

// ACTION\tCODE\tPATH, as the report writes a failed file call.
FileError fileErrorOf(std::string_view fields)
{
    FileError failure;
    const std::size_t first = fields.find('\t');
    const std::size_t second =
        fields.find('\t', first == std::string_view::npos ? first : first + 1);
    if (second == std::string_view::npos) {
        return failure;
    }
    int code = 0;
    const std::string_view digits = fields.substr(first + 1, second - first - 1);
    if (std::from_chars(digits.data(), digits.data() + digits.size(), code).ptr !=
            digits.data() + digits.size() ||
        code <= 0) {
        return failure;
    }
    failure.action = std::string(fields.substr(0, first));
    failure.code = code;
    failure.path = std::string(fields.substr(second + 1));
    return failure;
}

} // namespace

std::string SwitchReport::oneLine(std::string_view text)
{
    std::string line(text);
    for (char& c : line) {
        if (c == '\n' || c == '\r' || c == '\t') {
            c = ' ';
        }
    }
    return line;
}

SwitchOutcome SwitchReport::outcome() const
{
    if (refused) {
        return SwitchOutcome::Refused;
    }
    if (saved != Saved::Yes) {
        return SwitchOutcome::NotSaved;
    }
    return accepted ? SwitchOutcome::Applied : SwitchOutcome::NotApplied;
}

std::string SwitchReport::toText() const
{
    if (refused) {
        return "refused\t" + oneLine(reason) + "\n";
    }
    std::string text = std::string("saved\t") + savedWord(saved);
    if (saved == Saved::Failed) {
        text += "\t" + oneLine(reason);
    }
    text += "\n";
    if (failure.code != 0) {
        text += "file-error\t" + oneLine(failure.action) + "\t" + std::to_string(failure.code) +
                "\t" + oneLine(failure.path) + "\n";
    }
    text += commandsRan ? "commands\tran\n" : "commands\tskipped\n";
    for (const std::string& command : stillRunning) {
        text += "still-running\t" + oneLine(command) + "\n";
    }
    text += accepted ? "accepted\tyes\n" : "accepted\tno\n";
    return text;
}

std::optional<SwitchReport> SwitchReport::fromText(std::string_view text)
{
    SwitchReport report;
    bool any = false;
    powerdaemon::forEachLineContent(text, [&](std::string_view line) {
        if (auto value = field(line, "refused")) {
            report.refused = true;
            report.reason = std::string(*value);
        } else if (auto write = field(line, "saved")) {
            const std::size_t tab = write->find('\t');
            const std::string_view word = write->substr(0, tab);
            if (word == "yes") {
                report.saved = Saved::Yes;
            } else if (word == "no-key") {
                report.saved = Saved::NoKey;
            } else {
                report.saved = Saved::Failed;
                if (tab != std::string_view::npos) {
                    report.reason = std::string(write->substr(tab + 1));
                }
            }
        } else if (auto call = field(line, "file-error")) {
            report.failure = fileErrorOf(*call);
        } else if (auto commands = field(line, "commands")) {
            report.commandsRan = *commands == "ran";
        } else if (auto command = field(line, "still-running")) {
            report.stillRunning.emplace_back(*command);
        } else if (auto answer = field(line, "accepted")) {
            report.accepted = *answer == "yes";
        } else {
            return;
        }
        any = true;
    });
    if (!any) {
        return std::nullopt;
    }
    return report;
}

} // namespace powerdaemon
