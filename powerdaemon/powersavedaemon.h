// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// What the popup, the applet and the switch helper know of the power daemon
// and the product: the fixed paths, the keys and the command lines. The
// command lines are passed to the shell exactly as they stand here, spacing
// and redirections included.

namespace powerdaemon {

inline constexpr char CommonFile[] = "/etc/sysconfig/powersave/common";
inline constexpr char SchemeDir[] = "/etc/sysconfig/powersave/";
inline constexpr char ProductSchemeDir[] = "/opt/nexalt/pm/scheme/";
inline constexpr char SchemeFileHead[] = "scheme_";
inline constexpr char SchemePattern[] = "scheme_*";
inline constexpr int SchemeFileHeadLength = 7; // "scheme_"
inline constexpr char ProductSchemePrefix[] = "/opt/nexalt/pm/scheme/scheme_";

inline constexpr char AcSchemeKey[] = "AC_SCHEME";
inline constexpr char BatterySchemeKey[] = "BATTERY_SCHEME";

// The popup's commands: the daemon's reload, its start after a failed
// reload, and the idle-time restart ("&> /dev/null" with a blank).
inline constexpr char ReloadCommand[] = "/etc/init.d/powersaved reload &>/dev/null";
inline constexpr char StartCommand[] = "/etc/init.d/powersaved start &>/dev/null";
inline constexpr char IdletimeRestartCommand[] = "/opt/nexalt/pm/idletime.sh restart &> /dev/null";
inline constexpr char PowerManagerStartCommand[] = "/opt/nexalt/pm/pm.sh start &> /dev/null";

// The applet's commands: the reload through the init script without the
// final d, never a start, and the idle-time restart without the blank.
inline constexpr char AppletReloadCommand[] = "/etc/init.d/powersave reload &>/dev/null";
inline constexpr char AppletIdletimeRestartCommand[] =
    "/opt/nexalt/pm/idletime.sh restart &>/dev/null";

// The program that switches a scheme as root for a user who is not, and
// pkexec, which runs it once polkit has authorised the user.
inline constexpr char SwitchHelper[] = "/usr/libexec/ovra/ovra-switch-scheme";
inline constexpr char Pkexec[] = "/usr/bin/pkexec";

} // namespace powerdaemon
