// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Fixed paths and command lines of the power daemon and the product (kept
// with the applet's and the switch helper's in powerdaemon), and where the
// popup reads the battery module's files.

#include "powerdaemon/powersavedaemon.h"

namespace powerdaemon {

inline constexpr char ProcBatteryPrefix[] = "/proc/H8/BAT";
inline constexpr char RootBatteryPrefix[] = "/root/H8/BAT";

} // namespace powerdaemon
