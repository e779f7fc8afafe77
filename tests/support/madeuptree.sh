# SPDX-License-Identifier: GPL-2.0-or-later
# shellcheck shell=bash
# A small made-up source tree for the tests of the tree checkers: $tree,
# removed when the script ends, and put, which writes a file of it. Source
# it after checks.sh.
tree=$(mktemp -d "${TMPDIR:-/tmp}/made-up-tree.XXXXXX")
trap 'rm -rf "$tree"' EXIT

put() { # FILE LINE...
    mkdir -p "$tree/$(dirname "$1")"
    local file=$1
    shift
    printf '%s\n' "$@" >"$tree/$file"
}
