#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# The applet in a real lxqt-panel on a laptop of today, run by an ordinary
# user: the gauge shows UPower's battery without loading a module, its menu
# lists power-profiles-daemon's profiles and a click on one puts it in force
# and keeps it for the power source in use, and an unplug narrows the gauge.
# Arguments: PLUGIN_DIR ENTRY_DIR DCOP SCREENPROBE (see tests/support/panel.sh).
. "$(dirname "$0")/../support/panel.sh" lxqt "$@"
. "$(dirname "$0")/../support/systembus.sh"
active() { profiles_property ActiveProfile; }
module_calls() { grep -sE '^(insmod|kdialog)[[:space:]]' "$calls"; }

((EUID != 0)) && echo "ok: runs as user $EUID" || fail "runs as root"
write_config Bottom 40
start_panel
check_eq "the panel's DCOP application lxqt-panel holds OvraIface" OvraIface \
    "$(wait_for_object 20 OvraIface)"
check_gauge "UPower's battery: 87 %, on mains" lxqt-today-mains 87 mains
check_eq "no module loaded, no missing module told" "" "$(module_calls)"

# The menu: its title, the three profiles, "show"; the launch entry is
# greyed (no power manager here), which the probe does not count as a row.
read -r left rows < <(open_gauge_menu lxqt-today-menu 150)
check_eq "the menu holds the title, three profiles and show" 5 "$(wc -w <<<"$rows")"
read -r _ saver _ <<<"$rows"
xdotool mousemove $((left + 40)) "$saver" click 1
check_eq "a click on Power Saver puts it in force" power-saver \
    "$(wait_for_output 10 power-saver active)"
check_eq "and keeps it for mains power" 'AC_SCHEME="power-saver"' \
    "$(wait_for_output 10 'AC_SCHEME="power-saver"' grep -x 'AC_SCHEME="power-saver"' "$XDG_CONFIG_HOME/ovra/schemes")"

"$LAPTOP_SRC/todaysim" mains off
check_gauge "unplugged: the narrow gauge" lxqt-today-battery 87 battery
check_eq "still no module loaded" "" "$(module_calls)"
check_panel_runs
end_test
