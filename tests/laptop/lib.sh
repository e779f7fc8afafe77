# SPDX-License-Identifier: GPL-2.0-or-later
# shellcheck shell=bash
# The checks of tests/support/checks.sh, and what only the laptop's own
# tests ask: whether the sandbox runs through a user namespace, and timing.
. "$(dirname "${BASH_SOURCE[0]}")/../support/checks.sh"

# True when the sandbox runs through a user namespace (started by a user).
in_user_namespace() {
    [[ $(awk '{ print $1, $2, $3 }' /proc/self/uid_map) != "0 0 4294967295" ]]
}

# Seconds since an earlier $EPOCHREALTIME, with three decimals.
elapsed() { awk -v a="$1" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.3f", b - a }'; }
