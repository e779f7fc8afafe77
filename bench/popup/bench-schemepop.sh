#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Start-up benchmark of schemepop, over RUNS starts under Xvfb on the
# simulated laptop, beside a minimal Qt 6 program that maps a frameless
# 516 x 360 window holding a list of three items, the two alternating. For
# each it prints the time from exec to the window being mapped and to the
# first complete frame (for the popup: every scheme row drawn and the red row
# visible; for the minimal program: its three items drawn), as medians and
# 90th percentiles side by side with the ratios (targets for the mapped
# window: median at most 1.00, 90th percentile at most 1.05), and the CPU
# time the starts used, which load disturbs less. With --today the laptop is
# one of today, the popup run by an ordinary user: its start then includes
# asking UPower for the power source and power-profiles-daemon for its three
# profiles (target for the mapped window: 90th percentile at most 1.05).
#
#   bench/popup/bench-schemepop.sh [--today] [BUILD-DIR] [RUNS]
set -euo pipefail
today=0
if [[ ${1-} == --today ]]; then
    today=1
    shift
fi
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build}
runs=${2:-30}
cmake -DOVRA_BENCH=ON "$build" >/dev/null
cmake --build "$build" --target schemepop popup-bench-minimal popup-bench-mapwatch >/dev/null
bin=$(cd "$build/bin" && pwd)
if ((today)); then
    exec "$root/laptop/sandbox" --x11 --today --user 1000 -- \
        "$bin/popup-bench-mapwatch" "$runs" "$bin/schemepop" schemes:3 \
        "$bin/popup-bench-minimal" items:3
fi
# Inside the sandbox: the popup lists the schemes that both the daemon and the
# product know.
"$root/laptop/sandbox" --x11 -- bash -c '
    rows=0
    for scheme in /etc/sysconfig/powersave/scheme_*; do
        [[ -e /opt/nexalt/pm/scheme/${scheme##*/} ]] && rows=$((rows + 1))
    done
    exec "$1/popup-bench-mapwatch" "$2" "$1/schemepop" "schemes:$rows" \
        "$1/popup-bench-minimal" items:3' bench "$bin" "$runs"
