#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# What a screen reader reads of the gauge in a real panel, through the AT-SPI
# bus: a progress bar "Battery" with the charge as its value and the tool tip
# as its description, and the changes a refresh announces.
# Arguments: PANELHOST DCOP SCREENPROBE (see tests/support/panel.sh). Runs
# inside laptop/sandbox --x11, under tests/support/atspi-session.sh, which
# names the screen reader.
. "$(dirname "$0")/../support/panel.sh" panelhost "$@"
reader=${OVRA_SCREENREADER:?run under atspi-session.sh}
work=$(mktemp -d)

# On the battery at 40 % of 4500 mWh, drawing 1800 mW: one hour left.
"$LAPTOP_SRC/batterysim" set 0 ac=no charge=40 full=4500 rate=1800
start_panel

check_eq "the gauge as the panel shows it" \
    'progress bar "Battery" value 40 (0 to 100) description "Running on batteries -- 1 : 00 -- 40 %"' \
    "$("$reader" gauge)"

# The reader listens; the charge drops; the next refresh (within five
# seconds) announces the new value and tool tip.
"$reader" gauge-events 15 "$work/listening" >"$work/events" &
reader_pid=$!
for _ in $(seq 100); do
    [[ -e $work/listening ]] && break
    sleep 0.1
done
[[ -e $work/listening ]] || fail "the reader did not start listening"
"$LAPTOP_SRC/batterysim" set 0 charge=30
wait "$reader_pid" || fail "the reader failed"
check_eq "the refresh announces the value and the description" \
    'value changed: 30
description changed: "Running on batteries -- 0 : 45 -- 30 %"
progress bar "Battery" value 30 (0 to 100) description "Running on batteries -- 0 : 45 -- 30 %"' \
    "$(cat "$work/events")"

check_panel_runs
rm -rf "$work"
end_test
