#!/bin/sh
# `cmake --install` of a finished build into a scratch prefix: every file in
# its place, the desktop files, icons, AppStream file and MIME type exactly when the
# windowed programs are built, the compressed manual pages readable, and the
# installed kelvo-batch running the installed example grids, also through the
# installed kelvo-sweep.
#
#   check_install.sh BUILD_DIR SOURCE_DIR
set -eu
build=$1
src=$2
app=org.example.kelvo
steps=5
failures=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# Fails unless the installed file exists.
need() {
    [ -f "$root/usr/$1" ] || fail "usr/$1 was not installed"
}

for tool in desktop-file-validate appstreamcli groff gzip; do
    command -v "$tool" >/dev/null ||
        { echo "FAIL: $tool is missing (packages desktop-file-utils, appstream, groff-base, gzip)" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root=$work/root
cmake --install "$build" --prefix "$root/usr" >"$work/install.log" 2>&1 ||
    { cat "$work/install.log" >&2; echo "FAIL: cmake --install failed" >&2; exit 1; }

# Programs, licence, example grids (all of them, unchanged).
need bin/kelvo-batch
need bin/kelvo-sweep
need share/doc/kelvo/copyright
need share/man/man1/kelvo-batch.1.gz
need share/man/man1/kelvo-sweep.1.gz
cmp -s "$src/LICENSE" "$root/usr/share/doc/kelvo/copyright" || fail "the copyright file is not LICENSE"
for grid in "$src"/Grids/*.grid; do
    installed=$root/usr/share/kelvo/Grids/$(basename "$grid")
    cmp -s "$grid" "$installed" || fail "$(basename "$grid") is not installed as it stands"
done
[ "$(ls "$root/usr/share/kelvo/Grids" | wc -l)" -eq "$(ls "$src"/Grids/*.grid | wc -l)" ] ||
    fail "share/kelvo/Grids holds other files than the example grids"

# Desktop integration, with the windowed programs and only with them.
desktop_files="share/applications/$app.en.desktop share/applications/$app.pl.desktop
share/metainfo/$app.metainfo.xml share/mime/packages/$app.xml share/man/man1/kelvo-en.1.gz share/man/man1/kelvo-pl.1.gz"
if [ -f "$root/usr/bin/kelvo-en" ]; then
    need bin/kelvo-pl
    for file in $desktop_files; do need "$file"; done
    for size in 16 48 128; do need "share/icons/hicolor/${size}x${size}/apps/$app.png"; done
    desktop-file-validate "$root"/usr/share/applications/*.desktop || fail "installed desktop files do not validate"
    cmp -s "$src/packaging/mime/$app.xml" "$root/usr/share/mime/packages/$app.xml" ||
        fail "the MIME type is not installed as it stands"
    appstreamcli validate-tree --no-net --strict "$root" >"$work/tree.log" 2>&1 ||
        { cat "$work/tree.log" >&2; fail "the installed tree does not validate"; }
else
    for file in bin/kelvo-pl $desktop_files; do
        [ ! -e "$root/usr/$file" ] || fail "usr/$file installed without the windowed programs"
    done
fi

# Manual pages: whole gzip files that groff reads without a warning.
for man in "$root"/usr/share/man/man1/*.1.gz; do
    gzip -t "$man" || { fail "$man is not a whole gzip file"; continue; }
    warnings=$(gzip -dc "$man" | LC_ALL=C.UTF-8 groff -man -ww -z -k -Tutf8 2>&1)
    [ -z "$warnings" ] || fail "$man: $warnings"
done

# The installed runner on every installed grid.
for grid in "$root"/usr/share/kelvo/Grids/*.grid; do
    name=$(basename "$grid" .grid)
    if "$root/usr/bin/kelvo-batch" "$grid" --steps $steps --dump-csv "$work/$name.csv" 2>"$work/$name.log"; then
        [ "$(head -n 1 "$work/$name.csv")" = "i,j,flags,u,v,p" ] &&
            [ "$(wc -l <"$work/$name.csv")" -gt 1 ] || fail "no state written for $name.grid"
    else
        cat "$work/$name.log" >&2
        fail "installed kelvo-batch failed on $name.grid"
    fi
done

# The installed kelvo-sweep finds the installed kelvo-batch beside it; its
# Slurm task body runs without GNU parallel or Slurm.
printf 'name,grid,steps\nchannel,%s,%s\n' "$root/usr/share/kelvo/Grids/channel.grid" $steps >"$work/sweep.csv"
if "$root/usr/bin/kelvo-sweep" --slurm "$work/sweep.csv" "$work/sweep" 2>"$work/sweep.log" &&
    SLURM_ARRAY_TASK_ID=0 sh "$work/sweep/sweep.sbatch" &&
    "$root/usr/bin/kelvo-sweep" --merge "$work/sweep" 2>>"$work/sweep.log"; then
    grep -q "^channel,.*,ok,$steps," "$work/sweep/summary.csv" || fail "the installed kelvo-sweep merged no run"
    grep -q "'$root/usr/bin/kelvo-batch'" "$work/sweep/commands.txt" || fail "kelvo-sweep did not run the installed kelvo-batch"
else
    cat "$work/sweep.log" >&2
    fail "the installed kelvo-sweep failed"
fi

# The Python module and its stubs, where Debian's Python looks, imported from
# there by it (when the build has the module).
if [ -f "$build/kelvo.pyi" ]; then
    python_dir=$root/usr/lib/python3/dist-packages
    need lib/python3/dist-packages/kelvo.pyi
    ls "$python_dir"/kelvo*.so >/dev/null 2>&1 || fail "the Python module was not installed"
    PYTHONPATH=$python_dir /usr/bin/python3 -c "
import kelvo, sys
assert kelvo.__file__.startswith('$python_dir'), kelvo.__file__
sim = kelvo.Simulation(kelvo.Grid.load('$root/usr/share/kelvo/Grids/cavity.grid'))
sim.step($steps)
assert sim.steps == $steps
" || fail "Debian's Python does not run the installed module"
fi

[ "$failures" -eq 0 ] || exit 1
echo "install: $(find "$root" -type f | wc -l) files in place; installed kelvo-batch ran every example grid, kelvo-sweep one"
