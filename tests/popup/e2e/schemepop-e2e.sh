#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# End-to-end tests of schemepop on the simulated laptop's X display, driven
# with the real pointer and keyboard (xdotool).
#   schemepop-e2e.sh SCHEMEPOP SCENARIO
# Runs inside laptop/sandbox --x11 (with --on-battery or --no-module for the
# scenarios that need them). Exits 0 when the scenario holds.
set -euo pipefail
SCHEMEPOP=${1:?usage: schemepop-e2e.sh SCHEMEPOP SCENARIO}
SCENARIO=${2:?usage: schemepop-e2e.sh SCHEMEPOP SCENARIO}
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=lib.sh
. "$here/lib.sh"
trap 'jobs -p | xargs -r kill 2>/dev/null; rm -rf "$WORK"' EXIT

# The window: centred at 516 x 360 on the 1280 x 1024 screen, frameless, kept
# on top, titled for the window manager.
check_window() {
    [[ $X == 382 && $Y == 332 ]] || fail_now "window at $X,$Y, not centred"
    [[ $WIDTH == 516 && $HEIGHT == 360 ]] || fail_now "window is ${WIDTH}x$HEIGHT"
    local props
    props=$(xprop -id "$WID")
    grep -q '^_NET_WM_NAME(UTF8_STRING) = "Velantis Hotkey"$' <<<"$props" || fail_now "title"
    grep -q '^_NET_WM_STATE(ATOM) = .*_NET_WM_STATE_ABOVE' <<<"$props" || fail_now "not kept on top"
    # Motif hints: flags 2 (decorations given), decorations 0.
    grep -q '^_MOTIF_WM_HINTS(_MOTIF_WM_HINTS) = 0x2, 0x[0-9a-f]*, 0x0,' <<<"$props" ||
        fail_now "window has a frame"
}

# A click on a row activates its scheme for the current power source, reloads
# the daemon, restarts the idle-time script and ends the program with 0.
activate() { # scheme expected-ac expected-battery
    start_popup one
    wait_popup one
    check_window
    click_row "$1"
    wait_exit one
    ((STATUS == 0)) || fail_now "exit status $STATUS"
    check_common "$2" "$3"
    check_calls "$RELOAD" "$IDLETIME"
}

scenario_mains() { activate powersave powersave powersave; }
scenario_battery() { activate presentation performance presentation; }
scenario_no_state_file() {
    [[ ! -e /proc/H8/BAT0/state ]] || fail_now "the state file exists"
    activate performance performance performance
}

# Starts the popup, clicks the scheme's row and waits for the popup to end,
# which it must do with status 0.
pick_scheme() { # scheme
    start_popup one
    wait_popup one
    click_row "$1"
    wait_exit one
    ((STATUS == 0)) || fail_now "exit status $STATUS"
}

scenario_reload_fails() {
    "$LAPTOP_SRC/standin-behaviour" powersaved.reload exit=1
    pick_scheme presentation
    check_common presentation powersave
    check_calls "$RELOAD" "$START" "$IDLETIME"
}

# The recorder as the desktop's notification service; its notices go to
# $WORK/notices, one line each.
start_recorder() {
    "${NOTIFYRECORDER:?the scenario needs NOTIFYRECORDER}" "$WORK/notices" &
    wait_until 15 test -f "$WORK/notices" || fail_now "the notification recorder did not start"
}

check_notices() { # expected lines...
    local expected
    expected=$(printf 'schemepop\tdialog-warning\t%s\t1\n' "$@")
    [[ $(cat "$WORK/notices") == "$expected" ]] || {
        echo "notices:" >&2
        cat "$WORK/notices" >&2
        fail_now "unexpected notices"
    }
}

NOT_APPLIED=$'Power scheme not applied\tThe power daemon did not accept the scheme "presentation".'

