#!/usr/bin/env bash
# Brewbell's performance figures beside a bare dialog's, all from one run, so that the load of the
# machine weighs on both alike: start-up to a visible window, CPU idle and counting against a
# bare dialog that polls and rewrites as much, peak memory, the LED paint, and the shipped size.
# Usage: bench/perf.sh [seconds per CPU phase, default 60] [start-up rounds, default 20]
#                      [program to measure, beside the benchmarks, default brewbell.exe]
# Builds what it needs in the Windows trees first.
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/lib.sh"
seconds=${1:-60}
rounds=${2:-20}
program=${3:-brewbell.exe}
hz=$(getconf CLK_TCK)

choose_wine
build_tree "$BUILD/win" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" -- --target brewbell >/dev/null
toolchain=$ROOT/cmake/mingw-i686.cmake
[ "$WIN_TREE" = "$BUILD/win" ] || toolchain=$ROOT/cmake/mingw-x86_64.cmake
build_tree "$WIN_TREE" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -- \
  --target brewbell bare_dialog startup_bench cpu_bench led_paint_bench >/dev/null
start_xvfb
ensure_prefix
start_wineserver
bin=$WIN_TREE/bin
load_before=$(uptime)

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
server_pid=${STARTED_PIDS[0]} # start_wineserver puts ours first

log "start-up, $rounds rounds each"
startup=$(wine "$bin/startup_bench.exe" "$rounds" "$program" bare_dialog.exe | tr -d '\r')

log "CPU, $seconds s per phase"
declare -A cpu server peak private began server_began
while read -r _ name what; do
  what=${what%$'\r'}
  case $name in brewbell-*) exe=$program ;; *) exe=bare_dialog.exe ;; esac
  pid=$(host_pid "$exe") || pid=
  [ -n "$pid" ] || { log "no host process for $exe"; continue; }
  if [ "$what" = begin ]; then
    began[$name]=$(ticks "$pid"); server_began[$name]=$(ticks "$server_pid")
  else
    cpu[$name]=$(( $(ticks "$pid") - ${began[$name]} ))
    server[$name]=$(( $(ticks "$server_pid") - ${server_began[$name]} ))
    peak[$name]=$(peak_kib "$pid")
    private[$name]=$(private_kib "$pid")
  fi
done < <(wine "$bin/cpu_bench.exe" "$seconds" "$program")

log "LED paint"
led=$(wine "$bin/led_paint_bench.exe" | tr -d '\r')
load_after=$(uptime)

shipped=$BUILD/win/bin/brewbell.exe
size=$(stat -c %s "$shipped")
stripped=no
i686-w64-mingw32-objdump -h "$shipped" | grep -q '\.debug_info' || stripped=yes

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }'; }
secs() { awk -v t="$1" -v hz="$hz" 'BEGIN { printf "%.2f s", t / hz }'; }
mib() { awk -v k="$1" 'BEGIN { printf "%.1f MiB", k / 1024 }'; }

echo "load before: ${load_before#*load average: }"
echo "$startup"
printf '%-26s %-16s %-16s %-9s %s\n' figure "$program" bare_dialog.exe ratio limit
ours=$(sed -n 's/.*: [^ ]* \([0-9.]*\) ms, .*/\1/p' <<<"$startup")
theirs=$(sed -n 's/.*, [^ ]* \([0-9.]*\) ms, ratio.*/\1/p' <<<"$startup")
printf '%-26s %-16s %-16s %-9s %s\n' "start-up to window" "$ours ms" "$theirs ms" "$(ratio "$ours" "$theirs")" "<= 1.25"
for phase in idle counting; do
  other=bare-idle; [ $phase = counting ] && other=bare-polling
  a=${cpu[brewbell-$phase]:-0}; b=${cpu[$other]:-0}
  printf '%-26s %-16s %-16s %-9s %s\n' "CPU $phase ($seconds s)" "$(secs "$a")" "$(secs "$b")" "$(ratio "$a" "$b")" \
    "$([ $phase = counting ] && echo '<= 1.5')"
  a=$(( a + ${server[brewbell-$phase]:-0} )); b=$(( b + ${server[$other]:-0} ))
  printf '%-26s %-16s %-16s %-9s\n' "  with wineserver" "$(secs "$a")" "$(secs "$b")" "$(ratio "$a" "$b")"
done
a=${peak[brewbell-counting]:-0}; b=${peak[bare-polling]:-0}
printf '%-26s %-16s %-16s %-9s %s\n' "peak memory (VmHWM)" "$(mib "$a")" "$(mib "$b")" \
  "+$(mib $(( a - b )))" "<= +4 MiB"
a=${private[brewbell-counting]:-0}; b=${private[bare-polling]:-0}
printf '%-26s %-16s %-16s %-9s\n' "  private (RssAnon, end)" "$(mib "$a")" "$(mib "$b")" "+$(mib $(( a - b )))"
printf '%-26s %-16s %-16s %-9s %s\n' "shipped size (32-bit)" "$size B" "" "" "<= 1572864 B, stripped: $stripped"
echo "$led"
echo "load after: ${load_after#*load average: }"
