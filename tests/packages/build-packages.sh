#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Makes the Debian packages of both builds, as `make package` does, into a
# folder of the tests' own:  build-packages.sh CPACK OUT QT6_BUILD QT5_BUILD
# OUT is emptied first; the packages of each build land in OUT/<build name>.
set -euo pipefail
cpack=$1 out=$2
shift 2
rm -rf "$out"
mkdir -p "$out"
for build in "$@"; do
    if [[ ! -f $build/CPackConfig.cmake ]]; then
        echo "FAIL: no configured build in $build (make test builds the Qt 6 build first)"
        exit 1
    fi
    dest=$out/$(basename "$build")
    if ! "$cpack" --config "$build/CPackConfig.cmake" -B "$dest" >"$out/cpack.log" 2>&1; then
        cat "$out/cpack.log"
        echo "FAIL: cpack in $build"
        exit 1
    fi
    rm -rf "$dest/_CPack_Packages"
done
find "$out" -name '*.deb' -printf '%P\n' | sort
echo "ok: packages made"
