#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# The sandbox's options reach the laptop. Runs inside laptop/sandbox with the
# options named by the first argument.
set -uo pipefail
. "$(dirname "$0")/lib.sh"
ac() { sed -n 's/^AC attached: *//p' /proc/H8/BAT0/state; }

case $1 in
on-battery)
    check_eq "--on-battery: AC attached No" No "$(ac)"
    ;;
no-battery)
    check "--no-battery: the module is loaded" test -d /proc/H8
    check "--no-battery: no battery 0" test ! -e /proc/H8/BAT0/state
    ;;
bare)
    check "--bare: no daemon configuration" test ! -e /etc/sysconfig/powersave/common
    check "--bare: no module" test ! -e /proc/H8
    check "--bare: no stand-ins" test ! -e /etc/init.d/powersaved
    ;;
user-env)
    check_eq "--user 65534: the command's ids" "65534 65534" "$(id -u) $(id -g)"
    check_eq "--env: the variable is set" "a b" "${LAPTOP_TEST_VALUE-}"
    check "--user: HOME is the user's and writable" touch "$HOME/x"
    check "--user: the call log is writable" /opt/nexalt/pm/pm.sh
    check "--user: the battery can be driven" "$LAPTOP_SRC/batterysim" mains off
    check_eq "--user: mains off took effect" No "$(ac)"
    ;;
*)
    echo "usage: options.sh on-battery|no-battery|bare|user-env" >&2
    exit 2
    ;;
esac
finish
