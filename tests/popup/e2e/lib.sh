# SPDX-License-Identifier: GPL-2.0-or-later
# Helpers for the popup's end-to-end tests: run schemepop on the simulated
# laptop's X display and drive it with the real pointer and keyboard.
# Sourced by schemepop-e2e.sh; SCHEMEPOP is the program under test.

COMMON=/etc/sysconfig/powersave/common
TITLE="Velantis Hotkey"
WORK=$(mktemp -d)
# A failed step ends the scenario (fail_now of checks.sh).
. "$(dirname "${BASH_SOURCE[0]}")/../../support/checks.sh"

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
