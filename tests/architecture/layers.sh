#!/bin/sh
# Fails when a source file includes a folder above its own layer, or a
# toolkit, GL or media library header outside the one layer meant for it.
# Layers, lowest first: core and platform, io, render, sim, then gui, cli and
# python (the Python module).
#
#   layers.sh SOURCE_DIR
set -eu
cd "$1"

# The project folders each layer may include, its own among them.
allowed() {
  case $1 in
    core)     echo "core" ;;
    platform) echo "platform" ;;
    io)       echo "io core platform" ;;
    render)   echo "render io core platform" ;;
    sim)      echo "sim render io core platform" ;;
    gui)      echo "gui sim render io core platform" ;;
    cli)      echo "cli sim render io core platform" ;;
    python)   echo "python sim render io core platform" ;;
  esac
}

failures=0
fail() {
  echo "$1" >&2
  failures=$((failures + 1))
}

for layer in core platform io render sim gui cli python; do
  ok=$(allowed "$layer")
  for file in "$layer"/*.h "$layer"/*.cpp; do
    [ -e "$file" ] || continue
    for included in $(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([a-z]*\)\/.*/\1/p' "$file"); do
      case " $ok " in
        *" $included "*) ;;
        *) fail "$file: includes $included/, above or beside the $layer layer" ;;
      esac
    done
    # The one platform file that decodes and writes pictures uses the
    # toolkit library's codecs and streams, never its windows.
    if [ "$layer" != gui ] && [ "$file" != platform/picture_file.cpp ] && grep -Eq '^[[:space:]]*#[[:space:]]*include[[:space:]]*<(fx|FX|GL/|X11/)' "$file"; then
      fail "$file: the toolkit, GL and X belong to gui/"
    fi
    if [ "$layer" != platform ] && grep -Eq '^[[:space:]]*#[[:space:]]*include[[:space:]]*<(libav|libsw|ft2build|freetype|fontconfig)' "$file"; then
      fail "$file: FFmpeg and FreeType belong to platform/"
    fi
  done
done

if [ "$failures" -ne 0 ]; then
  echo "$failures include(s) break the layers" >&2
  exit 1
fi
echo "every include points down the layers"
