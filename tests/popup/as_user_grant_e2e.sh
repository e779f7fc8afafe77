#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# As an ordinary user under openbox, with polkit granting the switch by the
# administrator's rule: three starts in a row, each click switching the scheme
# of the current power source through the helper. The commands run as root,
# and the file stays root's with its mode.
# Argument: SCHEMEPOP. Runs inside laptop/sandbox --x11.
. "$(dirname "$0")/../support/popup.sh" "$@"

((EUID != 0)) || fail_now "runs as root"
start_window_manager openbox --sm-disable
for scheme in powersave presentation performance; do
    : >"$LAPTOP_DIR/calls.log"
    pick_scheme "$scheme"
    check_common "$scheme" powersave
    check_calls "$RELOAD" "$IDLETIME"
    [[ $(cut -f2,3 "$LAPTOP_DIR/calls.log" | sort -u) == $'0\t0' ]] ||
        fail_now "the commands did not run as root: $(cat "$LAPTOP_DIR/calls.log")"
    [[ $(stat -c '%u %a' "$COMMON") == "0 644" ]] ||
        fail_now "the file is now $(stat -c '%U %a' "$COMMON")"
done
finish
