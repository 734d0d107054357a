#!/usr/bin/env bash
# Brewbell's performance figures beside a bare dialog's, all from one run, so that the load of the
# machine weighs on both alike: start-up to a visible window, CPU idle and counting against a
# bare dialog that polls and rewrites as much, peak memory, the LED paint, and the shipped size.
# Usage: bench/perf.sh [--dpi N] [--shipped-only] [seconds per CPU phase, default 60] [start-up rounds, default 20]
#                      [program to measure, beside the benchmarks, default brewbell.exe]
# --dpi runs every program at that display scaling (96 is 100 %, 192 is 200 %): Wine reads it from
# the prefix's registry when a program starts; the value there before is put back at the end.
# --shipped-only measures the 32-bit program alone (where it runs natively), without the x86-64 twin.
# Builds what it needs in the Windows trees first.
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/lib.sh"
dpi=
shipped_only=0
positional=()
while [ $# -gt 0 ]; do
  case $1 in
    --dpi) dpi=${2:?--dpi needs a value}; shift 2 ;;
    --dpi=*) dpi=${1#--dpi=}; shift ;;
    --shipped-only) shipped_only=1; shift ;;
    *) positional+=("$1"); shift ;;
  esac
done
case $dpi in '' | [1-9] | [1-9][0-9] | [1-9][0-9][0-9]) ;; *) log "--dpi takes a number such as 192"; exit 2 ;; esac
seconds=${positional[0]:-60}
rounds=${positional[1]:-20}
program=${positional[2]:-brewbell.exe}
hz=$(getconf CLK_TCK)

# The prefix's display scaling: set for the run, and what was there before put back when it ends,
# however it ends.
dpi_key='HKCU\Control Panel\Desktop'
dpi_before=
dpi_set=0
set_dpi() {
  [ -n "$dpi" ] || return 0
  # Nothing there is 96, Wine's default.
  dpi_before=$({ wine reg query "$dpi_key" /v LogPixels 2>/dev/null || true; } | tr -d '\r' |
               awk '$1 == "LogPixels" {print $3}')
  wine reg add "$dpi_key" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  dpi_set=1
  log "display scaling: $dpi dpi"
}
restore_dpi() {
  [ "$dpi_set" = 1 ] || return 0
  if [ -n "$dpi_before" ]; then
    wine reg add "$dpi_key" /v LogPixels /t REG_DWORD /d $((dpi_before)) /f >/dev/null 2>&1 || true
  else
    wine reg delete "$dpi_key" /v LogPixels /f >/dev/null 2>&1 || true
  fi
  dpi_set=0
}
trap 'restore_dpi; cleanup' EXIT

choose_wine
bench_targets=(brewbell bare_dialog startup_bench cpu_bench led_paint_bench)
# The shipped 32-bit program is measured wherever it runs natively, the x86-64 twin everywhere;
# both go into one table.
arches=(64)
[ "$NATIVE_32BIT" = 1 ] && arches=(32 64)
[ "$NATIVE_32BIT" = 1 ] && [ "$shipped_only" = 1 ] && arches=(32)

# The host process of a program of our build directory, by its path (other worktrees run programs
# of the same name). Wine shows the Windows path of a program as its first argument; the
# environment of a Wine process is not reliable for this, as Wine reuses that memory.
host_pid() {
  local unix=${bin,,}/${1,,} dir pid first
  local windows=z:${unix//\//\\}
  for dir in /proc/[0-9]*; do
    pid=${dir#/proc/}
    first=
    IFS= read -r -d '' first <"$dir/cmdline" 2>/dev/null || true
    first=${first,,}
    if [ "$first" = "$unix" ] || [ "$first" = "$windows" ]; then
      echo "$pid"
      return 0
    fi
  done
  return 1
}
ticks() { awk '{print $14 + $15}' "/proc/$1/stat" 2>/dev/null || echo 0; }
# Peak resident set of the process so far (VmHWM), in KiB.
peak_kib() { awk '/^VmHWM:/ {print $2}' "/proc/$1/status" 2>/dev/null || echo 0; }
# Resident memory of its own (not mapped from files), now, in KiB.
private_kib() { awk '/^RssAnon:/ {print $2}' "/proc/$1/status" 2>/dev/null || echo 0; }

declare -A startup led cpu server peak private began server_began
# Everything for one architecture, in its own tree and prefix; results keyed "<arch>:<name>".
measure() {
  local arch=$1 line name what exe pid server_pid
  if [ "$arch" = 64 ]; then
    use_wine64
    build_tree "$WIN_TREE" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-x86_64.cmake" -- --target "${bench_targets[@]}" >/dev/null
  else
    build_tree "$WIN_TREE" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" -- --target "${bench_targets[@]}" >/dev/null
  fi
  start_xvfb
  ensure_prefix
  start_wineserver
  set_dpi
  bin=$WIN_TREE/bin
  server_pid=${STARTED_PIDS[0]} # start_wineserver puts ours first

  log "$arch-bit: start-up, $rounds rounds each"
  startup[$arch]=$(wine "$bin/startup_bench.exe" "$rounds" "$program" bare_dialog.exe | tr -d '\r')

  log "$arch-bit: CPU, $seconds s per phase"
  while read -r _ name what; do
    what=${what%$'\r'}
    case $name in brewbell-*) exe=$program ;; *) exe=bare_dialog.exe ;; esac
    pid=$(host_pid "$exe") || pid=
    [ -n "$pid" ] || { log "no host process for $exe"; continue; }
    if [ "$what" = begin ]; then
      began[$arch:$name]=$(ticks "$pid"); server_began[$arch:$name]=$(ticks "$server_pid")
    else
      cpu[$arch:$name]=$(( $(ticks "$pid") - ${began[$arch:$name]} ))
      server[$arch:$name]=$(( $(ticks "$server_pid") - ${server_began[$arch:$name]} ))
      peak[$arch:$name]=$(peak_kib "$pid")
      private[$arch:$name]=$(private_kib "$pid")
    fi
  done < <(wine "$bin/cpu_bench.exe" "$seconds" "$program")

  log "$arch-bit: LED paint"
  led[$arch]=$(wine "$bin/led_paint_bench.exe" | tr -d '\r')
  restore_dpi
  stop_wine
}

