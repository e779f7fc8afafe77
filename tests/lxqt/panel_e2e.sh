#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# The battery applet in a real lxqt-panel under X, through the plugin "ovra":
# 150 px wide on mains power and 110 px on the battery, a left click opens the
# scheme menu, LXQt's "Configure" entry launches the power manager, and
# `dcop lxqt-panel OvraIface` hides, shows and empties the applet while the
# panel keeps running. Arguments: PLUGIN_DIR ENTRY_DIR DCOP SCREENPROBE (see
# tests/support/panel.sh).
. "$(dirname "$0")/../support/panel.sh" lxqt "$@"

write_config Bottom 40
start_panel
check_eq "the panel's DCOP application lxqt-panel holds OvraIface" OvraIface \
    "$(wait_for_object 20 OvraIface)"
check_eq "on mains power" "bar=89 icon=yes width=150" \
    "$(wait_for_output 10 "bar=89 icon=yes width=150" gauge_fields 3 lxqt-mains)"
grep -q '^configFile=ovraapplet_[a-z0-9]\{8\}_rc$' "$panel_conf" &&
    echo "ok: the applet's configuration file name is kept in the plugin's settings" ||
    fail "no configuration file name in $(cat "$panel_conf")"

"$LAPTOP_SRC/batterysim" mains off
check_eq "on the battery, after the next refresh" "bar=81 icon=no width=110" \
    "$(wait_for_output 10 "bar=81 icon=no width=110" gauge_fields 3 lxqt-battery)"

# A left click opens the scheme menu: title, four schemes, "show", the launch.
read -r x y < <(gauge lxqt-battery | sed -E 's/.* x=([0-9]+) y=([0-9]+)/\1 \2/')
read -r left rows < <(open_menu lxqt-scheme-menu 1 $((x + 20)) $((y + 8)))
check_eq "a left click opens the scheme menu with its rows" 7 "$(wc -w <<<"$rows")"
close_menu

"$LAPTOP_SRC/batterysim" mains on
check_eq "on mains power again" "width=150" "$(wait_for_output 10 width=150 gauge_width lxqt-mains-again)"

# LXQt's menu for the plugin: its title, "Configure" (the applet's
# Preferences), "Move", "Remove", then the panel's own entries.
: >"$calls"
read -r left title configure move remove rest < <(open_menu lxqt-plugin-menu 3 $((x + 20)) $((y + 8)))
xdotool mousemove $((left + 40)) "$configure" click 1
for _ in $(seq 50); do grep -q pm.sh "$calls" && break; sleep 0.1; done
check_eq "Configure launches the power manager" "/opt/nexalt/pm/pm.sh start &>/dev/null" \
    "$(grep -m1 pm.sh "$calls" | cut -f5)"

"$dcop" lxqt-panel OvraIface hide
check_eq "dcop hide" "no gauge" "$(wait_for_output 5 "no gauge" gauge_width lxqt-hidden)"
"$dcop" lxqt-panel OvraIface show
check_eq "dcop show" "width=150" "$(wait_for_output 5 width=150 gauge_width lxqt-shown)"

"$dcop" lxqt-panel OvraIface exit
check_eq "dcop exit empties the applet" "no gauge" \
    "$(wait_for_output 5 "no gauge" gauge_width lxqt-exit)"
sleep 1
check_panel_runs "after exit"
check_eq "the emptied applet still answers" "void show()" \
    "$("$dcop" lxqt-panel OvraIface functions | tail -n1)"
end_test
