#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# The applet on a laptop of today, run by an ordinary user in a real panel
# under openbox: the gauge shows UPower's battery without loading a module
# or telling of a missing one, and follows an unplug, a drain and a plug.
# UPower restarted or gone never holds up the panel: gone, the gauge shows
# no battery and the panel still answers; back, the battery again. A low
# battery is told as with the module's readings. The user's profile for
# each power source (power-profiles-daemon) is put in force as the mains go
# and come, unless another program holds a profile.
# Arguments: PANELHOST DCOP SCREENPROBE (see tests/support/panel.sh)
# NOTIFYRECORDER.
. "$(dirname "$0")/../support/panel.sh" panelhost "$@"
. "$(dirname "$0")/../support/systembus.sh"
recorder=$4
notices=$(mktemp -d)/notices
sim=$LAPTOP_SRC/todaysim
count() { [ -f "$notices" ] && wc -l <"$notices" || echo 0; }

# The gauge as on the design's laptop: the wide bar with the mains icon on
# mains power (a laptop of today has no power manager's picture under
# /opt/nexalt: the applet draws its own), the narrow one without on battery.
check_bar() { check_gauge "$@"; } # LABEL SHOT-NAME PERCENT mains|battery

((EUID != 0)) && echo "ok: runs as user $EUID" || fail "runs as root"
openbox --sm-disable >"$shots/openbox.log" 2>&1 &
wait_until 10 bash -c "xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'" ||
    fail "openbox did not start"

"$recorder" "$notices" &
recorder_pid=$!
wait_until 15 test -f "$notices" || fail "the recorder did not start"
start_applet
check_bar "UPower's battery: 87 %, on mains" today-mains 87 mains
# The stand-ins of insmod and kdialog log each call.
module_calls() { grep -sE '^(insmod|kdialog)[[:space:]]' "$calls"; }
check_eq "no module loaded, no missing module told" "" "$(module_calls)"

# The user's choice per power source, as the popup or the menu saves it.
mkdir -p "$XDG_CONFIG_HOME/ovra"
printf '%s\n' 'AC_SCHEME="performance"' 'BATTERY_SCHEME="power-saver"' >"$XDG_CONFIG_HOME/ovra/schemes"
active() { profiles_property ActiveProfile; }

"$sim" mains off
check_bar "unplugged: the narrow gauge" today-unplugged 87 battery
check_eq "unplugged: the battery's profile in force" power-saver \
    "$(wait_for_output 10 power-saver active)"
"$sim" set 0 charge=50 rate=8
check_bar "drained to 50 %" today-drained 50 battery
"$sim" step 10
check_bar "a step of the drain: 40 %" today-step 40 battery
check_eq "nothing said at 40 %" 0 "$(count)"
"$sim" set 0 charge=9
check_eq "at 9 % on the battery: one notice" 1 "$(wait_for_output 20 1 count)"
check_match "it says the battery is low" $'\tBattery low\t9 % ' "$(tail -n1 "$notices")"
"$sim" set 0 charge=40

"$sim" upower restart
check_bar "UPower restarted: the same battery" today-restarted 40 battery
"$sim" upower stop
check_eq "UPower gone: no battery" "no gauge" \
    "$(wait_for_output 10 "no gauge" gauge_fields 4 today-gone)"
check "the panel answers DCOP without UPower" timeout 5 "$dcop" panelhost OvraIface hide
"$dcop" panelhost OvraIface show
"$sim" upower start
check_bar "UPower back: the battery again" today-back 40 battery
"$sim" mains on
check_bar "plugged in: the wide gauge" today-plugged 40 mains
check_eq "plugged in: the mains' profile in force" performance \
    "$(wait_for_output 10 performance active)"

# A program holds power-saver: the mains going and coming leave its hold.
hold_profile power-saver
check_match "a program holds power-saver" '^[0-9]+$' "$hold_cookie"
check_eq "the hold is in force" power-saver "$(wait_for_output 10 power-saver active)"
"$sim" mains off
check_bar "unplugged under a hold" today-held-battery 40 battery
"$sim" mains on
check_bar "plugged in under a hold" today-held-mains 40 mains
check_eq "the hold stays in force" power-saver "$(active)"
release_profile

check_eq "still no module loaded" "" "$(module_calls)"
check_panel_runs
kill "$recorder_pid"
end_test
