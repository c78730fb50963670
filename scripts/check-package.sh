#!/bin/sh
# Builds the Debian package from a finished build directory, unpacks it into
# a scratch root and runs the packaged kelvo-batch on the packaged example
# grids. Exits non-zero on the first failure.
#
#   scripts/check-package.sh [BUILD_DIR]     (default: build)
set -eu

build=$(cd "${1:-build}" && pwd)
steps=5

fail() {
    echo "check-package: $*" >&2
    exit 1
}

for tool in cpack dpkg-deb dpkg-shlibdeps; do
    command -v "$tool" >/dev/null || fail "$tool is missing (packages cmake, dpkg-dev)"
done
[ -f "$build/CPackConfig.cmake" ] || fail "$build has no CPackConfig.cmake: configure it first"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The package, built outside the build directory.
cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log" >&2; fail "cpack failed"; }
set -- "$work"/out/*.deb
[ $# -eq 1 ] && [ -f "$1" ] || fail "cpack made no single .deb in $work/out"
deb=$1
echo "check-package: built $(basename "$deb")"

# Its control data: the computed library dependencies must include FOX, and
# the video libraries, which are loaded at run time, must be named too.
dpkg-deb -I "$deb" >"$work/info" || fail "dpkg-deb cannot read $deb"
depends=$(sed -n 's/^ Depends: //p' "$work/info")
[ -n "$depends" ] || fail "the package has no Depends line"
echo "$depends" | grep -q 'libfox' || fail "Depends does not name libfox: $depends"
for video in libavformat libavcodec libavutil; do
    echo "$depends" | grep -q "$video[0-9]" || fail "Depends does not name $video: $depends"
done
echo "check-package: Depends: $depends"

# Its files, and the packaged runner on each packaged grid.
root=$work/root
dpkg-deb -x "$deb" "$root" || fail "dpkg-deb cannot unpack $deb"
batch=$root/usr/bin/kelvo-batch
[ -x "$batch" ] || fail "usr/bin/kelvo-batch is missing from the package"
set -- "$root"/usr/share/kelvo/Grids/*.grid
[ -f "$1" ] || fail "usr/share/kelvo/Grids holds no grid files"
for grid in "$@"; do
    name=$(basename "$grid" .grid)
    "$batch" "$grid" --steps "$steps" --dump-csv "$work/$name.csv" 2>"$work/$name.log" ||
        { cat "$work/$name.log" >&2; fail "kelvo-batch failed on $name.grid"; }
    # Grids with heat or dye add their columns after p.
    case "$(head -n 1 "$work/$name.csv")" in
        "i,j,flags,u,v,p" | "i,j,flags,u,v,p,"*) ;;
        *) fail "kelvo-batch wrote no state for $name.grid" ;;
    esac
    echo "check-package: packaged kelvo-batch ran $name.grid for $steps steps"
done
# The video libraries load from the installed package too.
"$batch" "$1" --steps 2 --avi "$work/check.avi" 2>"$work/avi.log" ||
    { cat "$work/avi.log" >&2; fail "kelvo-batch could not write an AVI"; }
[ -s "$work/check.avi" ] || fail "kelvo-batch wrote no AVI"
echo "check-package: packaged kelvo-batch wrote an AVI"
echo "check-package: ok"
