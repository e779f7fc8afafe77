#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# What a screen reader reads of the popup, through the AT-SPI bus: the window
# by its on-screen title, the schemes in the list's order with the active one
# checked, the row under the pointer selected, the named buttons; pressing
# "Close" through the bus closes the popup and changes nothing.
# Argument: SCHEMEPOP. Runs inside laptop/sandbox --x11, under
# tests/support/atspi-session.sh, which names the screen reader.
set -euo pipefail
schemepop=${1:?usage: atspi_e2e.sh SCHEMEPOP}
. "$(dirname "$0")/../support/checks.sh"
reader=${OVRA_SCREENREADER:?run under atspi-session.sh}

# The schemes as the popup lists them: the daemon's scheme files in directory
# order, each with its product copy.
schemes_in_order() {
    local file name
    for file in $(ls -U /etc/sysconfig/powersave/); do
        [[ $file == scheme_* ]] || continue
        name=${file#scheme_}
        [[ -e /opt/nexalt/pm/scheme/scheme_$name ]] && echo "$name"
    done
    return 0
}

# What the reader must say of the popup when CURRENT is the active scheme,
# with SELECTED the row under the pointer (none when empty).
expected_popup() { # CURRENT SELECTED
    local name line
    echo 'frame "Choose Power Scheme"'
    echo 'image ""'
    echo 'push button "Close"'
    echo 'push button "Close"'
    echo 'push button "Open Power Manager..."'
    echo 'label "Choose Power Scheme"'
    echo 'list ""'
    for name in $(schemes_in_order); do
        line="list item \"$name\""
        [[ $name == "$1" ]] && line+=" checked"
        [[ $name == "$2" ]] && line+=" selected"
        echo "$line"
    done
    echo 'label "Open Power Manager..."'
    echo 'label "Close"'
}

# Starts the popup, reads it, points at a row and reads it again, then
# closes it through the bus.
read_popup() { # WHAT CURRENT
    local what=$1 current=$2 pid hover status
    : >"$LAPTOP_DIR/calls.log"
    local common_before
    common_before=$(cat /etc/sysconfig/powersave/common)
    xdotool mousemove 0 0
    "$schemepop" >/dev/null &
    pid=$!
    check_eq "$what: rows in order, the active one checked" \
        "$(expected_popup "$current" "")" "$("$reader" popup)"

    hover=$(schemes_in_order | tail -n1)
    # shellcheck disable=SC2046 # X and Y
    xdotool mousemove --sync $("$reader" centre "$hover")
    sleep 0.5
    check_eq "$what: the row under the pointer is selected" \
        "$(expected_popup "$current" "$hover")" "$("$reader" popup)"

    "$reader" press Close
    status=0
    timeout 10 tail --pid="$pid" -f /dev/null || fail "$what: the popup did not end"
    wait "$pid" || status=$?
    check_eq "$what: pressing Close ends the popup with status 0" 0 "$status"
    check_eq "$what: closing changed no setting" "$common_before" \
        "$(cat /etc/sysconfig/powersave/common)"
    check_eq "$what: closing ran nothing" "" "$(cat "$LAPTOP_DIR/calls.log")"
}

[[ $(schemes_in_order | wc -l) -ge 3 ]] || fail "the laptop offers fewer than three schemes"
read_popup "on mains power" performance
"$LAPTOP_SRC/batterysim" set 0 ac=no
read_popup "on the battery" powersave

finish
