#!/usr/bin/env bash
# A campaign of the settings fuzz target: ./scripts/fuzz.sh [runs] (default 1000000).
# One job at low priority (the machine is shared). Afterwards the kept corpus (tests/fuzz/corpus)
# and the campaign's finds are cut down together to a small set with the same coverage, which
# replaces the kept corpus; commit the change. A finding stops the campaign and leaves its input
# as build/fuzz/campaign/crash-*; replay it with  build/fuzz/settings_fuzz <that file>.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

runs=${1:-1000000}
corpus=$ROOT/tests/fuzz/corpus
work=$BUILD/fuzz/campaign

ensure_packages
build_fuzz
rm -rf "$work"
mkdir -p "$work/new" "$corpus"
fuzzer=$BUILD/fuzz/settings_fuzz

log "fuzzing the settings store: $runs runs"
status=0
# New inputs go to the first directory; the kept corpus only seeds the campaign.
(cd "$work" && nice -n 10 "$fuzzer" -runs="$runs" -jobs=1 -workers=1 -max_len=1024 -print_final_stats=1 \
  -artifact_prefix="$work/" "$work/new" "$corpus" >"$work/campaign.log" 2>&1) || status=$?
grep -E '^#[0-9]+[[:space:]]+(INITED|DONE)|^stat::|settings finding|ERROR:' "$work/fuzz-0.log" >&2 || true
if [ "$status" -ne 0 ]; then
  log "the campaign stopped on a finding: $(ls "$work"/crash-* "$work"/leak-* "$work"/timeout-* 2>/dev/null | head -1)"
  exit "$status"
fi

before=$(find "$corpus" -type f | wc -l)
mkdir -p "$work/merged"
"$fuzzer" -set_cover_merge=1 -max_len=1024 "$work/merged" "$corpus" "$work/new" >"$work/merge.log" 2>&1
find "$corpus" -type f -delete
cp "$work/merged"/* "$corpus"/
log "corpus: $before files before, $(find "$corpus" -type f | wc -l) now, $(cat "$corpus"/* | wc -c) bytes"
