#!/usr/bin/env bash
# Builds the download: dist/brewbell-<version>-win32.zip with the stripped 32-bit brewbell.exe,
# README.txt and LICENSE.txt, then checks what went in. The program's debug information stays
# beside the archive (dist/brewbell.exe.debug) for the debugger; the program names it in its debug
# link. Last, the program from the archive is started (natively, or under qemu-i386 where the kernel
# runs no 32-bit programs) and walked from its window through every library it binds when first
# used to a clean exit.
# Usage: scripts/release.sh [--check-only]
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

VERSION=1.5.2
DIST=$ROOT/dist
ARCHIVE=$DIST/brewbell-$VERSION-win32.zip
LARGEST_PROGRAM=$((1536 * 1024))

make_archive() {
  build_tree "$BUILD/win" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" -- --target brewbell
  local stage=$BUILD/release
  rm -rf "$stage" && mkdir -p "$stage" "$DIST"
  # The build strips the program and keeps its debug information beside it.
  cp "$BUILD/win/bin/brewbell.exe" "$stage/brewbell.exe"
  cp "$BUILD/win/bin/brewbell.exe.debug" "$DIST/brewbell.exe.debug"
  cp "$ROOT/res/README.txt" "$stage/README.txt"
  sed 's/\r*$/\r/' "$ROOT/LICENSE.txt" >"$stage/LICENSE.txt" # Windows line ends for Notepad
  rm -f "$ARCHIVE"
  # A fixed time stamp on the entries: the archive changes only when its files do.
  (cd "$stage" && cmake -E tar cf "$ARCHIVE" --format=zip --mtime="2026-12-07 00:00:00" \
     brewbell.exe README.txt LICENSE.txt)
  log "built $ARCHIVE ($(stat -c %s "$ARCHIVE") bytes)"
}

fail() { log "release check failed: $*"; exit 1; }

check_archive() {
  [ -f "$ARCHIVE" ] || fail "no $ARCHIVE"
  local listing expected unpacked=$BUILD/release-check
  listing=$(cmake -E tar tf "$ARCHIVE" | sort | tr '\n' ' ')
  expected="LICENSE.txt README.txt brewbell.exe "
  [ "$listing" = "$expected" ] || fail "archive holds '$listing', expected '$expected'"
  rm -rf "$unpacked" && mkdir -p "$unpacked"
  (cd "$unpacked" && cmake -E tar xf "$ARCHIVE")
  local exe=$unpacked/brewbell.exe
  i686-w64-mingw32-objdump -f "$exe" | grep -q 'file format pei-i386' || fail "brewbell.exe is not a 32-bit program"
  ! i686-w64-mingw32-objdump -h "$exe" | grep -q '\.debug_' || fail "brewbell.exe still carries debug sections"
  i686-w64-mingw32-objdump -h "$exe" | grep -q '\.gnu_debuglink' || fail "brewbell.exe names no debug file"
  [ "$(stat -c %s "$exe")" -le $LARGEST_PROGRAM ] || fail "brewbell.exe is larger than 1.5 MB"
  i686-w64-mingw32-objdump -h "$DIST/brewbell.exe.debug" | grep -q '\.debug_info' || fail "no debug information beside the archive"
  cmp -s "$unpacked/README.txt" "$ROOT/res/README.txt" || fail "README.txt differs from res/README.txt"
  grep -q $'MIT License\r$' "$unpacked/LICENSE.txt" || fail "LICENSE.txt lacks its Windows line ends"
  log "release archive checked: $(stat -c %s "$exe") bytes of program, $(stat -c %s "$ARCHIVE") bytes zipped"
}

# The program as it ships, started: its window, a tea with its sound, the tray, every dialog, a
# link, and a clean exit with code 0, driven by the end-to-end driver of the tree that runs here.
check_start() {
  choose_wine
  if [ "$NATIVE_32BIT" = 0 ] && [ "${BREWBELL_EMULATOR:-none}" != qemu-i386 ]; then
    log "the program from the archive is not started: this machine runs no 32-bit programs and has no emulator for them"
    return 0
  fi
  build_windows >/dev/null
  if [ -z "${BREWBELL_WINE_UP:-}" ]; then
    start_xvfb
    ensure_prefix
    start_wineserver
    export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winealsa.drv="
  fi
  drive_32bit_program "$BUILD/release-check/brewbell.exe" "the program from the archive" ||
    fail "the program from the archive did not walk from its start to a clean exit"
  log "the program from the archive ran from its start to a clean exit ($([ "$NATIVE_32BIT" = 1 ] && echo natively || echo under qemu-i386))"
}

ensure_packages
enter_emulation "$0" "$@"
[ "${1:-}" = --check-only ] || make_archive
check_archive
check_start
