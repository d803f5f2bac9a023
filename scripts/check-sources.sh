#!/usr/bin/env bash
# Checks two rules of the demo's sources (src/) that the compilers cannot see:
# - no conditional compilation: the sources are the same on every host, and host
#   differences belong in the build files or platform/;
# - includes point down the layers only, app -> actors -> world -> assets ->
#   display (-> the Win32 headers): a file may include its own layer and those
#   below it, and every layer may include the clock and random source,
#   app/clock.h. Quoted includes name a layer's folder, never platform/.
# Prints each offending line and exits 1 when there is one.
set -euo pipefail
cd "$(dirname "$0")/.."

failed=0
if grep -rnE '^[[:space:]]*#[[:space:]]*(if|ifdef|ifndef|elif)\b' src --include='*.cpp' --include='*.h'; then
  echo "check-sources.sh: conditional compilation in the demo's sources (above)" >&2
  failed=1
fi

# The layers from the bottom up; main.cpp, the thin program, sits on top.
rank() {
  case "$1" in
    display) echo 1 ;; assets) echo 2 ;; world) echo 3 ;; actors) echo 4 ;; app) echo 5 ;; main) echo 6 ;;
    *) echo 0 ;;
  esac
}

while IFS= read -r -d '' file; do
  relative=${file#src/}
  layer=main
  [[ $relative == */* ]] && layer=${relative%%/*}
  from=$(rank "$layer")
  while IFS=: read -r line included; do
    [[ $included == app/clock.h ]] && continue
    target=${included%%/*}
    to=$(rank "$target")
    if [[ $included != */* || $to -eq 0 ]]; then
      echo "$file:$line: includes \"$included\", which is not in a layer's folder" >&2
      failed=1
    elif ((to > from)); then
      echo "$file:$line: $layer/ includes \"$included\", a layer above it" >&2
      failed=1
    fi
  done < <(grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file" |
    sed -E 's/^([0-9]+):[^"]*"([^"]*)".*/\1:\2/')
done < <(find src \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z)

if ((failed)); then
  echo "check-sources.sh: the demo's sources break the rules above" >&2
  exit 1
fi
echo "check-sources.sh: no conditional compilation, every include points down the layers"
