#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# On a laptop of today, as an ordinary user under openbox: the popup opens
# without a word of the power daemon's file and lists the three profiles of
# power-profiles-daemon in its order; a click on a row sets that profile
# (ActiveProfile) and keeps it as the user's choice for the battery, the
# power source the laptop runs on. The same under the daemon's newer bus
# name (python-dbusmock's stand-in: Debian 12 has only the older one).
# Argument: SCHEMEPOP. Runs inside laptop/sandbox --x11 --today
# --today-on-battery --user UID [--profiles-mock newer].
. "$(dirname "$0")/../support/popup.sh" "$@"
. "$(dirname "$0")/../support/systembus.sh"
choices=${XDG_CONFIG_HOME:-$HOME/.config}/ovra/schemes

((EUID != 0)) || fail_now "runs as root"
use_profiles_name_owned
start_window_manager openbox --sm-disable
check_eq "the daemon starts on balanced" balanced "$(profiles_property ActiveProfile)"

# The rows from the top: power-saver, balanced, performance.
row=0
for profile in power-saver balanced performance; do
    start_popup "row$row"
    wait_popup "row$row"
    has_error_box && fail_now "a message box came with the list: $(cat "$WORK/row$row.err")"
    xdotool mousemove --sync $((X + 100)) $((Y + 340)) # come from outside the list
    click_at 258 $((55 + 35 * row + 17))
    wait_exit "row$row"
    ((STATUS == 0)) || fail_now "exit status $STATUS"
    check_eq "row $row sets $profile" "$profile" "$(profiles_property ActiveProfile)"
    check_eq "the user's battery choice is $profile" "BATTERY_SCHEME=\"$profile\"" \
        "$(grep SCHEME "$choices")"
    row=$((row + 1))
done
check_eq "the choice file is the user's, written by the user" "$(id -un) 644" \
    "$(stat -c '%U %a' "$choices")"

check_eq "no scheme file was asked for" "" "$(grep -i 'could not\|cound not' "$WORK"/*.err)"
finish
