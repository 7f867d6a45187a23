#!/usr/bin/env bash
# A bounded run of the user.cfg fuzzer from the seed corpus kept in fuzz/corpus.
# Usage: scripts/fuzz.sh [seconds]
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1
seconds="${1:-20}"
work=fuzz/corpus-work
rm -rf "$work" && mkdir -p "$work"
echo "Fuzzing the user.cfg reader and writer for ${seconds} s"
if ./build/native/fuzz/fuzz_user_cfg -max_total_time="$seconds" -max_len=4096 -artifact_prefix=fuzz/ \
     "$work" fuzz/corpus >"$work.log" 2>&1; then
  grep -E '^Done [0-9]+ runs' "$work.log" | tail -n 1
  rm -rf "$work" "$work.log"
  exit 0
fi
tail -n 40 "$work.log"
echo "the fuzzer found a failure; its input is kept as fuzz/crash-*" >&2
exit 1
