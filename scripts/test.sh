#!/usr/bin/env bash
# Builds Quillmere Demo with a preset (default: `default`; also `debug`, `asan`)
# and runs every test. Set QM_WERROR=ON to treat warnings as errors (CI does).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
preset="${1:-default}"
scripts/deps.sh build test
cmake --preset "$preset" -DQM_WERROR="${QM_WERROR:-OFF}" -DQM_BUILD_TESTS=ON >/dev/null
cmake --build --preset "$preset"
ctest --preset "$preset" -j 2
