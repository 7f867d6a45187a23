# shellcheck shell=bash
# Sourced by the scripts that need the project's facts (version, caption, home page, the game's
# registration): reads project-facts.sh, which CMake writes from CMakeLists.txt into the build
# folder (TESS_FACTS_FILE, by default build/windows's), configuring that folder first if needed.
tess_facts_file="${TESS_FACTS_FILE:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build/windows/project-facts.sh}"
if [[ ! -f "$tess_facts_file" ]]; then
  (cd "$(dirname "${BASH_SOURCE[0]}")/.." && cmake --preset windows --log-level=WARNING >/dev/null)
fi
# shellcheck source=/dev/null
. "$tess_facts_file"
