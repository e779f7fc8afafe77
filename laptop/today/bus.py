# SPDX-License-Identifier: GPL-2.0-or-later
"""The laptop's system bus, as the controller of laptop/todaysim sees it:
who owns a name, a property read, and waiting for a condition. Every call
has a timeout: a daemon that hangs must not hang the controller."""

import time

from gi.repository import Gio, GLib

CALL_TIMEOUT_MS = 2000
POLL_SECONDS = 0.02

_connection = None


def connection():
    global _connection
    if _connection is None:
        _connection = Gio.bus_get_sync(Gio.BusType.SYSTEM, None)
    return _connection


def call(dest, path, interface, method, args=None, reply=None, timeout_ms=CALL_TIMEOUT_MS):
    """The reply's values as a tuple; raises GLib.Error on an error reply or a timeout."""
    result = connection().call_sync(dest, path, interface, method, args,
                                    GLib.VariantType(reply) if reply else None,
                                    Gio.DBusCallFlags.NO_AUTO_START, timeout_ms, None)
    return result.unpack() if result else ()


def name_owner(name):
    """The unique name owning NAME, or None."""
    try:
        return call('org.freedesktop.DBus', '/org/freedesktop/DBus', 'org.freedesktop.DBus',
                    'GetNameOwner', GLib.Variant('(s)', (name,)), '(s)')[0]
    except GLib.Error:
        return None


def get_property(dest, path, interface, name, timeout_ms=CALL_TIMEOUT_MS):
    return call(dest, path, 'org.freedesktop.DBus.Properties', 'Get',
                GLib.Variant('(ss)', (interface, name)), '(v)', timeout_ms)[0]


def get_all(dest, path, interface, timeout_ms=CALL_TIMEOUT_MS):
    return call(dest, path, 'org.freedesktop.DBus.Properties', 'GetAll',
                GLib.Variant('(s)', (interface,)), '(a{sv})', timeout_ms)[0]


class WaitTimeout(Exception):
    pass


def wait_until(condition, seconds, what):
    """Polls CONDITION until it returns a true value, which it returns, or
    raises WaitTimeout naming WHAT once SECONDS have passed. A condition that
    raises GLib.Error (the daemon is not there yet) counts as false."""
    deadline = time.monotonic() + seconds
    last_error = None
    while True:
        try:
            value = condition()
            if value:
                return value
        except GLib.Error as error:
            last_error = error.message
        if time.monotonic() >= deadline:
            detail = f' (last error: {last_error})' if last_error else ''
            raise WaitTimeout(f'{what}: not within {seconds} s{detail}')
        time.sleep(POLL_SECONDS)
