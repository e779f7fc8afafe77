#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# The applet in a real panel under X: panelhost loads it from its desktop
# entry, and the gauge is 150 px wide on mains power and 110 px on the battery.
# Arguments: PANELHOST DCOP SCREENPROBE (see tests/support/panel.sh).
. "$(dirname "$0")/../support/panel.sh" panelhost "$@"

start_panel
check_eq "the panel's DCOP application holds OvraIface" OvraIface "$(wait_for_object 20 OvraIface)"
echoed=$(grep -m1 -E '^ovraapplet.*rc$' "$panel_log")
[ -n "$echoed" ] && echo "ok: init echoed the configuration file: $echoed" \
    || fail "no configuration file name on standard output: $(cat "$panel_log")"

check_eq "on mains power" "bar=89 icon=yes width=150" \
    "$(wait_for_output 10 "bar=89 icon=yes width=150" gauge_fields 3 panel-mains)"

"$LAPTOP_SRC/batterysim" mains off
check_eq "on the battery, after the next refresh" "bar=81 icon=no width=110" \
    "$(wait_for_output 10 "bar=81 icon=no width=110" gauge_fields 3 panel-battery)"

"$LAPTOP_SRC/batterysim" mains on
check_eq "on mains power again" "bar=89 icon=yes width=150" \
    "$(wait_for_output 10 "bar=89 icon=yes width=150" gauge_fields 3 panel-mains-again)"

check_panel_runs
end_test
