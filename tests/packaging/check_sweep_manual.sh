#!/bin/sh
# kelvo-sweep's --help and the headings of its manual page's OPTIONS section
# name the same options. Only the headings count: the page's text also names
# options of kelvo-batch, GNU parallel and Slurm.
#
#   check_sweep_manual.sh KELVO_SWEEP MANUAL_PAGE
set -eu
sweep=$1
page=$2

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$sweep" --help >"$work/help" || { echo "FAIL: $sweep --help failed" >&2; exit 1; }
# Options that start a line of the help's option list.
sed -n 's/^  \(--[a-z][a-z-]*\).*/\1/p' "$work/help" | sort -u >"$work/from-help"
# The line after each .TP of the OPTIONS section, its dashes undone.
sed 's/\\-/-/g' "$page" | awk '
    /^\.SH/ { inside = ($2 == "OPTIONS"); next }
    inside && heading { if (match($0, /--[a-z][a-z-]*/)) print substr($0, RSTART, RLENGTH) }
    { heading = inside && ($0 == ".TP") }' | sort -u >"$work/from-page"

[ "$(wc -l <"$work/from-help")" -ge 5 ] ||
    { echo "FAIL: $sweep --help names hardly any options" >&2; exit 1; }
if ! cmp -s "$work/from-help" "$work/from-page"; then
    echo "FAIL: the options of $sweep --help (<) and of $page (>) differ:" >&2
    diff "$work/from-help" "$work/from-page" >&2 || true
    exit 1
fi
echo "sweep manual: the page describes the $(wc -l <"$work/from-help") options that --help lists"
