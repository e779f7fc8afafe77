#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Without the battery module (laptop/sandbox --no-module) the popup takes
# mains power: a click makes the scheme AC_SCHEME (see activate).
# Argument: SCHEMEPOP. Runs inside laptop/sandbox --x11.
. "$(dirname "$0")/../support/popup.sh" "$@"

[[ ! -e /proc/H8/BAT0/state ]] || fail_now "the state file exists"
activate performance performance performance
finish
