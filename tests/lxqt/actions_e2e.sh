#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# The plugin with another applet, the desktop layer's test applet, named in
# its settings: the applet's size follows its widthForHeight() in a
# horizontal panel and is that of panelhost's bar in a vertical one; its
# declared About joins LXQt's menu for the plugin above "Configure", which
# stands for its Preferences; an applet whose init returns nothing leaves an
# empty plugin. Arguments: PLUGIN_DIR ENTRY_DIR DCOP SCREENPROBE (see
# tests/support/panel.sh).
. "$(dirname "$0")/../support/panel.sh" lxqt "$@"

size() { # the test applet's "WIDTHxHEIGHT"
    echo "$("$dcop" lxqt-panel TestApplet width)x$("$dcop" lxqt-panel TestApplet height)"
}

write_config Bottom 40 applet=testapplet.desktop
start_panel
check_eq "the test applet is loaded" TestApplet "$(wait_for_object 20 TestApplet)"
check_eq "its width from widthForHeight, the panel's height" 60x40 "$(wait_for_output 5 60x40 size)"
"$dcop" lxqt-panel TestApplet setPreferredWidth 95
check_eq "a new width, after updateLayout" 95x40 "$(wait_for_output 5 95x40 size)"

# The plugin is the panel's right end: title, About, Configure, Move, Remove.
panel_geometry
read -r left title about configure move remove panel rest < \
    <(open_menu lxqt-actions-menu 3 $((X + WIDTH - 20)) $((Y + HEIGHT / 2)))
check_eq "the menu's rows: the plugin's five, the panel's five" 10 \
    "$(wc -w <<<"$title $about $configure $move $remove $panel $rest")"
xdotool mousemove $((left + 40)) "$about" click 1
if read -r w h _ < <(menu_geometry "About Test Applet"); then
    echo "ok: About opened the applet's about dialog (${w}x$h)"
else
    fail "no about dialog after About"
fi
stop_panel

write_config Left 160 applet=testapplet.desktop
start_panel
check_eq "in a vertical panel" TestApplet "$(wait_for_object 20 TestApplet)"
check_eq "panelhost's bar: its width from widthForHeight, panelhost's height" 60x36 \
    "$(wait_for_output 5 60x36 size)"
stop_panel

write_config Bottom 40 applet=testapplet.desktop
OVRA_TESTAPPLET_NULL=1 start_panel
for _ in $(seq 100); do grep -q "not loaded" "$panel_log" && break; sleep 0.1; done
grep -q 'applet "Test Applet" not loaded: init of .*libovratestapplet.so returned no applet' \
    "$panel_log" && echo "ok: a null init is reported in the panel's log" ||
    fail "no message about the null init: $(cat "$panel_log")"
sleep 1
check_panel_runs "after a null init"
end_test
