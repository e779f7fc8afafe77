#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# The display choice made in the applet's menu outlives a restart of
# lxqt-panel: the plugin hands the applet the configuration file named in its
# settings again, in which the applet keeps the choice. On the battery, so
# that the bar writes the time when it is chosen. Arguments: see lib.sh.
here=$(dirname "$0")
. "$here/lib.sh"
. "$here/../support/displaymenu.sh"

bar_text() { # SHOT-NAME
    gauge "$1" | grep -oE 'text=[0-9a-f]+|no gauge'
}
choose() { # percentage|time
    local x y
    read -r x y < <(gauge xy | sed -E 's/.* x=([0-9]+) y=([0-9]+)/\1 \2/')
    choose_display "$x" "$y" "$1"
}
# Waits until the bar writes a text other than the given one; prints it.
wait_for_change() { # SHOT-NAME TEXT
    local now
    for _ in $(seq 50); do
        now=$(bar_text "$1")
        [[ $now == text=* && $now != "$2" ]] && break
        sleep 0.2
    done
    echo "$now"
}
config_file() { sed -n 's/^configFile=//p' "$panel_conf"; }

"$LAPTOP_SRC/batterysim" set 0 ac=no charge=60 rate=1800
write_config Bottom 40
start_panel
check_eq "the applet is loaded" OvraIface "$(wait_for_object 20 OvraIface)"
percentage=$(wait_for_change lxqt-percentage none)
check_eq "the new applet writes the percentage" yes "$([[ $percentage == text=* ]] && echo yes)"
choose time
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
