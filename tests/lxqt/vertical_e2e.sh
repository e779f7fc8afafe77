#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# The battery applet in a vertical lxqt-panel (on the left, 160 px wide): the
# same horizontal bar as in a horizontal panel, 150 px wide on mains power and
# 110 px on the battery. Arguments: PLUGIN_DIR ENTRY_DIR DCOP SCREENPROBE (see
# tests/support/panel.sh).
. "$(dirname "$0")/../support/panel.sh" lxqt "$@"

write_config Left 160
start_panel
check_eq "the applet is loaded" OvraIface "$(wait_for_object 20 OvraIface)"
check_eq "a horizontal bar on mains power" "bar=89 icon=yes width=150" \
    "$(wait_for_output 10 "bar=89 icon=yes width=150" gauge_fields 3 lxqt-left-mains)"
read -r x < <(gauge lxqt-left-mains | sed -E 's/.* x=([0-9]+) .*/\1/')
[ "$x" -lt 160 ] && echo "ok: the bar is inside the panel (x=$x)" || fail "the bar is at x=$x"
"$LAPTOP_SRC/batterysim" mains off
check_eq "a horizontal bar on the battery" "bar=81 icon=no width=110" \
    "$(wait_for_output 10 "bar=81 icon=no width=110" gauge_fields 3 lxqt-left-battery)"
check_panel_runs "with a vertical panel"
end_test
