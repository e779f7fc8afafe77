// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The caller's side of a switch through the switch helper, for the popup and
// the applet run by a user who is not root: the arguments pkexec gets, and
// the reading of what pkexec and the helper leave behind.

#include "schemerules.h"
#include "switchreport.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace powerdaemon {

// The most a caller reads of the helper's report (pkexec's standard output)
// and of pkexec's own words (its standard error): the report is a few
// short lines.
inline constexpr std::size_t HelperOutputLimit = 64 * 1024;

// pkexec's exit statuses when the helper never ran: the user dismissed the
// authentication dialog, or was not authorised (or pkexec failed). Any
// other status is the helper's own (0 to 3).
inline constexpr int PkexecDismissed = 126;
inline constexpr int PkexecNotAuthorized = 127;

constexpr bool pkexecRefused(int status)
{
    return status == PkexecDismissed || status == PkexecNotAuthorized;
}

// pkexec's arguments for a request: only a desktop agent asks for a
// password, since neither the popup nor the panel has a terminal to ask in;
// then the helper's path and its arguments.
std::vector<std::string> pkexecArguments(Rules rules, std::string_view key, std::string_view name);

// The helper's report in pkexec's standard output, of which only the first
// HelperOutputLimit bytes are read; nullopt when it holds none (the helper
// never ran: pkexec not started, the user not authorised, the dialog
// dismissed).
std::optional<SwitchReport> helperReport(std::string_view output);

// True when pkexec's words (its standard error, trimmed) say more than that
// the user is not authorized: only then are they told beside the
// program's own.
bool pkexecSaysMore(std::string_view message);

} // namespace powerdaemon
