#!/bin/sh
# The desktop entries, the AppStream file and the manual pages as they stand
# in the source tree: each passes its validator, and they agree with each
# other on program names, icon and desktop file names.
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

for tool in desktop-file-validate appstreamcli groff; do
    command -v "$tool" >/dev/null ||
        { echo "FAIL: $tool is missing (packages desktop-file-utils, appstream, groff-base)" >&2; exit 1; }
done

# The value of KEY in a desktop entry (untranslated).
entry() {
    sed -n "s/^$2=//p" "$1"
}

# Desktop entries: valid, starting their own program, with the theme icon.
for lang in en pl; do
    desktop=$pkg/desktop/$app.$lang.desktop
    [ -f "$desktop" ] || { fail "$desktop is missing"; continue; }
    desktop-file-validate "$desktop" || fail "$desktop does not validate"
    [ "$(entry "$desktop" Exec)" = "kelvo-$lang" ] || fail "$desktop does not start kelvo-$lang"
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
