# SPDX-License-Identifier: GPL-2.0-or-later
"""The power supplies of the laptop of today, as the kernel shows them under
/sys/class/power_supply, in a umockdev testbed: mains, laptop batteries and,
on request, a wireless mouse's battery. The testbed lives as long as the
object; upowerd and power-profiles-daemon see it when they run under
umockdev-wrapper with UMOCKDEV_DIR set to root_dir()."""

import gi

gi.require_version('UMockdev', '1.0')
from gi.repository import UMockdev  # noqa: E402

# UPower's Device.State values.
CHARGING, DISCHARGING, EMPTY, FULLY_CHARGED = 1, 2, 3, 4

# Battery 0 is the laptop's own, battery 1 a second (swappable) one.
BATTERY_DEFAULTS = {
    0: {'full_wh': 48.0, 'design_wh': 52.0, 'charge': 87.0, 'rate_w': 12.0, 'cycles': 37},
    1: {'full_wh': 24.0, 'design_wh': 26.0, 'charge': 64.0, 'rate_w': 6.0, 'cycles': 12},
}
MOUSE_SYSFS = 'usb1/bluetooth/hci0/hci0:01'
MOUSE_NATIVE_PATH = 'hid-11:22:33:44:aa:bb-battery'
MICRO = 1000000


def flat(attributes):
    return [str(item) for pair in attributes.items() for item in pair]


class LaptopBattery:
    def __init__(self, number):
        self.number = number
        self.present = True
        for key, value in BATTERY_DEFAULTS[number].items():
            setattr(self, key, value)

    @property
    def native_path(self):
        return f'BAT{self.number}'

    def percentage(self):
        return int(round(self.charge))

    def status(self, mains):
        if not mains:
            return 'Discharging'
        return 'Full' if self.charge >= 100 else 'Charging'

    def attributes(self, mains):
        """The sysfs attributes, consistent with one another and with mains."""
        status = self.status(mains)
        return {
            'type': 'Battery',
            'present': int(self.present),
            'status': status,
            'technology': 'Li-ion',
            'manufacturer': 'Nexalt',
            'model_name': f'NX-BAT{self.number}',
            'serial_number': 4711 + self.number,
            'cycle_count': self.cycles,
            'voltage_min_design': 11100000,
            'voltage_now': 12000000,
            'energy_full_design': int(self.design_wh * MICRO),
            'energy_full': int(self.full_wh * MICRO),
            'energy_now': int(self.full_wh * self.charge / 100 * MICRO),
            'power_now': 0 if status == 'Full' else int(self.rate_w * MICRO),
            'capacity': self.percentage(),
        }

    def expected(self, mains):
        """What UPower shows of this battery once it has read the attributes:
        for each property, the values it may have."""
        if not self.present:
            return {'IsPresent': {False}}
        status = self.status(mains)
        state = {'Charging': {CHARGING}, 'Full': {FULLY_CHARGED},
                 'Discharging': {DISCHARGING, EMPTY} if self.charge <= 0 else {DISCHARGING}}[status]
        expected = {'IsPresent': {True}, 'Percentage': {float(self.percentage())}, 'State': state}
        # Without a rate from the battery, upowerd estimates one from its
        # history of charge levels; an empty battery has none.
        if status != 'Full' and self.rate_w > 0 and self.charge > 0:
            expected['EnergyRate'] = {self.rate_w}
        return expected


class Mouse:
    native_path = MOUSE_NATIVE_PATH

    def __init__(self):
        self.charge = 40.0

    def attributes(self):
        return {'type': 'Battery', 'scope': 'Device', 'present': 1, 'online': 1,
                'status': 'Discharging', 'capacity': int(round(self.charge)),
                'model_name': 'Wireless Mouse'}

    def expected(self):
        return {'Percentage': {float(int(round(self.charge)))}}


