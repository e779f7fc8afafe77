#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Shared by the LXQt end-to-end tests: a real lxqt-panel under Xvfb with a
# panel configuration of the test's own that holds the plugin "ovra" of the
# build tree. Source it with the arguments
#   PLUGIN_DIR ENTRY_DIR DCOP SCREENPROBE
# (the build tree's lib/lxqt-panel and share/lxqt/lxqt-panel folders, the
# dcop program and the screen probe), and end with end_test. With
# OVRA_SHOT_DIR set, the screenshots are kept there.
set -u
. "$(dirname "${BASH_SOURCE[0]}")/../support/checks.sh"
plugin_dir=$1
entry_dir=$2
dcop=$3
probe_program=$4
shots=${OVRA_SHOT_DIR:-$(mktemp -d)}
calls=$LAPTOP_DIR/calls.log
panel_log=$(mktemp)
panel_pid=
# The panel's own configuration folder; lxqt-panel reads lxqt/panel.conf in it.
export XDG_CONFIG_HOME
XDG_CONFIG_HOME=$(mktemp -d)
panel_conf=$XDG_CONFIG_HOME/lxqt/panel.conf
# Where lxqt-panel looks for plug-in libraries and entries before its own folders.
export LXQTPANEL_PLUGIN_PATH=$plugin_dir LXQT_PANEL_PLUGINS_DIR=$entry_dir

probe() { QT_QPA_PLATFORM=offscreen "$probe_program" "$@"; }
shot() { "$LAPTOP_SRC/screenshot" "$shots/$1.png"; }
# The gauge on the screen now: "bar=89 icon=yes width=150 fill=77 text=.. x=.. y=.." or "no gauge".
gauge() { # SHOT-NAME
    shot "$1" && probe gauge "$shots/$1.png"
}
gauge_width() { # SHOT-NAME: "width=150" or "no gauge"
    gauge "$1" | grep -oE 'width=[0-9]+|no gauge'
}

# Writes the panel configuration: one panel holding the plugin "ovra".
write_config() { # POSITION SIZE [PLUGIN-SETTING...]
    mkdir -p "$(dirname "$panel_conf")"
    {
        printf '[General]\n__userfile__=true\npanels=panel1\n\n'
        printf '[panel1]\nplugins=ovra\nposition=%s\npanelSize=%s\n' "$1" "$2"
        printf 'alignment=-1\nwidth=100\nwidth-percent=true\n\n'
        printf '[ovra]\ntype=ovra\n'
        shift 2
        printf '%s\n' "$@"
    } >"$panel_conf"
}
start_panel() {
    lxqt-panel >"$panel_log" 2>&1 &
    panel_pid=$!
}
panel_runs() {
    kill -0 "$panel_pid" 2>/dev/null
}
check_panel_runs() { # WHEN
    panel_runs && echo "ok: the panel still runs $1" || fail "the panel ended $1: $(cat "$panel_log")"
}
stop_panel() {
    kill "$panel_pid" 2>/dev/null
    wait "$panel_pid" 2>/dev/null
}
# The names of the panel's DCOP objects, once it answers.
wait_for_object() { # SECONDS OBJECT
    wait_for_output "$1" "$2" "$dcop" lxqt-panel
}

# "W H X Y" of the open menu (or dialog) of the panel's process: a visible
# window of class lxqt-panel that is not the panel itself.
menu_geometry() { # [TITLE]
    local id name
    for _ in $(seq 50); do
        for id in $(xdotool search --onlyvisible --class '^lxqt-panel$' 2>/dev/null); do
            name=$(xdotool getwindowname "$id")
            [ "$name" == "LXQt Panel" ] && continue
            [ -n "${1-}" ] && [ "$name" != "$1" ] && continue
            eval "$(xdotool getwindowgeometry --shell "$id")"
            if [ "$WIDTH" -gt 1 ]; then
                echo "$WIDTH $HEIGHT $X $Y"
                return 0
            fi
        done
        sleep 0.1
    done
    return 1
}
# Opens a menu with a click of BUTTON at X Y and prints its left edge and the
# middle line of each of its rows, from the top: "LEFT ROW0 ROW1 ...".
open_menu() { # NAME BUTTON X Y
    local w h mx my
    xdotool mousemove "$3" "$4" click "$2"
    read -r w h mx my < <(menu_geometry) || { echo "no menu" >&2; return 1; }
    sleep 0.3
    shot "$1"
    echo "$mx $(probe rows "$shots/$1.png" "$mx" "$my" "$w" "$h")"
}
close_menu() {
    xdotool key Escape
    sleep 0.5
}

# Ends the test: stops the panel and reports.
end_test() {
    stop_panel
    finish
}
