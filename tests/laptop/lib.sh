# SPDX-License-Identifier: GPL-2.0-or-later
# shellcheck shell=bash
# Helpers of the laptop's test scripts: one PASS or FAIL line per case, and an
# exit status that is non-zero when any case failed.
failures=0

pass() { echo "PASS: $1"; }
fail() {
    echo "FAIL: $1"
    failures=$((failures + 1))
}

# check DESCRIPTION COMMAND... passes when COMMAND succeeds.
check() {
    if "${@:2}"; then pass "$1"; else fail "$1"; fi
}

# check_eq DESCRIPTION EXPECTED ACTUAL
check_eq() {
    if [[ $2 == "$3" ]]; then
        pass "$1"
    else
        fail "$1"
        printf '  expected: %q\n  actual:   %q\n' "$2" "$3"
    fi
}

# check_match DESCRIPTION REGEX ACTUAL
check_match() {
    if [[ $3 =~ $2 ]]; then
        pass "$1"
    else
        fail "$1"
        printf '  expected to match: %s\n  actual: %q\n' "$2" "$3"
    fi
}

skip() { echo "SKIP: $1"; }

# True when the sandbox runs through a user namespace (started by a user).
in_user_namespace() {
    [[ $(awk '{ print $1, $2, $3 }' /proc/self/uid_map) != "0 0 4294967295" ]]
}

finish() {
    if ((failures)); then
        echo "$failures case(s) failed"
        exit 1
    fi
    echo "all cases passed"
}

# Seconds since an earlier $EPOCHREALTIME, with three decimals.
elapsed() { awk -v a="$1" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.3f", b - a }'; }
