// SPDX-License-Identifier: GPL-2.0-or-later
// libFuzzer target over the switch helper's report: the popup and the applet
// read whatever the helper (or anything pkexec ran instead) wrote on its
// standard output with SwitchReport::fromText. The input is read as such an
// output, and also made into a report that the helper writes and its caller
// reads back.
#include "fuzzcheck.h"

#include "powerdaemon/switchreport.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

using fuzzcheck::require;
using powerdaemon::SwitchReport;

// Whatever a caller reads, written again, reads back as the same report.
void checkRead(std::string_view output)
{
    const auto report = SwitchReport::fromText(output);
    if (!report) {
        return;
    }
    const std::string text = report->toText();
    const auto again = SwitchReport::fromText(text);
    require(again.has_value(), "a written report reads back");
    require(again->outcome() == report->outcome(), "a report read back has its outcome");
    require(again->toText() == text, "a report read back writes the same text");
}

// A report as the helper makes it: the first byte gives the facts, the rest,
// cut at NUL bytes, the reason and the commands still running.
SwitchReport reportOf(std::string_view input)
{
    SwitchReport report;
    const auto facts = input.empty() ? 0u : static_cast<unsigned char>(input.front());
    report.refused = facts & 1;
    report.saved = static_cast<SwitchReport::Saved>((facts >> 1) % 3);
    report.commandsRan = facts & 8;
    report.accepted = facts & 16;
    input.remove_prefix(input.empty() ? 0 : 1);
    std::size_t cut = input.find('\0');
    report.reason = std::string(input.substr(0, cut));
    report.failure = {"write", report.reason, int(facts >> 5)};
    while (cut != std::string_view::npos) {
        input.remove_prefix(cut + 1);
        cut = input.find('\0');
        report.stillRunning.emplace_back(input.substr(0, cut));
    }
    return report;
}

void checkWritten(const SwitchReport& report)
{
    const auto read = SwitchReport::fromText(report.toText());
    require(read.has_value(), "every report the helper writes is read");
    require(read->outcome() == report.outcome(), "the caller reads the helper's outcome");
    if (report.refused) {
        require(read->reason == SwitchReport::oneLine(report.reason),
                "the caller reads why it was refused");
        return;
    }
    require(read->saved == report.saved, "the caller reads whether it was saved");
    if (report.saved == SwitchReport::Saved::Failed) {
        require(read->reason == SwitchReport::oneLine(report.reason),
                "the caller reads why the write failed");
    }
    if (report.failure.code != 0) {
        require(read->failure.action == report.failure.action &&
                    read->failure.code == report.failure.code &&
                    read->failure.path == SwitchReport::oneLine(report.failure.path),
                "the caller reads the file call that failed");
    }
    require(read->commandsRan == report.commandsRan, "the caller reads whether commands ran");
    require(read->accepted == report.accepted, "the caller reads whether the daemon took it");
    require(read->stillRunning.size() == report.stillRunning.size(),
            "the caller reads every command ended at its bound");
    for (std::size_t i = 0; i < report.stillRunning.size(); ++i) {
        require(read->stillRunning[i] == SwitchReport::oneLine(report.stillRunning[i]),
                "the caller reads each command ended at its bound");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    checkRead(input);
    checkWritten(reportOf(input));
    return 0;
}
