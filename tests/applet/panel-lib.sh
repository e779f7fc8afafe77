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
