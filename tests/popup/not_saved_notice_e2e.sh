#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# The file has no line for the key: nothing is written, the reload still
# runs, and a notice says the scheme was not saved.
# Argument: SCHEMEPOP. Runs inside laptop/sandbox --x11.
. "$(dirname "$0")/../support/popup.sh" "$@"

grep -v '^AC_SCHEME=' "$COMMON" >"$WORK/common" && cp "$WORK/common" "$COMMON"
start_recorder
pick_scheme presentation
cmp -s "$WORK/common" "$COMMON" || fail_now "the file was changed"
check_calls "$RELOAD" "$IDLETIME"
check_notices $'Power scheme not saved\tThe scheme "presentation" was not saved: /etc/sysconfig/powersave/common has no AC_SCHEME setting.'
finish
