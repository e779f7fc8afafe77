// SPDX-License-Identifier: GPL-2.0-or-later
// libFuzzer target over the daemon's configuration text as powerdaemon reads
// and rewrites it: keyValues, setKeyValue and both programs' readSchemeKey.
// The input is the file's text; each scheme key is set to a few values.
#include "fuzzcheck.h"

#include "powerdaemon/assignmentline.h"
#include "powerdaemon/configtext.h"
#include "powerdaemon/powersavedaemon.h"
#include "powerdaemon/schemerules.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using fuzzcheck::require;
using powerdaemon::Rules;

// The text's lines, each with its line feed.
std::vector<std::string_view> linesOf(std::string_view text)
{
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size() - 1) + 1;
        lines.push_back(text.substr(0, end));
        text.remove_prefix(end);
    }
    return lines;
}

std::string_view withoutLineEnd(std::string_view line)
{
    if (!line.empty() && line.back() == '\n') {
        line.remove_suffix(1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
    }
    return line;
}

// Every line that does not assign the key keeps its bytes; on a line that
// does, the value word becomes the value in double quotes (or the line stays
// as it was), and a line feed at its end loses the carriage return before it.
void checkLinesKept(std::string_view text, std::string_view updated, std::string_view key,
                    std::string_view value)
{
    const auto before = linesOf(text);
    const auto after = linesOf(updated);
    require(before.size() == after.size(), "the update keeps the number of lines");
    for (std::size_t i = 0; i < before.size(); ++i) {
        const std::string_view content = withoutLineEnd(before[i]);
        const auto assignment = powerdaemon::parseAssignment(content, key);
        if (!assignment || before[i] == after[i]) {
            require(before[i] == after[i], "a line that does not assign the key keeps its bytes");
            continue;
        }
        const std::string expected = std::string(content.substr(0, assignment->valueBegin)) +
                                     powerdaemon::doubleQuoted(value) +
                                     std::string(content.substr(assignment->valueEnd));
        const bool feed = before[i].back() == '\n';
        require(after[i] == (feed ? expected + '\n' : expected),
                "a rewritten line changes its value only and loses the carriage return of its line "
                "end");
    }
}

// otherValues: what the text gives the other scheme key.
void checkUpdate(std::string_view text, std::string_view key, std::string_view otherKey,
                 const std::vector<std::optional<std::string>>& otherValues, std::string_view value)
{
    const auto before = powerdaemon::keyValues(text, key);
    const std::string updated = powerdaemon::setKeyValue(text, key, value);
    if (before.empty()) {
        require(updated == text, "a text without the key is left as it is");
    }
    const auto after = powerdaemon::keyValues(updated, key);
    require(after.size() == before.size(), "the update keeps every line of the key");
    for (const auto& read : after) {
        require(read && *read == value, "every line of the key reads back as the value");
    }
    require(powerdaemon::setKeyValue(updated, key, value) == updated, "the update is idempotent");
    require(powerdaemon::keyValues(updated, otherKey) == otherValues,
            "the other key reads as before");
    checkLinesKept(text, updated, key, value);

    // After the switch, both programs read the value that was set.
    const std::string expected = before.empty() ? std::string() : std::string(value);
    require(powerdaemon::readSchemeKey(Rules::Popup, updated, key) == expected,
            "the popup reads the value that was set");
    require(powerdaemon::readSchemeKey(Rules::Applet, updated, key) == expected,
            "the applet reads the value that was set");
}

// What each program reads is a value of one of the key's lines.
void checkRead(std::string_view text, std::string_view key)
{
    const auto values = powerdaemon::keyValues(text, key);
    const std::string popup = powerdaemon::readSchemeKey(Rules::Popup, text, key);
    const std::string applet = powerdaemon::readSchemeKey(Rules::Applet, text, key);
    bool popupFound = popup.empty();
    for (const auto& value : values) {
        popupFound = popupFound || value == popup;
    }
    require(popupFound, "the popup reads a value of the key's lines");
    require(applet.empty() || (!values.empty() && values.back() == applet),
            "the applet reads the value of the key's last line, as bash does");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::array<std::string_view, 2> keys{powerdaemon::AcSchemeKey,
                                               powerdaemon::BatterySchemeKey};
    // A scheme name, the empty value, and one with blanks and shell
    // punctuation that only the double quotes keep together.
    const std::array<std::string_view, 3> values{"powersave", "", "a b#c;d|e"};
    for (std::size_t k = 0; k < keys.size(); ++k) {
        checkRead(text, keys[k]);
        const auto otherValues = powerdaemon::keyValues(text, keys[1 - k]);
        for (const std::string_view value : values) {
            require(powerdaemon::isSafeValue(value), "the values tried are safe");
            checkUpdate(text, keys[k], keys[1 - k], otherValues, value);
        }
    }
    return 0;
}
