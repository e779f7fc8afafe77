#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# "Open Power Manager..." waits for its command, whatever its result, then
# ends the program; the popup stays on screen meanwhile.
# Argument: SCHEMEPOP. Runs inside laptop/sandbox --x11.
. "$(dirname "$0")/../support/popup.sh" "$@"

"$LAPTOP_SRC/standin-behaviour" pm.sh exit=4 delay=2
start_popup one
wait_popup one
click_at 300 330
sleep 1
alive one || fail_now "the popup ended before the command"
xwininfo -id "$WID" | grep -q 'Map State: IsViewable' || fail_now "the popup left the screen"
wait_exit one
((STATUS == 0)) || fail_now "exit status $STATUS"
check_calls "$POWER_MANAGER"
finish
