# SPDX-License-Identifier: GPL-2.0-or-later
# Checks shared by the shell tests. Source it, run checks, end with `finish`:
# every check prints "ok: ..." or "FAIL: ...", and finish sets the status.
failures=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

check_eq() { # NAME EXPECTED ACTUAL
    if [ "$2" == "$3" ]; then echo "ok: $1"; else fail "$1: expected '$2', got '$3'"; fi
}

# Repeats a command until its output is EXPECTED or SECONDS have passed;
# prints the last output, for check_eq to judge.
wait_for_output() { # SECONDS EXPECTED COMMAND...
    local tries=$(($1 * 5)) expected=$2 out
    shift 2
    for _ in $(seq "$tries"); do
        out=$("$@" 2>/dev/null)
        [ "$out" == "$expected" ] && break
        sleep 0.2
    done
    echo "$out"
}

# Waits up to $1 seconds for the command that follows to succeed; the
# command runs again at every try, so it must not be an expanded value.
wait_until() { # seconds command...
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        ((SECONDS < deadline)) || return 1
        sleep 0.05
    done
}

finish() {
    echo "$failures failed"
    [ "$failures" -eq 0 ]
}
