#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Takes the README's screenshot of the popup: the scheme in force in red, the
# row under the pointer in grey. Runs schemepop on the simulated laptop's
# X display and writes popup/doc/schemepop.png.
#   popup/doc/screenshot.sh [SCHEMEPOP]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
schemepop=${1:-$root/build/bin/schemepop}
exec "$root/laptop/sandbox" --x11 --share "$here" -- bash -c '
    set -euo pipefail
    "$1" >/dev/null &
    pid=$!
    wid=$(xdotool search --sync --onlyvisible --name "^Velantis Hotkey$" | head -1)
    eval "$(xdotool getwindowgeometry --shell "$wid")"
    # The row of "powersave" lies under the pointer.
    row=0
    while read -r name; do
        name=${name#scheme_}
        [[ -e /opt/nexalt/pm/scheme/scheme_$name ]] || continue
        [[ $name == powersave ]] && break
        row=$((row + 1))
    done < <(find /etc/sysconfig/powersave -mindepth 1 -maxdepth 1 -name "scheme_*" -printf "%f\n")
    xdotool mousemove --sync $((X + 300)) $((Y + 55 + 35 * row + 17))
    sleep 0.5
    xwd -root -silent | /usr/bin/convert xwd:- -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage \
        -strip "png:$2/schemepop.png"
    kill "$pid"
' screenshot "$schemepop" "$here"
