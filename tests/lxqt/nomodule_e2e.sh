#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# lxqt-panel when the battery module never loads: the applet's init returns
# no applet after its ten load attempts and the error dialog; the panel goes
# on, says why in its log, and keeps an empty plugin that LXQt's menu for it
# removes. Runs without the module, with insmod failing. Arguments:
# PLUGIN_DIR ENTRY_DIR DCOP SCREENPROBE (see tests/support/panel.sh).
. "$(dirname "$0")/../support/panel.sh" lxqt "$@"

"$LAPTOP_SRC/standin-behaviour" insmod exit=1
write_config Bottom 40
start_panel
for _ in $(seq 300); do grep -q "not loaded" "$panel_log" && break; sleep 0.1; done
check_eq "the panel's log says why" \
    'Ovra plugin: applet "Ovra Battery" not loaded: init of LIB returned no applet. The plugin stays empty; its menu removes it from the panel.' \
    "$(grep -m1 'not loaded' "$panel_log" | sed -E 's|init of [^ ]*/libovraapplet.so[.0-9]* |init of LIB |')"
check_eq "ten load attempts, then the error dialog" "insmod x10 kdialog" \
    "$(cut -f1 "$calls" | uniq -c | awk '{ printf "%s%s", (NR > 1 ? " " : ""), ($1 > 1 ? $2 " x" $1 : $2) }')"
sleep 1
check_panel_runs "after the module check failed"
check_eq "no applet on the screen" "no gauge" "$(gauge_width lxqt-nomodule)"
"$dcop" lxqt-panel OvraIface >/dev/null 2>&1 && fail "an OvraIface object exists" ||
    echo "ok: no OvraIface object"

# The empty plugin is the panel's right end; its menu holds LXQt's "Remove".
panel_geometry
read -r left title move remove rest < <(open_menu lxqt-empty-menu 3 $((X + WIDTH - 4)) $((Y + HEIGHT / 2)))
xdotool mousemove $((left + 40)) "$remove" click 1
for _ in $(seq 50); do grep -q '^\[ovra\]' "$panel_conf" || break; sleep 0.1; done
plugins=$(grep -E '^plugins=' "$panel_conf")
[[ $plugins != *ovra* ]] && echo "ok: Remove takes the plugin out of the panel ($plugins)" ||
    fail "the panel still lists the plugin: $plugins"
grep -q '^\[ovra\]' "$panel_conf" && fail "the plugin's settings stay: $(cat "$panel_conf")" ||
    echo "ok: the plugin's settings are gone"
check_panel_runs "after the empty plugin was removed"
end_test
