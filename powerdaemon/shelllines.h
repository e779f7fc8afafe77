// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Which lines of a shell text begin a command, as bash reads the text: a
// line that starts inside an open quote, a backquote or a $( ), after a
// trailing backslash, or inside a here-document's body is part of something
// else and assigns nothing, whatever it looks like.

#include "linewalk.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace powerdaemon {

// Calls f(const TextLine&, bool startsCommand) for every line of text, in
// order; startsCommand is true for the lines that bash starts reading as a
// new command of the text's own shell.
template <typename F> void forEachShellLine(std::string_view text, F&& f);

// The lexical state carried from one line to the next.
class ShellLineState
{
public:
    // True when the next line begins a command.
    bool atCommandStart() const;
    // Reads one line (without its line end) and carries its open quotes,
    // continuation and here-documents on to the next.
    void read(std::string_view line);

private:
    enum class Quote
    {
        None,
        Single,
        Double,
        Back,
        Ansi // $'...'
    };
    struct HereDocument
    {
        std::string_view delimiter;
        bool stripTabs = false;
    };

    bool readHereDocumentLine(std::string_view line);
    std::size_t readQuoted(std::string_view line, std::size_t i);
    std::size_t readHereOperator(std::string_view line, std::size_t i);

    Quote m_quote = Quote::None;
    int m_parens = 0; // open $( and ( that a later line closes
    bool m_continued = false;
    // Here-documents whose operators stood on the lines read so far; their
    // bodies follow, in order, once the command's line has ended.
    std::vector<HereDocument> m_hereDocuments;
    bool m_inBody = false;
};

template <typename F> void forEachShellLine(std::string_view text, F&& f)
{
    ShellLineState state;
    forEachTextLine(text, [&](const TextLine& line) {
        const bool starts = state.atCommandStart();
        // A carriage return is an ordinary byte to bash: "\\\r" continues nothing.
        std::string_view raw = text.substr(line.begin, line.next - line.begin);
        if (!raw.empty() && raw.back() == '\n') {
            raw.remove_suffix(1);
        }
        state.read(raw);
        f(line, starts);
    });
}

} // namespace powerdaemon
