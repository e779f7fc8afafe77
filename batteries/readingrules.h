// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The rules by which the popup and the applet read the battery module's
// state files. The two programs differ on purpose in these points, each
// named here once:
//   path        popup: the copy under /root/H8 when built with
//               OVRA_USE_ROOT_BATTERY_PATH, else /proc/H8; applet: /proc/H8
//   lines       popup: no line holds a carriage return; applet: one before
//               a line feed ends the line, any other is part of it
//   labels      popup: of its twelve labels the first that a line holds,
//               the value cut after as many bytes as the label and colon
//               have, without its leading blanks and control bytes
//               (popupreading.h); applet: its five value labels in turn,
//               each on what the one before cut, the value cut by the
//               label's length and its unit's fixed length, blanks trimmed
//               (appletreading.h)
//   numbers     popup: StrToIntSafe and its kin (common/), -1 for an empty
//               text, -2 for one that is no number, the unit after the last
//               blank; applet: Qt's conversions (numbertext.h), 0 for no
//               number, an empty value keeps the field
//   mains       popup: the last "AC attached" value, mains when it is
//               exactly "Yes", else and without one the battery; applet:
//               the last "AC attached:" line holding "Yes" or "No" ("No"
//               when it holds both), unknown without one, and full when a
//               "FullyCharged:" line holds no "0"
//   unreadable  popup: an error it shows; applet: a battery that is there
//               but not known

#include "powerdaemon/linewalk.h"

#include <string>
#include <string_view>

namespace batteries {

enum class Rules
{
    Popup,
    Applet
};

// Battery n's state file as the program of these rules reads it.
std::string stateFilePath(Rules rules, int n);

// Calls f(std::string_view) with every line of a state file's text, as the
// program of these rules sees its lines.
template <typename F> void forEachStateLine(Rules rules, std::string_view text, F&& f)
{
    powerdaemon::forEachLineContent(text,
                                    rules == Rules::Popup ? powerdaemon::CarriageReturns::Dropped
                                                          : powerdaemon::CarriageReturns::EndLine,
                                    f);
}

} // namespace batteries
