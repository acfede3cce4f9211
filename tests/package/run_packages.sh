#!/usr/bin/env bash
# package.run.KIND WINE_RUN STATE PREFIX TESTS DIST WORK KIND: unzips the KIND
# package (win64 or win32) in DIST into WORK and runs the Wine suite's start-up
# cases (TESTS, the 64-bit test program) against its fontab.exe: started with
# none, one or two fonts, and quit with exit code 0.
set -euo pipefail
wine_run=$1 state=$2 prefix=$3 tests=$4 dist=$5 work=$6 kind=$7
rm -rf "${work:?}/$kind"
python3 -m zipfile -e "$(echo "$dist"/fontab-*-$kind.zip)" "$work/$kind"
program=$(echo "$work/$kind"/fontab-*/fontab.exe)
[ -f "$program" ] || { echo "package.run: no fontab.exe in the $kind package" >&2; exit 1; }
echo "package.run: $kind"
FONTAB_PROGRAM="Z:${program//\//\\}" "$wine_run" "$state" "$prefix" "$tests" --gtest_filter='Startup.*'
