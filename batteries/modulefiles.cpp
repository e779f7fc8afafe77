// SPDX-License-Identifier: GPL-2.0-or-later
#include "modulefiles.h"
#include "appletreading.h"
#include "popupreading.h"
#include "readingrules.h"
#include "statefile.h"

#include "powerdaemon/boundedread.h"

#include <unistd.h>

namespace batteries {

namespace {

// Battery n's state file by these rules: none without it; else its text, or
// none with failure set.
std::optional<std::string> readIfThere(Rules rules, int n, bool& there,
                                       powerdaemon::FileError& failure)
{
    const std::string path = stateFilePath(rules, n);
    there = ::access(path.c_str(), F_OK) == 0;
    return there ? powerdaemon::readRegularFile(path, StateFileLimit, failure) : std::nullopt;
}

} // namespace

PowerReading ModuleFiles::powerSource()
{
    PowerReading reading;
    bool there = false;
    powerdaemon::FileError failure;
    if (const auto text = readIfThere(Rules::Popup, 0, there, failure)) {
        reading.source = popupPowerSource(*text);
    } else if (there) {
        reading.failure = failure;
    }
    return reading;
}

Bay ModuleFiles::bay(int index)
{
    bool there = false;
    powerdaemon::FileError failure;
    const auto text = index < 0 ? std::nullopt : readIfThere(Rules::Applet, index, there, failure);
    return there ? bayOf(text ? std::optional<std::string_view>(*text) : std::nullopt) : Bay();
}

} // namespace batteries
