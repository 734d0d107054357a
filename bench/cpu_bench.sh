#!/usr/bin/env bash
# CPU time of brewbell.exe idle and counting against a bare dialog idle and polling the clock at
# the countdown's rate. Usage: bench/cpu_bench.sh [seconds per phase, default 60]
# Needs the Windows tree built (./scripts/test.sh or ./scripts/run.sh builds it).
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/lib.sh"
seconds=${1:-60}
hz=$(getconf CLK_TCK)

choose_wine
start_xvfb
ensure_prefix
start_wineserver

ticks() { # utime + stime of the host process running the named Windows program
  local pid
  pid=$(pgrep -f "$1" | head -n1) || true
  [ -n "$pid" ] && awk '{print $14 + $15}' "/proc/$pid/stat" 2>/dev/null || echo 0
}
server_pid=${STARTED_PIDS[0]} # start_wineserver puts ours first
server_ticks() { awk '{print $14 + $15}' "/proc/$server_pid/stat"; }

declare -A began server_began
wine "$WIN_TREE/bin/cpu_bench.exe" "$seconds" | while read -r _ name what; do
  what=${what%$'\r'} # Windows line ends
  case $name in brewbell-*) program=brewbell.exe ;; *) program=bare_dialog.exe ;; esac
  if [ "$what" = begin ]; then
    began[$name]=$(ticks $program); server_began[$name]=$(server_ticks)
  else
    used=$(( $(ticks $program) - ${began[$name]} ))
    server=$(( $(server_ticks) - ${server_began[$name]} ))
    awk -v n="$name" -v s="$seconds" -v u="$used" -v w="$server" -v hz="$hz" \
      'BEGIN { printf "%-18s %3ss: program %6.2f s CPU, wineserver %6.2f s CPU\n", n, s, u / hz, w / hz }'
  fi
done
