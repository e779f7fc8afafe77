#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Takes the pictures of docs/notices.md: the popup's fallback box (no
# notification service), the popup's notice and the applet's low-battery
# notice as dunst shows them. Needs dunst (not among the project's packages:
# the tests use their own recorder). Writes popup/doc/notice-box.png,
# popup/doc/notice.png and applet/doc/notice-battery-low.png.
#   popup/doc/notice-screenshots.sh [BUILD_DIR]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
shots=$(mktemp -d /tmp/notice-shots.XXXXXX)
trap 'rm -rf "$shots"' EXIT

# A switch the daemon refuses, with the row of "presentation" clicked.
refused_switch='
    . "$2/tests/support/popup.sh" "$1/bin/schemepop"
    "$LAPTOP_SRC/standin-behaviour" powersaved.reload exit=1
    "$LAPTOP_SRC/standin-behaviour" powersaved.start exit=1
    start_popup one
    wait_popup one
    click_row presentation
'
# Without a bus nothing can take the notice: the box.
"$root/laptop/sandbox" --x11 --no-bus --share "$shots" -- bash -c "$refused_switch"'
    wait_until 15 has_error_box || fail "no box"
    sleep 0.5
    "$LAPTOP_SRC/screenshot" "$3/box.png"
' _ "$build" "$root" "$shots"
"$root/laptop/sandbox" --x11 --share "$shots" -- bash -c '
    dunst >/dev/null 2>&1 &
    until dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner string:org.freedesktop.Notifications | grep -q true; do
        sleep 0.1
    done
    '"$refused_switch"'
    wait_exit one
    sleep 1
    "$LAPTOP_SRC/screenshot" "$3/notice.png"
' _ "$build" "$root" "$shots"
"$root/laptop/sandbox" --x11 --share "$shots" -- bash -c '
    "$LAPTOP_SRC/batterysim" set 0 ac=no charge=9
    dunst >/dev/null 2>&1 &
    "$1/bin/panelhost" --applet ovraapplet.desktop >/dev/null 2>&1 &
    until "$1/bin/dcop" panelhost 2>/dev/null | grep -q OvraIface; do sleep 0.1; done
    sleep 3
    "$LAPTOP_SRC/screenshot" "$3/low.png"
' _ "$build" "$root" "$shots"

convert "$shots/box.png" -crop 516x360+382+332 +repage "$here/notice-box.png"
convert "$shots/notice.png" -crop 360x100+920+35 +repage "$here/notice.png"
convert "$shots/low.png" -crop 360x100+920+35 +repage "$root/applet/doc/notice-battery-low.png"
