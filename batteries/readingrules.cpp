// SPDX-License-Identifier: GPL-2.0-or-later
#include "readingrules.h"
#include "statefile.h"

#include <cstdio>

namespace batteries {

std::string stateFilePath(Rules rules, int n)
{
    const bool rootCopy = rules == Rules::Popup && OVRA_USE_ROOT_BATTERY_PATH;
    char path[48];
    std::snprintf(path, sizeof path, rootCopy ? RootCopyStateFileFormat : StateFileFormat, n);
    return path;
}

} // namespace batteries
