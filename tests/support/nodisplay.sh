#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# A program started where there is no display: each OPTION (--help,
# --version ...) still works, and a GUI program says in one line that it has
# no display and ends with status 1, also when DISPLAY names a server that
# does not run; it never aborts.
# Arguments: PROGRAM gui|cli [OPTION...]
set -u
. "$(dirname "$0")/checks.sh"
program=$1
kind=$2
shift 2
name=$(basename "$program")
out=$(mktemp)
err=$(mktemp)

headless() { # ARGS...: runs the program without any display, at most 30 s
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u XDG_SESSION_TYPE \
        timeout 30 "$program" "$@" >"$out" 2>"$err"
}

for option in "$@"; do
    headless "$option"
    check_eq "$name $option without a display: status" 0 $?
    [ -s "$out" ] && echo "ok: $name $option prints" || fail "$name $option printed nothing"
done

if [ "$kind" = gui ]; then
    headless
    check_eq "$name without a display: status" 1 $?
    check_eq "$name without a display: one line" 1 "$(wc -l <"$err")"
    grep -q "^$name: cannot connect to the X display: DISPLAY is not set$" "$err" \
        && echo "ok: $name says why" || fail "$name said: $(cat "$err")"

    # A display that is named but has no server behind it.
    DISPLAY=:97 env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 30 "$program" >"$out" 2>"$err"
    check_eq "$name on a display without a server: status" 1 $?
    check_eq "$name on a display without a server: one line" \
        "$name: cannot connect to the X display :97" "$(cat "$err")"
fi
rm -f "$out" "$err"
finish
