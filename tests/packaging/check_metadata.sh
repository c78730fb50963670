#!/bin/sh
# The desktop entries, the AppStream file, the MIME type of the grid files
# and the manual pages as they stand in the source tree: each passes its
# validator, and they agree with each other on program names, icon, desktop
# file names and MIME type.
#
#   check_metadata.sh SOURCE_DIR
set -eu
src=$1
pkg=$src/packaging
app=org.example.kelvo
failures=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

for tool in desktop-file-validate appstreamcli groff xmllint update-mime-database gio; do
    command -v "$tool" >/dev/null ||
        { echo "FAIL: $tool is missing (packages desktop-file-utils, appstream, groff-base, libxml2-utils, shared-mime-info, libglib2.0-bin)" >&2; exit 1; }
done
mime=$pkg/mime/$app.xml
grid_type=$(sed -n 's:.*<mime-type type="\([^"]*\)">.*:\1:p' "$mime")

# The value of KEY in a desktop entry (untranslated).
entry() {
    sed -n "s/^$2=//p" "$1"
}

# Desktop entries: valid, starting their own program with the file opened,
# offered for grid files, with the theme icon.
for lang in en pl; do
    desktop=$pkg/desktop/$app.$lang.desktop
    [ -f "$desktop" ] || { fail "$desktop is missing"; continue; }
    desktop-file-validate "$desktop" || fail "$desktop does not validate"
    [ "$(entry "$desktop" Exec)" = "kelvo-$lang %f" ] || fail "$desktop does not start kelvo-$lang with a file"
    [ "$(entry "$desktop" MimeType)" = "$grid_type;" ] || fail "$desktop does not open $grid_type files"
    [ "$(entry "$desktop" Icon)" = "$app" ] || fail "$desktop does not show the $app icon"
    [ -f "$pkg/icons/hicolor/48x48/apps/$(entry "$desktop" Icon).png" ] ||
        fail "$desktop names an icon that is not drawn"
done

# The Polish entry is written in Polish, not copied from the English one.
en=$pkg/desktop/$app.en.desktop
pl=$pkg/desktop/$app.pl.desktop
for key in Name Comment GenericName; do
    [ "$(entry "$en" $key)" != "$(entry "$pl" $key)" ] || fail "the Polish $key is the English one"
done
entry "$pl" Name | grep -q '(polski)' || fail "the Polish Name does not say (polski)"
entry "$pl" Comment | LC_ALL=C grep -q '[^ -~]' || fail "the Polish Comment has no Polish letters"

# AppStream: valid, and every desktop file, program and icon it names exists.
meta=$pkg/$app.metainfo.xml
appstreamcli validate --no-net --strict "$meta" >/dev/null ||
    { appstreamcli validate --no-net --strict "$meta" >&2 || true; fail "$meta does not validate"; }
launchables=$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' "$meta")
[ "$(echo "$launchables" | wc -l)" -eq 2 ] || fail "$meta does not launch both programs"
for id in $launchables; do
    [ -f "$pkg/desktop/$id" ] || fail "$meta launches $id, which does not exist"
done
for binary in $(sed -n 's:.*<binary>\(.*\)</binary>.*:\1:p' "$meta"); do
    [ -f "$pkg/man/$binary.1" ] || fail "$meta provides $binary, which has no manual page"
done
icon=$(sed -n 's:.*<icon type="stock">\(.*\)</icon>.*:\1:p' "$meta")
[ "$icon" = "$app" ] || fail "$meta names the icon '$icon'"

# The MIME type: well-formed, and a database built from it and the system's
# own types knows the example grids by name and, renamed, by their magic
# text, the version-2 layout's too; other files stay what they were.
xmllint --noout "$mime" || fail "$mime is not well-formed"
[ "$grid_type" = application/x-kelvo-grid ] || fail "$mime defines '$grid_type'"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/mime/packages" "$scratch/files"
cp "$mime" /usr/share/mime/packages/freedesktop.org.xml "$scratch/mime/packages/"
update-mime-database "$scratch/mime" 2>/dev/null || fail "update-mime-database refuses $mime"
for grid in "$src"/Grids/*.grid; do
    cp "$grid" "$scratch/files/"
    cp "$grid" "$scratch/files/$(basename "$grid" .grid).bin"
done
printf 'KELVO-GRID\r\n\032\n\001\000\000\000' >"$scratch/files/layout2.bin"
printf 'no grid here\n' >"$scratch/files/notes.txt"
for file in "$scratch"/files/*; do
    found=$(XDG_DATA_HOME=$scratch XDG_DATA_DIRS=$scratch gio info -a standard::content-type "$file" |
        sed -n 's/^ *standard::content-type: //p')
    case $file in
    *.txt) [ "$found" = text/plain ] || fail "$(basename "$file") is taken for $found" ;;
    *) [ "$found" = "$grid_type" ] || fail "$(basename "$file") is taken for '$found', not $grid_type" ;;
    esac
done

# Manual pages: no warnings from groff, titled after their program.
for page in kelvo-en kelvo-pl kelvo-batch; do
    man=$pkg/man/$page.1
    [ -f "$man" ] || { fail "$man is missing"; continue; }
    warnings=$(LC_ALL=C.UTF-8 groff -man -ww -z -k -Tutf8 "$man" 2>&1)
    [ -z "$warnings" ] || fail "$man: $warnings"
    title=$(sed -n 's/^\.TH \([^ ]*\) 1 .*/\1/p' "$man")
    [ "$title" = "$(echo "$page" | tr a-z A-Z)" ] || fail "$man is titled '$title'"
done

[ "$failures" -eq 0 ] || exit 1
echo "metadata: desktop entries, AppStream file and manual pages agree"
