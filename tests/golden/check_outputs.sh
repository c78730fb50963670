#!/bin/sh
# Fails when any file that kelvo-batch writes for the examples differs by a
# byte from the recorded checksums (outputs.sha256).
#
#   check_outputs.sh KELVO_BATCH GRID_DIR WORK_DIR
set -eu
here=$(cd "$(dirname "$0")" && pwd)
sh "$here/outputs.sh" "$@" > "$3.sha256"
if ! diff -u "$here/outputs.sha256" "$3.sha256"; then
  echo "kelvo-batch outputs differ from the recorded ones" >&2
  exit 1
fi
echo "all $(wc -l < "$here/outputs.sha256") outputs byte-identical"
