#!/usr/bin/env bash
# Builds the picture-loader fuzz target with clang (libFuzzer, ASan, UBSan) in
# build/fuzz and runs it, starting from the seeds in fuzz/corpus.
#   scripts/fuzz.sh [seconds]     default 60
# What it finds is left in build/fuzz/findings (crash-*, leak-*, timeout-*); the
# inputs it grows go to build/fuzz/corpus, never into the repository's seeds.
# Exits non-zero when the target crashes, leaks, hangs or breaks a promise.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
seconds="${1:-60}"
scripts/deps.sh fuzz

build=build/fuzz
cmake -S fuzz -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQM_WERROR="${QM_WERROR:-OFF}" >/dev/null
cmake --build "$build" -j 2

mkdir -p "$build/corpus" "$build/findings"
# -rss_limit_mb: the loader may ask for a whole 16384 x 16384 picture before it
# finds the file short; that is allowed, anything far beyond it is not.
status=0
"$build/bitmap_fuzzer" \
  -max_total_time="$seconds" -timeout=10 -rss_limit_mb=1536 -max_len=4096 \
  -print_final_stats=1 -artifact_prefix="$build/findings/" \
  "$build/corpus" fuzz/corpus >"$build/last-run.log" 2>&1 || status=$?
grep -E '^(#[0-9]+[[:space:]]+(INITED|DONE)|stat::|==[0-9]+==|SUMMARY|bitmap_fuzzer:)' "$build/last-run.log" || true
if [ "$status" -ne 0 ]; then
  tail -n 40 "$build/last-run.log" >&2
  echo "fuzz.sh: the fuzzer stopped with status $status; see $build/last-run.log and $build/findings" >&2
  exit "$status"
fi
