#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# The daemon refuses the reload and the start, with no notification service,
# under openbox, five starts in a row, as a user meets it: the box takes the
# keyboard, so Return closes it and the popup ends.
# Argument: SCHEMEPOP. Runs inside laptop/sandbox --x11.
. "$(dirname "$0")/../support/popup.sh" "$@"

start_window_manager openbox --sm-disable
"$LAPTOP_SRC/standin-behaviour" powersaved.reload exit=1
"$LAPTOP_SRC/standin-behaviour" powersaved.start exit=1
for ((i = 0; i < 5; i++)); do
    : >"$LAPTOP_DIR/calls.log"
    start_popup one
    wait_popup one
    wait_until 10 is_active "$WID" || fail_now "start $i: popup not activated"
    click_row presentation
    wait_until 15 has_error_box || fail_now "start $i: no message box"
    box=$(error_box)
    wait_until 10 is_active "$box" || fail_now "start $i: the box did not take the focus"
    check_calls "$RELOAD" "$START" "$IDLETIME"
    xdotool key Return
    wait_exit one
    ((STATUS == 0)) || fail_now "start $i: exit status $STATUS"
done
finish
