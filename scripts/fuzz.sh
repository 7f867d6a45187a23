#!/usr/bin/env bash
# Bounded runs of the fuzzers from their seed corpora: the user.cfg reader and writer from
# fuzz/corpus, the zip reader from the test archives of tests/game/zips (made by make_zips.py
# there), the reader of Steam's files from fuzz/vdf. Each runs for the given seconds; a target's
# name runs that one alone.
# Usage: scripts/fuzz.sh [seconds] [user_cfg|zip|vdf]
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1
seconds="${1:-20}"
only="${2:-}"

# fuzz NAME SEED-CORPUS MAX-LEN
fuzz() {
  local name=$1 seeds=$2 max_len=$3 work="fuzz/corpus-work-$1"
  [[ -z "$only" || "$only" == "$name" ]] || return 0
  rm -rf "$work" && mkdir -p "$work"
  echo "Fuzzing fuzz_${name} for ${seconds} s"
  if ./build/native/fuzz/"fuzz_${name}" -max_total_time="$seconds" -max_len="$max_len" \
       -artifact_prefix=fuzz/ "$work" "$seeds" >"$work.log" 2>&1; then
    grep -E '^(Done [0-9]+ runs|#[0-9]+\s+DONE)' "$work.log" | tail -n 2
    rm -rf "$work" "$work.log"
    return 0
  fi
  tail -n 40 "$work.log"
  echo "fuzz_${name} found a failure; its input is kept as fuzz/crash-*" >&2
  return 1
}

status=0
fuzz user_cfg fuzz/corpus 4096 || status=1
fuzz zip tests/game/zips 16384 || status=1
fuzz vdf fuzz/vdf 4096 || status=1
exit "$status"
