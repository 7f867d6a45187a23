#!/usr/bin/env bash
# make bench: builds tessivane.exe and the benchmark programs of bench/, starts Xvfb and Wine as the
# tests do (on a prefix of its own, whose registry points at a benchmark game folder), runs each
# benchmark beside its floor program on the same input and prints one table of medians and ratios.
# The table is also written to build/bench/last-run.md.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

bash scripts/install-deps.sh
cmake --preset windows --log-level=WARNING >/dev/null
cmake --build --preset windows --target benchmarks

work="$root/build/bench"
fixtures="$work/fixtures"
samples="$work/samples"
bin="$root/build/windows/bench"
exe="$root/build/windows/app/tessivane.exe"
rm -rf "$samples"
mkdir -p "$fixtures" "$samples"

# Wine maps drive Z: to the root of this machine's file system.
winpath() { local path="${1//\//\\}"; printf 'Z:%s' "$path"; }

# A game folder whose scenario folder holds this many .scn files with names of mixed case and
# punctuation, one in 97 with the extension in capitals; beside them a subfolder named like a
# scenario file and two other files, which the listings leave out. Made once, then kept.
make_scenarios() {
  local game="$1" count="$2" dir="$1/scenario"
  [[ -f "$game/.complete" ]] && return
  rm -rf "$game"
  mkdir -p "$dir/old.scn"
  touch "$dir/readme.txt" "$dir/notes.scx"
  awk -v n="$count" 'BEGIN {
    split("Aegean Sea|battle of the bay|Norse_raid|~custom|Zeus temple|hades-gate|" \
          "LAND OF ICE|island_04|Sparta v2|oasis", prefix, "|")
    for (i = 0; i < n; i++) {
      extension = (i % 97 == 0) ? ".SCN" : ".scn"
      printf "%s %d%s\n", prefix[i % 10 + 1], (i * 7919 + 13) % 1000003, extension
    }
  }' | (cd "$dir" && xargs -d '\n' touch)
  make_cfg "$game" 10
  touch "$game/.complete"
}

# A game folder whose user.cfg holds this many other lines and then the ten attract-mode lines,
# slot 0 enabled, every line ending CR LF.
make_cfg() {
  local game="$1" count="$2"
  mkdir -p "$game/startup"
  awk -v n="$count" 'BEGIN {
    for (i = 0; i < n; i++) {
      if (i % 3 == 0) printf "+option%d\r\n", i
      else if (i % 3 == 1) printf "setVolume%d 0.%d\r\n", i, i % 10
      else printf "// a comment about setting %d of the game\r\n", i
    }
    printf "attractMode-scenario-0 ~AoM_pgs_Water\r\nattractMode-scenario-1 ~UI_Norse\r\n"
    for (s = 2; s < 10; s++) printf "-attractMode-scenario-%d\r\n", s
  }' >"$game/startup/user.cfg"
}

# A download of 100 scenarios, 50 MiB in all, deflated in one zip (pack.zip beside a game folder
# with an empty scenario folder). The bytes are like a scenario's: stretches of noise, which
# deflate cannot shrink, between stretches of a small map's repeated tiles, which it can.
pack_scenarios=100
pack_bytes=$((pack_scenarios * 512 * 1024))
make_pack() {
  local folder="$1"
  [[ -f "$folder/.complete" ]] && return
  rm -rf "$folder"
  mkdir -p "$folder/game/scenario"
  make_cfg "$folder/game" 10
  python3 - "$folder/pack.zip" "$pack_scenarios" "$((pack_bytes / pack_scenarios))" <<'PYTHON'
import random, sys, zipfile
path, count, size = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as pack:
    for n in range(count):
        rng = random.Random(n)
        data = bytearray()
        while len(data) < size:
            data += rng.randbytes(rng.randrange(256, 2048))
            tiles = bytes(rng.randrange(16) for _ in range(rng.randrange(4, 32)))
            data += tiles * rng.randrange(8, 48)
        pack.writestr("Big Pack/Pack Map %03d.scn" % n, bytes(data[:size]))
PYTHON
  touch "$folder/.complete"
}

