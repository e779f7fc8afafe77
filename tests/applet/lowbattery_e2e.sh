#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Low-battery notices of the applet in a real panel: with the recorder as the
# desktop's notification service, the battery simulator takes the charge
# down and up. A notice at 10 % and one at 5 % on battery, none repeated, none
# while charging, each level again after the charge rose above it; with no
# service, the notice is a line on standard error.
# Arguments: PANELHOST DCOP SCREENPROBE (see tests/support/panel.sh)
# NOTIFYRECORDER READWATCH.
. "$(dirname "$0")/../support/panel.sh" panelhost "$@"
recorder=$4
readwatch=$5
work=$(mktemp -d)
notices=$work/notices
sim=$LAPTOP_SRC/batterysim

count() { [ -f "$notices" ] && wc -l <"$notices" || echo 0; }
last_notice() { tail -n1 "$notices"; }
# Sets the battery, then waits until the gauge has refreshed at least once
# with the new readings.
refreshed_with() { # batterysim arguments...
    "$sim" "$@"
    "$readwatch" /proc/H8/BAT0 state 1 30 || fail "no refresh after: $*"
}
low() { printf 'ovraapplet\tbattery-low\tBattery low\t%s %% of the battery'"'"'s charge is left. Connect the power supply.\t1' "$1"; }
empty() { printf 'ovraapplet\tbattery-caution\tBattery almost empty\t%s %% of the battery'"'"'s charge is left. Connect the power supply.\t2' "$1"; }

"$sim" set 0 ac=no charge=50
"$recorder" "$notices" &
recorder_pid=$!
for _ in $(seq 150); do [ -f "$notices" ] && break; sleep 0.1; done
[ -f "$notices" ] || fail "the recorder did not start"

start_panel
check_eq "the applet runs in the panel" OvraIface "$(wait_for_object 20 OvraIface)"
refreshed_with set 0 charge=50
check_eq "at 50 % nothing is said" 0 "$(count)"

"$sim" set 0 charge=10
check_eq "at 10 % one notice" 1 "$(wait_for_output 20 1 count)"
check_eq "it says the battery is low" "$(low 10)" "$(last_notice)"
refreshed_with set 0 charge=8
check_eq "at 8 % it is not repeated" 1 "$(count)"

"$sim" set 0 charge=5
check_eq "at 5 % the second notice" 2 "$(wait_for_output 20 2 count)"
check_eq "it says the battery is almost empty, urgently" "$(empty 5)" "$(last_notice)"
refreshed_with set 0 charge=3
check_eq "at 3 % it is not repeated" 2 "$(count)"

refreshed_with set 0 ac=yes charge=12
refreshed_with set 0 charge=4
check_eq "charging, above and then below both levels: nothing" 2 "$(count)"
"$sim" mains off
check_eq "the plug pulled at 4 %: a notice again" 3 "$(wait_for_output 20 3 count)"
check_eq "the last level, armed again above it" "$(empty 4)" "$(last_notice)"

refreshed_with set 0 ac=yes charge=11
"$sim" set 0 ac=no charge=9
check_eq "on battery again after 11 %: the first level again" 4 "$(wait_for_output 20 4 count)"
check_eq "it says the battery is low" "$(low 9)" "$(last_notice)"

# Without a notification service: a line on standard error.
kill "$recorder_pid"
wait "$recorder_pid" 2>/dev/null
refreshed_with set 0 ac=yes charge=50
"$sim" set 0 ac=no charge=7
said() { grep -c "^ovraapplet: Battery low: 7 % of the battery's charge is left" "$panel_log"; }
check_eq "no service: the notice goes to standard error" 1 "$(wait_for_output 20 1 said)"

check_panel_runs
rm -rf "$work"
end_test
