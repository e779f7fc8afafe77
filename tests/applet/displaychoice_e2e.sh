#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# The display choice outlives a restart of the panel: panelhost, run with its
# own configuration, hands the applet the same configuration file again, in
# which the applet keeps the choice made in its menu. On the battery, so
# that the bar writes the time when it is chosen. Arguments: PANELHOST DCOP
# SCREENPROBE.
set -u
. "$(dirname "$0")/../support/checks.sh"
. "$(dirname "$0")/panel-lib.sh"
. "$(dirname "$0")/../support/displaymenu.sh"
panelhost=$1
dcop=$2
probe=$3
shots=${OVRA_SHOT_DIR:-$(mktemp -d)}
log=$(mktemp)
config_dir=${XDG_CONFIG_HOME:-$HOME/.config}
# panelhost loads the applets of its own configuration.
panel_args=()

# The text written on the bar, told apart by the probe.
bar_text() { # SHOT-NAME
    "$LAPTOP_SRC/screenshot" "$shots/$1.png" &&
        QT_QPA_PLATFORM=offscreen "$probe" gauge "$shots/$1.png" | grep -oE 'text=[0-9a-f]+|no gauge'
}
gauge_xy() {
    "$LAPTOP_SRC/screenshot" "$shots/xy.png" &&
        QT_QPA_PLATFORM=offscreen "$probe" gauge "$shots/xy.png" |
        sed -E 's/.* x=([0-9]+) y=([0-9]+)/\1 \2/'
}
choose() { # percentage|time
    local x y
    read -r x y < <(gauge_xy)
    choose_display "$x" "$y" "$1"
}
# Waits until the bar's text is not the given one; prints it.
wait_for_change() { # SHOT-NAME TEXT
    local now
    for _ in $(seq 50); do
        now=$(bar_text "$1")
        [ -n "$now" ] && [ "$now" != "$2" ] && [ "$now" != "no gauge" ] && break
        sleep 0.2
    done
    echo "$now"
}

"$LAPTOP_SRC/batterysim" set 0 ac=no charge=60 rate=1800
mkdir -p "$config_dir"
printf '[%%General]\nApplets=ovraapplet.desktop\n' >"$config_dir/panelhostrc"

start_panel
percentage=$(wait_for_change percentage none)
check_eq "the new applet writes the percentage" yes "$([[ $percentage == text=* ]] && echo yes)"
choose time
time=$(wait_for_change time "$percentage")
[ "$time" != "$percentage" ] && echo "ok: the menu switched to the time" ||
    fail "the bar still shows $percentage"
rc=$(sed -n 's/^ConfigFiles=//p' "$config_dir/panelhostrc")
grep -qx 'ShowPercentage=false' "$config_dir/$rc" 2>/dev/null &&
    echo "ok: the choice is in the applet's file $rc" || fail "no choice in '$rc'"
stop_panel

start_panel
check_eq "after a restart the bar still writes the time" "$time" \
    "$(wait_for_output 10 "$time" bar_text time-again)"
check_eq "the applet kept its file" "$rc" "$(sed -n 's/^ConfigFiles=//p' "$config_dir/panelhostrc")"
choose percentage
check_eq "the percentage chosen again" "$percentage" \
    "$(wait_for_output 10 "$percentage" bar_text percentage-again)"
stop_panel

start_panel
check_eq "after another restart the bar writes the percentage" "$percentage" \
    "$(wait_for_output 10 "$percentage" bar_text percentage-kept)"
stop_panel

finish
