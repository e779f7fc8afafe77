// SPDX-License-Identifier: GPL-2.0-or-later
#include "assignmentline.h"

namespace powerdaemon {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// Bytes that end an unquoted word besides the blanks.
bool isMetacharacter(char c)
{
    return c == ';' || c == '|' || c == '&' || c == '(' || c == ')' || c == '<' || c == '>';
}

std::size_t skipBlanks(std::string_view line, std::size_t i)
{
    while (i < line.size() && isBlank(line[i])) {
        ++i;
    }
    return i;
}

// Reads one shell word from line[i]. Returns where it ends, or npos when it
// does not end on this line. value collects what bash makes of it; expands
// is set when it holds an expansion.
std::size_t readWord(std::string_view line, std::size_t i, std::string& value, bool& expands)
{
    constexpr auto unfinished = std::string_view::npos;
    while (i < line.size()) {
        const char c = line[i];
        if (isBlank(c) || isMetacharacter(c)) {
            return i;
        }
        if (c == '\'') {
            const std::size_t close = line.find('\'', i + 1);
            if (close == unfinished) {
                return unfinished;
            }
            value.append(line.substr(i + 1, close - i - 1));
            i = close + 1;
        } else if (c == '"') {
            for (++i;; ++i) {
                if (i >= line.size()) {
                    return unfinished;
                }
                const char d = line[i];
                if (d == '"') {
                    break;
                }
                if (d == '\\') {
                    if (i + 1 >= line.size()) {
                        return unfinished;
                    }
                    const char next = line[i + 1];
                    // Inside double quotes a backslash escapes only these.
                    if (next == '"' || next == '\\' || next == '$' || next == '`') {
                        value += next;
                        ++i;
                        continue;
                    }
                } else if (d == '$' || d == '`') {
                    expands = true;
                }
                value += d;
            }
            ++i;
        } else if (c == '\\') {
            if (i + 1 >= line.size()) {
                return unfinished; // a line continuation
            }
            value += line[i + 1];
            i += 2;
        } else if (c == '`') {
            // A command substitution that goes on until its closing
            // backquote, on a later line if need be.
            expands = true;
            std::size_t close = i + 1;
            while (close < line.size() && line[close] != '`') {
                close += line[close] == '\\' ? 2 : 1;
            }
            if (close >= line.size()) {
                return unfinished;
            }
            value.append(line.substr(i, close + 1 - i));
            i = close + 1;
        } else {
            if (c == '$' || c == '~') {
                expands = true;
            }
            value += c;
            ++i;
        }
    }
    return i;
}

// After the value word: the end, blanks, a comment or ";" keep the
// assignment in this shell. Anything else (a command word, a pipe, "&")
// makes bash assign it elsewhere or only for a command.
bool assignsInThisShell(std::string_view line, std::size_t wordEnd)
{
    if (wordEnd == line.size() || line[wordEnd] == ';') {
        return true;
    }
    if (!isBlank(line[wordEnd])) {
        return false;
    }
    const std::size_t next = skipBlanks(line, wordEnd);
    return next == line.size() || line[next] == '#' || line[next] == ';';
}

// Where the key's name starts: after blanks and an optional "export".
std::size_t nameStart(std::string_view line)
{
    constexpr std::string_view exportWord = "export";
    const std::size_t start = skipBlanks(line, 0);
    const std::string_view rest = line.substr(start);
    if (rest.substr(0, exportWord.size()) == exportWord && rest.size() > exportWord.size() &&
        isBlank(rest[exportWord.size()])) {
        return skipBlanks(line, start + exportWord.size());
    }
    return start;
}

} // namespace

std::optional<Assignment> parseAssignment(std::string_view line, std::string_view key)
{
    const std::size_t name = nameStart(line);
    if (key.empty() || line.substr(name, key.size()) != key ||
        line.substr(name + key.size(), 1) != "=") {
        return std::nullopt;
    }
    Assignment assignment;
    assignment.valueBegin = name + key.size() + 1;
    std::string value;
    bool expands = false;
    const std::size_t end = readWord(line, assignment.valueBegin, value, expands);
    if (end == std::string_view::npos || !assignsInThisShell(line, end)) {
        return std::nullopt;
    }
    assignment.valueEnd = end;
    if (!expands) {
        assignment.value = std::move(value);
    }
    return assignment;
}

bool isSafeValue(std::string_view value)
{
    for (const char c : value) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 32 || byte == 127 || c == '"' || c == '$' || c == '`' || c == '\\') {
            return false;
        }
    }
    return true;
}

std::string doubleQuoted(std::string_view value)
{
    std::string quoted;
    quoted.reserve(value.size() + 2);
    quoted += '"';
    quoted.append(value);
    quoted += '"';
    return quoted;
}

} // namespace powerdaemon