class PowerSupplies:
    def __init__(self, batteries=1, mains=True, mouse=False):
        self.testbed = UMockdev.Testbed.new()
        self.mains = mains
        self.ac = self.testbed.add_device('power_supply', 'AC', None,
                                          ['type', 'Mains', 'online', str(int(mains))], [])
        self.batteries = {}
        self.devices = {}
        for number in range(batteries):
            battery = LaptopBattery(number)
            self.batteries[number] = battery
            self.devices[number] = self.testbed.add_device(
                'power_supply', battery.native_path, None, flat(battery.attributes(mains)), [])
        self.mouse = Mouse() if mouse else None
        if self.mouse:
            self.devices['mouse'] = self._add_mouse()

    def _add_mouse(self):
        # A Bluetooth mouse as the kernel's HID driver shows it: the input
        # device tells UPower that the battery (scope Device, so it does not
        # power the laptop) is a mouse's.
        self.testbed.add_device('bluetooth', MOUSE_SYSFS, None, [], [])
        self.testbed.add_device('input', f'{MOUSE_SYSFS}/input2/mouse3', None,
                                ['uniq', '11:22:33:44:aa:bb'],
                                ['DEVNAME', 'input/mouse3', 'ID_INPUT_MOUSE', '1'])
        return self.testbed.add_device('power_supply',
                                       f'{MOUSE_SYSFS}/1/power_supply/{MOUSE_NATIVE_PATH}', None,
                                       flat(self.mouse.attributes()), [])

    def root_dir(self):
        return self.testbed.get_root_dir()

    def _write(self, key, attributes):
        device = self.devices[key]
        for name, value in attributes.items():
            self.testbed.set_attribute(device, name, str(value))
        self.testbed.uevent(device, 'change')

    def _write_batteries(self):
        for number, battery in self.batteries.items():
            self._write(number, battery.attributes(self.mains))

    def set_mains(self, on):
        self.mains = on
        self.testbed.set_attribute(self.ac, 'online', str(int(on)))
        self._write_batteries()
        self.testbed.uevent(self.ac, 'change')

    def set_battery(self, key, charge=None, rate_w=None, present=None):
        if key == 'mouse':
            if self.mouse is None:
                raise KeyError('this laptop has no mouse (laptop/sandbox --today-mouse)')
            if charge is not None:
                self.mouse.charge = charge
            self._write('mouse', self.mouse.attributes())
            return
        if key not in self.batteries:
            raise KeyError(f'this laptop has no battery {key} (laptop/sandbox --today-batteries)')
        battery = self.batteries[key]
        if charge is not None:
            battery.charge = charge
        if rate_w is not None:
            battery.rate_w = rate_w
        if present is not None:
            battery.present = present
        self._write(key, battery.attributes(self.mains))

    def step(self, percent):
        """Charges on mains, drains on battery: every present battery by PERCENT."""
        for battery in self.batteries.values():
            if not battery.present:
                continue
            change = percent if self.mains else -percent
            battery.charge = min(100.0, max(0.0, battery.charge + change))
        self._write_batteries()

    def on_battery(self):
        """UPower's OnBattery: mains detached while a laptop battery is there."""
        return not self.mains and any(b.present for b in self.batteries.values())

    def expected(self):
        """For each native path, what UPower shows once it has read the attributes."""
        result = {b.native_path: b.expected(self.mains) for b in self.batteries.values()}
        if self.mouse:
            result[self.mouse.native_path] = self.mouse.expected()
        return result

    def describe(self):
        lines = [f'mains {"on" if self.mains else "off"}']
        for number, battery in self.batteries.items():
            lines.append(f'battery {number}: present={"yes" if battery.present else "no"} '
                         f'charge={battery.charge:g} rate={battery.rate_w:g} '
                         f'full={battery.full_wh:g}Wh status={battery.status(self.mains)}')
        if self.mouse:
            lines.append(f'battery mouse: charge={self.mouse.charge:g}')
        return lines
