#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# The scheme menu in a real panel under X, used with a real pointer: on the
# battery a click on the gauge opens the menu and a click on "presentation"
# makes it BATTERY_SCHEME; only that line of the configuration changes, and the
# reload and the idle-time restart run. Opening the menu again changes nothing.
# The menu also opens in German. Arguments: PANELHOST SCREENPROBE. With
# OVRA_SHOT_DIR set, the screenshots are kept there.
set -u
. "$(dirname "$0")/../support/checks.sh"
. "$(dirname "$0")/panel-lib.sh"
panelhost=$1
probe=$2
shots=${OVRA_SHOT_DIR:-$(mktemp -d)}
config=/etc/sysconfig/powersave/common
calls=$LAPTOP_DIR/calls.log
log=$(mktemp)

start_panel() {
    "$panelhost" --applet ovraapplet.desktop >"$log" 2>&1 &
    panel_pid=$!
}
stop_panel() {
    kill "$panel_pid" 2>/dev/null
    wait "$panel_pid" 2>/dev/null
}

# A configuration with comment blocks that name the keys and ISO 8859-1 bytes.
printf '## Path:\tSystem/Powermanagement/Powersave\n## Description:\tEinstellungen f\xfcr den Energiesparmodus\n#\n# BATTERY_SCHEME: the scheme on battery. \xa9 Nexalt\n#BATTERY_SCHEME="acoustic"\nPOWERSAVE_DEBUG_SYSLOG="yes"\n\nAC_SCHEME="performance"\nBATTERY_SCHEME="powersave"\nPOWERSAVE_NOTE="caf\xe9"\n' >"$config"
original=$(mktemp)
cp "$config" "$original"
"$LAPTOP_SRC/batterysim" mains off
gauge_width=110

start_panel
# Title, four schemes, "show", "Launch Power Manager ...".
read -r left title quiet powersave presentation performance show launch rest < <(open_menu menu-en)
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
read -r left title rest < <(open_menu menu-en-again)
xdotool key Escape
sleep 0.5
check_eq "opening the menu changes nothing" "$before" "$(stat -c '%Y %s' "$config")"
check_eq "opening the menu runs nothing" "" "$(cat "$calls")"
kill -0 "$panel_pid" 2>/dev/null && echo "ok: panel still runs" || fail "panel ended: $(cat "$log")"
stop_panel

# The same menu under a German locale.
LANGUAGE=de start_panel
read -r left title rest < <(open_menu menu-de)
check_eq "the German menu's rows" "7" "$(wc -w <<<"$title $rest")"
xdotool key Escape
stop_panel

finish
