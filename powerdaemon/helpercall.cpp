// SPDX-License-Identifier: GPL-2.0-or-later
#include "helpercall.h"
#include "schemeswitch.h"

#include <utility>

namespace powerdaemon {

std::vector<std::string> pkexecArguments(Rules rules, std::string_view key, std::string_view name)
{
    std::vector<std::string> arguments{"--disable-internal-agent"};
    for (std::string& argument : switchArguments(rules, key, name)) {
        arguments.push_back(std::move(argument));
    }
    return arguments;
}

std::optional<SwitchReport> helperReport(std::string_view output)
{
    return SwitchReport::fromText(output.substr(0, HelperOutputLimit));
}

bool pkexecSaysMore(std::string_view message)
{
    return !message.empty() && message.find("Not authorized") == std::string_view::npos;
}

} // namespace powerdaemon
