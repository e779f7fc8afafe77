#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# As an ordinary user under openbox, with polkit denying the switch by the
# administrator's rule: the popup steps aside and its box says so; nothing
# is written and no command runs; Return ends the popup.
# Argument: SCHEMEPOP. Runs inside laptop/sandbox --x11.
. "$(dirname "$0")/../support/popup.sh" "$@"

((EUID != 0)) || fail_now "runs as root"
start_window_manager openbox --sm-disable
cp "$COMMON" "$WORK/before"
start_popup one
wait_popup one
click_row powersave
wait_until 15 has_error_box || fail_now "no message box"
! has_popup one || fail_now "the popup still covers the screen"
wait_until 10 is_active "$(error_box)" || fail_now "the box did not take the focus"
xdotool key Return
wait_exit one
((STATUS == 0)) || fail_now "exit status $STATUS"
cmp "$WORK/before" "$COMMON" || fail_now "the file changed"
check_calls
finish
