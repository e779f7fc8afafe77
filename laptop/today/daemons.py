# SPDX-License-Identifier: GPL-2.0-or-later
"""The services of the laptop of today on its system bus: the real upowerd
and power-profiles-daemon on the umockdev testbed, python-dbusmock's
stand-in of a newer power-profiles-daemon, and a silent owner that takes a
service's name and never answers. Each starts and stops with a bounded wait
until the bus shows it, and writes its log to a file of its own."""

import os
import signal
import subprocess
import tempfile

import bus

HERE = os.path.dirname(os.path.abspath(__file__))
PYTHON = '/usr/bin/python3'
START_SECONDS = 20
STOP_SECONDS = 10

UPOWER = 'org.freedesktop.UPower'
PROFILES = 'net.hadess.PowerProfiles'
PROFILES_NEWER = 'org.freedesktop.UPower.PowerProfiles'


class Service:
    """A program that owns NAMES on the system bus while it runs."""

    def __init__(self, label, names, argv, env, log_path, ready=None):
        self.label, self.names, self.argv, self.env = label, names, argv, env
        self.log_path, self.ready = log_path, ready
        self.process = None

    def running(self):
        return self.process is not None and self.process.poll() is None

    def owners(self):
        return [bus.name_owner(name) for name in self.names]

    def start(self):
        if self.running():
            return
        with open(self.log_path, 'ab') as log:
            self.process = subprocess.Popen(self.argv, env=self.env, stdin=subprocess.DEVNULL,
                                            stdout=log, stderr=subprocess.STDOUT)

        def up():
            if not self.running():
                raise bus.WaitTimeout(f'{self.label} ended at its start (exit code '
                                      f'{self.process.returncode}); see {self.log_path}')
            return all(self.owners()) and (self.ready is None or self.ready())
        bus.wait_until(up, START_SECONDS, f'{self.label} on the system bus')

    def stop(self):
        if not self.running():
            return
        self.process.send_signal(signal.SIGTERM)
        try:
            self.process.wait(STOP_SECONDS)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait(STOP_SECONDS)
        bus.wait_until(lambda: not any(self.owners()), STOP_SECONDS,
                       f'{self.label} gone from the system bus')

    def describe(self):
        if not self.running():
            return f'{self.label}: stopped'
        owners = ' '.join(f'{name}={owner}' for name, owner in zip(self.names, self.owners()))
        return f'{self.label}: running, pid {self.process.pid}, {owners}'


def plain_environment():
    """The environment without umockdev's preloaded library, for the
    services that read no hardware."""
    env = dict(os.environ)
    env.pop('LD_PRELOAD', None)
    env.pop('UMOCKDEV_DIR', None)
    return env


def on_testbed(root_dir, **extra):
    """The environment of a daemon that reads the testbed's sysfs. The
    controller runs under umockdev-wrapper, so LD_PRELOAD is set already;
    the testbed sets UMOCKDEV_DIR only in the C environment, which
    os.environ does not see: it is passed explicitly."""
    env = dict(os.environ, UMOCKDEV_DIR=root_dir, **extra)
    if 'libumockdev-preload' not in env.get('LD_PRELOAD', ''):
        raise RuntimeError('the controller must run under umockdev-wrapper')
    return env


def upowerd(root_dir, log_dir, ready):
    return Service('upowerd', [UPOWER], ['stdbuf', '-oL', '/usr/libexec/upowerd', '--verbose'],
                   on_testbed(root_dir), os.path.join(log_dir, 'upowerd.log'), ready)


def power_profiles_daemon(log_dir):
    # The fake driver offers all three profiles. The daemon runs on a
    # testbed of its own with no devices, so that no driver or action of
    # its touches the real machine's sysfs (platform_profile, CPU frequency,
    # charge types). Not on upowerd's: umockdev names the sockets that carry
    # uevents after the listening file descriptor, and two daemons that
    # listen on the same descriptor number would take each other's.
    empty_root = tempfile.mkdtemp(prefix='umockdev-empty.')
    os.mkdir(os.path.join(empty_root, 'sys'))

    def three_profiles():
        return len(bus.get_property(PROFILES, '/net/hadess/PowerProfiles', PROFILES,
                                    'Profiles')) == 3
    return Service('power-profiles-daemon', [PROFILES],
                   ['/usr/libexec/power-profiles-daemon', '--verbose'],
                   on_testbed(empty_root, POWER_PROFILE_DAEMON_FAKE_DRIVER='1'),
                   os.path.join(log_dir, 'power-profiles-daemon.log'), three_profiles)


def profiles_newer(log_dir):
    log = os.path.join(log_dir, 'profiles-mock.log')
    return Service('power-profiles-daemon (python-dbusmock, newer bus name)', [PROFILES_NEWER],
                   [PYTHON, '-m', 'dbusmock', '--system', '--logfile', log,
                    '--template', os.path.join(HERE, 'profiles_newer.py')],
                   plain_environment(), log)


def silent_owner(label, name, log_dir, log_name):
    return Service(f'{label} (owns its name, never answers)', [name],
                   [PYTHON, os.path.join(HERE, 'silent-owner'), name],
                   plain_environment(), os.path.join(log_dir, log_name))
