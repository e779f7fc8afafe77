#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# A private X server for the command, apart from every other one, and the
# screenshot helper. Runs inside `laptop/sandbox --x11`.
set -uo pipefail
. "$(dirname "$0")/lib.sh"

check_match "DISPLAY is set" '^:[0-9]+$' "${DISPLAY-}"
check "the X server answers" bash -c 'xdpyinfo >/dev/null'
# Abstract sockets are per network namespace: X servers of other sandboxes
# or of the machine must not be visible (a client would reach them first).
check_eq "a private network: only the loopback interface" "lo:" "$(ip -o link | awk '{ print $2 }' | paste -sd' ')"
check_eq "only our own X server is reachable" \
    "/tmp/.X11-unix/X${DISPLAY#:} @/tmp/.X11-unix/X${DISPLAY#:}" \
    "$(awk '$8 ~ /X11-unix/ { print $8 }' /proc/net/unix | LC_ALL=C sort | paste -sd' ')"
if ! in_user_namespace; then
    check "another user reaches the X server" bash -c \
        'setpriv --reuid=65534 --regid=65534 --clear-groups xdpyinfo >/dev/null'
fi

xmessage -geometry +50+50 "laptop" &
viewer=$!
window=$(xdotool search --sync --name '^xmessage$' | head -1)
"$LAPTOP_SRC/screenshot" /tmp/screen.png
"$LAPTOP_SRC/screenshot" /tmp/window.png "$window"
check_match "screenshot of the screen is a PNG of its size" 'PNG image data, 1280 x 1024' "$(file /tmp/screen.png)"
check_match "screenshot of a window is a PNG of the window" 'PNG image data, [1-9][0-9]* x [1-9][0-9]*' \
    "$(file /tmp/window.png)"
check "the window shows on the screen shot" bash -c \
    "/usr/bin/convert /tmp/screen.png -format '%[fx:standard_deviation]' info: | awk '{ exit !(\$1 > 0) }'"
kill "$viewer"
finish
