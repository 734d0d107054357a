# Shared by run.sh and test.sh: packages, the two build trees, the Wine prefix and the display.
# Everything this file starts it ends again by process id (see cleanup).
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${BREWBELL_BUILD:-$ROOT/build}
export WINEPREFIX=$BUILD/wineprefix
export WINEARCH=win32
# The Windows tree whose programs run here (tests, the program, benchmarks); see choose_wine.
WIN_TREE=$BUILD/win
# 1 where the kernel runs 32-bit programs, so wine32 runs the shipped program natively; 0 where
# only an emulator can (see choose_wine).
NATIVE_32BIT=1
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
  # The emulator for 32-bit programs, where the kernel runs none (known once wine32 is in).
  if [ -x /usr/lib/wine/wine ] && emulation_wanted; then
    dpkg-query -W -f='${Status}' qemu-user 2>/dev/null | grep -q 'install ok installed' || need+=(qemu-user)
  fi
  [ ${#need[@]} -eq 0 ] && return 0
  log "installing: ${need[*]}"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    as_root dpkg --add-architecture i386
  fi
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
  # Now that wine32 is in, it tells whether the emulator is needed.
  case " ${need[*]} " in *" qemu-user "*) ;; *) [ -x /usr/lib/wine/wine ] && ensure_packages ;; esac
  return 0
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
# machines (virtual ones with IA-32 emulation off) cannot. There the scripts run themselves in a
# user namespace whose binfmt_misc hands 32-bit programs to qemu-i386 (enter_emulation), the same
# sources are built for x86-64 as well, and that tree runs under wine64 in a 64-bit prefix of its
# own; the shipped 32-bit program and its window tests run emulated in that same prefix (see
# run_32bit). BREWBELL_EMULATE_32BIT=1 takes that road on any machine.
emulation_wanted() {
  [ "${BREWBELL_EMULATE_32BIT:-0}" = 1 ] || ! /usr/lib/wine/wine --version >/dev/null 2>&1
}

# Runs the calling script again ("$0" "$@") in the emulator's namespace, once, where it is wanted.
enter_emulation() {
  [ -n "${BREWBELL_EMULATOR:-}" ] && return 0
  emulation_wanted || return 0
  log "this kernel runs no 32-bit programs (or BREWBELL_EMULATE_32BIT=1): 32-bit programs run under qemu-i386"
  exec env BREWBELL_EMULATE_32BIT=1 unshare --user --map-root-user --mount "$ROOT/scripts/with_qemu_binfmt.sh" "$@"
}

choose_wine() {
  if ! emulation_wanted; then
    return 0
  fi
  log "this kernel runs no 32-bit programs: the tests run as x86-64 under wine64, the shipped 32-bit program under qemu-i386"
  NATIVE_32BIT=0
  use_wine64
}

# The x86-64 tree, its 64-bit prefix and wine64 for everything this script starts from here on.
use_wine64() {
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

# Ends the wineserver, display and processes started so far, so that another prefix can be used.
stop_wine() {
  cleanup
  STARTED_PIDS=()
  WINESERVER_STARTED=0
}

build_host() { build_tree "$BUILD/host"; }
# The settings fuzz target: clang and libFuzzer, in a tree of its own (tests/fuzz).
build_fuzz() {
  if [ ! -f "$BUILD/fuzz/build.ninja" ]; then
    cmake -S "$ROOT/tests/fuzz" -B "$BUILD/fuzz" -G Ninja -DCMAKE_CXX_COMPILER=clang++ >/dev/null
  fi
  cmake --build "$BUILD/fuzz" --parallel "$(nproc)"
}
# The 32-bit tree is built whole on every machine (program, tests, benchmarks; warnings are
# errors), so a 32-bit compile error fails the build even where its programs cannot run.
build_windows() {
  build_tree "$BUILD/win" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake"
  if [ "$WIN_TREE" != "$BUILD/win" ]; then
    build_tree "$WIN_TREE" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-x86_64.cmake"
  fi
}

# Runs a 32-bit Windows program of ours: with wine32, natively where the kernel runs 32-bit
# programs, else in the 64-bit prefix, whose wineserver, services and desktop are 64-bit and
# native, with Wine's 32-bit loader handed to qemu-i386 by the namespace's binfmt_misc. Wine needs
# a minute or more to start a program under the emulator; after that it runs at a few times its
# native speed. False when no emulator is at hand.
run_32bit() {
  if [ "$NATIVE_32BIT" = 1 ]; then
    wine "$@"
  elif [ "${BREWBELL_EMULATOR:-none}" = qemu-i386 ]; then
    /usr/lib/wine/wine "$@"
  else
    log "no emulator for 32-bit programs here: $1 does not run"
    return 1
  fi
}

# The end-to-end driver of the tree that runs here drives a 32-bit brewbell.exe that this script
# starts (natively or emulated): the road through every late-bound library, from the start to a
# clean exit. Arguments: the program, a name for the log.
drive_32bit_program() {
  local program=$1 name=$2 key='HKLM\Software\Brewbell' pid status=0
  # A 32-bit program in the 64-bit prefix keeps its settings in the registry's 32-bit view.
  [ "$NATIVE_32BIT" = 1 ] || key='HKLM\Software\Wow6432Node\Brewbell'
  wine reg delete "$key" /f >/dev/null 2>&1 || true
  (cd "$(dirname "$program")" && run_32bit "$(basename "$program")") </dev/null >/dev/null 2>&1 &
  pid=$!
  STARTED_PIDS=($pid "${STARTED_PIDS[@]}")
  BREWBELL_E2E_ATTACH=1 wine "$WIN_TREE/bin/e2e_tests.exe" --gtest_filter='ShippedRoad.*' || status=1
  if ! wait_for_exit "$pid" 30; then
    log "$name: the program did not end"
    return 1
  fi
  wait "$pid" || { log "$name: the program ended with code $?"; status=1; }
  return $status
}

# Waits up to the seconds given for a process of ours to end.
wait_for_exit() {
  local pid=$1 i
  for i in $(seq $(($2 * 10))); do
    kill -0 "$pid" 2>/dev/null || return 0
    sleep 0.1
  done
  return 1
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
