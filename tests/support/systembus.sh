# SPDX-License-Identifier: GPL-2.0-or-later
# shellcheck shell=bash
# Reading UPower and power-profiles-daemon on the system bus from shell
# tests, with gdbus; for the laptop of today (laptop/sandbox --today).
# Every call has a timeout (gdbus --timeout, seconds).

UPOWER=org.freedesktop.UPower
UPOWER_DEVICES=/org/freedesktop/UPower/devices
PROFILES=net.hadess.PowerProfiles
PROFILES_PATH=/net/hadess/PowerProfiles

# A value as gdbus prints it, without the reply's tuple and variant
# brackets, the type word and the quotes of a string: uint32 2 -> 2.
bus_value() {
    sed -E -e 's/^\(<?//' -e 's/>?,\)$//' -e 's/^(byte|u?int(16|32|64)|double|objectpath) //' \
        -e "s/^'(.*)'\$/\\1/"
}

# The value of one property: bus_property DEST PATH INTERFACE NAME.
bus_property() {
    gdbus call --system --timeout 5 --dest "$1" --object-path "$2" \
        --method org.freedesktop.DBus.Properties.Get "$3" "$4" | bus_value
}

# One Properties.Get that waits MILLISECONDS for the reply, as dbus-send
# prints it. gdbus asks the object for its interfaces first, so against a
# service that never answers it waits more than its --timeout.
bus_property_within() { # MILLISECONDS DEST PATH INTERFACE NAME
    dbus-send --system --print-reply --reply-timeout="$1" --dest="$2" "$3" \
        org.freedesktop.DBus.Properties.Get string:"$4" string:"$5"
}

# A property of a UPower device, named by the end of its path (battery_BAT0,
# line_power_AC, DisplayDevice) or, for the daemon, by the empty string.
upower_property() { # DEVICE NAME
    if [[ -z $1 ]]; then
        bus_property $UPOWER /org/freedesktop/UPower $UPOWER "$2"
    else
        bus_property $UPOWER "$UPOWER_DEVICES/$1" $UPOWER.Device "$2"
    fi
}

profiles_property() { # NAME
    bus_property $PROFILES $PROFILES_PATH $PROFILES "$1"
}

# Sets ActiveProfile; prints gdbus's error, if any, on stdout.
# shellcheck disable=SC2069 # the error to stdout, the reply dropped
set_profile() { # PROFILE
    gdbus call --system --timeout 5 --dest $PROFILES --object-path $PROFILES_PATH \
        --method org.freedesktop.DBus.Properties.Set $PROFILES ActiveProfile "<'$1'>" 2>&1 >/dev/null
}

# Reads power-profiles-daemon under its newer name where that one is owned
# (releases from 0.20 on, or the sandbox's --profiles-mock newer).
use_profiles_name_owned() {
    if [[ -n $(bus_owner org.freedesktop.UPower.PowerProfiles) ]]; then
        PROFILES=org.freedesktop.UPower.PowerProfiles
        PROFILES_PATH=/org/freedesktop/UPower/PowerProfiles
    fi
}

# The unique name that owns NAME, or nothing.
bus_owner() { # NAME
    gdbus call --system --timeout 5 --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
        --method org.freedesktop.DBus.GetNameOwner "$1" 2>/dev/null | bus_value
}

# UPower's devices, as the ends of their paths, one a line.
upower_devices() {
    gdbus call --system --timeout 5 --dest $UPOWER --object-path /org/freedesktop/UPower \
        --method $UPOWER.EnumerateDevices | grep -o "$UPOWER_DEVICES/[^']*" | sed 's|.*/||'
}

# A program that holds a profile as an application does, until its standard
# input ends: a hold lasts as long as the holder's bus connection. It prints
# the hold's cookie, or "error: MESSAGE".
# shellcheck disable=SC2016
holder_program='
import sys
from gi.repository import Gio, GLib
bus = Gio.bus_get_sync(Gio.BusType.SYSTEM, None)
try:
    reply = bus.call_sync(sys.argv[1], sys.argv[2], sys.argv[1], "HoldProfile",
                          GLib.Variant("(sss)", (sys.argv[3], "laptop test", "org.nexalt.test")),
                          GLib.VariantType("(u)"), 0, 5000, None)
    print(reply.unpack()[0], flush=True)
except GLib.Error as error:
    print("error:", error.message, flush=True)
sys.stdin.read()
'

# Starts holding PROFILE; sets hold_cookie to what the holder printed.
# shellcheck disable=SC2034 # hold_cookie is for the test that sources this file
hold_profile() { # PROFILE [DEST PATH]
    coproc HOLDER { timeout 120 /usr/bin/python3 -c "$holder_program" "${2:-$PROFILES}" \
        "${3:-$PROFILES_PATH}" "$1"; }
    hold_cookie=
    read -r -t 10 hold_cookie <&"${HOLDER[0]}" || true
}

# Ends the holder, and with it the hold.
release_profile() {
    eval "exec ${HOLDER[1]}>&-"
    wait "$HOLDER_PID" 2>/dev/null || true
}
