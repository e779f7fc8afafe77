#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# The gauge in a real panel follows the batteries that are in their bays at
# each refresh: a laptop whose only battery is BAT1 shows its charge and power
# source, BAT0 taken out while BAT1 stays leaves BAT1 on show, and a battery
# put in while the panel runs is seen. Arguments: PANELHOST DCOP SCREENPROBE.
set -u
. "$(dirname "$0")/../support/checks.sh"
. "$(dirname "$0")/panel-lib.sh"
panelhost=$1
dcop=$2
probe=$3
shots=${OVRA_SHOT_DIR:-$(mktemp -d)}
log=$(mktemp)
sim=$LAPTOP_SRC/batterysim

# The gauge as the screen shows it now: "bar=.. icon=.. width=.. fill=..", or "no gauge".
gauge() { # SHOT-NAME
    "$LAPTOP_SRC/screenshot" "$shots/$1.png" &&
        QT_QPA_PLATFORM=offscreen "$probe" gauge "$shots/$1.png" | cut -d" " -f1-4
}
# The fill of a charge in a bar of the given width, as the gauge paints it.
fill() { echo $(($1 * $2 / 100)); } # PERCENT BAR

# BAT1 alone, on mains power and then on the battery.
"$sim" set 0 present=no
"$sim" set 1 present=yes ac=yes charge=50
start_panel
check_eq "BAT1 alone on mains power" "bar=89 icon=yes width=150 fill=$(fill 50 89)" \
    "$(wait_for_output 10 "bar=89 icon=yes width=150 fill=$(fill 50 89)" gauge bat1-mains)"
"$sim" mains off
check_eq "BAT1 alone on the battery" "bar=81 icon=no width=110 fill=$(fill 50 81)" \
    "$(wait_for_output 10 "bar=81 icon=no width=110 fill=$(fill 50 81)" gauge bat1-battery)"
stop_panel

# Both batteries on the battery, then BAT0 taken out while the panel runs.
"$sim" set 0 present=yes charge=90 full=4000
"$sim" set 1 present=yes charge=30 full=4000
start_panel
check_eq "two batteries: their combined charge" "bar=81 icon=no width=110 fill=$(fill 60 81)" \
    "$(wait_for_output 10 "bar=81 icon=no width=110 fill=$(fill 60 81)" gauge both)"
"$sim" set 0 present=no
check_eq "BAT0 taken out: BAT1's charge" "bar=81 icon=no width=110 fill=$(fill 30 81)" \
    "$(wait_for_output 10 "bar=81 icon=no width=110 fill=$(fill 30 81)" gauge bat0-out)"
"$sim" mains on
check_eq "BAT1 alone on mains power again" "bar=89 icon=yes width=150 fill=$(fill 30 89)" \
    "$(wait_for_output 10 "bar=89 icon=yes width=150 fill=$(fill 30 89)" gauge bat1-mains-again)"
stop_panel

# No battery at start, then one put in.
"$sim" set 1 present=no
start_panel
check_eq "no battery" "no gauge" "$(gauge none)"
"$sim" set 1 present=yes ac=yes charge=70
check_eq "a battery put in is seen" "bar=89 icon=yes width=150 fill=$(fill 70 89)" \
    "$(wait_for_output 10 "bar=89 icon=yes width=150 fill=$(fill 70 89)" gauge bat1-in)"
kill -0 "$panel_pid" 2>/dev/null && echo "ok: panel still runs" || fail "panel ended: $(cat "$log")"
stop_panel

finish
