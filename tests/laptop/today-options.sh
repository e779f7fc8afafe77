#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# The options of the laptop of today reach the system bus: more or fewer
# batteries, services missing or late, a refusing polkit rule, the newer
# bus name of power-profiles-daemon, services that never answer. Runs inside
# laptop/sandbox with the options named by the first argument.
set -uo pipefail
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/../support/systembus.sh"
sim=$LAPTOP_SRC/todaysim

# shellcheck disable=SC2317 # called through wait_until
drained_to() { # PERCENT
    local now
    now=$(upower_property battery_BAT0 Percentage)
    ((${now%.*} <= $1))
}

# --today-batteries 2 --today-on-battery
two_batteries() {
    check_eq "two batteries and mains" "line_power_AC battery_BAT0 battery_BAT1" \
        "$(upower_devices | paste -sd' ')"
    check_eq "on battery, both discharging" "true 2 2" \
        "$(upower_property '' OnBattery) $(upower_property battery_BAT0 State) $(upower_property battery_BAT1 State)"
    # 41.76 Wh of 48 and 15.36 Wh of 24: 57.12 of 72 Wh at 18 W.
    check_eq "the laptop's charge is the two together: 79.3 %, 3.17 h" "79.3 11424" \
        "$(printf '%.1f' "$(upower_property DisplayDevice Percentage)") $(upower_property DisplayDevice TimeToEmpty)"
    "$sim" set 1 present=no
    check_eq "battery 1 taken out: the laptop's charge is battery 0's" 87.0 \
        "$(upower_property DisplayDevice Percentage)"
    "$sim" run --interval 0.1 --step 2 &
    local run=$!
    check "todaysim run drains the battery" wait_until 10 drained_to 83
    kill -TERM "$run"
    wait "$run"
    check_eq "todaysim run ends on SIGTERM with status 0" 0 $?
    "$sim" mains on
    check_eq "mains on" false "$(upower_property '' OnBattery)"
}

# --today-batteries 0
no_battery() {
    check_eq "mains only" line_power_AC "$(upower_devices | paste -sd' ')"
    check_eq "the laptop's battery is not present" false "$(upower_property DisplayDevice IsPresent)"
    check "mains off" "$sim" mains off
    check_eq "without a battery the laptop is not on battery" "false false" \
        "$(upower_property line_power_AC Online) $(upower_property '' OnBattery)"
}

# --no-upower --no-profiles: nothing starts the services on demand either.
services_late() {
    local start=$EPOCHREALTIME out
    check_eq "no UPower" "" "$(bus_owner "$UPOWER")"
    out=$(upower_property '' OnBattery 2>&1)
    check_match "a call to UPower fails at once: $(elapsed "$start") s" \
        "ServiceUnknown" "$out"
    check_eq "no power-profiles-daemon" "" "$(bus_owner "$PROFILES")"
    check "todaysim upower start" "$sim" upower start
    check_eq "UPower came: the battery at 87 %" 87.0 "$(upower_property battery_BAT0 Percentage)"
    check "todaysim profiles start" "$sim" profiles start
    check_eq "power-profiles-daemon came" balanced "$(profiles_property ActiveProfile)"
    check "todaysim upower stop" "$sim" upower stop
    check_eq "UPower is gone again" "" "$(bus_owner "$UPOWER")"
}

# --today-deny-profiles, as an ordinary user
profiles_denied() {
    check_match "$(id -un) may not switch profiles" "AccessDenied|Access denied" "$(set_profile performance)"
    check_eq "the profile stays balanced" balanced "$(profiles_property ActiveProfile)"
    hold_profile performance
    check_match "nor hold one" "^error:.*(AccessDenied|Access denied)" "$hold_cookie"
    release_profile
    check_eq "no holds" "@aa{sv} []" "$(profiles_property ActiveProfileHolds)"
}

# --profiles-mock newer
profiles_newer() {
    local name=org.freedesktop.UPower.PowerProfiles path=/org/freedesktop/UPower/PowerProfiles
    check_eq "no daemon under the older name" "" "$(bus_owner "$PROFILES")"
    check_eq "three profiles under the newer name" "power-saver balanced performance" \
        "$(bus_property $name $path $name Profiles | grep -o "'Profile': <'[a-z-]*'>" | cut -d"'" -f4 | paste -sd' ')"
    gdbus call --system --timeout 5 --dest $name --object-path $path \
        --method org.freedesktop.DBus.Properties.Set $name ActiveProfile "<'power-saver'>" >/dev/null
    check_eq "ActiveProfile can be switched" power-saver "$(bus_property $name $path $name ActiveProfile)"
    hold_profile performance $name $path
    check_match "a hold shows in ActiveProfileHolds" "'Profile': <'performance'>" \
        "$(bus_property $name $path $name ActiveProfileHolds)"
    release_profile
    check_eq "the daemon's version" 0.21 "$(bus_property $name $path $name Version)"
}

# --profiles-mock hang --upower-mock hang: both names are owned, no call is
# answered; a caller's timeout ends each call, and nothing else waits.
services_hang() {
    local start took out
    check "UPower's name is owned" test -n "$(bus_owner "$UPOWER")"
    check "power-profiles-daemon's name is owned" test -n "$(bus_owner "$PROFILES")"
    for service in "$UPOWER /org/freedesktop/UPower $UPOWER OnBattery" \
        "$PROFILES $PROFILES_PATH $PROFILES ActiveProfile"; do
        start=$EPOCHREALTIME
        # shellcheck disable=SC2086
        out=$(bus_property_within 1000 $service 2>&1)
        took=$(elapsed "$start")
        check_match "${service%% *}: no reply within 1 s" "NoReply" "$out"
        check "${service%% *}: the call ended after its time-out ($took s)" \
            awk "BEGIN { exit !($took >= 1 && $took < 3) }"
    done
    check "todaysim still answers" "$sim" mains off
    check "todaysim restarts the silent service" "$sim" upower restart
}

case ${1-} in
two-batteries) two_batteries ;;
no-battery) no_battery ;;
services-late) services_late ;;
profiles-denied) profiles_denied ;;
profiles-newer) profiles_newer ;;
services-hang) services_hang ;;
*)
    echo "usage: today-options.sh two-batteries|no-battery|services-late|profiles-denied|profiles-newer|services-hang" >&2
    exit 2
    ;;
esac
finish
