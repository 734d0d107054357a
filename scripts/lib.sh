# Shared by run.sh and test.sh: packages, the two build trees, the Wine prefix and the display.
# Everything this file starts it ends again by process id (see cleanup).
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${BREWBELL_BUILD:-$ROOT/build}
export WINEPREFIX=$BUILD/wineprefix
export WINEARCH=win32
# The Windows tree whose programs run here (tests, the program, benchmarks); see choose_wine.
WIN_TREE=$BUILD/win
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

STARTED_PIDS=()
WINESERVER_STARTED=0
# The Wine processes of our prefix: the program, the tests and Wine's own services.
prefix_pids() {
  local dir
  for dir in /proc/[0-9]*; do
    case $(readlink "$dir/exe" 2>/dev/null) in */wine*) ;; *) continue ;; esac
    grep -qzx "WINEPREFIX=$WINEPREFIX" "$dir/environ" 2>/dev/null && echo "${dir#/proc/}"
  done
}

cleanup() {
  local pid
  # The prefix is ours alone, so every process in it is one this script started.
  if [ "$WINESERVER_STARTED" = 1 ]; then
    wineserver -k 2>/dev/null || true
    for pid in $(prefix_pids); do kill "$pid" 2>/dev/null || true; done
  fi
  for pid in "${STARTED_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${STARTED_PIDS[@]}"; do wait "$pid" 2>/dev/null || true; done
}
trap cleanup EXIT
trap 'exit 130' INT TERM

log() { printf '== %s\n' "$*" >&2; }

as_root() {
  if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi
}

# Installs the Debian packages that are missing; does nothing when all are there.
ensure_packages() {
  local need=() p
  local wanted=(cmake ninja-build g++ g++-mingw-w64-i686-posix mingw-w64-i686-dev
                g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev libgtest-dev googletest
                wine wine32:i386 wine64 xvfb xauth x11-utils imagemagick
                clang libclang-rt-14-dev)
  for p in "${wanted[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || need+=("$p")
  done
  [ ${#need[@]} -eq 0 ] && return 0
  log "installing: ${need[*]}"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    as_root dpkg --add-architecture i386
  fi
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
}

# Configures a tree once and then only builds what changed.
# Arguments after "--" go to the build (a target), the others to the configure step.
build_tree() {
  local dir=$1; shift
  local configure=() build=()
  while [ $# -gt 0 ] && [ "$1" != -- ]; do configure+=("$1"); shift; done
  [ $# -gt 0 ] && { shift; build=("$@"); }
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S "$ROOT" -B "$dir" -G Ninja "${configure[@]}" >/dev/null
  fi
  cmake --build "$dir" --parallel "$(nproc)" "${build[@]}"
}

# wine32 runs 32-bit programs only where the kernel can run 32-bit Linux programs, which some
# machines (virtual ones with IA-32 emulation off) cannot. There the same sources are built for
# x86-64 as well, and that tree runs under wine64 in a 64-bit prefix of its own; the 32-bit
# program is still built, as it is what ships.
choose_wine() {
  if /usr/lib/wine/wine --version >/dev/null 2>&1; then
    return 0
  fi
  log "this kernel runs no 32-bit programs: tests and program run as x86-64 under wine64"
  WIN_TREE=$BUILD/win64
  export WINEPREFIX=$BUILD/wineprefix64 WINEARCH=win64 WINELOADER=/usr/lib/wine/wine64
  # Debian's wine scripts pick wine32 whenever it is installed; these names lead to wine64.
  local bin=$BUILD/wine64-bin name
  mkdir -p "$bin"
  for name in wine wine-stable wine64; do
    printf '#!/bin/sh\nexec /usr/lib/wine/wine64 "$@"\n' >"$bin/$name"
    chmod +x "$bin/$name"
  done
  export PATH=$bin:$PATH
}

build_host() { build_tree "$BUILD/host"; }
# The settings fuzz target: clang and libFuzzer, in a tree of its own (tests/fuzz).
build_fuzz() {
  if [ ! -f "$BUILD/fuzz/build.ninja" ]; then
    cmake -S "$ROOT/tests/fuzz" -B "$BUILD/fuzz" -G Ninja -DCMAKE_CXX_COMPILER=clang++ >/dev/null
  fi
  cmake --build "$BUILD/fuzz" --parallel "$(nproc)"
}
build_windows() {
  if [ "$WIN_TREE" = "$BUILD/win" ]; then
    build_tree "$BUILD/win" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake"
  else
    build_tree "$BUILD/win" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" -- --target brewbell
    build_tree "$WIN_TREE" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-x86_64.cmake"
  fi
}

# Starts a private virtual X display and exports DISPLAY.
start_xvfb() {
  local fifo=$BUILD/.xvfb-display
  rm -f "$fifo"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  STARTED_PIDS+=($!)
  local i
  for i in $(seq 100); do [ -s "$fifo" ] && break; sleep 0.1; done
  export DISPLAY=":$(head -n1 "$fifo")"
  log "virtual display $DISPLAY"
}

# The prefix lives in the build tree; its default desktop is a Wine virtual desktop, so every
# process of the prefix (program, test driver, second instance) shares one desktop with a
# notification area.
ensure_prefix() {
  mkdir -p "$BUILD"
  if [ ! -f "$WINEPREFIX/.brewbell-ready" ]; then
    log "creating Wine prefix (once)"
    rm -rf "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || true
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 800x600 /f >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.brewbell-ready"
  fi
}

# One wineserver of our own for the whole run keeps each Wine start quick. Wine's services and
# the desktop are started here too: started by the first test program instead, they would
# inherit the test runner's output pipe and keep it open after the tests end.
start_wineserver() {
  wineserver -f -p >/dev/null 2>&1 &
  STARTED_PIDS=($! "${STARTED_PIDS[@]}")
  WINESERVER_STARTED=1
  wine cmd /c exit </dev/null >/dev/null 2>&1 || true
  wine explorer /desktop=Default,800x600 </dev/null >/dev/null 2>&1 &
  local i
  # Up to 30 s: a busy machine is slow to bring it up.
  for i in $(seq 300); do
    xwininfo -root -tree 2>/dev/null | grep -qi 'wine desktop' && return 0
    sleep 0.1
  done
  log "the Wine desktop did not appear"
}
