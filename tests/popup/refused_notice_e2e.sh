#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# The daemon refuses the reload and the start: a notice says so; the
# commands, the file and the exit status are those of any switch. The
# recorder stands in for the desktop's notification service.
# Argument: SCHEMEPOP. Runs inside laptop/sandbox --x11.
. "$(dirname "$0")/../support/popup.sh" "$@"
NOT_APPLIED=$'Power scheme not applied\tThe power daemon did not accept the scheme "presentation".'

"$LAPTOP_SRC/standin-behaviour" powersaved.reload exit=1
"$LAPTOP_SRC/standin-behaviour" powersaved.start exit=1
start_recorder
pick_scheme presentation
check_common presentation powersave
check_calls "$RELOAD" "$START" "$IDLETIME"
check_notices "$NOT_APPLIED"
! has_error_box || fail_now "a message box as well"
finish
