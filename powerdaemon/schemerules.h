// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The rules by which the popup and the applet read and switch the daemon's
// schemes. The two programs differ on purpose in these points, each named
// here once:
//   listing   popup: a scheme file in both scheme folders (any kind of
//             entry); applet: a regular file of the product's folder
//   reading   popup: the last non-empty value of the key; applet: the value
//             bash is left with, that of the last line that assigns the key
//             (empty: the applet's default)
//   commands  popup: reload, start when the reload failed, idle-time
//             restart; applet: its own reload and idle-time restart
//   write     popup: a file that cannot be rewritten stops the switch
//             before any command; applet: the commands run all the same
// How each program tells what came of a switch (its error box, standard
// error) is no rule of the daemon's file: schemes/switchwords.h.

#include <optional>
#include <string>
#include <string_view>

namespace powerdaemon {

enum class Rules
{
    Popup,
    Applet
};

// "popup" and "applet", as the switch helper is told them.
const char* rulesName(Rules rules);
std::optional<Rules> rulesNamed(std::string_view name);

// AC_SCHEME or BATTERY_SCHEME.
bool isSchemeKey(std::string_view key);

// A name that may go into the root-owned file: letters, digits, ".", "_",
// "+" and "-", and no "..". Nothing in it means anything to the shell,
// inside double quotes or out. The empty name (of a file "scheme_") is one.
bool isSafeSchemeName(std::string_view name);

// True when the program of these rules offers the scheme.
bool isListedScheme(Rules rules, std::string_view name);

// The value a program takes for key from the file's text; empty when it
// finds none.
std::string readSchemeKey(Rules rules, std::string_view text, std::string_view key);

// The commands a switch runs after the write, in order.
struct SwitchCommands
{
    const char* reload;
    const char* startAfterFailedReload; // nullptr: none
    const char* idletimeRestart;
};
SwitchCommands switchCommands(Rules rules);

// Whether a file that could not be rewritten still gets the commands.
bool commandsRunAfterFailedWrite(Rules rules);

} // namespace powerdaemon
