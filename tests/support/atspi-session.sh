#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Runs COMMAND as it runs beside a screen reader: the AT-SPI accessibility bus
# is up on the session bus with accessibility switched on, so Qt programs
# started now bring up their accessibility bridge.
#   atspi-session.sh COMMAND [ARG...]
# Needs a D-Bus session bus and an X display (laptop/sandbox --x11). Exports
# OVRA_ATSPI=1 for tests that check what only the bridge makes happen, and
# OVRA_SCREENREADER, the screen reader of the tests (screenreader.py).
set -euo pipefail
launcher=/usr/libexec/at-spi-bus-launcher
[[ -x $launcher ]] || { echo "atspi-session.sh: $launcher is missing (package at-spi2-core)" >&2; exit 2; }
[[ -n ${DBUS_SESSION_BUS_ADDRESS:-} ]] || { echo "atspi-session.sh: no session bus" >&2; exit 2; }

# The sandbox switches the GTK bridge off; Qt does not read that variable,
# but nothing started from here should be told to stay silent.
unset NO_AT_BRIDGE
"$launcher" --launch-immediately --a11y=1 2>/dev/null &
launcher_pid=$!
trap 'kill "$launcher_pid" 2>/dev/null || true; wait "$launcher_pid" 2>/dev/null || true' EXIT

# Every call here waits for its answer as long as it takes: a loaded machine
# answers late, not never. Qt's bridge makes the same calls blocking, each
# given up after D-Bus's default of 25 s (and the bridge then stays off), so
# the program starts only once every one of them has been answered here.
call() { dbus-send --print-reply=literal --reply-timeout=2147483647 "$@"; }

# The launcher owns org.a11y.Bus first and starts the accessibility bus from
# the same callback, so a call made once the name is there is answered after
# the bus runs. Waits for the name, or for the launcher's end.
gdbus wait --session org.a11y.Bus &
waiter_pid=$!
wait -n "$launcher_pid" "$waiter_pid" || true
if kill -0 "$waiter_pid" 2>/dev/null; then
    kill "$waiter_pid"
    echo "atspi-session.sh: the bus launcher ended" >&2
    exit 2
fi
address=$(call --session --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress) ||
    { echo "atspi-session.sh: no accessibility bus" >&2; exit 2; }
address=$(echo $address)
[[ $address == unix:* ]] || { echo "atspi-session.sh: odd bus address '$address'" >&2; exit 2; }
enabled=$(call --session --dest=org.a11y.Bus /org/a11y/bus org.freedesktop.DBus.Properties.Get \
    string:org.a11y.Status string:IsEnabled)
[[ $enabled == *"boolean true"* ]] || { echo "atspi-session.sh: accessibility is off: $enabled" >&2; exit 2; }

# The registry starts on its first call (bus activation). Programs call it
# while they bring up their bridge, Qt's waiting 25 s at most for it, and
# screen readers list programs through it: start it now and wait for it.
call --bus="$address" --dest=org.a11y.atspi.Registry /org/a11y/atspi/accessible/root \
    org.freedesktop.DBus.Peer.Ping >/dev/null ||
    { echo "atspi-session.sh: the accessibility registry does not answer" >&2; exit 2; }

export OVRA_ATSPI=1
OVRA_SCREENREADER=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/screenreader.py
export OVRA_SCREENREADER
"$@"
