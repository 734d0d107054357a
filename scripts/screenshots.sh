#!/usr/bin/env bash
# Pictures of the real program for the README: the main window in each of the five layouts and
# the About box, taken on the virtual display by the end-to-end test of the look and written to
# docs/ as PNG files, and the Winter layout once more at 200 % display scaling. Run it again
# whenever the look changes.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

ensure_packages
choose_wine
build_windows

start_xvfb
ensure_prefix
start_wineserver
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winealsa.drv="

# The look test's pictures into the folder given (Wine sees the host's file system as drive Z:).
take_shots() {
  rm -rf "$1"
  mkdir -p "$1"
  BREWBELL_SHOTS="Z:${1//\//\\}" wine "$WIN_TREE/bin/e2e_tests.exe" \
    --gtest_filter='LookTest.EachLayout*:LookTest.AboutBox*' >/dev/null
}

shots=$BUILD/shots
mkdir -p "$ROOT/docs"
log "taking the pictures"
take_shots "$shots"
for name in winter night day summer plain about; do
  convert "$shots/$name.bmp" -strip "$ROOT/docs/$name.png"
  log "docs/$name.png"
done

# At 200 %: Wine reads the display scaling when a program starts. What the prefix held before
# (nothing is 96) is put back however the script ends. The look test's colour checks there are
# for 100 %; its pictures are what counts.
dpi_key='HKCU\Control Panel\Desktop'
dpi_before=$({ wine reg query "$dpi_key" /v LogPixels 2>/dev/null || true; } | tr -d '\r' |
             awk '$1 == "LogPixels" {print $3}')
restore_dpi() {
  if [ -n "$dpi_before" ]; then
    wine reg add "$dpi_key" /v LogPixels /t REG_DWORD /d $((dpi_before)) /f >/dev/null 2>&1 || true
  else
    wine reg delete "$dpi_key" /v LogPixels /f >/dev/null 2>&1 || true
  fi
}
trap 'restore_dpi; cleanup' EXIT
wine reg add "$dpi_key" /v LogPixels /t REG_DWORD /d 192 /f >/dev/null 2>&1
log "taking the pictures at 200 %"
take_shots "$shots-200" || true
convert "$shots-200/winter.bmp" -strip "$ROOT/docs/winter-200.png"
log "docs/winter-200.png"
