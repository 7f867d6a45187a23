#!/usr/bin/env bash
# Bounded runs of the fuzzers, each from its seed corpus fuzz/corpus/<name> (fuzz/make_corpus.py
# makes the shapes no tool makes), the zip one also from the test archives of tests/game/zips.
# Each runs for the given seconds and ends by printing its executions and its coverage: cov, the
# code edges of the instrumented reader reached, and ft, the features libFuzzer tells apart. A
# target's name runs that one alone.
# Usage: scripts/fuzz.sh [seconds] [name]
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1
seconds="${1:-20}"
only="${2:-}"

# fuzz NAME MAX-LEN [MORE-SEED-FOLDERS...]
fuzz() {
  local name=$1 max_len=$2 work="fuzz/corpus-work-$1"
  shift 2
  [[ -z "$only" || "$only" == "$name" ]] || return 0
  rm -rf "$work" && mkdir -p "$work"
  echo "Fuzzing fuzz_${name} for ${seconds} s"
  if ./build/native/fuzz/"fuzz_${name}" -max_total_time="$seconds" -max_len="$max_len" \
       -print_final_stats=1 -artifact_prefix=fuzz/ "$work" "fuzz/corpus/$name" "$@" \
       >"$work.log" 2>&1; then
    # The last status line (#runs DONE cov: ... ft: ... corp: ...) and the run count.
    grep -E '^#[0-9]+\s+DONE' "$work.log" | tail -n 1
    grep -E '^stat::number_of_executed_units' "$work.log"
    rm -rf "$work" "$work.log"
    return 0
  fi
  tail -n 40 "$work.log"
  echo "fuzz_${name} found a failure; its input is kept as fuzz/crash-*" >&2
  return 1
}

status=0
fuzz user_cfg 4096 || status=1
fuzz zip 131072 tests/game/zips || status=1
fuzz vdf 4096 || status=1
exit "$status"
