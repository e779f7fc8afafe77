// SPDX-License-Identifier: GPL-2.0-or-later
// libFuzzer target over the switch helper's arguments, which anyone may pass
// when the helper runs as root: parseSwitchArguments and the name checks
// that switchScheme makes before it touches a file. The input is the
// argument list, the arguments cut at NUL bytes as in argv.
#include "fuzzcheck.h"

#include "powerdaemon/assignmentline.h"
#include "powerdaemon/powersavedaemon.h"
#include "powerdaemon/schemerules.h"
#include "powerdaemon/schemeswitch.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace {

using fuzzcheck::require;

std::vector<std::string> argumentsOf(std::string_view input)
{
    std::vector<std::string> args;
    if (input.empty()) {
        return args;
    }
    for (;;) {
        const std::size_t cut = input.find('\0');
        args.emplace_back(input.substr(0, cut));
        if (cut == std::string_view::npos) {
            return args;
        }
        input.remove_prefix(cut + 1);
    }
}

// A name the helper accepts stays one value in the daemon's file, and the
// scheme files it names (folder, "scheme_", name) lie in the scheme folders.
void checkSafeName(const std::string& name)
{
    if (!powerdaemon::isSafeSchemeName(name)) {
        return;
    }
    require(powerdaemon::isSafeValue(name), "a safe scheme name is a safe shell value");
    require(name.find('/') == std::string::npos, "a safe scheme name names no other folder");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::vector<std::string> args =
        argumentsOf(std::string_view(reinterpret_cast<const char*>(data), size));
    const auto parsed = powerdaemon::parseSwitchArguments(args);
    if (const auto* refusal = std::get_if<std::string>(&parsed)) {
        require(!refusal->empty(), "a refusal says why");
    } else {
        const auto& request = std::get<powerdaemon::SwitchRequest>(parsed);
        require(args.size() == 3, "a request has three arguments");
        require(powerdaemon::rulesName(request.rules) == args[0], "the rules are the ones named");
        const bool ac = request.acScheme.has_value();
        require(ac != request.batteryScheme.has_value(), "a request sets one key");
        const std::string key = ac ? powerdaemon::AcSchemeKey : powerdaemon::BatterySchemeKey;
        const std::string& name = ac ? *request.acScheme : *request.batteryScheme;
        require(powerdaemon::isSchemeKey(key) && key == args[1],
                "the key is a scheme key, the one named");
        require(name == args[2], "the name is the one given");
        // What a caller hands to pkexec gives the same request again.
        auto again = powerdaemon::switchArguments(request.rules, key, name);
        require(again.size() == 4 && again[0] == powerdaemon::SwitchHelper,
                "a caller runs the helper");
        again.erase(again.begin());
        require(again == args, "a caller's arguments are the request's");
    }
    for (const std::string& arg : args) {
        checkSafeName(arg);
    }
    return 0;
}
