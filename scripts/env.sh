# Sourced by the scripts in scripts/: strict mode, a one-line message when a
# command fails, the build folder, and the Wine environment of the program.
set -euo pipefail
fontab_script=$(basename "$0")
trap 'status=$?; echo "$fontab_script: failed (status $status): $BASH_COMMAND" >&2; exit $status' ERR
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root=$PWD
build=${FONTAB_BUILD_DIR:-$root/build}
export FONTAB_WINE_PREFIX=${FONTAB_WINE_PREFIX:-$build/wine-prefix}

# fail MESSAGE: says what went wrong in one line and ends the script.
fail() {
  trap - ERR
  echo "$fontab_script: $*" >&2
  exit 1
}

# wine_env PREFIX: the environment every Wine program of fontab runs in: the
# Japanese locale (ANSI code page 932), no Mono or Gecko, no debug output.
wine_env() {
  export WINEPREFIX=$1 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
}

# configure: the native build, which drives the Windows sub-builds too.
configure() {
  mkdir -p "$build"
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >"$build/configure.log" 2>&1 </dev/null ||
    { cat "$build/configure.log" >&2; fail "configuring $build failed"; }
}
