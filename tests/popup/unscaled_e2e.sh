#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# No high-DPI setting rescales the window.
# Argument: SCHEMEPOP. Runs inside laptop/sandbox --x11.
. "$(dirname "$0")/../support/popup.sh" "$@"

start_popup one QT_SCALE_FACTOR=2 QT_SCREEN_SCALE_FACTORS=2 QT_ENABLE_HIGHDPI_SCALING=1 \
    QT_USE_PHYSICAL_DPI=1 -- ignored arguments -platform offscreen
wait_popup one
check_window
click_at 470 330
wait_exit one
((STATUS == 0)) || fail_now "exit status $STATUS"
finish
