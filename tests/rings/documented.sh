#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# The copy of the allow-list in the architecture document is the file itself:
# the fenced block after the line "<!-- tools/rings.allow -->".
#   documented.sh ALLOW_LIST DOCUMENT
set -uo pipefail
allow=${1:?usage: documented.sh ALLOW_LIST DOCUMENT}
document=${2:?usage: documented.sh ALLOW_LIST DOCUMENT}
copy=$(awk '/^<!-- tools\/rings.allow -->$/ { marked = 1; next }
    marked && /^```/ { if (inside) exit; inside = 1; next }
    inside { print }' "$document")
if [[ -z $copy ]]; then
    echo "FAIL: $document holds no copy of the allow-list"
    exit 1
fi
if ! difference=$(diff <(printf '%s\n' "$copy") "$allow"); then
    echo "FAIL: the copy in $document differs from $allow:"
    echo "$difference"
    exit 1
fi
echo "the allow-list in $document is $allow"