# The daemon refuses the reload and the start: a notice says so; the
# commands, the file and the exit status are those of any switch.
scenario_refused_notice() {
    "$LAPTOP_SRC/standin-behaviour" powersaved.reload exit=1
    "$LAPTOP_SRC/standin-behaviour" powersaved.start exit=1
    start_recorder
    pick_scheme presentation
    check_common presentation powersave
    check_calls "$RELOAD" "$START" "$IDLETIME"
    check_notices "$NOT_APPLIED"
    ! has_error_box || fail_now "a message box as well"
}

# The same with no notification service: the popup shows the text in its
# message box once the commands have run, and closes when the box is closed.
scenario_refused_box() {
    "$LAPTOP_SRC/standin-behaviour" powersaved.reload exit=1
    "$LAPTOP_SRC/standin-behaviour" powersaved.start exit=1
    start_popup one
    wait_popup one
    click_row presentation
    wait_until 15 has_error_box || fail_now "no message box"
    check_calls "$RELOAD" "$START" "$IDLETIME"
    alive one || fail_now "the popup ended before the box was closed"
    xdotool windowfocus --sync "$(error_box)"
    xdotool key Return
    wait_exit one
    ((STATUS == 0)) || fail_now "exit status $STATUS"
    check_common presentation powersave
}

# The same under openbox, five starts in a row, as a user meets it: the box
# takes the keyboard, so Return closes it and the popup ends.
scenario_refused_box_openbox() {
    start_window_manager openbox --sm-disable
    "$LAPTOP_SRC/standin-behaviour" powersaved.reload exit=1
    "$LAPTOP_SRC/standin-behaviour" powersaved.start exit=1
    local i box
    for ((i = 0; i < 5; i++)); do
        : >"$LAPTOP_DIR/calls.log"
        start_popup one
        wait_popup one
        wait_until 10 is_active "$WID" || fail_now "start $i: popup not activated"
        click_row presentation
        wait_until 15 has_error_box || fail_now "start $i: no message box"
        box=$(error_box)
        wait_until 10 is_active "$box" || fail_now "start $i: the box did not take the focus"
        check_calls "$RELOAD" "$START" "$IDLETIME"
        xdotool key Return
        wait_exit one
        ((STATUS == 0)) || fail_now "start $i: exit status $STATUS"
    done
}

# The file has no line for the key: nothing is written, the reload still
# runs, and a notice says the scheme was not saved.
scenario_not_saved_notice() {
    grep -v '^AC_SCHEME=' "$COMMON" >"$WORK/common" && cp "$WORK/common" "$COMMON"
    start_recorder
    pick_scheme presentation
    cmp -s "$WORK/common" "$COMMON" || fail_now "the file was changed"
    check_calls "$RELOAD" "$IDLETIME"
    check_notices $'Power scheme not saved\tThe scheme "presentation" was not saved: /etc/sysconfig/powersave/common has no AC_SCHEME setting.'
}

# Escape and Return close nothing; neither does a right click on a row.
scenario_keys() {
    start_popup one
    wait_popup one
    xdotool windowfocus --sync "$WID"
    xdotool mousemove --sync $((X + 100)) $((Y + 340))
    xdotool key Escape Return KP_Enter
    click_at 258 $((55 + 17)) 3
    sleep 1
    alive one || fail_now "a key or a right click ended the popup"
    has_popup one || fail_now "the popup was hidden"
    check_calls
    click_at 470 330 # "Close"
    wait_exit one
    ((STATUS == 0)) || fail_now "exit status $STATUS"
    check_common performance powersave
    check_calls
}

# Two starts show two independent popups.
scenario_twice() {
    start_popup one
    wait_popup one
    local first=$WID
    start_popup two
    wait_popup two
    [[ $WID != "$first" ]] || fail_now "one window for two popups"
    click_at 506 10 # the small close button of the upper (second) popup
    wait_exit two
    ((STATUS == 0)) || fail_now "exit status $STATUS"
    sleep 0.5
    alive one || fail_now "closing one popup ended the other"
    has_popup one || fail_now "the first popup is gone"
    click_at 470 330
    wait_exit one
    ((STATUS == 0)) || fail_now "exit status $STATUS"
    check_calls
}

