// SPDX-License-Identifier: GPL-2.0-or-later
#include "shelllines.h"

namespace powerdaemon {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// A "#" starts a comment only where a word would start.
bool startsWord(std::string_view line, std::size_t i)
{
    if (i == 0) {
        return true;
    }
    const char before = line[i - 1];
    return isBlank(before) || before == ';' || before == '&' || before == '|' || before == '(' ||
           before == ')' || before == '<' || before == '>';
}

bool endsWord(char c)
{
    return isBlank(c) || c == ';' || c == '&' || c == '|' || c == '(' || c == ')' || c == '<' ||
           c == '>';
}

} // namespace

bool ShellLineState::atCommandStart() const
{
    return m_quote == Quote::None && m_parens == 0 && !m_continued && !m_inBody;
}

void ShellLineState::read(std::string_view line)
{
    if (m_inBody) {
        m_inBody = readHereDocumentLine(line);
        return;
    }
    m_continued = false;
    std::size_t i = 0;
    while (i < line.size()) {
        if (m_quote != Quote::None) {
            i = readQuoted(line, i);
            continue;
        }
        const char c = line[i];
        if (c == '#' && startsWord(line, i)) {
            break; // the rest is a comment
        }
        if (c == '\\') {
            if (i + 1 == line.size()) {
                m_continued = true;
            }
            i += 2;
        } else if (c == '\'') {
            m_quote = Quote::Single;
            ++i;
        } else if (c == '"') {
            m_quote = Quote::Double;
            ++i;
        } else if (c == '`') {
            m_quote = Quote::Back;
            ++i;
        } else if (c == '$' && i + 1 < line.size() && line[i + 1] == '\'') {
            m_quote = Quote::Ansi;
            i += 2;
        } else if (c == '(') {
            ++m_parens;
            ++i;
        } else if (c == ')') {
            // A case pattern's ")" closes nothing.
            m_parens = m_parens > 0 ? m_parens - 1 : 0;
            ++i;
        } else if (c == '<' && line.substr(i, 2) == "<<" && line.substr(i, 3) != "<<<") {
            i = readHereOperator(line, i + 2);
        } else if (c == '<' && line.substr(i, 3) == "<<<") {
            i += 3; // a here-string: no body follows
        } else {
            ++i;
        }
    }
    // A line inside double quotes or backquotes also goes on after a
    // trailing backslash; the quote itself carries the state.
    if (!m_hereDocuments.empty() && m_quote == Quote::None && !m_continued) {
        m_inBody = true;
    }
}

// Reads on from i inside the open quote; returns where reading goes on.
std::size_t ShellLineState::readQuoted(std::string_view line, std::size_t i)
{
    const char c = line[i];
    switch (m_quote) {
    case Quote::Single:
        if (c == '\'') {
            m_quote = Quote::None;
        }
        return i + 1;
    case Quote::Double:
    case Quote::Back:
    case Quote::Ansi:
        if (c == '\\') {
            return i + 2;
        }
        if ((m_quote == Quote::Double && c == '"') || (m_quote == Quote::Back && c == '`') ||
            (m_quote == Quote::Ansi && c == '\'')) {
            m_quote = Quote::None;
        }
        return i + 1;
    case Quote::None:
        break;
    }
    return i + 1;
}

// After "<<": an optional "-", blanks and the delimiter word, whose quotes
// bash removes. Returns where reading goes on.
std::size_t ShellLineState::readHereOperator(std::string_view line, std::size_t i)
{
    HereDocument document;
    if (i < line.size() && line[i] == '-') {
        document.stripTabs = true;
        ++i;
    }
    while (i < line.size() && isBlank(line[i])) {
        ++i;
    }
    const std::size_t begin = i;
    while (i < line.size() && !endsWord(line[i])) {
        ++i;
    }
    std::string_view word = line.substr(begin, i - begin);
    if (word.size() >= 2 && (word.front() == '\'' || word.front() == '"') &&
        word.back() == word.front()) {
        word = word.substr(1, word.size() - 2);
    }
    if (!word.empty()) {
        document.delimiter = word;
        m_hereDocuments.push_back(document);
    }
    return i;
}

// One line of a body; false once the last body has ended.
bool ShellLineState::readHereDocumentLine(std::string_view line)
{
    HereDocument& document = m_hereDocuments.front();
    if (document.stripTabs) {
        while (!line.empty() && line.front() == '\t') {
            line.remove_prefix(1);
        }
    }
    if (line == document.delimiter) {
        m_hereDocuments.erase(m_hereDocuments.begin());
    }
    return !m_hereDocuments.empty();
}

} // namespace powerdaemon
