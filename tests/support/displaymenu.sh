# SPDX-License-Identifier: GPL-2.0-or-later
# shellcheck shell=bash
# The applet's display choice through its menu, as a user makes it: a click
# on the gauge opens the menu, the keyboard picks the entry. The last entry is
# the launch, the one above it "show"; its submenu opens on the percentage,
# the time below it. Source it after a file that defines menu_geometry (the
# open menu's geometry, failing when none opens) and fail.
choose_display() { # X Y percentage|time: the gauge's top left corner
    xdotool mousemove $(($1 + 20)) $(($2 + 8)) click 1
    menu_geometry >/dev/null || fail "no menu"
    if [ "$3" == time ]; then
        xdotool key Up Up Right Down Return
    else
        xdotool key Up Up Right Return
    fi
}
