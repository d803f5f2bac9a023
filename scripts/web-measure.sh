#!/usr/bin/env bash
# The page's figures: download size, time to the first picture and pictures a
# second (from the browser test), and the cave and fireworks frame times
# inside the page (page_frames, the page's clock) beside the native ones
# (bench_frame_bench, from scripts/test.sh's build).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
scripts/web.sh
export NODE_PATH="/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}"
cmake --build --preset web -j"${QM_JOBS:-2}" --target page_frames
cp -p build/web-build/bin/page_frames.js build/web-build/bin/page_frames.wasm build/web/
echo "Download: $(du -cb build/web/Quillmere.js build/web/Quillmere.wasm build/web/*.bmp | tail -1 | cut -f1) bytes" \
     "(.wasm $(stat -c %s build/web/Quillmere.wasm), .js $(stat -c %s build/web/Quillmere.js)," \
     "pictures $(du -cb build/web/*.bmp | tail -1 | cut -f1))"
python3 tests/browser/page_frames.py build/web
if [ -x build/default/bin/bench_frame_bench ]; then
  (cd build/default/bin && ./bench_frame_bench --benchmark_filter='Cave|Fireworks' --benchmark_repetitions=5 \
     --benchmark_report_aggregates_only=true | grep -E "median|^BM")
fi
