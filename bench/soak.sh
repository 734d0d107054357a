#!/usr/bin/env bash
# Soak run: brewbell.exe counting up for the given time, with Stop/Reset/Start cycles (a thousand
# an hour) and the layout changed every minute; its GDI objects, windows, threads and kernel
# handles are counted each minute and must end where they began (see bench/soak_bench.cpp).
# Usage: bench/soak.sh [minutes, default 60]
# Needs the Windows tree built (soak_bench and brewbell). Not part of the test command.
# With SOAK_GDI_TRACE=1 the program alone runs with Wine's GDI trace (some 300 MB an hour),
# written to build/soak-wine.log, and the live count Wine last printed stands beside each sample.
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/lib.sh"
minutes=${1:-60}

choose_wine
start_xvfb
ensure_prefix
start_wineserver
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winealsa.drv=" # no sound card here: keep Wine quiet

args=("$minutes")
# Wine's messages (a crash report, say) go to build/soak-wine.log; the trace, when asked for,
# goes there too.
trace=/dev/null
errors=$BUILD/soak-wine.log
if [ "${SOAK_GDI_TRACE:-0}" = 1 ]; then
  args+=(--gdi-trace)
  trace=$errors
fi
: >"$errors"
# The last "allocated"/"freed" line of the trace carries the live count as "n/65536".
traced_count() {
  tail -c 1000000 "$trace" 2>/dev/null | grep -aE ' (allocated|freed) ' | tail -n1 | sed -nE 's#.* ([0-9]+)/[0-9]+.*#\1#p'
}

log "soak for $minutes min (display $DISPLAY)"
wine "$WIN_TREE/bin/soak_bench.exe" "${args[@]}" 2>"$errors" | while IFS= read -r line; do
  line=${line%$'\r'} # Windows line ends
  if [ "$trace" != /dev/null ] && [[ $line == *" gdi "* ]]; then
    line="$line  [trace: $(traced_count)]"
  fi
  printf '%s\n' "$line"
done
exit "${PIPESTATUS[0]}"
