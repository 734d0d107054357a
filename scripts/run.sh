#!/usr/bin/env bash
# Builds brewbell.exe and runs it under Wine on this display; without a display, on a virtual one,
# with a screenshot once the window is up. Runs until the program ends or Ctrl+C. It is the 32-bit
# program that ships, under qemu-i386 where the kernel runs no 32-bit programs (its window then
# takes a minute or more to come up).
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

ensure_packages
enter_emulation "$0" "$@"
choose_wine
build_tree "$BUILD/win" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" -- --target brewbell

headless=0
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
  headless=1
  start_xvfb
fi
ensure_prefix
start_wineserver

# From its own folder, where "ReadMe" finds README.txt.
(cd "$BUILD/win/bin" && run_32bit brewbell.exe) &
program=$!
STARTED_PIDS=($program "${STARTED_PIDS[@]}")

if [ $headless = 1 ]; then
  shot=$BUILD/brewbell-screenshot.png
  for i in $(seq 1500); do
    xwininfo -root -tree 2>/dev/null | grep -q '"Brewbell' && break
    sleep 0.2
  done
  sleep 1
  import -window root "$shot"
  echo "screenshot: $shot"
fi
wait $program
