#!/bin/sh
# kelvo-batch's manual page and its --help text name the same options, so
# an option added to the program without its page (or dropped from it) is
# caught.
#
#   check_batch_manual.sh KELVO_BATCH MANUAL_PAGE
set -eu
batch=$1
page=$2

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Every long option named in a text, one per line, sorted.
long_options() {
    grep -o -- '--[a-z][a-z-]*[a-z]' | sort -u
}

"$batch" --help >"$work/help" || { echo "FAIL: $batch --help failed" >&2; exit 1; }
long_options <"$work/help" >"$work/from-help"
# The page writes each dash as \- ; read it with them undone.
sed 's/\\-/-/g' "$page" | long_options >"$work/from-page"

[ "$(wc -l <"$work/from-help")" -ge 5 ] ||
    { echo "FAIL: $batch --help names hardly any options" >&2; exit 1; }
if ! cmp -s "$work/from-help" "$work/from-page"; then
    echo "FAIL: the options of $batch --help (<) and of $page (>) differ:" >&2
    diff "$work/from-help" "$work/from-page" >&2 || true
    exit 1
fi
echo "batch manual: the page names the $(wc -l <"$work/from-help") options that --help names"
