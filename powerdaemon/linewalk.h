// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Walking a text line by line: a line feed ends a line, and bytes after the
// last line feed form one more line. What a carriage return is differs by
// reader (CarriageReturns).

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

namespace powerdaemon {

// What a carriage return is to a reader.
enum class CarriageReturns
{
    EndLine, // one before a line feed ends the line with it, any other is in the line
    Dropped, // none is in a line (the popup's battery reader and key lines)
};

// Where one line lies in its text: [begin, contentEnd) is the line without
// its line end, next the start of the following line.
struct TextLine
{
    std::size_t begin;
    std::size_t contentEnd;
    std::size_t next;
};

// Calls f(TextLine) for every line of text, in order.
template <typename F> void forEachTextLine(std::string_view text, F&& f)
{
    std::size_t begin = 0;
    while (begin < text.size()) {
        const std::size_t feed = text.find('\n', begin);
        const std::size_t next = feed == std::string_view::npos ? text.size() : feed + 1;
        std::size_t contentEnd = feed == std::string_view::npos ? text.size() : feed;
        if (feed != std::string_view::npos && contentEnd > begin && text[contentEnd - 1] == '\r') {
            --contentEnd;
        }
        f(TextLine{begin, contentEnd, next});
        begin = next;
    }
}

// Calls f(std::string_view) with every line of text, without its line end
// (CarriageReturns::EndLine).
template <typename F> void forEachLineContent(std::string_view text, F&& f)
{
    forEachTextLine(text, [&](const TextLine& line) {
        f(text.substr(line.begin, line.contentEnd - line.begin));
    });
}

// The same, with carriage returns as the reader takes them.
template <typename F> void forEachLineContent(std::string_view text, CarriageReturns returns, F&& f)
{
    std::string kept;
    forEachLineContent(text, [&](std::string_view line) {
        if (returns == CarriageReturns::Dropped && line.find('\r') != std::string_view::npos) {
            kept.assign(line);
            kept.erase(std::remove(kept.begin(), kept.end(), '\r'), kept.end());
            line = kept;
        }
        f(line);
    });
}

} // namespace powerdaemon
