#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# The configuration file is missing: its message appears before the popup,
# which then opens and works; a click cannot write and is reported.
# Argument: SCHEMEPOP. Runs inside laptop/sandbox --x11.
. "$(dirname "$0")/../support/popup.sh" "$@"

rm "$COMMON"
start_popup one
wait_until 15 has_error_box || fail_now "no message box"
! has_popup one || fail_now "the popup opened before the message was closed"
xdotool windowfocus --sync "$(error_box)"
xdotool key Return
wait_popup one
click_row powersave
wait_until 10 has_error_box || fail_now "the failed write was not reported"
xdotool windowfocus --sync "$(error_box)"
xdotool key Return
wait_until 5 bash -c "! xdotool search --onlyvisible --name '^Error\$'" >/dev/null ||
    fail_now "the error box stayed"
alive one || fail_now "the popup ended after the failed write"
click_at 470 330
wait_exit one
((STATUS == 0)) || fail_now "exit status $STATUS"
[[ ! -e $COMMON ]] || fail_now "the configuration file was created"
check_calls
if grep -q "Could not" "$WORK/one.err"; then
    fail_now "the error went to standard error"
fi
finish
