#!/bin/bash
# Runs COMMAND as it runs beside a screen reader: the AT-SPI accessibility bus
# is up on the session bus with accessibility switched on, so Qt programs
# started now bring up their accessibility bridge.
#   atspi-session.sh COMMAND [ARG...]
# Needs a D-Bus session bus and an X display (laptop/sandbox --x11). Exports
# OVRA_ATSPI=1 for tests that check what only the bridge makes happen.
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

bus_ready() {
    dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus \
        org.a11y.Bus.GetAddress 2>/dev/null | grep -q 'string "unix:'
}
for _ in $(seq 100); do
    bus_ready && break
    kill -0 "$launcher_pid" 2>/dev/null || { echo "atspi-session.sh: the bus launcher ended" >&2; exit 2; }
    sleep 0.1
done
bus_ready || { echo "atspi-session.sh: no accessibility bus after 10 s" >&2; exit 2; }

export OVRA_ATSPI=1
"$@"
