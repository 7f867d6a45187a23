#!/usr/bin/env bash
# The project's one test command (make test): installs what is missing, checks the layers, the
# scripts (shellcheck) and the code's format (clang-format), builds both presets,
# builds tessivane.exe a second time elsewhere and compares the two, signs it with a throw-away
# certificate and checks the signature, starts Xvfb and Wine, runs every test and a bounded
# fuzzing run, and stops what it started.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1

bash scripts/install-deps.sh || exit 1
bash scripts/check-layers.sh || exit 1
# Every shell script, as .shellcheckrc has shellcheck read them (sourced files followed).
mapfile -t scripts < <(git ls-files --cached --others --exclude-standard -- '*.sh' .ci/run)
shellcheck "${scripts[@]}" || { echo "shellcheck found the problems above" >&2; exit 1; }
# Every C and C++ file in the style of .clang-format (clang-format 14: other versions format a
# few constructs differently).
mapfile -t sources < <(git ls-files --cached --others --exclude-standard -- '*.cpp' '*.h' '*.c')
clang-format-14 --dry-run --Werror "${sources[@]}" ||
  { echo "not formatted: run clang-format-14 -i on the files above" >&2; exit 1; }

for preset in native windows; do
  cmake --preset "$preset" --log-level=WARNING >/dev/null || { echo "configure $preset failed" >&2; exit 1; }
  cmake --build --preset "$preset" || { echo "build $preset failed" >&2; exit 1; }
done

status=0
bash scripts/reproducible.sh || status=1
# Signing as make dist signs a release, with a throw-away certificate.
mkdir -p build/signing
bash scripts/sign.sh --throwaway build/windows/app/tessivane.exe build/signing/tessivane.exe || status=1

. scripts/wine-session.sh
trap tess_session_stop EXIT
tess_session_start || exit 1

bash scripts/fuzz.sh 20 || status=1
ctest --preset native || status=1
ctest --preset windows || status=1
exit $status
