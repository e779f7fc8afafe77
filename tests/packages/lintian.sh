#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Debian's lintian on every package of both builds: no error. Its warnings
# are listed for the reader.  lintian.sh PACKAGES_DIR
set -uo pipefail
. "$(dirname "$0")/../support/checks.sh"
packages=$1
mapfile -t debs < <(find "$packages" -name '*.deb' | sort)
check_eq "the packages to check" 10 "${#debs[@]}"
status=0
report=$(lintian --fail-on error --no-tag-display-limit "${debs[@]}" 2>&1) || status=$?
grep -E '^[WIN]: ' <<<"$report" | sed 's/^/  /'
check_eq "lintian reports no error" "" "$(grep '^E: ' <<<"$report")"
check_eq "lintian's status" 0 "$status"
finish