echo "Preparing the benchmark folders in $fixtures"
for count in 200 2000 10000 100000; do make_scenarios "$fixtures/scenarios-$count" "$count"; done
for count in 50 1000 1000000; do make_cfg "$fixtures/cfg-$count" "$count"; done
make_pack "$fixtures/import"

# Everything from here on runs on one processor: the program, the wineserver and Xvfb answer each
# other hundreds of times while a window is made, and on this kind of virtual machine a process
# whose partners ran on the other processor took up to ten times as long, by chance, from one start
# to the next. On one processor the tool and its floor run as alike as they can.
cores=$(nproc --all)
pinned="${TESS_BENCH_CPU:-$((cores - 1))}"
if command -v taskset >/dev/null; then
  taskset -cp "$pinned" $$ >/dev/null
else
  pinned=""
  echo "taskset is missing: the benchmarks run on any processor and vary more" >&2
fi

export TESS_WINEPREFIX="$work/wine"
. scripts/wine-session.sh
trap tess_session_stop EXIT
tess_session_start
# tessivane.exe starts on the folder of 10,000 scenario files (its picker for the memory figure).
tess_register_game "$fixtures/scenarios-10000"

# Runs a benchmark program and appends the values of each of its result lines to
# samples/<prefix><name>, one a line.
collect() {
  local prefix="$1" fields
  shift
  wine "$@" | tr -d '\r' | while read -r -a fields; do
    printf '%s\n' "${fields[@]:1}" >>"$samples/$prefix${fields[0]:-}"
  done
}

# Each case runs in rounds, the tool and its floor by turns, so that both meet the same load of a
# shared machine; the medians are taken over all rounds.
rounds=5
echo "Timing the picker"
for _ in $(seq "$rounds"); do
  for count in 200 2000 100000; do
    runs=15
    ((count == 100000)) && runs=3
    game="$fixtures/scenarios-$count"
    collect "$count-" "$bin/bench_picker.exe" "$(winpath "$game")\\" "$runs" "$count"
    collect "$count-" "$bin/floor_picker.exe" "$(winpath "$game/scenario")" "$runs" "$count"
  done
done

echo "Timing LoadMenus and SaveMenus"
for _ in $(seq "$rounds"); do
  for count in 50 1000 1000000; do
    runs=15
    ((count == 1000000)) && runs=5
    game="$fixtures/cfg-$count"
    collect "$count-" "$bin/bench_cfg.exe" "$(winpath "$game")\\" "$runs"
    collect "$count-" "$bin/floor_cfg.exe" "$(winpath "$game/startup/user.cfg")" "$runs"
  done
done

echo "Timing the start-up"
for _ in $(seq "$rounds"); do
  collect "tool-" "$bin/bench_launch.exe" startup 5 "$TESS_CAPTION" "$(winpath "$exe")"
  collect "floor-" "$bin/bench_launch.exe" startup 5 "Floor main" \
    "$(winpath "$bin/floor_window.exe")"
done

echo "Timing the import of a zip from the command line"
import=("$bin/bench_launch.exe" import 3 "$(winpath "$fixtures/import/game")"
  "$(winpath "$fixtures/import/pack.zip")" "$pack_scenarios" "$pack_bytes")
for _ in $(seq "$rounds"); do
  collect "tool-" "${import[@]}" "$(winpath "$exe")"
  collect "floor-" "${import[@]}" "$(winpath "$bin/floor_import.exe")" floor
done

echo "Measuring the peak working set"
for _ in $(seq "$rounds"); do
  collect "tool-" "$bin/bench_launch.exe" memory 10002 "$(winpath "$exe")"
  collect "floor-" "$bin/bench_launch.exe" memory 10000 "$(winpath "$bin/floor_picker.exe")" \
    "$(winpath "$fixtures/scenarios-10000/scenario")" show
done

