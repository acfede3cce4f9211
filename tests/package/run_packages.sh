#!/usr/bin/env bash
# package.run WINE_RUN STATE PREFIX DIST FONT WORK: unzips each package in
# DIST into WORK, starts its fontab.exe under Wine with FONT, waits for the
# main window, closes it and expects the program to end with exit code 0.
set -euo pipefail
wine_run=$1 state=$2 prefix=$3 dist=$4 font=$5 work=$6
title='fontab - Tablesmith'
export DISPLAY=":$(cat "$state/display")"
pid=
trap '[ -z "$pid" ] || kill "$pid" 2>/dev/null || true' EXIT
fail() { echo "package.run: $*" >&2; exit 1; }

winfont=$("$wine_run" "$state" "$prefix" winepath -w "$font" </dev/null)
for kind in win64 win32; do
  zip=$(echo "$dist"/fontab-*-$kind.zip)
  [ -f "$zip" ] || fail "no $kind package in $dist"
  rm -rf "${work:?}/$kind"
  python3 -m zipfile -e "$zip" "$work/$kind"
  program=$(echo "$work/$kind"/fontab-*/fontab.exe)
  "$wine_run" "$state" "$prefix" "$program" "$winfont" >"$work/$kind.log" 2>&1 </dev/null &
  pid=$!
  # Two minutes for Wine to start and show the window.
  window=$(timeout 120 xdotool search --sync --onlyvisible --name "^$title\$" 2>/dev/null | head -n 1) ||
    fail "$kind: no \"$title\" window after two minutes"
  sleep 1 # the posted open command has run and the tree is filled
  [ -z "$(xdotool search --onlyvisible --name Error 2>/dev/null | head -n 1 || true)" ] || fail "$kind: an error box after the window appeared"
  # Alt+F4 reaches the window as SC_CLOSE, the way the close box does.
  timeout 10 xdotool windowfocus --sync "$window" key --clearmodifiers alt+F4 ||
    fail "$kind: xdotool could not send Alt+F4"
  timeout 20 tail --pid="$pid" -f /dev/null || fail "$kind: still running 20 s after Alt+F4"
  status=0
  wait "$pid" || status=$?
  pid=
  [ "$status" -eq 0 ] || fail "$kind: exit code $status"
  echo "package.run: $kind started with the sample font, closed, exit code 0"
done
