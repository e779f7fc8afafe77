# SPDX-License-Identifier: GPL-2.0-or-later
# shellcheck shell=bash
# Helpers of the applet's tests in a real panelhost under X. Source it.

# The geometry "W H X Y" of the panel's open menu, the top-level window of
# panelhost that is not the panel itself.
menu_geometry() {
    local line
    for _ in $(seq 50); do
        line=$(xwininfo -root -tree | grep '("panelhost" "panelhost")' | grep -v ' 1280x' |
            grep -oE '[0-9]+x[0-9]+\+[0-9]+\+[0-9]+' | head -n1)
        if [ -n "$line" ]; then
            tr 'x+' '  ' <<<"$line"
            return 0
        fi
        sleep 0.1
    done
    return 1
}

# Starts panelhost with the arguments in panel_args (by default the battery
# applet; empty: the applets of its configuration) and waits until the applet
# answers over DCOP. Needs panelhost, dcop and log set.
panel_args=(--applet ovraapplet.desktop)
start_panel() {
    "$panelhost" "${panel_args[@]}" >"$log" 2>&1 &
    panel_pid=$!
    [ "$(wait_for_output 20 OvraIface "$dcop" panelhost)" == OvraIface ] ||
        fail "the applet did not load: $(cat "$log")"
}
stop_panel() {
    kill "$panel_pid" 2>/dev/null
    wait "$panel_pid" 2>/dev/null
}

# The screen probe (path in probe) and screenshots (folder in shots) of the
# gauge and its menu; gauge_width is the width the gauge should have.
probe() { QT_QPA_PLATFORM=offscreen "$probe" "$@"; }
shot() { "$LAPTOP_SRC/screenshot" "$shots/$1.png"; }

# Waits for the gauge at the given width; prints "X Y" of its bar.
wait_for_gauge() { # WIDTH
    local out
    for _ in $(seq 50); do
        shot gauge
        out=$(probe gauge "$shots/gauge.png")
        if [[ $out == *"width=$1 "* ]]; then
            sed -E 's/.* x=([0-9]+) y=([0-9]+)/\1 \2/' <<<"$out"
            return 0
        fi
        sleep 0.2
    done
    echo "gauge not at width $1: $out" >&2
    return 1
}
# Clicks the gauge and prints the menu's rows (the middle line of each, from
# the top) and its left edge: "LEFT ROW0 ROW1 ...".
open_menu() { # NAME
    read -r x y < <(wait_for_gauge "$gauge_width") || return 1
    xdotool mousemove $((x + 20)) $((y + 8)) click 1
    sleep 0.5
    read -r w h mx my < <(menu_geometry) || { echo "no menu" >&2; return 1; }
    shot "$1"
    echo "$mx $(probe rows "$shots/$1.png" "$mx" "$my" "$w" "$h")"
}
