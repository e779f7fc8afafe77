#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# On the battery (laptop/sandbox --on-battery) a click on a row makes its
# scheme BATTERY_SCHEME (see activate).
# Argument: SCHEMEPOP. Runs inside laptop/sandbox --x11.
. "$(dirname "$0")/../support/popup.sh" "$@"

activate presentation performance presentation
finish
