#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# On a laptop of today whose polkit refuses the user the profiles: a click
# on a profile is told in the popup's message box, and nothing changes, the
# profile in force nor the user's choice.
# Argument: SCHEMEPOP. Runs inside laptop/sandbox --x11 --today
# --today-deny-profiles --user UID.
. "$(dirname "$0")/../support/popup.sh" "$@"
. "$(dirname "$0")/../support/systembus.sh"
choices=${XDG_CONFIG_HOME:-$HOME/.config}/ovra/schemes

((EUID != 0)) || fail_now "runs as root"
start_window_manager openbox --sm-disable
start_popup one
wait_popup one
xdotool mousemove --sync $((X + 100)) $((Y + 340))
click_at 258 $((55 + 17)) # power-saver
wait_until 15 has_error_box || fail_now "no message box"
alive one || fail_now "the popup ended before the box was closed"
xdotool windowfocus --sync "$(error_box)"
xdotool key Return
wait_exit one
((STATUS == 0)) || fail_now "exit status $STATUS"
check_eq "the profile in force stays" balanced "$(profiles_property ActiveProfile)"
check "no choice was saved" test ! -e "$choices"
finish
