#!/usr/bin/env bash
# Frame costs of the whole program, headless, with the default build:
#   - instructions per frame of the cave frame (read-out, centre animation,
#     translucent minimap) and the fireworks frame (2000 particles, both
#     smoothing passes, palette dots), under callgrind: the difference between
#     a short and a long run of the same script, divided by the difference of
#     their frame counts (drawPass calls), so start-up and shutdown cancel out;
#   - best and median times of the frame benchmark (bench_frame_bench) and of
#     the BlendTable build (bench_blend_table_bench) over repeated runs.
#   scripts/bench.sh                 # both
#   scripts/bench.sh instructions    # callgrind only
#   scripts/bench.sh times           # the benchmarks only
# QM_BENCH_SHORT / QM_BENCH_LONG: the two run lengths in ms (4000 / 5000: the
# fade-in of the first three seconds is over, so both measure steady frames);
# QM_BENCH_REPS: benchmark repetitions (8); QM_BENCH_KEEP=DIR keeps the
# callgrind profiles of the long runs in DIR (callgrind_annotate reads them);
# QM_BENCH_PROFILE=N prints each scene's N costliest functions per frame (the
# same difference, function by function; QM_BENCH_INCLUSIVE=yes counts callees).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
what="${1:-all}"
short="${QM_BENCH_SHORT:-4000}"
long="${QM_BENCH_LONG:-5000}"
reps="${QM_BENCH_REPS:-8}"

case "$what" in
  all|instructions|times) ;;
  *) echo "bench.sh: unknown part '$what' (all, instructions or times)" >&2; exit 2 ;;
esac
[ "$long" -gt "$short" ] || { echo "bench.sh: QM_BENCH_LONG must exceed QM_BENCH_SHORT" >&2; exit 2; }

scripts/deps.sh build test bench
cmake --preset default >/dev/null
cmake --build --preset default --target Quillmere assets bench_frame_bench bench_blend_table_bench >/dev/null

work="$(mktemp -d)"
[ -n "${QM_BENCH_DEBUG:-}" ] || trap 'rm -rf "$work"' EXIT
bin="$root/build/default/bin"

# Total instructions and drawPass calls of one headless run under callgrind.
# The output names each function once with its number, "fn=(N) name" or
# "cfn=(N) name", and afterwards by the number alone; "calls=C ..." follows
# each call site, after the "cfn=" line of the function called.
measure() {  # scene keys end_ms -> "instructions frames"
  local scene="$1" keys="$2" end="$3" out="$work/$1.$3.callgrind"
  { for key in $keys; do echo "0 press $key"; done; echo "$end end"; } >"$work/$scene.$end.script"
  (cd "$bin" && valgrind --tool=callgrind --callgrind-out-file="$out" --quiet \
      ./Quillmere --headless --script "$work/$scene.$end.script" >/dev/null)
  awk '
    /^summary:/ { total = $2 }
    /^c?fn=/ {
      id = $1; sub(/^c?fn=/, "", id)
      if ($2 == "drawPass()") draw = id
      counting = /^cfn=/ && id == draw
    }
    /^calls=/ && counting { split($1, c, "="); frames += c[2]; counting = 0 }
    END { print total, frames }' "$out"
}

# The costliest functions per frame: each function's count in the long run
# less that in the short run, over the frames between them.
profile() {  # scene frames
  local scene="$1" frames="$2" inclusive="${QM_BENCH_INCLUSIVE:-no}"
  for end in "$short" "$long"; do
    callgrind_annotate --auto=no --inclusive="$inclusive" --threshold=100 --show-percs=no \
      "$work/$scene.$end.callgrind" 2>/dev/null | sed -n '/^Ir *file:function/,$p' | tail -n +3 >"$work/$scene.$end.functions"
  done
  awk -v frames="$frames" '
    function key(line) { sub(/^ *[0-9,]+ +/, "", line); sub(/ \[[^]]*\]$/, "", line); return line }
    function count(line) { sub(/^ */, "", line); sub(/ .*/, "", line); gsub(/,/, "", line); return line + 0 }
    FNR == NR { before[key($0)] += count($0); next }
    { after[key($0)] += count($0) }
    END {
      for (k in after) printf "%12.0f  %s\n", (after[k] - before[k]) / frames, k
    }' "$work/$scene.$short.functions" "$work/$scene.$long.functions" | sort -rn | awk -v top="$QM_BENCH_PROFILE" 'NR <= top' |
    sed -E 's#[^ ]*build/default/\.\./\.\./##'
}

instructions() {
  printf '%-10s %14s %8s %16s\n' scene instructions frames "per frame"
  for entry in "cave:F1 F3" "fireworks:F9 F1"; do
    local scene="${entry%%:*}" keys="${entry#*:}"
    read -r shortTotal shortFrames < <(measure "$scene" "$keys" "$short")
    read -r longTotal longFrames < <(measure "$scene" "$keys" "$long")
    local frames=$((longFrames - shortFrames))
    [ "$frames" -gt 0 ] || { echo "bench.sh: no frames counted for $scene" >&2; exit 1; }
    awk -v s="$scene" -v d=$((longTotal - shortTotal)) -v f="$frames" \
      'BEGIN { printf "%-10s %14d %8d %14.3f M\n", s, d, f, d / f / 1e6 }'
    [ -z "${QM_BENCH_PROFILE:-}" ] || profile "$scene" "$frames"
    if [ -n "${QM_BENCH_KEEP:-}" ]; then
      mkdir -p "$QM_BENCH_KEEP" && cp "$work/$scene.$long.callgrind" "$QM_BENCH_KEEP/$scene.callgrind"
    fi
  done
}

# Best and median of each benchmark's repetitions (real time, in its own unit).
times() {
  local program filter
  for entry in "bench_frame_bench:." "bench_blend_table_bench:BM_BlendTableBackground"; do
    program="${entry%%:*}" filter="${entry#*:}"
    (cd "$bin" && "./$program" --benchmark_filter="$filter" --benchmark_repetitions="$reps" \
        --benchmark_report_aggregates_only=false --benchmark_format=json 2>/dev/null) >"$work/$program.json"
    jq -r '.benchmarks | map(select(.run_type == "iteration")) | group_by(.run_name)[]
      | (map(.real_time) | sort) as $t
      | ($t | length) as $n
      | (if $n % 2 == 1 then $t[($n - 1) / 2] else ($t[$n / 2 - 1] + $t[$n / 2]) / 2 end) as $median
      | [.[0].run_name, $t[0], $median, .[0].time_unit] | @tsv' "$work/$program.json" |
      while IFS=$'\t' read -r name best median unit; do
        printf '%-32s best %10.4f %s   median %10.4f %s\n' "$name" "$best" "$unit" "$median" "$unit"
      done
  done
}

[ "$what" = times ] || instructions
[ "$what" = instructions ] || times
