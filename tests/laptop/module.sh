#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# insmod loads the simulated battery module: /proc/H8 appears on the call that
# the test allows. Runs inside `laptop/sandbox --no-module`.
set -uo pipefail
. "$(dirname "$0")/lib.sh"
T=$'\t'
ko=/opt/nexalt/install/batinfo.ko
cmd="insmod $ko &>/dev/null"

check "no module: /proc/H8 is missing" test ! -e /proc/H8
check "the module file is there" test -f "$ko"

"$LAPTOP_SRC/standin-behaviour" insmod load_after=3
for i in 1 2; do
    check_eq "load_after=3: call $i fails" 1 "$(sh -c "$cmd"; echo $?)"
    check "load_after=3: no /proc/H8 after call $i" test ! -e /proc/H8
done
check_eq "load_after=3: call 3 succeeds" 0 "$(sh -c "$cmd"; echo $?)"
check "load_after=3: /proc/H8/BAT0/state after call 3" test -f /proc/H8/BAT0/state
check_eq "the log shows the three calls and their codes" \
    "insmod${T}0${T}0${T}1${T}$cmd${T}$ko
insmod${T}0${T}0${T}1${T}$cmd${T}$ko
insmod${T}0${T}0${T}0${T}$cmd${T}$ko" "$(cat "$LAPTOP_DIR/calls.log")"

"$LAPTOP_SRC/batterysim" unload
"$LAPTOP_SRC/standin-behaviour" insmod exit=1
check_eq "exit=1: the load fails" 1 "$(sh -c "$cmd"; echo $?)"
check "exit=1: no /proc/H8" test ! -e /proc/H8
finish
