#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# The laptop of today as its user meets it on the system bus: UPower shows
# the laptop's battery and mains, not the mouse's battery as a power supply,
# and follows what laptop/todaysim changes; power-profiles-daemon offers
# three profiles, which the user may switch and hold. Runs inside
# laptop/sandbox --today --today-mouse, as root or as another user.
set -uo pipefail
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/../support/systembus.sh"
sim=$LAPTOP_SRC/todaysim
bat=battery_BAT0
me=$(id -un)

check_machine() {
    check "no battery module" test ! -e /proc/H8 -a ! -e /opt/nexalt/install/batinfo.ko
    check "no power daemon" test ! -e /etc/sysconfig/powersave -a ! -e /etc/init.d/powersaved \
        -a ! -e /etc/init.d/powersave
    check "no product's scripts" test ! -e /opt/nexalt/pm
}

check_battery() {
    check_eq "UPower lists mains, the battery and the mouse" \
        "line_power_AC $bat battery_hid_11o22o33o44oaaobb_battery" "$(upower_devices | paste -sd' ')"
    check_eq "battery: type, power supply, present" "2 true true" \
        "$(upower_property $bat Type) $(upower_property $bat PowerSupply) $(upower_property $bat IsPresent)"
    check_eq "battery: 87 %, charging (state 1), 41.76 of 48 Wh" "87.0 1 41.76 48.00" \
        "$(upower_property $bat Percentage) $(upower_property $bat State) $(printf '%.2f %.2f' \
            "$(upower_property $bat Energy)" "$(upower_property $bat EnergyFull)")"
    check_eq "mains online, not on battery" "true false" \
        "$(upower_property line_power_AC Online) $(upower_property '' OnBattery)"
    local mouse=battery_hid_11o22o33o44oaaobb_battery
    check_eq "mouse: type mouse (5), not a power supply, 40 %" "5 false 40.0" \
        "$(upower_property $mouse Type) $(upower_property $mouse PowerSupply) $(upower_property $mouse Percentage)"
    check_eq "the laptop's charge leaves the mouse out" 87.0 "$(upower_property DisplayDevice Percentage)"
}

# Every todaysim command returns once UPower shows its change: no waiting.
check_changes() {
    check "$me drives the laptop: mains off" "$sim" mains off
    check_eq "on battery: OnBattery, discharging (2), 3.48 h left" "true 2 12528" \
        "$(upower_property '' OnBattery) $(upower_property $bat State) $(upower_property $bat TimeToEmpty)"
    "$sim" set 0 charge=50 rate=8
    check_eq "drained to 50 % at 8 W: 3 h left" "50.0 10800" \
        "$(upower_property $bat Percentage) $(upower_property $bat TimeToEmpty)"
    "$sim" step 5
    check_eq "a step of the simulation drains 5 %" 45.0 "$(upower_property $bat Percentage)"
    "$sim" mains on
    check_eq "mains on: charging, time to full, no time to empty" "false 1 0" \
        "$(upower_property '' OnBattery) $(upower_property $bat State) $(upower_property $bat TimeToEmpty)"
    check "mains on: time to full is estimated" test "$(upower_property $bat TimeToFull)" -gt 0
    "$sim" set 0 charge=100
    check_eq "charged: fully charged (4)" "100.0 4" \
        "$(upower_property $bat Percentage) $(upower_property $bat State)"
    "$sim" set 0 present=no
    check_eq "battery taken out: not present" false "$(upower_property $bat IsPresent)"
    "$sim" set 0 present=yes charge=87
    check_match "todaysim show tells the model" "battery 0: present=yes charge=87 " "$("$sim" show)"
    check "a bad setting is refused" bash -c "! '$sim' set 0 charge=101 2>/dev/null"

    local before after
    before=$(bus_owner "$UPOWER")
    "$sim" upower restart >/dev/null
    after=$(bus_owner "$UPOWER")
    check "upower restart: a new owner of $UPOWER ($before, $after)" \
        test -n "$after" -a "$before" != "$after"
    check_eq "the restarted upowerd reads the battery" 87.0 "$(upower_property $bat Percentage)"
}

check_profiles() {
    check_eq "three profiles" "power-saver balanced performance" \
        "$(profiles_property Profiles | grep -o "'Profile': <'[a-z-]*'>" | cut -d"'" -f4 | paste -sd' ')"
    check_eq "balanced at first" balanced "$(profiles_property ActiveProfile)"
    check_eq "$me may switch to performance" "" "$(set_profile performance)"
    check_eq "the profile is performance" performance "$(profiles_property ActiveProfile)"
    check_match "an unknown profile is refused" "Error" "$(set_profile turbo)"

    hold_profile power-saver
    check_match "$me may hold power-saver (cookie $hold_cookie)" '^[0-9]+$' "$hold_cookie"
    check_match "the hold shows in ActiveProfileHolds" \
        "'Profile': <'power-saver'>.*'ApplicationId': <'org.nexalt.test'>|'ApplicationId': <'org.nexalt.test'>.*'Profile': <'power-saver'>" \
        "$(profiles_property ActiveProfileHolds)"
    check_eq "the held profile is active" power-saver "$(profiles_property ActiveProfile)"
    release_profile
    check_eq "the holder ended: no holds" "@aa{sv} []" \
        "$(wait_for_output 10 "@aa{sv} []" profiles_property ActiveProfileHolds)"
    check_eq "the profile before the hold is back" performance "$(profiles_property ActiveProfile)"

    "$sim" profiles restart >/dev/null
    check_eq "the restarted daemon keeps the profile" performance "$(profiles_property ActiveProfile)"
}

check_machine
check_battery
check_changes
check_profiles
finish
