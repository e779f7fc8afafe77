#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Escape and Return close nothing; neither does a right click on a row.
# Argument: SCHEMEPOP. Runs inside laptop/sandbox --x11.
. "$(dirname "$0")/../support/popup.sh" "$@"

start_popup one
wait_popup one
xdotool windowfocus --sync "$WID"
xdotool mousemove --sync $((X + 100)) $((Y + 340))
xdotool key Escape Return KP_Enter
click_at 258 $((55 + 17)) 3
sleep 1
alive one || fail_now "a key or a right click ended the popup"
has_popup one || fail_now "the popup was hidden"
check_calls
click_at 470 330 # "Close"
wait_exit one
((STATUS == 0)) || fail_now "exit status $STATUS"
check_common performance powersave
check_calls
finish
