// SPDX-License-Identifier: GPL-2.0-or-later
#include "switchreport.h"
#include "linewalk.h"

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
