#!/usr/bin/env bash
# with_small_volume.sh FOLDER COMMAND [ARGS...]: mounts a small tmpfs on a new
# folder under FOLDER, fills it until only a little room is left, and runs
# COMMAND with the volume's Windows path in FONTAB_SMALL_VOLUME. The volume is
# unmounted however COMMAND ends. Exits 77 (skipped) when no volume can be
# mounted.
set -uo pipefail
parent=$1
shift
if [ "$(id -u)" -ne 0 ]; then
  echo "skipped: mounting a small volume needs root"
  exit 77
fi
volume=$(mktemp -d "$parent/small-volume.XXXXXX") || exit 1
if ! mount -t tmpfs -o size=1m,mode=0777 tmpfs "$volume"; then
  echo "skipped: tmpfs could not be mounted on $volume"
  rmdir "$volume"
  exit 77
fi
# Wine may hold the volume a moment after the program ends: wait, then detach.
cleanup() {
  for _ in $(seq 50); do umount "$volume" 2>/dev/null && break || sleep 0.1; done
  ! mountpoint -q "$volume" || umount -l "$volume"
  rmdir "$volume"
}
trap cleanup EXIT
# 960 KiB of the 1 MiB: 64 KiB are left for the write-out to start in.
dd if=/dev/zero of="$volume/filler" bs=1024 count=960 status=none || exit 1
export FONTAB_SMALL_VOLUME="Z:${volume//\//\\}"
"$@" # its status is the script's: the trap keeps it
