#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# The display choice made in the applet's menu outlives a restart of
# lxqt-panel: the plugin hands the applet the configuration file named in its
# settings again, in which the applet keeps the choice. On the battery, so
# that the bar writes the time when it is chosen. Arguments: PLUGIN_DIR
# ENTRY_DIR DCOP SCREENPROBE (see tests/support/panel.sh).
. "$(dirname "$0")/../support/panel.sh" lxqt "$@"
config_file() { sed -n 's/^configFile=//p' "$panel_conf"; }

"$LAPTOP_SRC/batterysim" set 0 ac=no charge=60 rate=1800
write_config Bottom 40
start_panel
check_eq "the applet is loaded" OvraIface "$(wait_for_object 20 OvraIface)"
percentage=$(wait_for_change lxqt-percentage none)
check_eq "the new applet writes the percentage" yes "$([[ $percentage == text=* ]] && echo yes)"
choose_display time
time=$(wait_for_change lxqt-time "$percentage")
[ "$time" != "$percentage" ] && echo "ok: the menu switched to the time" ||
    fail "the bar still shows $percentage"
rc=$(config_file)
grep -qx 'ShowPercentage=false' "${XDG_CONFIG_HOME}/$rc" 2>/dev/null &&
    echo "ok: the choice is in the applet's file $rc" || fail "no choice in '$rc'"
stop_panel

start_panel
check_eq "the applet is loaded again" OvraIface "$(wait_for_object 20 OvraIface)"
check_eq "after a restart the bar still writes the time" "$time" \
    "$(wait_for_output 10 "$time" bar_text lxqt-time-again)"
check_eq "the plugin kept the applet's file" "$rc" "$(config_file)"
end_test
