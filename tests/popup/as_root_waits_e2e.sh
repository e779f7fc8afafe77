#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# The popup run by root while its switch waits on a reload that takes long:
# the popup comes back, no longer kept on top, with a line saying it waits;
# Escape closes its window at once, and the switch it stopped waiting for
# still finishes before the program ends.
# Argument: SCHEMEPOP. Runs inside laptop/sandbox --x11, as root.
. "$(dirname "$0")/../support/popup.sh" "$1"

((EUID == 0)) || fail_now "runs as root"
kept_on_top() { xprop -id "$1" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE; }
waiting_popup() { has_popup "$1" && ! kept_on_top "$(popup_window "$1")"; }
window_gone() { ! has_popup "$1"; }
ac_scheme_is() { grep -qx "AC_SCHEME=\"$1\"" "$COMMON"; }
reloads() { grep -c 'powersaved reload' "$LAPTOP_DIR/calls.log" 2>/dev/null || true; }

start_window_manager openbox --sm-disable
"$LAPTOP_SRC/standin-behaviour" powersaved.reload delay=6
start_popup one
wait_popup one
click_row powersave
wait_until 15 waiting_popup one || fail_now "the popup did not come back while waiting"
pass "the popup is back while root's switch waits, not kept on top"
xdotool windowactivate --sync "$(popup_window one)"
xdotool key Escape
wait_until 2 window_gone one || fail_now "the window stayed after Escape"
pass "Escape closed the window at once"
wait_exit one 40
((STATUS == 0)) || fail_now "exit status $STATUS"
ac_scheme_is powersave || fail_now "the switch given up did not finish"
check_eq "the reload ran once, to its end" 1 "$(reloads)"
finish
