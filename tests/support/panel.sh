# SPDX-License-Identifier: GPL-2.0-or-later
# shellcheck shell=bash
# A real panel under X with the battery applet, for the end-to-end tests of
# the applet (in panelhost), of panelhost itself and of the LXQt plugin (in
# lxqt-panel): the panel started and stopped, its menus opened, the gauge
# read off screenshots by the screen probe. Source it with the panel and its
# arguments:
#   panel.sh panelhost PANELHOST DCOP [SCREENPROBE]
#   panel.sh lxqt PLUGIN_DIR ENTRY_DIR DCOP SCREENPROBE
# (for lxqt-panel the folders of the plugin and of its entry, which it looks
# in before its own), and end the test with end_test. With OVRA_SHOT_DIR
# set, the screenshots are kept there. It brings checks.sh.
set -u
. "$(dirname "${BASH_SOURCE[0]}")/checks.sh"
panel_kind=$1
case $panel_kind in
panelhost)
    panelhost=$2 dcop=$3 probe_program=${4-}
    dcop_app=panelhost
    # What panelhost loads: the battery applet; empty, the applets of its
    # own configuration.
    panel_args=(--applet ovraapplet.desktop)
    ;;
lxqt)
    plugin_dir=$2 entry_dir=$3 dcop=$4 probe_program=$5
    dcop_app=lxqt-panel
    # The panel's own configuration folder; lxqt-panel reads lxqt/panel.conf in it.
    export XDG_CONFIG_HOME
    XDG_CONFIG_HOME=$(mktemp -d)
    panel_conf=$XDG_CONFIG_HOME/lxqt/panel.conf
    # Where lxqt-panel looks for plug-in libraries and entries before its own folders.
    export LXQTPANEL_PLUGIN_PATH=$plugin_dir LXQT_PANEL_PLUGINS_DIR=$entry_dir
    ;;
*)
    echo "panel.sh: panelhost or lxqt, not $panel_kind" >&2
    exit 2
    ;;
esac
shots=${OVRA_SHOT_DIR:-$(mktemp -d)}
calls=$LAPTOP_DIR/calls.log
panel_log=$(mktemp)
panel_pid=

# --- the panel -------------------------------------------------------------

start_panel() { # [ARG...]: more arguments for the panel
    local command=(lxqt-panel)
    [[ $panel_kind == panelhost ]] && command=("$panelhost" "${panel_args[@]}")
    "${command[@]}" "$@" >"$panel_log" 2>&1 &
    panel_pid=$!
}
stop_panel() {
    kill "$panel_pid" 2>/dev/null
    wait "$panel_pid" 2>/dev/null
}
panel_runs() {
    kill -0 "$panel_pid" 2>/dev/null
}
check_panel_runs() { # [WHEN]
    if panel_runs; then
        pass "the panel still runs${1:+ $1}"
    else
        fail "the panel ended${1:+ $1}: $(cat "$panel_log")"
    fi
}
# Ends the test: stops the panel and reports.
end_test() {
    stop_panel
    finish
}

# Waits up to SECONDS until the panel's DCOP application holds OBJECT;
# prints its objects then, for check_eq to judge.
wait_for_object() { # SECONDS OBJECT
    wait_for_output "$1" "$2" "$dcop" "$dcop_app"
}
# Starts the panel and waits until the applet answers over DCOP.
start_applet() { # [ARG...]
    start_panel "$@"
    [ "$(wait_for_object 20 OvraIface)" == OvraIface ] ||
        fail "the applet did not load: $(cat "$panel_log")"
}

# Sets X, Y, WIDTH and HEIGHT to the geometry of lxqt-panel's window.
panel_geometry() {
    eval "$(xdotool getwindowgeometry --shell "$(xdotool search --name '^LXQt Panel$' | head -n1)")"
}

# Writes lxqt-panel's configuration: one panel holding the plugin "ovra".
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

# --- the gauge on the screen -----------------------------------------------

probe() { QT_QPA_PLATFORM=offscreen "$probe_program" "$@"; }
shot() { "$LAPTOP_SRC/screenshot" "$shots/$1.png"; }

