#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# The scheme menu in a real panel run by an ordinary user, with polkit
# granting the switch: choosing "powersave" on mains power has the switch
# helper set AC_SCHEME as root. While the helper waits for a slow reload the
# panel still repaints and answers DCOP. The file stays root's with its mode.
# Arguments: PANELHOST DCOP SCREENPROBE.
set -u
. "$(dirname "$0")/../support/checks.sh"
. "$(dirname "$0")/panel-lib.sh"
panelhost=$1
dcop=$2
probe=$3
shots=${OVRA_SHOT_DIR:-$(mktemp -d)}
config=/etc/sysconfig/powersave/common
calls=$LAPTOP_DIR/calls.log
log=$(mktemp)
gauge_width=150

((EUID != 0)) && echo "ok: runs as user $EUID" || fail "runs as root"
gauge() { shot dcop && probe gauge "$shots/dcop.png" | grep -oE 'width=[0-9]+|no gauge'; }
helper_runs() { pgrep -f '/usr/libexec/ovra/ovra-switch-schem[e]' >/dev/null; }
helper_ended() { ! helper_runs; }

"$LAPTOP_SRC/standin-behaviour" powersave.reload delay=10
original=$(mktemp)
cp "$config" "$original"
start_panel
read -r left title quiet powersave rest < <(open_menu menu-user)
: >"$calls"
xdotool mousemove $((left + 60)) "$powersave" click 1
wait_until 10 helper_runs && echo "ok: the helper runs" || fail "the helper did not start"

# The reload holds the helper for 10 s; the panel goes on meanwhile.
"$dcop" panelhost OvraIface hide
check_eq "hidden over DCOP during the switch" "no gauge" "$(wait_for_output 5 "no gauge" gauge)"
"$dcop" panelhost OvraIface show
check_eq "shown again during the switch" "width=150" "$(wait_for_output 5 width=150 gauge)"
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
kill -0 "$panel_pid" 2>/dev/null && echo "ok: panel still runs" || fail "panel ended: $(cat "$log")"
stop_panel
finish
