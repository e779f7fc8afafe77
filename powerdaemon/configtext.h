// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// A whole shell configuration text: the values bash gives one key, and the
// text with only that key's value replaced.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace powerdaemon {

// The value of every assignment line of key, in file order; nullopt where
// the value holds an expansion. Only a line at which bash starts a command
// can be one: never a line inside a multi-line quote, after a trailing
// backslash or in a here-document. A carriage return right before a line feed
// belongs to the line end.
std::vector<std::optional<std::string>> keyValues(std::string_view text, std::string_view key);

// text with value set on every assignment line of key, duplicates included.
// value must pass isSafeValue. Only the value word is replaced, by value in
// double quotes; the line's blanks, "export" and comment keep their bytes.
// A line from which bash already reads exactly value keeps all its bytes.
// A rewritten line ends with a bare line feed: bash would take a carriage
// return before it into the value. Every other line keeps its bytes; a key
// the text lacks is not added.
std::string setKeyValue(std::string_view text, std::string_view key, std::string_view value);

} // namespace powerdaemon