# The gauge on the screen now: "bar=89 icon=yes width=150 fill=77
# text=5c0a11f3 x=16 y=993", or "no gauge".
gauge() { # SHOT-NAME
    shot "$1" && probe gauge "$shots/$1.png"
}
# Its first N fields: 3 for "bar=89 icon=yes width=150", 4 with the fill.
gauge_fields() { # N SHOT-NAME
    gauge "$2" | cut -d" " -f1-"$1"
}
gauge_width() { # SHOT-NAME: "width=150" or "no gauge"
    gauge "$1" | grep -oE 'width=[0-9]+|no gauge'
}
# The text written on the bar, told apart by the probe: "text=HASH" or "no gauge".
bar_text() { # SHOT-NAME
    gauge "$1" | grep -oE 'text=[0-9a-f]+|no gauge'
}
# "X Y" of the bar's top left corner.
gauge_xy() { # SHOT-NAME
    gauge "$1" | sed -E 's/.* x=([0-9]+) y=([0-9]+)/\1 \2/'
}
# The fill of a charge in a bar of the given width, as the gauge paints it.
fill() { echo $(($1 * $2 / 100)); } # PERCENT BAR
# Checks, waiting up to 10 s, that the screen shows the gauge of the given
# charge: on mains power the wide bar with the mains icon, on the battery the
# narrow one without.
check_gauge() { # LABEL SHOT-NAME PERCENT mains|battery
    local expected
    if [ "$4" == mains ]; then
        expected="bar=89 icon=yes width=150 fill=$(fill "$3" 89)"
    else
        expected="bar=81 icon=no width=110 fill=$(fill "$3" 81)"
    fi
    check_eq "$1" "$expected" "$(wait_for_output 10 "$expected" gauge_fields 4 "$2")"
}

# Waits for the gauge at the given width; prints "X Y" of its bar.
wait_for_gauge() { # WIDTH
    local out
    for _ in $(seq 50); do
        out=$(gauge gauge)
        if [[ $out == *"width=$1 "* ]]; then
            sed -E 's/.* x=([0-9]+) y=([0-9]+)/\1 \2/' <<<"$out"
            return 0
        fi
        sleep 0.2
    done
    echo "gauge not at width $1: $out" >&2
    return 1
}
# Waits until the bar writes a text other than the given one; prints it.
wait_for_change() { # SHOT-NAME TEXT
    local now
    for _ in $(seq 50); do
        now=$(bar_text "$1")
        [[ $now == text=* && $now != "$2" ]] && break
        sleep 0.2
    done
    echo "$now"
}

# --- menus -------------------------------------------------------------------

# "W H X Y" of the panel's open menu (or dialog, of that TITLE) now: a
# window of the panel's process that is not the panel itself.
menu_now() { # [TITLE]
    local id name line
    if [[ $panel_kind == panelhost ]]; then
        # The top-level windows of panelhost but the panel, 1280 px wide.
        line=$(xwininfo -root -tree | grep '("panelhost" "panelhost")' | grep -v ' 1280x' |
            grep -oE '[0-9]+x[0-9]+\+[0-9]+\+[0-9]+' | head -n1)
        [ -n "$line" ] || return 1
        tr 'x+' '  ' <<<"$line"
        return 0
    fi
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
    return 1
}
no_menu() { ! menu_now >/dev/null; }
# The same, waiting up to 5 s for it to open; fails when none does.
menu_geometry() { # [TITLE]
    for _ in $(seq 50); do
        menu_now "$@" && return 0
        sleep 0.1
    done
    return 1
}
# Opens a menu with a click of BUTTON at X Y and prints its left edge and the
# middle line of each of its rows, from the top: "LEFT ROW0 ROW1 ...", once
# two screenshots in a row show the same rows.
open_menu() { # SHOT-NAME BUTTON X Y
    local w h mx my rows last=
    xdotool mousemove "$3" "$4" click "$2"
    read -r w h mx my < <(menu_geometry) || { echo "no menu" >&2; return 1; }
    for _ in $(seq 25); do
        shot "$1"
        rows=$(probe rows "$shots/$1.png" "$mx" "$my" "$w" "$h")
        [[ -n $rows && $rows == "$last" ]] && break
        last=$rows
        sleep 0.1
    done
    echo "$mx $rows"
}
# The gauge's own menu: a left click on the gauge once it is WIDTH px wide.
open_gauge_menu() { # SHOT-NAME WIDTH
    local x y
    read -r x y < <(wait_for_gauge "$2") || return 1
    open_menu "$1" 1 $((x + 20)) $((y + 8))
}
close_menu() {
    xdotool key Escape
    wait_until 5 no_menu || fail "the menu stayed open"
}

# The applet's display choice through its menu, as a user makes it: a click
# on the gauge opens the menu, the keyboard picks the entry. The last entry is
# the launch, the one above it "show"; its submenu opens on the percentage,
# the time below it.
choose_display() { # percentage|time
    local x y
    read -r x y < <(gauge_xy choice)
    xdotool mousemove $((x + 20)) $((y + 8)) click 1
    menu_geometry >/dev/null || fail "no menu"
    if [ "$1" == time ]; then
        xdotool key Up Up Right Down Return
    else
        xdotool key Up Up Right Return
    fi
}
