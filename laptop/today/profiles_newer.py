# SPDX-License-Identifier: GPL-2.0-or-later
"""python-dbusmock template: power-profiles-daemon as versions from 0.20 on
show it under its newer bus name org.freedesktop.UPower.PowerProfiles, at
/org/freedesktop/UPower/PowerProfiles, with all three profiles. Unlike the
real daemon it asks polkit nothing: anyone may switch."""

import dbus

BUS_NAME = 'org.freedesktop.UPower.PowerProfiles'
MAIN_OBJ = '/org/freedesktop/UPower/PowerProfiles'
MAIN_IFACE = 'org.freedesktop.UPower.PowerProfiles'
SYSTEM_BUS = True

NO_HOLDS = dbus.Array([], signature='a{sv}')


def _publish_holds(mock):
    holds = [dbus.Dictionary(hold, signature='sv') for hold in mock.holds.values()]
    mock.props[MAIN_IFACE]['ActiveProfileHolds'] = dbus.Array(holds, signature='a{sv}')
    mock.EmitSignal('org.freedesktop.DBus.Properties', 'PropertiesChanged', 'sa{sv}as',
                    [MAIN_IFACE, {'ActiveProfileHolds': mock.props[MAIN_IFACE]['ActiveProfileHolds']},
                     []])


def hold_profile(mock, profile, reason, application_id):
    mock.cookie += 1
    mock.holds[mock.cookie] = {'Profile': profile, 'Reason': reason,
                               'ApplicationId': application_id}
    _publish_holds(mock)
    return dbus.UInt32(mock.cookie)


def release_profile(mock, cookie):
    mock.holds.pop(int(cookie), None)
    _publish_holds(mock)


def load(mock, parameters):
    mock.cookie = 0
    mock.holds = {}
    mock.hold_profile = hold_profile
    mock.release_profile = release_profile
    profiles = [dbus.Dictionary({'Profile': name, 'Driver': 'dbusmock', 'PlatformDriver': 'dbusmock'},
                                signature='sv')
                for name in ('power-saver', 'balanced', 'performance')]
    mock.AddProperties(MAIN_IFACE, dbus.Dictionary({
        'ActiveProfile': parameters.get('ActiveProfile', 'balanced'),
        'PerformanceDegraded': '',
        'Profiles': dbus.Array(profiles, signature='a{sv}'),
        'Actions': dbus.Array([], signature='s'),
        'ActiveProfileHolds': NO_HOLDS,
        'Version': '0.21',
    }, signature='sv'))
    mock.AddMethods(MAIN_IFACE, [
        ('HoldProfile', 'sss', 'u', 'ret = self.hold_profile(self, args[0], args[1], args[2])'),
        ('ReleaseProfile', 'u', '', 'self.release_profile(self, args[0])'),
    ])
