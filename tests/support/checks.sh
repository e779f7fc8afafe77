# SPDX-License-Identifier: GPL-2.0-or-later
# shellcheck shell=bash
# The checks of the shell tests. Source it, run checks, end with finish:
# every check prints "ok: ..." or "FAIL: ...", and finish prints how many
# failed and ends the script, with status 1 when any did.
failures=0

pass() { echo "ok: $*"; }
# A failed check; the test goes on.
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
# A failed step that the rest of the test builds on: the test ends here.
fail_now() {
    fail "$@"
    exit 1
}
skip() { echo "SKIP: $*"; }

# Passes when COMMAND succeeds.
check() { # DESCRIPTION COMMAND...
    if "${@:2}"; then pass "$1"; else fail "$1"; fi
}

check_eq() { # DESCRIPTION EXPECTED ACTUAL
    if [[ $2 == "$3" ]]; then
        pass "$1"
    elif [[ $2 == *$'\n'* || $3 == *$'\n'* ]]; then
        fail "$1"
        diff <(echo "$2") <(echo "$3") | sed 's/^/    /'
    else
        fail "$1: expected '$2', got '$3'"
    fi
    return 0
}

check_match() { # DESCRIPTION REGEX ACTUAL
    if [[ $3 =~ $2 ]]; then
        pass "$1"
    else
        fail "$1: expected to match '$2', got '$3'"
    fi
    return 0
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
wait_until() { # SECONDS COMMAND...
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        ((SECONDS < deadline)) || return 1
        sleep 0.05
    done
}

finish() {
    echo "$failures failed"
    ((failures == 0)) || exit 1
    exit 0
}
