// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Fixed paths and command lines of the power daemon and the product. The
// command lines are passed to the shell exactly as they stand here, spacing
// and redirections included.

namespace powersave {

inline constexpr char CommonFile[] = "/etc/sysconfig/powersave/common";
inline constexpr char SchemeDir[] = "/etc/sysconfig/powersave/";
inline constexpr char SchemePattern[] = "scheme_*";
inline constexpr int SchemeFileHeadLength = 7; // "scheme_"
inline constexpr char ProductSchemePrefix[] = "/opt/nexalt/pm/scheme/scheme_";

inline constexpr char AcSchemeKey[] = "AC_SCHEME";
inline constexpr char BatterySchemeKey[] = "BATTERY_SCHEME";

inline constexpr char ProcBatteryPrefix[] = "/proc/H8/BAT";
inline constexpr char RootBatteryPrefix[] = "/root/H8/BAT";

inline constexpr char ReloadCommand[] = "/etc/init.d/powersaved reload &>/dev/null";
inline constexpr char StartCommand[] = "/etc/init.d/powersaved start &>/dev/null";
inline constexpr char IdletimeRestartCommand[] = "/opt/nexalt/pm/idletime.sh restart &> /dev/null";
inline constexpr char PowerManagerStartCommand[] = "/opt/nexalt/pm/pm.sh start &> /dev/null";

} // namespace powersave
