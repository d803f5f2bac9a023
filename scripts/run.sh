#!/usr/bin/env bash
# Builds Quillmere Demo and runs it: full screen when there is a display; without
# one, the built-in tour runs headless and writes its screenshots to tour-shots/.
# Extra arguments go to the program (see `build/default/bin/Quillmere --help`).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
scripts/deps.sh build
# Only what running needs: the program and its pictures. A new build folder is
# set up without the tests (scripts/test.sh turns them on); an existing one
# keeps its settings.
if [ -f build/default/CMakeCache.txt ]; then
  cmake --preset default >/dev/null
else
  cmake --preset default -DQM_BUILD_TESTS=OFF >/dev/null
fi
cmake --build --preset default --target Quillmere

cd build/default/bin   # the program reads its pictures from the current folder
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec ./Quillmere "$@"
fi
mkdir -p "$root/tour-shots"
echo "No display: running the headless tour; screenshots go to $root/tour-shots"
exec ./Quillmere --headless --tour --shots "$root/tour-shots" "$@"
