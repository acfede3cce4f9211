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
# Japanese locale (ANSI code page 932), or the one FONTAB_LOCALE names (such as
# en_US.UTF-8, code page 1252), no Mono or Gecko, no debug output.
# Where qemu-i386 runs the 32-bit programs (see setup), it gives them the 2 GB
# a 32-bit Windows program has: with the whole 4 GB, Wine spends a minute at
# every start probing the upper half 64 KB at a time.
wine_env() {
  export WINEPREFIX=$1 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  local locale=${FONTAB_LOCALE:-ja_JP.UTF-8}
  export LANG=$locale LC_ALL=$locale QEMU_RESERVED_VA=0x7fff0000
}

# wine_loader [PROGRAM]: the Wine loader to start PROGRAM with: the 32-bit one
# for a 32-bit program, else the 64-bit one (Wine's builtins, such as
# wineboot and winepath, too). Wine's own launcher always starts the 32-bit
# loader, which hands a 64-bit program on: an emulated start wasted on a
# machine where 32-bit programs run through qemu.
wine_loader() {
  local header
  if [ ! -x /usr/lib/wine/wine64 ] || { [ -f "${1:-}" ] && header=$(od -An -tu4 -j60 -N4 "$1") &&
    [ "$(od -An -tx2 -j$((header + 4)) -N2 "$1" | tr -d ' ')" = 014c ]; }; then
    echo wine
  else
    echo /usr/lib/wine/wine64
  fi
}

# configure: the native build, which drives the Windows sub-builds too.
configure() {
  mkdir -p "$build"
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >"$build/configure.log" 2>&1 </dev/null ||
    { cat "$build/configure.log" >&2; fail "configuring $build failed"; }
}
