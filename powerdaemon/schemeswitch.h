// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The one switch of the daemon's scheme keys: root runs it in its own
// process, everybody else through the switch helper, which pkexec runs as
// root. It trusts no name it is given: a name that could not stand safely
// in the root-owned file is refused before anything is read, written or
// run. Whether a scheme is offered is for the helper to check, before it
// calls the switch for a caller it does not trust.

#include "schemerules.h"
#include "switchreport.h"

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace powerdaemon {

// The names to set, by key: one or both. A key not given keeps what the
// file has. The commands run once for the whole request.
struct SwitchRequest
{
    Rules rules;
    std::optional<std::string> acScheme;
    std::optional<std::string> batteryScheme;
};

// The helper's arguments (argv[1] on): RULES KEY NAME and nothing more.
// The request, or why it is refused.
std::variant<SwitchRequest, std::string> parseSwitchArguments(const std::vector<std::string>& args);

// The arguments a caller hands to pkexec for a request: the helper's path
// first.
std::vector<std::string> switchArguments(Rules rules, std::string_view key, std::string_view name);

// The write alone: checks the names, then, holding the switch lock
// (switchlock.h) from the read to the rename, sets each key given in the
// file at path (a new file renamed over it, owner, mode, ACL and extended
// attributes kept; a file that already gives the names is left alone). No
// command runs.
SwitchReport writeSchemeKeys(const SwitchRequest& request, const std::string& path);

// The whole switch: the write to the daemon's common file, then the rules'
// commands, each bounded (not after a failed write where the rules say so).
SwitchReport switchScheme(const SwitchRequest& request);

} // namespace powerdaemon