# ---- The table ----
median() {
  sort -g "$samples/$1" |
    awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
ms() { awk -v v="$1" 'BEGIN { printf (v < 1 ? "%.3f ms" : v < 100 ? "%.2f ms" : "%.0f ms"), v }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
holds() { awk -v r="$1" -v g="$2" 'BEGIN { print (r <= g) ? "yes" : "no" }'; }
thousands() { sed ':a;s/\B[0-9]\{3\}\>/,&/;ta' <<<"$1"; }

table="$work/last-run.md"
row() { printf '| %s | %s | %s | %s | %s | %s |\n' "$@" >>"$table"; }
# A time beside its floor's, as a ratio. At a stress size the goal is the ratio: at most 1.5 times
# the floor. At a realistic size it is what a player can notice: the time itself, at most 100 ms.
timed_row() {
  local label="$1" tool="$2" floor="$3" goal="$4" t f r
  t=$(median "$tool")
  f=$(median "$floor")
  r=$(ratio "$t" "$f")
  if [[ $goal == *ms ]]; then
    row "$label" "$(ms "$t")" "$(ms "$f")" "$r" "≤ $goal" "$(holds "$t" "${goal% ms}")"
  else
    row "$label" "$(ms "$t")" "$(ms "$f")" "$r" "≤ $goal" "$(holds "$r" "$goal")"
  fi
}
# How the time grows from a realistic size to the stress size, beside the floor's growth: the
# goal is to grow no faster than the floor, with a tenth for measuring (the ratio of the two).
growth_row() {
  local label="$1" small="$2" large="$3" r f
  r=$(ratio "$(median "$large")" "$(median "$small")")
  f=$(ratio "$(median "$large-floor")" "$(median "$small-floor")")
  row "$label" "× $r" "× $f" "$(ratio "$r" "$f")" "≤ 1.1" "$(holds "$(ratio "$r" "$f")" 1.1)"
}

model=$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ //')
{
  echo "make bench, $(date '+%Y-%m-%d %H:%M %Z'), $cores cores of $model" \
    "${pinned:+(run on processor $pinned)}, $(wine --version 2>/dev/null)"
  echo
  echo "| case | tool | floor | ratio | goal | holds |"
  echo "| --- | ---: | ---: | ---: | --- | --- |"
} >"$table"
for count in 200 2000; do
  timed_row "picker fill, $(thousands "$count") files" "$count-picker" "$count-picker-floor" "100 ms"
done
timed_row "picker fill, 100,000 files" 100000-picker 100000-picker-floor 1.5
growth_row "picker fill growth, 100,000 vs 2,000 files" 2000-picker 100000-picker
for kind in save load; do
  name=SaveMenus
  [[ $kind == load ]] && name=LoadMenus
  for count in 50 1000; do
    timed_row "$name, $(thousands "$count") other lines" "$count-$kind" "$count-$kind-floor" "100 ms"
  done
  timed_row "$name, 1,000,000 other lines" "1000000-$kind" "1000000-$kind-floor" 1.5
  growth_row "$name growth, 1,000,000 vs 1,000 lines" "1000-$kind" "1000000-$kind"
done
timed_row "start-up: process start to splash shown" tool-first-window floor-first-window 1.5
timed_row "start-up: hand-over to main window active" tool-main-active floor-main-active 1.5
timed_row "import of a zip of 100 deflated scenarios, 50 MiB, from the command line" \
  tool-import floor-import 1.5
size=$(stat -c %s "$exe")
kib=$(awk -v s="$size" 'BEGIN { printf "%.1f", s / 1024 }')
row "size of tessivane.exe with its pictures" "$kib KiB" "—" "—" "≤ 640 KiB" "$(holds "$kib" 640)"
t=$(median tool-peak-working-set)
f=$(median floor-peak-working-set)
r=$(ratio "$t" "$f")
row "peak working set, picker open on 10,000 files" "$(printf '%.1f MiB' "$t")" \
  "$(printf '%.1f MiB' "$f")" "$r" "≤ 1.5" "$(holds "$r" 1.5)"

echo
cat "$table"
