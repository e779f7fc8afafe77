#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# The applet in a real panel under X: panelhost loads it from its desktop
# entry, and the gauge is 150 px wide on mains power and 110 px on the battery.
# Arguments: PANELHOST DCOP SCREENPROBE. With OVRA_SHOT_DIR set, the screenshots
# are kept there.
set -u
. "$(dirname "$0")/../support/checks.sh"
panelhost=$1
dcop=$2
probe=$3
shots=${OVRA_SHOT_DIR:-$(mktemp -d)}
log=$(mktemp)

gauge() { # SHOT-NAME: the gauge as the screen shows it now
    "$LAPTOP_SRC/screenshot" "$shots/$1.png" && QT_QPA_PLATFORM=offscreen "$probe" gauge "$shots/$1.png" | cut -d" " -f1-3
}

"$panelhost" --applet ovraapplet.desktop >"$log" 2>&1 &
panel_pid=$!
check_eq "the panel's DCOP application holds OvraIface" OvraIface \
    "$(wait_for_output 20 OvraIface "$dcop" panelhost)"
echoed=$(grep -m1 -E '^ovraapplet.*rc$' "$log")
[ -n "$echoed" ] && echo "ok: init echoed the configuration file: $echoed" \
    || fail "no configuration file name on standard output: $(cat "$log")"

check_eq "on mains power" "bar=89 icon=yes width=150" \
    "$(wait_for_output 10 "bar=89 icon=yes width=150" gauge panel-mains)"

"$LAPTOP_SRC/batterysim" mains off
check_eq "on the battery, after the next refresh" "bar=81 icon=no width=110" \
    "$(wait_for_output 10 "bar=81 icon=no width=110" gauge panel-battery)"

"$LAPTOP_SRC/batterysim" mains on
check_eq "on mains power again" "bar=89 icon=yes width=150" \
    "$(wait_for_output 10 "bar=89 icon=yes width=150" gauge panel-mains-again)"

kill -0 "$panel_pid" 2>/dev/null && echo "ok: panel still runs" || fail "panel ended: $(cat "$log")"
kill "$panel_pid" 2>/dev/null
wait "$panel_pid" 2>/dev/null

finish
