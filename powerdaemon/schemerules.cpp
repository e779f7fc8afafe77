// SPDX-License-Identifier: GPL-2.0-or-later
#include "schemerules.h"
#include "configtext.h"
#include "powersavedaemon.h"

#include <string>

#include <sys/stat.h>

namespace powerdaemon {

namespace {

bool isNameByte(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '_' || c == '+' || c == '-';
}

bool exists(const std::string& path)
{
    struct stat status;
    return ::stat(path.c_str(), &status) == 0;
}

bool isRegularFileNotLink(const std::string& path)
{
    struct stat status;
    return ::lstat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

} // namespace

const char* rulesName(Rules rules)
{
    return rules == Rules::Popup ? "popup" : "applet";
}

std::optional<Rules> rulesNamed(std::string_view name)
{
    if (name == "popup") {
        return Rules::Popup;
    }
    if (name == "applet") {
        return Rules::Applet;
    }
    return std::nullopt;
}

bool isSchemeKey(std::string_view key)
{
    return key == AcSchemeKey || key == BatterySchemeKey;
}

bool isSafeSchemeName(std::string_view name)
{
    if (name.find("..") != std::string_view::npos) {
        return false;
    }
    for (const char c : name) {
        if (!isNameByte(c)) {
            return false;
        }
    }
    return true;
}

bool isListedScheme(Rules rules, std::string_view name)
{
    const std::string product = ProductSchemePrefix + std::string(name);
    if (rules == Rules::Applet) {
        return isRegularFileNotLink(product);
    }
    return exists(SchemeDir + std::string(SchemeFileHead) + std::string(name)) && exists(product);
}

std::string readSchemeKey(Rules rules, std::string_view text, std::string_view key)
{
    const auto values = powerdaemon::keyValues(text, key);
    if (rules == Rules::Applet) {
        // What bash is left with: the last assignment, empty or not.
        return values.empty() || !values.back() ? std::string() : *values.back();
    }
    std::string last;
    for (const auto& value : values) {
        if (value && !value->empty()) {
            last = *value;
        }
    }
    return last;
}

SwitchCommands switchCommands(Rules rules)
{
    if (rules == Rules::Applet) {
        return {AppletReloadCommand, nullptr, AppletIdletimeRestartCommand};
    }
    return {ReloadCommand, StartCommand, IdletimeRestartCommand};
}

bool commandsRunAfterFailedWrite(Rules rules)
{
    return rules == Rules::Applet;
}

} // namespace powerdaemon
