#!/bin/sh
# Installs the Debian packages of a one-node Slurm cluster, which the sweep
# test starts on this machine: slurmctld, slurmd and the client commands
# (slurm-wlm) and munge, which signs their messages. Quiet and quick when
# they are already there.
set -e

PACKAGES="slurm-wlm munge"

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
