#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# The popup run by an ordinary user while its switch waits, with polkit
# granting the switch. The script runs as root, to stop polkitd and to kill
# the helper, and starts the popup as that user.
#  - polkitd stopped: the popup comes back, no longer kept on top, with a
#    line saying it waits; Escape ends it at once. Once polkitd answers
#    again, the switch it gave up finishes on its own.
#  - the helper killed after writing: the popup still tells what came of it
#    in its box and ends when the box is closed.
# Arguments: SCHEMEPOP USER-ID. Runs inside laptop/sandbox --x11.
. "$(dirname "$0")/../support/popup.sh" "$1"
user=$2

((EUID == 0)) || fail_now "the script runs as root"
# The popup as the user: X accepts any local client here.
as_user=$WORK/schemepop-as-user
printf '#!/bin/sh\nexec setpriv --reuid=%s --regid=%s --clear-groups -- %q "$@"\n' \
    "$user" "$user" "$SCHEMEPOP" >"$as_user"
chmod 755 "$as_user"
SCHEMEPOP=$as_user
chmod 711 "$WORK"

helper=/usr/libexec/ovra/ovra-switch-scheme
pkexec_waits() { pgrep -x pkexec >/dev/null; }
helper_runs() { pgrep -f "^$helper " >/dev/null; }
helper_ended() { ! helper_runs; }
kept_on_top() { xprop -id "$1" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE; }
# The popup back during the wait: shown, and not over other windows.
waiting_popup() { has_popup "$1" && ! kept_on_top "$(popup_window "$1")"; }
ac_scheme_is() { grep -qx "AC_SCHEME=\"$1\"" "$COMMON"; }
# With OVRA_SHOT_DIR set, what the user saw is kept there.
shot() { [[ -z ${OVRA_SHOT_DIR-} ]] || "$LAPTOP_SRC/screenshot" "$OVRA_SHOT_DIR/$1.png"; }

start_window_manager openbox --sm-disable

# --- polkitd stopped under the popup -------------------------------------------
polkitd=$(pgrep -x polkitd) || fail_now "no polkitd"
cp "$COMMON" "$WORK/before"
kill -STOP "$polkitd"
start_popup one
wait_popup one
click_row powersave
wait_until 15 pkexec_waits || fail_now "pkexec did not start"
wait_until 15 waiting_popup one || fail_now "the popup did not come back while waiting"
pass "the popup is back while the switch waits, not kept on top"
shot waiting
xdotool windowactivate --sync "$(popup_window one)"
xdotool key Escape
wait_exit one 10
((STATUS == 0)) || fail_now "exit status $STATUS"
pass "Escape ended the wait and the popup"
cmp -s "$WORK/before" "$COMMON" || fail_now "the file changed while polkitd was stopped"
kill -CONT "$polkitd"
wait_until 30 ac_scheme_is powersave || fail_now "the given-up switch did not finish"
wait_until 30 helper_ended || fail_now "the helper did not end"
pass "once polkitd answered, the given-up switch finished on its own"

# --- the helper killed after writing -------------------------------------------
"$LAPTOP_SRC/standin-behaviour" powersaved.reload delay=30
start_popup two
wait_popup two
click_row presentation
wait_until 15 ac_scheme_is presentation || fail_now "the helper did not write"
wait_until 15 helper_runs || fail_now "the helper does not run"
pkill -KILL -f "^$helper "
wait_until 15 has_error_box || fail_now "no message box"
alive two || fail_now "the popup ended before the box was closed"
shot outcome-unknown
xdotool windowfocus --sync "$(error_box)"
xdotool key Return
wait_exit two
((STATUS == 0)) || fail_now "exit status $STATUS"
ac_scheme_is presentation || fail_now "the file lost the scheme"
finish
