#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# The catalogue OvraIface is complete: the template holds exactly the texts the
# applet's sources mark, and de.po translates every one of them, none fuzzy.
# Arguments: SOURCE_DIR PO_DIR XGETTEXT-COMMAND... (sources relative to SOURCE_DIR last)
set -u
. "$(dirname "$0")/../support/checks.sh"
source_dir=$1
po_dir=$2
shift 2

fresh=$(mktemp --suffix=.pot)
(cd "$source_dir" && "$@" -o "$fresh") || fail "xgettext failed"
msgids() { msgcat --no-location --no-wrap --sort-output "$1" | grep '^msgid ' | sort; }
diff <(msgids "$fresh") <(msgids "$po_dir/OvraIface.pot") >/dev/null \
    && echo "ok: OvraIface.pot holds the sources' texts" \
    || fail "OvraIface.pot is out of date (build the target OvraIface-pot): $(diff <(msgids "$fresh") <(msgids "$po_dir/OvraIface.pot"))"
msgcmp "$po_dir/de.po" "$fresh" && echo "ok: de.po translates every text" || fail "de.po lacks texts"
stats=$(LC_ALL=C msgfmt --check --statistics -o /dev/null "$po_dir/de.po" 2>&1)
[[ $stats =~ ^[0-9]+\ translated\ messages\.$ ]] && echo "ok: $stats" || fail "de.po: $stats"

finish