# The configuration file is missing: its message appears before the popup,
# which then opens and works; a click cannot write and is reported.
scenario_missing_file() {
    rm "$COMMON"
    start_popup one
    wait_until 15 has_error_box || fail_now "no message box"
    ! has_popup one || fail_now "the popup opened before the message was closed"
    xdotool windowfocus --sync "$(error_box)"
    xdotool key Return
    wait_popup one
    click_row powersave
    wait_until 10 has_error_box || fail_now "the failed write was not reported"
    xdotool windowfocus --sync "$(error_box)"
    xdotool key Return
    wait_until 5 bash -c "! xdotool search --onlyvisible --name '^Error\$'" >/dev/null ||
        fail_now "the error box stayed"
    alive one || fail_now "the popup ended after the failed write"
    click_at 470 330
    wait_exit one
    ((STATUS == 0)) || fail_now "exit status $STATUS"
    [[ ! -e $COMMON ]] || fail_now "the configuration file was created"
    check_calls
    grep -q "Could not" "$WORK/one.err" && fail_now "the error went to standard error"
    return 0
}

# "Open Power Manager..." waits for its command, whatever its result, then
# ends the program; the popup stays on screen meanwhile.
scenario_power_manager() {
    "$LAPTOP_SRC/standin-behaviour" pm.sh exit=4 delay=2
    start_popup one
    wait_popup one
    click_at 300 330
    sleep 1
    alive one || fail_now "the popup ended before the command"
    xwininfo -id "$WID" | grep -q 'Map State: IsViewable' || fail_now "the popup left the screen"
    wait_exit one
    ((STATUS == 0)) || fail_now "exit status $STATUS"
    check_calls "$POWER_MANAGER"
}

# No high-DPI setting rescales the window.
scenario_unscaled() {
    start_popup one QT_SCALE_FACTOR=2 QT_SCREEN_SCALE_FACTORS=2 QT_ENABLE_HIGHDPI_SCALING=1 \
        QT_USE_PHYSICAL_DPI=1 -- ignored arguments -platform offscreen
    wait_popup one
    check_window
    click_at 470 330
    wait_exit one
    ((STATUS == 0)) || fail_now "exit status $STATUS"
}

# Under a window manager: activation is traced on standard output (written
# when the program ends), clicking another program's window leaves the popup
# open and on top, and the window manager's close request ends the program.
scenario_window_manager() {
    openbox --sm-disable >"$WORK/openbox.log" 2>&1 &
    wait_until 10 bash -c "xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'" ||
        fail_now "openbox did not start"
    start_popup one
    wait_popup one
    check_window
    wait_until 5 is_active "$WID" || fail_now "popup not activated"

    xlogo -geometry 120x120+20+20 &
    wait_until 10 bash -c "xdotool search --onlyvisible --class xlogo" >/dev/null ||
        fail_now "xlogo did not start"
    local other
    other=$(xdotool search --onlyvisible --class xlogo | head -1)
    xdotool mousemove --sync 80 80 click 1
    wait_until 5 is_active "$other" || fail_now "xlogo not activated"
    sleep 0.3
    alive one || fail_now "the popup ended when it lost the focus"
    local stacking
    stacking=$(xprop -root _NET_CLIENT_LIST_STACKING | grep -o '0x[0-9a-f]*' | tail -1)
    ((stacking == WID)) || fail_now "the popup is not on top"

    click_at 100 340 # back into the popup, on its black background
    wait_until 5 is_active "$WID" || fail_now "popup not activated again"
    xdotool key alt+F4
    wait_exit one
    ((STATUS == 0)) || fail_now "exit status $STATUS"
    [[ $(cat "$WORK/one.out") == $'FormActivate\nFormDeactivate\nFormActivate' ]] || {
        cat "$WORK/one.out" >&2
        fail_now "trace lines"
    }
    check_calls
}

