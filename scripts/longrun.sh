#!/usr/bin/env bash
# The long runs at full length: random keys for an hour of demo time (about
# 360,000 frames), in process (every actor checked after every frame, the heap
# watched) and as the whole headless program (exit, presentations, resident
# size watched from outside). The test suite runs the same tests shortened.
#   scripts/longrun.sh [minutes] [preset]     default: 60 default
# Prints the figures of both runs. QM_LONGRUN_SEED picks another key stream.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
minutes="${1:-60}"
preset="${2:-default}"
scripts/deps.sh build test
cmake --preset "$preset" -DQM_BUILD_TESTS=ON >/dev/null
cmake --build --preset "$preset" --target test_reliability Quillmere assets

# A demo second costs about a quarter of a real second headless (four in the
# sanitizer build); allow far more before calling a run stuck.
timeout=$(awk -v m="$minutes" 'BEGIN { printf "%d", m * 60 * 5 + 600 }')
started=$(date +%s)
status=0
QM_LONGRUN_MINUTES="$minutes" ctest --preset "$preset" -L long -j 2 --timeout "$timeout" --output-on-failure || status=$?
echo "longrun.sh: $minutes min of demo time in $(( $(date +%s) - started )) s real"
grep -h '^\[reliability\]' "build/$preset/Testing/Temporary/LastTest.log" || true
exit "$status"
