#!/bin/bash
# SPDX-License-Identifier: GPL-2.0-or-later
# tools/check-links on a small made-up tree: a tree whose links all hold
# passes; each kind of broken link, planted alone, fails with one line naming
# the file, the line and the target; in a git work tree only tracked files
# count.
#   check-links-test.sh CHECK_LINKS
set -uo pipefail
check=${1:?usage: check-links-test.sh CHECK_LINKS}
. "$(dirname "$0")/../support/checks.sh"
. "$(dirname "$0")/../support/madeuptree.sh"

# A tree whose links hold, in every form the checker reads, and broken
# targets where they are no links: code, outside addresses, anchors.
put LICENSE 'GPL'
put doc/pic.png 'png'
put 'doc/a b.png' 'png'
put docs/guide.md '# Guide' 'Back to [the front page](../README.md#try-it).' \
    'The [licence](/LICENSE) and the [pictures](../doc/).'
put README.md '# Front' \
    '![a picture](doc/pic.png) and [`the guide`](docs/guide.md "Guide")' \
    '[licence](LICENSE) [again](<doc/a b.png>) [spaced](doc/a%20b.png) [here](#front)' \
    '[web](https://example.org/none.md) [mail](mailto:a@b.c) [http](http://x/y)' \
    'In code: `[no link](missing-in-span.md)` and ``[x](missing-in-double.md)``.' \
    '```sh' '[[ -e x ]] && echo [x](missing-in-fence.md)' '```' \
    '~~~~' '```' '[x](missing-in-tilde-fence.md)' '~~~~' \
    '[ref]: docs/guide.md' '[site]: https://example.org/'

out=$("$check" "$tree" 2>&1) || fail "a tree whose links hold fails: $out"
[[ -z $out ]] || fail "a tree whose links hold prints: $out"

# broken FILE LINE-NUMBER TARGET TEXT: TEXT, appended to FILE as its line
# LINE-NUMBER, is the one broken link reported.
broken() {
    local file=$1 line=$2 target=$3 text=$4 saved
    saved=$(cat "$tree/$file")
    printf '%s\n' "$text" >>"$tree/$file"
    out=$("$check" "$tree" 2>/dev/null)
    if [[ $? -ne 1 ]]; then
        fail "$file: '$text' passes"
    elif [[ $out != "$file:$line: $target" ]]; then
        fail "$file: '$text': report is not '$file:$line: $target' but: $out"
    fi
    printf '%s\n' "$saved" >"$tree/$file"
}

n=$(($(wc -l <"$tree/README.md") + 1))
broken README.md $n docs/missing.md 'See [the missing page](docs/missing.md).'
broken README.md $n doc/missing.png 'Look: ![a picture](doc/missing.png)'
broken README.md $n 'docs/gone.md#usage' 'An [anchor](docs/gone.md#usage) in a page that is gone.'
broken README.md $n 'doc/gone.png' '[ok](doc/pic.png) then [broken](doc/gone.png "title")'
broken README.md $n 'doc/c d.png' 'A [path with a blank](<doc/c d.png>)'
broken README.md $n 'doc/c%20d.png' 'An [escaped blank](doc/c%20d.png)'
broken README.md $n /nowhere.md 'From the [root](/nowhere.md)'
broken README.md $n docs/none.md '[def]: docs/none.md'
broken README.md $n 'README.md/x' 'A [file taken for a folder](README.md/x)'
broken docs/guide.md 4 guide.md/../../LICENSE 'Not [through a file](guide.md/../../LICENSE)'
# Relative to the Markdown file, not to SOURCE_DIR.
broken docs/guide.md 4 doc/pic.png 'The [picture](doc/pic.png) from docs/'
# After a fence closes, links count again.
broken README.md $((n + 3)) late.md $'```\n[x](in-fence.md)\n```\n[late](late.md)'

# Several broken links: one line each, and the count on standard error.
printf '%s\n' '[a](x.md) [b](y.md)' '[c](z.md)' >>"$tree/docs/guide.md"
out=$("$check" "$tree" 2>/dev/null)
[[ $? -eq 1 && $out == $'docs/guide.md:4: x.md\ndocs/guide.md:4: y.md\ndocs/guide.md:5: z.md' ]] ||
    fail "three broken links are not reported one a line: $out"
err=$("$check" "$tree" 2>&1 >/dev/null)
[[ $err == *"3 broken link"* ]] || fail "the count is not on standard error: $err"
put docs/guide.md '# Guide'

# In a git work tree only tracked files count.
if command -v git >/dev/null; then
    git -C "$tree" init -q && git -C "$tree" add README.md docs LICENSE doc ||
        fail "cannot make a git work tree"
    put notes/untracked.md '[gone](gone.md)'
    out=$("$check" "$tree" 2>&1) || fail "an untracked file's broken link counts: $out"
    git -C "$tree" add notes/untracked.md
    out=$("$check" "$tree" 2>/dev/null)
    [[ $? -eq 1 && $out == 'notes/untracked.md:1: gone.md' ]] ||
        fail "a tracked file's broken link is not reported: $out"
fi

"$check" "$tree/no-such-folder" >/dev/null 2>&1
[[ $? -eq 2 ]] || fail "a missing folder is not a usage error"
"$check" --no-such-option "$tree" >/dev/null 2>&1
[[ $? -eq 2 ]] || fail "an unknown option is not a usage error"

((failures)) || echo "check-links: every kind of broken link is caught"
finish