# Starts a window manager and waits until it manages the screen.
start_window_manager() { # command...
    "$@" >"$WORK/wm.log" 2>&1 &
    wait_until 10 bash -c "xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'" ||
        fail_now "$1 did not start"
}

# Under a window manager that reparents the frameless popup: every start
# activates the row that is clicked, whatever Qt believes about the window's
# position. Twenty starts in a row, the row and the power source changing.
activations_under() { # window-manager command...
    start_window_manager "$@"
    local schemes=(performance powersave presentation) ac=performance battery=powersave
    local i scheme row
    for ((i = 0; i < 20; i++)); do
        scheme=${schemes[i % 3]}
        if ((i % 2)); then
            "$LAPTOP_SRC/batterysim" mains off >/dev/null
            battery=$scheme
        else
            "$LAPTOP_SRC/batterysim" mains on >/dev/null
            ac=$scheme
        fi
        : >"$LAPTOP_DIR/calls.log"
        echo "start $i: $scheme, battery $battery, mains scheme $ac"
        start_popup one
        wait_popup one
        wait_until 10 is_active "$WID" || fail_now "start $i: popup not activated"
        row=$(row_of "$scheme")
        xdotool mousemove --sync $((X + 100)) $((Y + 340)) \
            mousemove --sync $((X + 258)) $((Y + 55 + 35 * row + 17)) click 1
        wait_exit one
        ((STATUS == 0)) || fail_now "start $i: exit status $STATUS"
        check_common "$ac" "$battery"
        check_calls "$RELOAD" "$IDLETIME"
    done
}

scenario_activations_openbox() { activations_under openbox --sm-disable; }

# The popup visible now, whoever started it.
popup_on_screen() { xdotool search --onlyvisible --name "^$TITLE\$" 2>/dev/null | head -1; }
has_popup_on_screen() { [[ -n $(popup_on_screen) ]]; }

# The session's hot key: openbox with the simulated laptop's rc.xml starts
# the popup at each press of the battery key or of Super+F5, six times in a
# row, the popup closed or a scheme picked in turn; each press opens one
# popup, which ends when closed.
scenario_hotkey() {
    PATH="$(dirname "$SCHEMEPOP"):$PATH" start_window_manager \
        openbox --sm-disable --config-file "$LAPTOP_SRC/openbox/rc.xml"
    local keys=(XF86Battery super+F5 XF86Battery super+F5 XF86Battery super+F5)
    local i pid ac=performance
    for i in "${!keys[@]}"; do
        : >"$LAPTOP_DIR/calls.log"
        xdotool key "${keys[i]}"
        wait_until 15 has_popup_on_screen || fail_now "press $i (${keys[i]}): no popup"
        WID=$(popup_on_screen)
        pid=$(xdotool getwindowpid "$WID")
        eval "$(xdotool getwindowgeometry --shell "$WID")"
        wait_until 10 is_active "$WID" || fail_now "press $i: popup not activated"
        (($(xdotool search --onlyvisible --name "^$TITLE\$" | wc -l) == 1)) ||
            fail_now "press $i: more than one popup"
        if ((i % 2)); then
            ac=$([[ $ac == performance ]] && echo powersave || echo performance)
            xdotool mousemove --sync $((X + 100)) $((Y + 340)) \
                mousemove --sync $((X + 258)) $((Y + 55 + 35 * $(row_of "$ac") + 17)) click 1
        else
            click_at 470 330 # "Close"
        fi
        wait_until 15 bash -c "! kill -0 $pid 2>/dev/null" || fail_now "press $i: popup did not end"
        wait_until 5 bash -c "! xdotool search --onlyvisible --name '^$TITLE\$' >/dev/null" ||
            fail_now "press $i: the window stayed"
        check_common "$ac" powersave
        if ((i % 2)); then check_calls "$RELOAD" "$IDLETIME"; else check_calls; fi
        echo "press $i (${keys[i]}): popup shown and ended"
    done
}
scenario_activations_icewm() { activations_under icewm; }

