#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# The scheme menu in a real panel under X, used with a real pointer: on the
# battery a click on the gauge opens the menu and a click on "presentation"
# makes it BATTERY_SCHEME; only that line of the configuration changes, and the
# reload and the idle-time restart run. Opening the menu again changes nothing.
# The menu also opens in German. Arguments: PANELHOST DCOP SCREENPROBE (see
# tests/support/panel.sh).
. "$(dirname "$0")/../support/panel.sh" panelhost "$@"
config=/etc/sysconfig/powersave/common

# A configuration with comment blocks that name the keys and ISO 8859-1 bytes.
printf '## Path:\tSystem/Powermanagement/Powersave\n## Description:\tEinstellungen f\xfcr den Energiesparmodus\n#\n# BATTERY_SCHEME: the scheme on battery. \xa9 Nexalt\n#BATTERY_SCHEME="acoustic"\nPOWERSAVE_DEBUG_SYSLOG="yes"\n\nAC_SCHEME="performance"\nBATTERY_SCHEME="powersave"\nPOWERSAVE_NOTE="caf\xe9"\n' >"$config"
original=$(mktemp)
cp "$config" "$original"
"$LAPTOP_SRC/batterysim" mains off

start_panel
# Title, four schemes, "show", "Launch Power Manager ...".
read -r left title quiet powersave presentation performance show launch rest < <(open_gauge_menu menu-en 110)
check_eq "the menu's rows" "7" "$(wc -w <<<"$title $quiet $powersave $presentation $performance $show $launch $rest")"
: >"$calls"
xdotool mousemove $((left + 60)) "$presentation" click 1
for _ in $(seq 50); do [ "$(wc -l <"$calls")" -ge 2 ] && break; sleep 0.1; done
sleep 0.5
expected=$(mktemp)
sed 's/^BATTERY_SCHEME="powersave"$/BATTERY_SCHEME="presentation"/' "$original" >"$expected"
cmp -s "$expected" "$config" && echo "ok: only BATTERY_SCHEME changed, every other byte kept" \
    || fail "configuration: $(cmp "$expected" "$config"; od -c "$config" | head -20)"
check_eq "the commands run, in order" \
    "/etc/init.d/powersave reload &>/dev/null|/opt/nexalt/pm/idletime.sh restart &>/dev/null" \
    "$(cut -f5 "$calls" | paste -sd'|')"

# Opening the menu again writes nothing and runs nothing.
: >"$calls"
touch -d '2001-01-01' "$config"
before=$(stat -c '%Y %s' "$config")
read -r left title rest < <(open_gauge_menu menu-en-again 110)
xdotool key Escape
sleep 0.5
check_eq "opening the menu changes nothing" "$before" "$(stat -c '%Y %s' "$config")"
check_eq "opening the menu runs nothing" "" "$(cat "$calls")"
check_panel_runs
stop_panel

# The same menu under a German locale.
LANGUAGE=de start_panel
read -r left title rest < <(open_gauge_menu menu-de 110)
check_eq "the German menu's rows" "7" "$(wc -w <<<"$title $rest")"
xdotool key Escape
end_test
