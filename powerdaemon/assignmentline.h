// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// One line of a shell configuration file as bash reads it: is it an
// assignment to a given key, what value does bash give the key, and how is
// only that value replaced. Standard library only, so that both the popup
// (Qt 6) and the applet (Qt 5 or 6) use the same rules.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace powerdaemon {

// A line that bash reads as an assignment to the key: optional blanks,
// optional "export" and blanks, KEY=, one shell word, then nothing, blanks,
// a "#" comment or a ";" with more shell text. Offsets are into the line.
struct Assignment
{
    std::size_t valueBegin = 0; // first byte of the value word
    std::size_t valueEnd = 0;   // one past its last byte
    // What bash assigns. Unknown (nullopt) when the word expands something
    // ($, a backquote, or an unquoted ~): the value is only known at run time.
    std::optional<std::string> value;
};

// The assignment to key in line (the line without its line feed; a carriage
// return is an ordinary byte here, as for bash). nullopt for every other
// line: comments, other keys (MY_KEY=, OLD_KEY=, KEYS=), a word that goes on
// past the line's end (open quote, trailing backslash), a word followed by
// a command or by one of | & ( ) < >, which bash would not assign here.
std::optional<Assignment> parseAssignment(std::string_view line, std::string_view key);

// True when bash reads value back unchanged from "value": no double quote,
// "$", backquote, backslash, and no control character (line ends included).
bool isSafeValue(std::string_view value);

// value in double quotes; only for values isSafeValue accepts.
std::string doubleQuoted(std::string_view value);

} // namespace powerdaemon
