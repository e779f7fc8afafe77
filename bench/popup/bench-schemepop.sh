#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Start-up benchmark of schemepop: the median time from exec to the window
# being mapped, over RUNS starts under Xvfb on the simulated laptop, beside
# the same figure for a minimal Qt 6 program that maps a frameless 516 x 360
# window holding a list. Prints both and their ratio (target: at most 1.15),
# and the CPU time the starts used until mapped, which load disturbs less.
#
#   bench/popup/bench-schemepop.sh [BUILD-DIR] [RUNS]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build}
runs=${2:-15}
cmake --build "$build" --target schemepop popup-bench-minimal popup-bench-mapwatch >/dev/null
bin=$build/bin
"$root/laptop/sandbox" --x11 -- \
    "$bin/popup-bench-mapwatch" "$runs" "$bin/schemepop" "$bin/popup-bench-minimal"
