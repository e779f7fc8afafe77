#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# The scheme menu of a real panel run by an ordinary user while switches
# wait for slow reloads, with polkit granting them. A second choice made
# during a switch is made next, not dropped: both reloads run and the file
# ends with the second scheme. The panel told to exit during a 60 s reload
# answers at once: it never waits for the switch, which finishes on its own
# and leaves no process of the panel behind.
# Arguments: PANELHOST DCOP SCREENPROBE (see tests/support/panel.sh).
. "$(dirname "$0")/../support/panel.sh" panelhost "$@"
config=/etc/sysconfig/powersave/common

((EUID != 0)) && echo "ok: runs as user $EUID" || fail "runs as root"
helper_runs() { pgrep -f '/usr/libexec/ovra/ovra-switch-schem[e]' >/dev/null; }
helper_ended() { ! helper_runs; }
reloads() { grep -c 'powersave reload' "$calls"; }
reloads_are() { [[ $(reloads) == "$1" ]]; }
ac_scheme() { grep '^AC_SCHEME=' "$config"; }
# The panel's children that have ended but were never reaped.
zombies() { ps -o stat= --ppid "$panel_pid" | grep -c '^Z'; }

# --- a second choice during a switch ------------------------------------------
"$LAPTOP_SRC/standin-behaviour" powersave.reload delay=5
start_applet
read -r left title quiet powersave rest < <(open_gauge_menu menu-first 150)
: >"$calls"
xdotool mousemove $((left + 60)) "$powersave" click 1
wait_until 10 helper_runs && echo "ok: the first switch runs" || fail "the helper did not start"
read -r left title quiet powersave rest < <(open_gauge_menu menu-second 150)
xdotool mousemove $((left + 60)) "$quiet" click 1
helper_runs && echo "ok: chosen while the first switch ran" || fail "the first switch ended too soon"
wait_until 40 reloads_are 2 && echo "ok: the second choice was switched next" ||
    fail "reloads: $(reloads) ($(cat "$calls"))"
wait_until 20 helper_ended || fail "the second switch did not end"
check_eq "the file holds the second choice" 'AC_SCHEME="nexalt_quiet"' "$(ac_scheme)"

# --- the panel told to exit during a switch -----------------------------------
"$LAPTOP_SRC/standin-behaviour" powersave.reload delay=60
read -r left title quiet powersave rest < <(open_gauge_menu menu-exit 150)
: >"$calls"
xdotool mousemove $((left + 60)) "$powersave" click 1
holds_powersave() { [[ $(ac_scheme) == 'AC_SCHEME="powersave"' ]]; }
wait_until 10 helper_runs && echo "ok: the switch runs" || fail "the helper did not start"
# The file is written before the reload: from then on the switch waits for it.
wait_until 10 holds_powersave && echo "ok: the file holds the new scheme" || fail "not written"
started=$(date +%s%N)
"$dcop" panelhost OvraIface exit
check_eq "exit is answered" 0 $?
took=$((($(date +%s%N) - started) / 1000000))
((took < 3000)) && echo "ok: exit answered in $took ms" || fail "exit took $took ms"
check_eq "exit empties the applet" "no gauge" "$(wait_for_output 5 "no gauge" gauge_width exit)"
helper_runs && echo "ok: the switch goes on on its own" || fail "the switch was ended"
check_panel_runs "after exit"
# The reload is ended at its bound; nothing of the switch is left to the panel.
wait_until 60 helper_ended || fail "the helper did not end"
check_eq "no zombie under the panel" 0 "$(zombies)"
grep -q 'QProcess: Destroyed while process' "$panel_log" &&
    fail "a process was destroyed while running: $(cat "$panel_log")"
end_test
