#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# The profiles scenario under power-profiles-daemon's newer bus name.
exec "$(dirname "$0")/profiles_e2e.sh" "$@"
