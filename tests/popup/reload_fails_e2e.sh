#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# The daemon refuses the reload: the popup starts it, then restarts the
# idle-time script, and ends with 0.
# Argument: SCHEMEPOP. Runs inside laptop/sandbox --x11.
. "$(dirname "$0")/../support/popup.sh" "$@"

"$LAPTOP_SRC/standin-behaviour" powersaved.reload exit=1
pick_scheme presentation
check_common presentation powersave
check_calls "$RELOAD" "$START" "$IDLETIME"
finish
