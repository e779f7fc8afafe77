// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The switch of one scheme key as root: the step that the switch helper
// runs for a user whom polkit has authorised. It trusts nothing it is
// given: the key, the name and the program whose rules apply are checked
// before anything is read, written or run.

#include "schemerules.h"
#include "switchreport.h"

#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace powerdaemon {

struct SwitchRequest
{
    Rules rules;
    std::string key;
    std::string name;
};

// The helper's arguments (argv[1] on): RULES KEY NAME and nothing more.
// The request, or why it is refused.
std::variant<SwitchRequest, std::string> parseSwitchArguments(const std::vector<std::string>& args);

// The arguments a caller hands to pkexec for a request: the helper's path
// first.
std::vector<std::string> switchArguments(Rules rules, std::string_view key, std::string_view name);

// Checks the request against the rules' listing and the safe-name rule,
// sets the key to the name in the daemon's common file (a new file renamed
// over it, owner and mode kept) and runs the rules' commands, each bounded.
SwitchReport switchScheme(const SwitchRequest& request);

} // namespace powerdaemon
