#!/bin/sh
# Installs every Debian package that building and testing need.
# Quiet and quick when everything is already there.
set -e

PACKAGES="build-essential cmake pkg-config git
libfox-1.6-dev libglu1-mesa-dev libgl1-mesa-dri
libavformat-dev libavcodec-dev libavutil-dev libswscale-dev
libfreetype-dev libfontconfig-dev fonts-dejavu-core
googletest libgtest-dev libbenchmark-dev
clang libclang-rt-14-dev
xvfb xauth xdotool imagemagick ffmpeg
desktop-file-utils appstream dpkg-dev groff-base shared-mime-info libglib2.0-bin libxml2-utils
gnuplot-nox parallel
python3-vtk9 python3-numpy
python3-dev pybind11-dev python3-pybind11 python3-matplotlib"

missing=""
for p in $PACKAGES; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
done

if [ -n "$missing" ]; then
  echo "Installing:$missing"
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing >/dev/null
fi
