#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# The battery simulator writes the module's files in the module's format and
# follows what the test sets. Runs inside laptop/sandbox (module loaded).
set -uo pipefail
. "$(dirname "$0")/lib.sh"
sim=$LAPTOP_SRC/batterysim
state=/proc/H8/BAT0/state

labels=("AC attached" "Capability Mode" "Charger Mode" "Alarm Mode" "Primary Battery"
    "Charger Controller" "Condition Flag" "Primary BAT support" "Internal Charger Controller"
    "Temperature" "Voltage" "Current" "Average Current" "RelativeStateofCharge"
    "RemainingCapacity" "FullChargeCapacity" "RunTimeToEmpty" "AverageTimeToEmpty"
    "AverageTimeToFull" "OverChargedAlarm" "TerminateChargeAlarm" "OverTempAlarm"
    "TerminateDischargeAlarm" "RemainingCapacityAlarm" "RemainingTimeAlarm" "Initialized"
    "Discharging" "FullyCharged" "FullyDischarged" "Cycle Count")

# The value of one label in a state file.
value() { # label [file]
    sed -n "s/^$1: *//p" "${2:-$state}"
}

check_format() {
    local f=$1 got
    got=$(cut -d: -f1 "$f" | paste -sd'|')
    check_eq "$f: the 30 labels in their order" "$(printf '%s|' "${labels[@]}" | sed 's/|$//')" "$got"
    check "$f: every line is label, colon, blanks, value" \
        awk '!/^[A-Za-z][A-Za-z ]*: +[^ ]/ { exit 1 }' "$f"
    check "$f: ends with a line feed" test "$(tail -c1 "$f" | od -An -c | tr -d ' ')" = '\n'
    check_match "$f: percent followed by one unit character" '^-?[0-9]+%$' "$(value RelativeStateofCharge "$f")"
    check_match "$f: capacities are number, blank, three-character unit" \
        '^[0-9.]+ ([A-Za-z]{3})\|[0-9.]+ \1$' \
        "$(value RemainingCapacity "$f")|$(value FullChargeCapacity "$f")"
    check_match "$f: run time is minutes, blank, unit word" '^[0-9]+ [a-z]+$' "$(value RunTimeToEmpty "$f")"
    check_match "$f: average times end in blank and four-character unit" \
        '^[0-9]+ [a-z]{4}\|[0-9]+ [a-z]{4}$' \
        "$(value AverageTimeToEmpty "$f")|$(value AverageTimeToFull "$f")"
    check_match "$f: cycle count is a number and one character" '^[0-9]+[^0-9]$' "$(value 'Cycle Count' "$f")"
}

minutes() { value "$1" | cut -d' ' -f1; }

check_default_machine() {
    check_format "$state"
    check "info file beside the state file" grep -q '^Design Capacity: ' /proc/H8/BAT0/info
    check_eq "default: on mains" Yes "$(value 'AC attached')"
    check_eq "default: 87 %" 87% "$(value RelativeStateofCharge)"
    check "no second battery by default" test ! -e /proc/H8/BAT1
    check_eq "the files are read-only" "r--r--r--" "$(stat -c %A "$state" | cut -c2-)"
}

check_mains() {
    "$sim" mains off
    check_eq "mains off: AC attached No" No "$(value 'AC attached')"
    check_eq "mains off: discharging" 1 "$(value Discharging)"
    check "mains off: time to empty is estimated" test "$(minutes AverageTimeToEmpty)" -lt 65535
    check_eq "mains off: time to full is unknown" 65535 "$(minutes AverageTimeToFull)"
    check_format "$state"
    "$sim" mains on
    check_eq "mains on: AC attached Yes" Yes "$(value 'AC attached')"
    check "mains on: time to full is estimated" test "$(minutes AverageTimeToFull)" -gt 0
}

check_charge() {
    "$sim" set 0 charge=40 full=5000
    check_eq "charge=40: 40 %" 40% "$(value RelativeStateofCharge)"
    check_eq "charge=40 of 5000 mWh: 2000 mWh remain" "2000 mWh" "$(value RemainingCapacity)"
    "$sim" set 0 charge=100
    check_eq "100 % on mains: fully charged" 1 "$(value FullyCharged)"
    check_eq "100 % on mains: nothing left to charge" 0 "$(minutes AverageTimeToFull)"
    "$sim" set 0 charge=0 ac=no
    check_eq "0 % on battery: fully discharged" 1 "$(value FullyDischarged)"
    "$sim" set 0 charge=087 ac=yes
    check_eq "leading zeros are decimal" 87% "$(value RelativeStateofCharge)"
    check "a bad charge is refused" bash -c "! '$sim' set 0 charge=lots 2>/dev/null"
}

check_second_battery() {
    "$sim" mains off
    "$sim" set 1 present=yes
    check "second battery: BAT1/state appears" test -f /proc/H8/BAT1/state
    check_format /proc/H8/BAT1/state
    check_eq "a battery added on battery power is on battery power too" No \
        "$(value 'AC attached' /proc/H8/BAT1/state)"
    "$sim" mains on
    check_eq "mains on reaches both batteries" "Yes Yes" \
        "$(value 'AC attached') $(value 'AC attached' /proc/H8/BAT1/state)"
    "$sim" set 1 present=no
    check "second battery removed: BAT1 is gone" test ! -e /proc/H8/BAT1
}

check_removed_battery() {
    "$sim" set 0 present=no
    check "battery removed: no state file" test ! -e "$state"
    check "battery removed: the module stays" test -d /proc/H8
    "$sim" set 0 present=yes
    check "battery back: state file again" test -f "$state"
}

check_unreadable() {
    "$sim" set 0 readable=no
    local err
    check "unreadable: the state file exists" test -e "$state"
    err=$(cat "$state" 2>&1 >/dev/null)
    check_match "unreadable: reading fails with EIO" 'Input/output error' "$err"
    if ! in_user_namespace; then
        err=$(setpriv --reuid=65534 --regid=65534 --clear-groups cat "$state" 2>&1 >/dev/null)
        check_match "unreadable: also for another user" 'Input/output error' "$err"
    fi
    "$sim" set 0 readable=yes
    check_eq "readable again" Yes "$(value 'AC attached')"
}

check_evolution() {
    "$sim" set 0 charge=50 ac=no
    "$sim" run --interval 0.2 --step 20 &
    local runner=$! before=50 after
    sleep 1.5
    after=$(value RelativeStateofCharge)
    check "on battery the charge falls ($before% -> $after)" test "${after%\%}" -lt "$before"
    "$sim" mains on
    before=$(value RelativeStateofCharge)
    sleep 1.5
    after=$(value RelativeStateofCharge)
    check "on mains the charge rises ($before -> $after)" test "${after%\%}" -gt "${before%\%}"
    kill "$runner"
    wait "$runner" 2>/dev/null
    check_eq "no half-written files are left" "info state" "$(shopt -s nullglob dotglob; cd /proc/H8/BAT0 && echo *)"
}

check_other_user_drives() {
    if in_user_namespace; then
        skip "another user drives the battery: only root is mapped"
        return
    fi
    setpriv --reuid=65534 --regid=65534 --clear-groups "$sim" set 0 charge=33
    check_eq "another user drives the same battery" 33% "$(value RelativeStateofCharge)"
}

check_unload() {
    "$sim" unload
    check "unload: /proc/H8 disappears" test ! -e /proc/H8
    "$sim" load
    check "load: battery 0 is back" test -f "$state"
}

check_default_machine
check_mains
check_charge
check_second_battery
check_removed_battery
check_unreadable
check_evolution
check_other_user_drives
check_unload
finish