# The commands run with the environment the program was started with, not
# with the one it gave itself to keep the toolkit from scaling.
scenario_environment() {
    local program
    for program in /etc/init.d/powersaved /opt/nexalt/pm/idletime.sh; do
        mkdir -p "$WORK/real"
        mv "$program" "$WORK/real/${program##*/}"
        printf '#!/bin/bash
env | grep ^QT_ | sort >%q
exec %q "$@"
' \
            "$WORK/${program##*/}.env" "$WORK/real/${program##*/}" >"$program"
        chmod 755 "$program"
    done
    # Some of the variables that the program changes are set, some not.
    local started=(-u QT_ENABLE_HIGHDPI_SCALING -u QT_SCREEN_SCALE_FACTORS
        QT_SCALE_FACTOR=2 QT_USE_PHYSICAL_DPI=1 QT_DEVICE_PIXEL_RATIO=)
    env "${started[@]}" env | grep ^QT_ | sort >"$WORK/expected.env"
    start_popup one "${started[@]}"
    wait_popup one
    check_window
    click_row presentation
    wait_exit one
    ((STATUS == 0)) || fail_now "exit status $STATUS"
    check_common presentation powersave
    for program in powersaved idletime.sh; do
        [[ -f $WORK/$program.env ]] || fail_now "$program did not run"
        diff "$WORK/expected.env" "$WORK/$program.env" >&2 ||
            fail_now "$program ran with another environment"
    done
}

# The program refuses to run setuid.
scenario_setuid() {
    cp "$SCHEMEPOP" /tmp/schemepop-setuid
    chmod 4755 /tmp/schemepop-setuid
    local status=0
    timeout 20 setpriv --reuid=65534 --regid=65534 --clear-groups -- /tmp/schemepop-setuid \
        >"$WORK/suid.out" 2>"$WORK/suid.err" || status=$?
    ((status != 0 && status != 124)) || fail_now "setuid start was not refused (status $status)"
    grep -qi setuid "$WORK/suid.err" || fail_now "no reason given: $(cat "$WORK/suid.err")"
    [[ -z $(xdotool search --name "^$TITLE\$" 2>/dev/null) ]] || fail_now "a window appeared"
}

# As an ordinary user under openbox, with polkit granting the switch by the
# administrator's rule: three starts in a row, each click switching the scheme
# of the current power source through the helper. The commands run as root,
# and the file stays root's with its mode.
scenario_as_user_grant() {
    ((EUID != 0)) || fail_now "runs as root"
    start_window_manager openbox --sm-disable
    local scheme
    for scheme in powersave presentation performance; do
        : >"$LAPTOP_DIR/calls.log"
        pick_scheme "$scheme"
        check_common "$scheme" powersave
        check_calls "$RELOAD" "$IDLETIME"
        [[ $(cut -f2,3 "$LAPTOP_DIR/calls.log" | sort -u) == $'0\t0' ]] ||
            fail_now "the commands did not run as root: $(cat "$LAPTOP_DIR/calls.log")"
        [[ $(stat -c '%u %a' "$COMMON") == "0 644" ]] ||
            fail_now "the file is now $(stat -c '%U %a' "$COMMON")"
    done
}

# The same with the switch denied: the popup steps aside and its box says
# so; nothing is written and no command runs; Return ends the popup.
scenario_as_user_deny() {
    ((EUID != 0)) || fail_now "runs as root"
    start_window_manager openbox --sm-disable
    cp "$COMMON" "$WORK/before"
    start_popup one
    wait_popup one
    click_row powersave
    wait_until 15 has_error_box || fail_now "no message box"
    ! has_popup one || fail_now "the popup still covers the screen"
    wait_until 10 is_active "$(error_box)" || fail_now "the box did not take the focus"
    xdotool key Return
    wait_exit one
    ((STATUS == 0)) || fail_now "exit status $STATUS"
    cmp "$WORK/before" "$COMMON" || fail_now "the file changed"
    check_calls
}

"scenario_${SCENARIO//-/_}"
echo "PASS: $SCENARIO"
