#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Memory benchmark of the applet in a real panel, on the simulated laptop
# under Xvfb: the resident memory (VmRSS of /proc/PID/status) of panelhost
# with no applet, with the desktop layer's test applet (a frame that writes
# its width: what any applet that writes text brings into a panel that wrote
# none, Qt's fonts and text shaping), with the battery applet, and of the
# latter again after TICKS refresh ticks (100000 unless given), each of which
# finds a changed charge and so rebuilds the tool tip and repaints. The ticks
# are driven by the benchmark's module ticker (LD_PRELOAD), loaded into every
# panel alike. Prints the figures, the applet's extra memory (target: at most
# 3 MB more than panelhost alone) and the growth over the ticks (target: none).
# With a Qt 5 build that holds the LXQt plugin, and lxqt-panel installed, it
# also prints lxqt-panel's memory with the system's default panel (its usual
# plugins: menu, task bar, tray, clock...) without and with the applet added:
# what the applet costs in a panel that people run.
#
#   bench/applet/bench-memory.sh [BUILD-DIR] [TICKS] [QT5-BUILD-DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
ticks=${2:-100000}
qt5_build=${3:-$root/build-qt5}
if [[ -z ${LAPTOP_DIR:-} ]]; then
    cmake -DOVRA_BENCH=ON "$build" >/dev/null
    cmake --build "$build" --target panelhost dcop ovraapplet ovratestapplet \
        bench_applet_ticker >/dev/null
    if [[ -f $qt5_build/CMakeCache.txt ]] && command -v lxqt-panel >/dev/null; then
        cmake --build "$qt5_build" --target ovra >/dev/null
        qt5_build=$(cd "$qt5_build" && pwd)
    else
        qt5_build=
    fi
    exec "$root/laptop/sandbox" --x11 -- "$0" "$build" "$ticks" "$qt5_build"
fi

bin=$build/bin
dir=$(mktemp -d)
ticker=$(find "$build" -name 'libbench_applet_ticker.so' | head -n1)
export OVRA_BENCH_DIR=$dir OVRA_BENCH_TICKS=$ticks

rss() { awk '/^VmRSS:/ { print $2 }' "/proc/$1/status"; }
wait_for() { # SECONDS COMMAND...: until the command succeeds
    local deadline=$((SECONDS + $1))
    shift
    until "$@" >/dev/null 2>&1; do
        ((SECONDS < deadline)) || {
            echo "bench-memory: timed out: $*" >&2
            exit 1
        }
        sleep 0.1
    done
}
progress_is() { grep -q "^$1" "$dir/progress"; }
registered() { "$bin/dcop" | grep -qx panelhost; }
has_object() { "$bin/dcop" panelhost | grep -qx "$1"; }
# The panel's memory once its start has settled: the same figure twice in a
# row, a tenth of a second apart.
settled_rss() { # PID
    local last=-1 now
    for _ in $(seq 100); do
        now=$(rss "$1")
        [[ $now == "$last" ]] && break
        last=$now
        sleep 0.1
    done
    echo "$now"
}
# Starts panelhost with the given applet (none when empty) and waits until its
# DCOP application answers.
start_panel() { # [ENTRY]
    rm -f "$dir/progress"
    if [[ -n ${1:-} ]]; then
        LD_PRELOAD=$ticker "$bin/panelhost" --applet "$1" >"$dir/panel.log" 2>&1 &
    else
        LD_PRELOAD=$ticker "$bin/panelhost" >"$dir/panel.log" 2>&1 &
    fi
    pid=$!
    wait_for 30 registered
}
stop_panel() {
    kill "$pid"
    wait "$pid" 2>/dev/null || true
}

# panelhost alone: its configuration holds no applet.
mkdir -p "$HOME/.config"
printf '[%%General]\nApplets=@Invalid()\n' >"$HOME/.config/panelhostrc"
start_panel
alone=$(settled_rss "$pid")
stop_panel

start_panel testapplet.desktop
wait_for 30 has_object TestApplet
text=$(settled_rss "$pid")
stop_panel

# The battery applet, before and after the ticks.
start_panel ovraapplet.desktop
wait_for 30 progress_is ready
loaded=$(settled_rss "$pid")
touch "$dir/go"
wait_for 600 progress_is "done"
after=$(settled_rss "$pid")
stop_panel

# lxqt-panel with the system's default panel, then with the applet added to
# it; the plugin comes from the Qt 5 build.
has_lxqt_object() { "$bin/dcop" lxqt-panel | grep -qx "$1"; }
lxqt_rss() { # [PLUGIN]
    local conf=$XDG_CONFIG_HOME/lxqt/panel.conf
    mkdir -p "${conf%/*}"
    if [[ -n ${1:-} ]]; then
        sed -E "s/^(plugins=.*)$/\1,$1/" /usr/share/lxqt/panel.conf >"$conf"
        printf '\n[%s]\ntype=%s\n' "$1" "$1" >>"$conf"
    else
        cp /usr/share/lxqt/panel.conf "$conf"
    fi
    lxqt-panel >"$dir/lxqt.log" 2>&1 &
    pid=$!
    wait_for 30 xdotool search --onlyvisible --class '^lxqt-panel$'
    [[ -z ${1:-} ]] || wait_for 30 has_lxqt_object OvraIface
    settled_rss "$pid"
    stop_panel
}
if [[ -n $qt5_build ]]; then
    export XDG_CONFIG_HOME=$dir/lxqt-config
    export LXQTPANEL_PLUGIN_PATH=$qt5_build/lib/lxqt-panel
    export LXQT_PANEL_PLUGINS_DIR=$qt5_build/share/lxqt/lxqt-panel
    lxqt_default=$(lxqt_rss)
    lxqt_applet=$(lxqt_rss ovra)
fi

printf 'panelhost alone:                %6d KiB\n' "$alone"
printf 'panelhost with the test applet: %6d KiB  (%+d KiB)\n' "$text" $((text - alone))
printf 'panelhost with the applet:      %6d KiB  (%+d KiB, target at most +3072 KiB; %+d KiB over the test applet)\n' \
    "$loaded" $((loaded - alone)) $((loaded - text))
printf 'after %d ticks:             %6d KiB  (%+d KiB, target +0 KiB)\n' \
    "$ticks" "$after" $((after - loaded))
if [[ -n $qt5_build ]]; then
    printf 'lxqt-panel, default panel:      %6d KiB\n' "$lxqt_default"
    printf '... with the applet added:      %6d KiB  (%+d KiB)\n' \
        "$lxqt_applet" $((lxqt_applet - lxqt_default))
fi
