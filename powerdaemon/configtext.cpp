// SPDX-License-Identifier: GPL-2.0-or-later
#include "configtext.h"
#include "assignmentline.h"
#include "shelllines.h"

namespace powerdaemon {

std::vector<std::optional<std::string>> keyValues(std::string_view text, std::string_view key)
{
    std::vector<std::optional<std::string>> values;
    forEachShellLine(text, [&](const TextLine& line, bool startsCommand) {
        const std::string_view content = text.substr(line.begin, line.contentEnd - line.begin);
        if (!startsCommand) {
            return;
        }
        if (auto assignment = parseAssignment(content, key)) {
            values.push_back(std::move(assignment->value));
        }
    });
    return values;
}

std::string setKeyValue(std::string_view text, std::string_view key, std::string_view value)
{
    std::string result;
    result.reserve(text.size() + value.size() + 2);
    forEachShellLine(text, [&](const TextLine& line, bool startsCommand) {
        const std::string_view whole = text.substr(line.begin, line.next - line.begin);
        const std::string_view content = text.substr(line.begin, line.contentEnd - line.begin);
        const auto assignment =
            startsCommand ? parseAssignment(content, key) : std::optional<Assignment>();
        if (!assignment) {
            result.append(whole);
            return;
        }
        // What bash reads from the line as it stands, carriage return and all.
        const std::string_view raw = whole.substr(0, whole.size() - (whole.back() == '\n'));
        const auto asItStands = parseAssignment(raw, key);
        if (asItStands && asItStands->value == value) {
            result.append(whole);
            return;
        }
        result.append(content.substr(0, assignment->valueBegin));
        result.append(doubleQuoted(value));
        result.append(content.substr(assignment->valueEnd));
        if (line.next > line.contentEnd) {
            result += '\n';
        }
    });
    return result;
}

} // namespace powerdaemon
