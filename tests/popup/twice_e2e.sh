#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Two starts show two independent popups.
# Argument: SCHEMEPOP. Runs inside laptop/sandbox --x11.
. "$(dirname "$0")/../support/popup.sh" "$@"

start_popup one
wait_popup one
first=$WID
start_popup two
wait_popup two
[[ $WID != "$first" ]] || fail_now "one window for two popups"
click_at 506 10 # the small close button of the upper (second) popup
wait_exit two
((STATUS == 0)) || fail_now "exit status $STATUS"
sleep 0.5
alive one || fail_now "closing one popup ended the other"
has_popup one || fail_now "the first popup is gone"
click_at 470 330
wait_exit one
((STATUS == 0)) || fail_now "exit status $STATUS"
check_calls
finish
