#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# On mains power a click on a row makes its scheme AC_SCHEME (see activate).
# Argument: SCHEMEPOP. Runs inside laptop/sandbox --x11.
. "$(dirname "$0")/../support/popup.sh" "$@"

activate powersave powersave powersave
finish
