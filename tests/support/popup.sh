# SPDX-License-Identifier: GPL-2.0-or-later
# shellcheck shell=bash
# schemepop on the simulated laptop's X display, driven with the real pointer
# and keyboard (xdotool), for the popup's end-to-end tests. Source it with
# the program under test:
#   popup.sh SCHEMEPOP
# in a script that runs inside laptop/sandbox --x11, and end the test with
# finish. A failed step ends the test at once (fail_now). It brings checks.sh.
set -euo pipefail
SCHEMEPOP=${1:?usage: SCENARIO_e2e.sh SCHEMEPOP}
. "$(dirname "${BASH_SOURCE[0]}")/checks.sh"
COMMON=/etc/sysconfig/powersave/common
TITLE="Velantis Hotkey"
WORK=$(mktemp -d)
trap 'jobs -p | xargs -r kill 2>/dev/null || true; rm -rf "$WORK"' EXIT

# --- the program -------------------------------------------------------------

# start_popup NAME [VAR=VALUE...] [-- ARG...]: starts schemepop in the
# background with those environment settings and arguments; sets
# POPUP_PID_<NAME>; its output goes to $WORK/NAME.out and .err.
start_popup() {
    local name=$1
    shift
    local settings=()
    while (($#)) && [[ $1 != -- ]]; do
        settings+=("$1")
        shift
    done
    (($#)) && shift
    env "${settings[@]}" "$SCHEMEPOP" "$@" >"$WORK/$name.out" 2>"$WORK/$name.err" &
    printf -v "POPUP_PID_$name" '%s' $!
}

pid_of() { local v="POPUP_PID_$1"; echo "${!v}"; }

# The popup window of instance NAME, once it is visible.
popup_window() { # name
    xdotool search --all --onlyvisible --pid "$(pid_of "$1")" --name "^$TITLE\$" 2>/dev/null |
        head -1
}

has_popup() { [[ -n $(popup_window "$1") ]]; }

# A visible message box (the program's error boxes are titled "Error").
error_box() { xdotool search --onlyvisible --name '^Error$' 2>/dev/null | head -1; }
has_error_box() { [[ -n $(error_box) ]]; }

is_active() { [[ $(xdotool getactivewindow 2>/dev/null) == "$1" ]]; }

# wait_popup NAME: waits for the window and sets WID, X and Y.
wait_popup() {
    wait_until 15 has_popup "$1" || fail_now "popup $1 did not appear"
    WID=$(popup_window "$1")
    eval "$(xdotool getwindowgeometry --shell "$WID")"
    X=$X Y=$Y
}

alive() { kill -0 "$(pid_of "$1")" 2>/dev/null; }

# wait_exit NAME [seconds]: waits for the instance to end; sets STATUS.
wait_exit() {
    local pid
    pid=$(pid_of "$1")
    wait_until "${2:-15}" bash -c "! kill -0 $pid 2>/dev/null" || fail_now "popup $1 did not end"
    STATUS=0
    wait "$pid" || STATUS=$?
}

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

# Starts a window manager and waits until it manages the screen.
start_window_manager() { # command...
    "$@" >"$WORK/wm.log" 2>&1 &
    wait_until 10 bash -c "xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'" ||
        fail_now "$1 did not start"
}

# --- the scheme list -----------------------------------------------------------

# The row of a scheme: the daemon's scheme files in directory order, those
# with a product copy only.
row_of() { # scheme
    local i=0 name
    while read -r name; do
        name=${name#scheme_}
        [[ -e /opt/nexalt/pm/scheme/scheme_$name ]] || continue
        [[ $name == "$1" ]] && {
            echo "$i"
            return
        }
        i=$((i + 1))
    done < <(find /etc/sysconfig/powersave -mindepth 1 -maxdepth 1 -name 'scheme_*' -printf '%f\n')
    fail_now "no row for scheme $1"
}

# Clicks with the real pointer at a point of the popup (form coordinates).
click_at() { # x y [button]
    xdotool mousemove --sync $((X + $1)) $((Y + $2))
    sleep 0.1
    xdotool click "${3:-1}"
}

click_row() { # scheme
    local row
    row=$(row_of "$1")
    xdotool mousemove --sync $((X + 100)) $((Y + 340)) # come from outside the list
    click_at 258 $((55 + 35 * row + 17))
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

# --- what the switch did ---------------------------------------------------------

# The fixture's common file with both keys set.
expected_common() { # ac battery
    sed -e "s/^AC_SCHEME=\"performance\"\$/AC_SCHEME=\"$1\"/" \
        -e "s/^BATTERY_SCHEME=\"powersave\"\$/BATTERY_SCHEME=\"$2\"/" "$LAPTOP_SRC/fixtures/common"
}

check_common() { # ac battery
    expected_common "$1" "$2" >"$WORK/expected"
    cmp "$WORK/expected" "$COMMON" || {
        diff "$WORK/expected" "$COMMON" >&2
        fail_now "configuration file differs"
    }
}

# The call log as "program<TAB>shell command<TAB>args".
calls() { cut -f1,5- "$LAPTOP_DIR/calls.log"; }

check_calls() { # expected lines...
    local expected
    expected=$(printf '%s\n' "$@")
    [[ $# -eq 0 ]] && expected=""
    [[ $(calls) == "$expected" ]] || {
        echo "calls:" >&2
        calls >&2
        fail_now "unexpected calls"
    }
}

RELOAD=$'/etc/init.d/powersaved\t/etc/init.d/powersaved reload &>/dev/null\treload'
START=$'/etc/init.d/powersaved\t/etc/init.d/powersaved start &>/dev/null\tstart'
IDLETIME=$'/opt/nexalt/pm/idletime.sh\t/opt/nexalt/pm/idletime.sh restart &> /dev/null\trestart'
POWER_MANAGER=$'/opt/nexalt/pm/pm.sh\t/opt/nexalt/pm/pm.sh start &> /dev/null\tstart'

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

# --- switches in a row -------------------------------------------------------------

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
