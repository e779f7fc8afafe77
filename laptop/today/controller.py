# SPDX-License-Identifier: GPL-2.0-or-later
"""The controller of the laptop of today: owns the umockdev testbed (which
must stay alive for uevents to reach the daemons), runs the services of the
system bus and carries out laptop/todaysim's commands. A command returns
once the daemons show the change on the bus, or fails after a bound."""

import math

from gi.repository import GLib

import bus
import daemons
from power_supplies import PowerSupplies

SETTLE_SECONDS = 10
UPOWER_PATH = '/org/freedesktop/UPower'
DEVICE_IFACE = 'org.freedesktop.UPower.Device'
PROFILES_PATH = '/net/hadess/PowerProfiles'


class CommandError(Exception):
    pass


def matches(value, allowed):
    if isinstance(value, float):
        return any(math.isclose(value, a, rel_tol=1e-3, abs_tol=1e-3) for a in allowed)
    return value in allowed


class Controller:
    def __init__(self, options, log_dir):
        self.supplies = PowerSupplies(options.batteries, not options.on_battery, options.mouse)
        root_dir = self.supplies.root_dir()
        if options.upower_mock == 'hang':
            self.upower = daemons.silent_owner('UPower', daemons.UPOWER, log_dir, 'upower-mock.log')
        else:
            self.upower = daemons.upowerd(root_dir, log_dir, self._upower_shows_supplies)
        if options.profiles_mock == 'hang':
            self.profiles = daemons.silent_owner('power-profiles-daemon', daemons.PROFILES,
                                                 log_dir, 'profiles-mock.log')
        elif options.profiles_mock == 'newer':
            self.profiles = daemons.profiles_newer(log_dir)
        else:
            self.profiles = daemons.power_profiles_daemon(log_dir)
        self.real_upower = options.upower_mock is None
        self.real_profiles = options.profiles_mock is None
        if not options.no_upower:
            self.upower.start()
        if not options.no_profiles:
            self.profiles.start()

    # What UPower shows -------------------------------------------------

    def _upower_devices(self):
        """UPower's devices by native path."""
        paths = bus.call(daemons.UPOWER, UPOWER_PATH, daemons.UPOWER, 'EnumerateDevices',
                         None, '(ao)')[0]
        devices = {}
        for path in paths:
            props = bus.get_all(daemons.UPOWER, path, DEVICE_IFACE)
            devices[props['NativePath']] = props
        return devices

    def _upower_difference(self):
        """The first thing UPower shows otherwise than the testbed says, or None."""
        on_battery = bus.get_property(daemons.UPOWER, UPOWER_PATH, daemons.UPOWER, 'OnBattery')
        if on_battery != self.supplies.on_battery():
            return f'OnBattery is {on_battery}'
        devices = self._upower_devices()
        for native_path, expected in self.supplies.expected().items():
            props = devices.get(native_path)
            if props is None:
                return f'no device {native_path}'
            for name, allowed in expected.items():
                if not matches(props[name], allowed):
                    return f'{native_path}: {name} is {props[name]}, not {sorted(allowed)}'
        return None

    def _upower_shows_supplies(self):
        self.difference = self._upower_difference()
        return self.difference is None

    def _settle(self):
        """Waits until upowerd shows what the testbed says, if it runs."""
        if self.real_upower and self.upower.running():
            self.difference = None
            try:
                bus.wait_until(self._upower_shows_supplies, SETTLE_SECONDS,
                               'upowerd showing the change')
            except bus.WaitTimeout as error:
                raise CommandError(f'{error}: {self.difference}') from None

    # Commands -------------------------------------------------------------

    def run_command(self, argv):
        """Carries out one command; returns its output text."""
        if not argv:
            raise CommandError('no command')
        handler = getattr(self, 'cmd_' + argv[0], None)
        if handler is None:
            raise CommandError(f'unknown command {argv[0]!r}')
        try:
            return handler(argv[1:]) or ''
        except bus.WaitTimeout as error:
            raise CommandError(str(error))
        except KeyError as error:
            raise CommandError(error.args[0])

    def cmd_mains(self, args):
        if args not in (['on'], ['off']):
            raise CommandError('usage: mains on|off')
        self.supplies.set_mains(args[0] == 'on')
        self._settle()

    def cmd_set(self, args):
        if not args or not (args[0].isdigit() or args[0] == 'mouse'):
            raise CommandError('usage: set N|mouse [charge=PERCENT] [rate=WATTS] [present=yes|no]')
        key = int(args[0]) if args[0].isdigit() else 'mouse'
        values = {}
        for setting in args[1:]:
            name, _, value = setting.partition('=')
            if name == 'charge':
                values['charge'] = number(value, setting, 0, 100)
            elif name == 'rate':
                values['rate_w'] = number(value, setting, 0, 500)
            elif name == 'present' and value in ('yes', 'no'):
                values['present'] = value == 'yes'
            else:
                raise CommandError(f'unknown setting {setting!r}')
        if key == 'mouse' and set(values) - {'charge'}:
            raise CommandError('the mouse takes charge= only')
        self.supplies.set_battery(key, **values)
        self._settle()

    def cmd_step(self, args):
        if len(args) != 1:
            raise CommandError('usage: step PERCENT')
        self.supplies.step(number(args[0], 'step', 0, 100))
        self._settle()

    def _service_command(self, service, args, after_start=None):
        if args == ['stop']:
            service.stop()
        elif args == ['start']:
            service.start()
        elif args == ['restart']:
            service.stop()
            service.start()
        else:
            raise CommandError('usage: upower|profiles stop|start|restart')
        if after_start and service.running():
            after_start()
        return service.describe()

    def cmd_upower(self, args):
        return self._service_command(self.upower, args,
                                     self._settle if self.real_upower else None)

    def cmd_profiles(self, args):
        return self._service_command(self.profiles, args)

    def cmd_show(self, args):
        if args:
            raise CommandError('usage: show')
        lines = self.supplies.describe()
        lines.append(self.upower.describe())
        lines.append(self.profiles.describe())
        if self.real_profiles and self.profiles.running():
            try:
                active = bus.get_property(daemons.PROFILES, PROFILES_PATH, daemons.PROFILES,
                                          'ActiveProfile', timeout_ms=1000)
                lines.append(f'active profile: {active}')
            except GLib.Error as error:
                lines.append(f'active profile: no answer ({error.message})')
        return '\n'.join(lines)


def number(text, setting, low, high):
    try:
        value = float(text)
    except ValueError:
        raise CommandError(f'not a number: {setting!r}') from None
    if not low <= value <= high:
        raise CommandError(f'out of range {low}..{high}: {setting!r}')
    return value
