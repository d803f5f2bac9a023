#!/usr/bin/env bash
# Builds Quillmere Demo and runs it: full screen when there is a display; without
# one, the built-in tour runs headless and writes its screenshots to tour-shots/.
# Extra arguments go to the program (see `build/default/bin/Quillmere --help`).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
scripts/deps.sh build
cmake --preset default >/dev/null
cmake --build --preset default

cd build/default/bin   # the program reads its pictures from the current folder
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec ./Quillmere "$@"
fi
mkdir -p "$root/tour-shots"
echo "No display: running the headless tour; screenshots go to $root/tour-shots"
exec ./Quillmere --headless --tour --shots "$root/tour-shots" "$@"
