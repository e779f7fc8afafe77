#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# The scheme menu in a real panel run by an ordinary user, with polkit
# granting the switch: choosing "powersave" on mains power has the switch
# helper set AC_SCHEME as root. While the helper waits for a slow reload the
# panel still repaints and answers DCOP. The file stays root's with its mode.
# Arguments: PANELHOST DCOP SCREENPROBE (see tests/support/panel.sh).
. "$(dirname "$0")/../support/panel.sh" panelhost "$@"
config=/etc/sysconfig/powersave/common

((EUID != 0)) && echo "ok: runs as user $EUID" || fail "runs as root"
helper_runs() { pgrep -f '/usr/libexec/ovra/ovra-switch-schem[e]' >/dev/null; }
helper_ended() { ! helper_runs; }

"$LAPTOP_SRC/standin-behaviour" powersave.reload delay=10
original=$(mktemp)
cp "$config" "$original"
start_applet
read -r left title quiet powersave rest < <(open_gauge_menu menu-user 150)
: >"$calls"
xdotool mousemove $((left + 60)) "$powersave" click 1
wait_until 10 helper_runs && echo "ok: the helper runs" || fail "the helper did not start"

# The reload holds the helper for 10 s; the panel goes on meanwhile.
"$dcop" panelhost OvraIface hide
check_eq "hidden over DCOP during the switch" "no gauge" "$(wait_for_output 5 "no gauge" gauge_width dcop)"
"$dcop" panelhost OvraIface show
check_eq "shown again during the switch" "width=150" "$(wait_for_output 5 width=150 gauge_width dcop)"
helper_runs && echo "ok: the switch was still running" || fail "the switch ended too soon"

wait_until 30 helper_ended || fail "the helper did not end"
expected=$(mktemp)
sed 's/^AC_SCHEME="performance"$/AC_SCHEME="powersave"/' "$original" >"$expected"
cmp -s "$expected" "$config" && echo "ok: AC_SCHEME is powersave, every other byte kept" ||
    fail "configuration: $(diff "$expected" "$config")"
check_eq "the commands, in order, as root" \
    "0 0 /etc/init.d/powersave reload &>/dev/null|0 0 /opt/nexalt/pm/idletime.sh restart &>/dev/null" \
    "$(cut -f2,3,5 "$calls" | tr '\t' ' ' | paste -sd'|')"
check_eq "the file's owner and mode" "0 644" "$(stat -c '%u %a' "$config")"
check_panel_runs
end_test
