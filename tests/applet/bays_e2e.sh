#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# The gauge in a real panel follows the batteries that are in their bays at
# each refresh: a laptop whose only battery is BAT1 shows its charge and power
# source, BAT0 taken out while BAT1 stays leaves BAT1 on show, and a battery
# put in while the panel runs is seen. Arguments: PANELHOST DCOP SCREENPROBE
# (see tests/support/panel.sh).
. "$(dirname "$0")/../support/panel.sh" panelhost "$@"
sim=$LAPTOP_SRC/batterysim

# BAT1 alone, on mains power and then on the battery.
"$sim" set 0 present=no
"$sim" set 1 present=yes ac=yes charge=50
start_applet
check_gauge "BAT1 alone on mains power" bat1-mains 50 mains
"$sim" mains off
check_gauge "BAT1 alone on the battery" bat1-battery 50 battery
stop_panel

# Both batteries on the battery, then BAT0 taken out while the panel runs.
"$sim" set 0 present=yes charge=90 full=4000
"$sim" set 1 present=yes charge=30 full=4000
start_applet
check_gauge "two batteries: their combined charge" both 60 battery
"$sim" set 0 present=no
check_gauge "BAT0 taken out: BAT1's charge" bat0-out 30 battery
"$sim" mains on
check_gauge "BAT1 alone on mains power again" bat1-mains-again 30 mains
stop_panel

# No battery at start, then one put in.
"$sim" set 1 present=no
start_applet
check_eq "no battery" "no gauge" "$(gauge_fields 4 none)"
"$sim" set 1 present=yes ac=yes charge=70
check_gauge "a battery put in is seen" bat1-in 70 mains
check_panel_runs
end_test
