#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# The program refuses to run setuid.
# Argument: SCHEMEPOP. Runs inside laptop/sandbox --x11.
. "$(dirname "$0")/../support/popup.sh" "$@"

cp "$SCHEMEPOP" /tmp/schemepop-setuid
chmod 4755 /tmp/schemepop-setuid
status=0
timeout 20 setpriv --reuid=65534 --regid=65534 --clear-groups -- /tmp/schemepop-setuid \
    >"$WORK/suid.out" 2>"$WORK/suid.err" || status=$?
((status != 0 && status != 124)) || fail_now "setuid start was not refused (status $status)"
grep -qi setuid "$WORK/suid.err" || fail_now "no reason given: $(cat "$WORK/suid.err")"
[[ -z $(xdotool search --name "^$TITLE\$" 2>/dev/null) ]] || fail_now "a window appeared"
finish
