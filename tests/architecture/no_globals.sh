#!/bin/sh
# Lists the writable data (types b, B, d, D and the guards of function-local
# statics) that the given static libraries define, and fails when there is
# any besides the cached processor count: below the toolkit layer every
# piece of state has an owner. Type information and virtual tables are
# read-only once relocated (section .data.rel.ro) and are not state.
set -u
if [ "$#" -eq 0 ]; then
    echo "usage: $0 library.a..." >&2
    exit 2
fi
allowed='processorCount()::cores'
status=0
for library in "$@"; do
    if [ ! -f "$library" ]; then
        echo "no such library: $library" >&2
        exit 2
    fi
    found=$(nm -C --format=sysv --defined-only "$library" |
        awk -F'|' -v allowed="$allowed" '
            { name = $1; kind = $3; section = $7
              gsub(/^ +| +$/, "", name); gsub(/ /, "", kind); gsub(/ /, "", section) }
            kind !~ /^[bBdD]$/ { next }
            section ~ /^\.data\.rel\.ro/ { next }
            name == allowed || name == "guard variable for " allowed { next }
            # the marker AddressSanitizer puts beside each exported constant
            name ~ /^__odr_asan/ { next }
            { print name " (" kind ", " section ")" }')
    if [ -n "$found" ]; then
        echo "$library defines writable data:"
        echo "$found" | sed 's/^/  /'
        status=1
    fi
done
exit $status