load_before=$(uptime)
for arch in "${arches[@]}"; do measure "$arch"; done
load_after=$(uptime)

shipped=$BUILD/win/bin/brewbell.exe
build_tree "$BUILD/win" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" -- --target brewbell >/dev/null
size=$(stat -c %s "$shipped")
stripped=no
i686-w64-mingw32-objdump -h "$shipped" | grep -q '\.debug_info' || stripped=yes

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }'; }
secs() { awk -v t="$1" -v hz="$hz" 'BEGIN { printf "%.2f s", t / hz }'; }
mib() { awk -v k="$1" 'BEGIN { printf "%.1f MiB", k / 1024 }'; }

# One row: the figure, then per architecture (32, 64) ours, the bare dialog's and the ratio (or a
# difference), then the limit.
declare -A cell
row() {
  local figure=$1 limit=$2 arch
  printf '%-24s' "$figure"
  for arch in 32 64; do
    printf ' | %-11s %-11s %-8s' "${cell[$arch:ours]:--}" "${cell[$arch:bare]:--}" "${cell[$arch:ratio]:--}"
  done
  printf ' | %s\n' "$limit"
  cell=()
}

echo "load before: ${load_before#*load average: }"
[ -n "$dpi" ] && echo "display scaling: $dpi dpi ($((dpi * 100 / 96)) %)"
for arch in "${arches[@]}"; do echo "$arch-bit ${startup[$arch]}"; done
printf '%-24s | %-32s | %-32s | %s\n' "" "32-bit (shipped)" "x86-64" ""
printf '%-24s | %-11s %-11s %-8s | %-11s %-11s %-8s | %s\n' figure "$program" bare ratio "$program" bare ratio limit
for arch in "${arches[@]}"; do
  cell[$arch:ours]="$(sed -n 's/.*: [^ ]* \([0-9.]*\) ms, .*/\1/p' <<<"${startup[$arch]}") ms"
  cell[$arch:bare]="$(sed -n 's/.*, [^ ]* \([0-9.]*\) ms, ratio.*/\1/p' <<<"${startup[$arch]}") ms"
  cell[$arch:ratio]=$(ratio "${cell[$arch:ours]% ms}" "${cell[$arch:bare]% ms}")
done
row "start-up to window" "<= 1.25"
for phase in idle counting; do
  other=bare-idle; [ $phase = counting ] && other=bare-polling
  for with_server in 0 1; do
    for arch in "${arches[@]}"; do
      a=${cpu[$arch:brewbell-$phase]:-0}; b=${cpu[$arch:$other]:-0}
      if [ $with_server = 1 ]; then
        a=$(( a + ${server[$arch:brewbell-$phase]:-0} )); b=$(( b + ${server[$arch:$other]:-0} ))
      fi
      cell[$arch:ours]=$(secs "$a"); cell[$arch:bare]=$(secs "$b"); cell[$arch:ratio]=$(ratio "$a" "$b")
    done
    if [ $with_server = 0 ]; then
      row "CPU $phase ($seconds s)" "$([ $phase = counting ] && echo '<= 1.5')"
    else
      row "  with wineserver" ""
    fi
  done
done
for arch in "${arches[@]}"; do
  a=${peak[$arch:brewbell-counting]:-0}; b=${peak[$arch:bare-polling]:-0}
  cell[$arch:ours]=$(mib "$a"); cell[$arch:bare]=$(mib "$b"); cell[$arch:ratio]="+$(mib $(( a - b )))"
done
row "peak memory (VmHWM)" "<= +4 MiB"
for arch in "${arches[@]}"; do
  a=${private[$arch:brewbell-counting]:-0}; b=${private[$arch:bare-polling]:-0}
  cell[$arch:ours]=$(mib "$a"); cell[$arch:bare]=$(mib "$b"); cell[$arch:ratio]="+$(mib $(( a - b )))"
done
row "  private (RssAnon, end)" ""
[ "$NATIVE_32BIT" = 1 ] || echo "(this kernel runs no 32-bit programs: the 32-bit column stays empty)"
printf '%-24s %s\n' "shipped size (32-bit)" "$size B (<= 1572864 B), stripped: $stripped"
for arch in "${arches[@]}"; do echo "$arch-bit:"; echo "${led[$arch]}"; done
echo "load after: ${load_after#*load average: }"
