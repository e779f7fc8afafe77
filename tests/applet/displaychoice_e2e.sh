#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# The display choice outlives a restart of the panel: panelhost, run with its
# own configuration, hands the applet the same configuration file again, in
# which the applet keeps the choice made in its menu. On the battery, so
# that the bar writes the time when it is chosen. Arguments: PANELHOST DCOP
# SCREENPROBE (see tests/support/panel.sh).
. "$(dirname "$0")/../support/panel.sh" panelhost "$@"
config_dir=${XDG_CONFIG_HOME:-$HOME/.config}
# panelhost loads the applets of its own configuration.
panel_args=()

"$LAPTOP_SRC/batterysim" set 0 ac=no charge=60 rate=1800
mkdir -p "$config_dir"
printf '[%%General]\nApplets=ovraapplet.desktop\n' >"$config_dir/panelhostrc"

start_applet
percentage=$(wait_for_change percentage none)
check_eq "the new applet writes the percentage" yes "$([[ $percentage == text=* ]] && echo yes)"
choose_display time
time=$(wait_for_change time "$percentage")
[ "$time" != "$percentage" ] && echo "ok: the menu switched to the time" ||
    fail "the bar still shows $percentage"
rc=$(sed -n 's/^ConfigFiles=//p' "$config_dir/panelhostrc")
grep -qx 'ShowPercentage=false' "$config_dir/$rc" 2>/dev/null &&
    echo "ok: the choice is in the applet's file $rc" || fail "no choice in '$rc'"
stop_panel

start_applet
check_eq "after a restart the bar still writes the time" "$time" \
    "$(wait_for_output 10 "$time" bar_text time-again)"
check_eq "the applet kept its file" "$rc" "$(sed -n 's/^ConfigFiles=//p' "$config_dir/panelhostrc")"
choose_display percentage
check_eq "the percentage chosen again" "$percentage" \
    "$(wait_for_output 10 "$percentage" bar_text percentage-again)"
stop_panel

start_applet
check_eq "after another restart the bar writes the percentage" "$percentage" \
    "$(wait_for_output 10 "$percentage" bar_text percentage-kept)"
end_test
