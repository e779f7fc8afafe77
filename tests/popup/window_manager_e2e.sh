#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Under a window manager: activation is traced on standard output (written
# when the program ends), clicking another program's window leaves the popup
# open and on top, and the window manager's close request ends the program.
# Argument: SCHEMEPOP. Runs inside laptop/sandbox --x11.
. "$(dirname "$0")/../support/popup.sh" "$@"

start_window_manager openbox --sm-disable
start_popup one
wait_popup one
check_window
wait_until 5 is_active "$WID" || fail_now "popup not activated"

xlogo -geometry 120x120+20+20 &
wait_until 10 bash -c "xdotool search --onlyvisible --class xlogo" >/dev/null ||
    fail_now "xlogo did not start"
other=$(xdotool search --onlyvisible --class xlogo | head -1)
xdotool mousemove --sync 80 80 click 1
wait_until 5 is_active "$other" || fail_now "xlogo not activated"
sleep 0.3
alive one || fail_now "the popup ended when it lost the focus"
stacking=$(xprop -root _NET_CLIENT_LIST_STACKING | grep -o '0x[0-9a-f]*' | tail -1)
((stacking == WID)) || fail_now "the popup is not on top"

click_at 100 340 # back into the popup, on its black background
wait_until 5 is_active "$WID" || fail_now "popup not activated again"
xdotool key alt+F4
wait_exit one
((STATUS == 0)) || fail_now "exit status $STATUS"
[[ $(cat "$WORK/one.out") == $'FormActivate\nFormDeactivate\nFormActivate' ]] || {
    cat "$WORK/one.out" >&2
    fail_now "trace lines"
}
check_calls
finish
