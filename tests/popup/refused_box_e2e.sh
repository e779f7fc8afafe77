#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# The daemon refuses the reload and the start, and no notification service
# runs: the popup shows the text in its message box once the commands have
# run, and closes when the box is closed.
# Argument: SCHEMEPOP. Runs inside laptop/sandbox --x11.
. "$(dirname "$0")/../support/popup.sh" "$@"

"$LAPTOP_SRC/standin-behaviour" powersaved.reload exit=1
"$LAPTOP_SRC/standin-behaviour" powersaved.start exit=1
start_popup one
wait_popup one
click_row presentation
wait_until 15 has_error_box || fail_now "no message box"
check_calls "$RELOAD" "$START" "$IDLETIME"
alive one || fail_now "the popup ended before the box was closed"
xdotool windowfocus --sync "$(error_box)"
xdotool key Return
wait_exit one
((STATUS == 0)) || fail_now "exit status $STATUS"
check_common presentation powersave
finish
