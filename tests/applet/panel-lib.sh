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
