#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# The Qt 5 build installed with `cmake --install` into a fresh prefix:
# lxqt-panel, pointed at the prefix's plug-in folders, loads the installed
# plugin, which finds the installed applet, desktop layer and catalogue
# beside it and nothing of the build tree.
# Arguments: CMAKE BUILD_DIR PLUGIN_DIR ENTRY_DIR DCOP SCREENPROBE, the plug-in
# folders relative to the install prefix.
cmake=$1
build=$2
prefix=$(mktemp -d)
if ! "$cmake" --install "$build" --prefix "$prefix" >/dev/null; then
    echo "FAIL: cmake --install"
    exit 1
fi
. "$(dirname "$0")/../support/panel.sh" lxqt "$prefix/$3" "$prefix/$4" "$5" "$6"

[ -f "$prefix/$3/libovra.so" ] && [ -f "$prefix/$4/ovra.desktop" ] &&
    echo "ok: the plugin and its entry are in lxqt-panel's folders of the prefix" ||
    fail "installed: $(cd "$prefix" && find . -type f)"

write_config Bottom 40
LANGUAGE=de start_panel
check_eq "the installed plugin holds the applet" OvraIface "$(wait_for_object 20 OvraIface)"
check_eq "the gauge" "width=150" "$(wait_for_output 10 width=150 gauge_width lxqt-installed)"
mapped=$(awk '$6 ~ /ovra|Ovra/ { print $6 }' "/proc/$panel_pid/maps" | sort -u)
check_eq "the project's files the panel uses" \
    "libovra.so libovraapplet.so.1 libovradesktop-qt5.so.1.0.0 OvraIface.mo" \
    "$(xargs -n1 basename <<<"$mapped" | sort -f | paste -sd' ')"
outside=$(grep -v "^$prefix/" <<<"$mapped")
[ -z "$outside" ] && echo "ok: all of them from the prefix" || fail "used from elsewhere: $outside"
end_test
