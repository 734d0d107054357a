#!/usr/bin/env bash
# Pictures of the real program for the README: the main window in each of the five layouts and
# the About box, taken on the virtual display by the end-to-end test of the look and written to
# docs/ as PNG files. Run it again whenever the look changes.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

ensure_packages
choose_wine
build_windows

start_xvfb
ensure_prefix
start_wineserver
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winealsa.drv="

shots=$BUILD/shots
rm -rf "$shots"
mkdir -p "$shots" "$ROOT/docs"
log "taking the pictures"
# Wine sees the host's file system as drive Z:.
BREWBELL_SHOTS="Z:${shots//\//\\}" wine "$WIN_TREE/bin/e2e_tests.exe" \
  --gtest_filter='LookTest.EachLayout*:LookTest.AboutBox*' >/dev/null
for name in winter night day summer plain about; do
  convert "$shots/$name.bmp" -strip "$ROOT/docs/$name.png"
  log "docs/$name.png"
done
