#!/usr/bin/env bash
# Builds the demo for a web page (preset `web`, Debian's emscripten) into
# build/web/: index.html, Quillmere.js, Quillmere.wasm and the three pictures,
# which the asset generator, built for this machine, draws. Serve it with
#   python3 -m http.server -d build/web
# and open http://localhost:8000/ (add ?tour for the built-in tour).
# Set QM_WERROR=ON to treat warnings as errors (CI does).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
# The build set brings cmake, ninja and the host compiler with libpng and the
# fonts, which the asset generator and the font converter need.
scripts/deps.sh build web

# emscripten's tools run under whichever node is first on the PATH; Debian's
# acorn (node-acorn) is found only through NODE_PATH when that node is not Debian's.
export NODE_PATH="/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}"
# emscripten keeps its cache of system libraries in a folder of its own when
# the installed one cannot be written.
[ -w /usr/share/emscripten/cache ] || export EM_CACHE="$root/build/emscripten-cache"

cmake --preset web -DQM_WERROR="${QM_WERROR:-OFF}" >/dev/null
cmake --build --preset web -j"${QM_JOBS:-2}" --target Quillmere

out=build/web
mkdir -p "$out"
for file in index.html Quillmere.js Quillmere.wasm bckgnd.bmp Sprites.bmp MsgWnd.bmp; do
  [ -s "build/web-build/bin/$file" ] || { echo "web.sh: build/web-build/bin/$file was not built" >&2; exit 1; }
  cp -p "build/web-build/bin/$file" "$out/"
done
echo "Built $root/$out: serve it with  python3 -m http.server -d $out"
