#!/usr/bin/env bash
# What the demo costs in a real window: it runs full screen under Xvfb, in the
# cave and in fireworks (F9), on a 640 x 480 and a 1920 x 1080 screen, and this
# prints the share of one core it used (its own CPU time, from /proc, over
# SECONDS after the fade in) and its resident memory at the end. Each figure
# is the median of RUNS runs. The same scenes run headless as well, on the
# virtual clock, which gives the demo's own frames without any presentation
# (its start-up left out): the difference is what showing the pictures, and
# waiting for the next frame in real time, cost.
#
#   scripts/window-cost.sh [SECONDS] [RUNS] [PROGRAM]
#
# SECONDS defaults to 15, RUNS to 3, PROGRAM to build/default/bin/Quillmere (it
# runs in its own folder, beside its pictures). Extra options for the program
# can be given in QM_COST_OPTIONS (for example "--scale integer"), and
# QUILLMERE_PRESENT=software|gpu picks the window's presenter.
# Needs Xvfb and xdotool (scripts/deps.sh test installs them).
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
seconds=${1:-15}
runs=${2:-3}
program=$(realpath "${3:-$root/build/default/bin/Quillmere}")
options=${QM_COST_OPTIONS:-}
workdir=$(dirname "$program")
settle=4  # the fade in, and fireworks getting going
ticks=$(getconf CLK_TCK)

for tool in Xvfb xdotool; do
    command -v "$tool" >/dev/null || { echo "window-cost: $tool is missing (scripts/deps.sh test)" >&2; exit 1; }
done
[ -x "$program" ] || { echo "window-cost: no program at $program (build it first)" >&2; exit 1; }

scratch=$(mktemp -d)
# shellcheck source=lib/xvfb.sh
. "$root/scripts/lib/xvfb.sh"
demo_pid=""
cleanup() {
    [ -n "$demo_pid" ] && kill "$demo_pid" 2>/dev/null && wait "$demo_pid" 2>/dev/null
    xvfb_stop
    rm -rf "$scratch"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

printf '' >"$scratch/cave.script"
printf '1000 press F9\n' >"$scratch/fireworks.script"

cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }  # utime + stime
rss_mb() { awk '/^VmRSS:/ { printf "%.0f", $2 / 1024 }' "/proc/$1/status"; }
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

start_xvfb() {  # WIDTHxHEIGHT
    xvfb_start "${1}x24" "$scratch/xvfb.log" ||
        { echo "window-cost: Xvfb did not start" >&2; cat "$scratch/xvfb.log" >&2; exit 1; }
}

# One run in the window: prints "CPU% RSS_MB".
window_run() {  # SCENE
    # shellcheck disable=SC2086
    (cd "$workdir" && exec "$program" --script "$scratch/$1.script" $options) >"$scratch/out" 2>"$scratch/err" &
    demo_pid=$!
    sleep "$settle"
    kill -0 "$demo_pid" 2>/dev/null || { echo "window-cost: the demo ended early:" >&2; cat "$scratch/err" >&2; exit 1; }
    grep -q "running headless" "$scratch/err" && { echo "window-cost: no window (fell back to headless)" >&2; exit 1; }
    local t0 w0 t1 w1 rss
    t0=$(cpu_ticks "$demo_pid")
    w0=$(date +%s.%N)
    sleep "$seconds"
    t1=$(cpu_ticks "$demo_pid")
    w1=$(date +%s.%N)
    rss=$(rss_mb "$demo_pid")
    kill "$demo_pid"
    wait "$demo_pid" 2>/dev/null || true
    demo_pid=""
    awk -v t="$((t1 - t0))" -v hz="$ticks" -v w0="$w0" -v w1="$w1" -v rss="$rss" \
        'BEGIN { printf "%.1f %s\n", 100 * t / hz / (w1 - w0), rss }'
}

# The same scene headless: the demo's frames alone, as a share of a core per
# second of (virtual) time. A run of the start alone is taken off a run of the
# start and the measured seconds, so that start-up is not counted.
headless_cpu_ticks() {  # SCENE LENGTH_MS: the CPU ticks of one headless run
    { cat "$scratch/$1.script"; echo "$2 end"; } >"$scratch/$1-headless.script"
    local me=$BASHPID before after  # the shell that runs this, and reaps the program
    before=$(awk '{ print $16 + $17 }' "/proc/$me/stat")
    (cd "$workdir" && "$program" --headless --script "$scratch/$1-headless.script" >/dev/null 2>&1) || true
    # Children's times arrive in our cutime/cstime once the child is reaped.
    after=$(awk '{ print $16 + $17 }' "/proc/$me/stat")
    echo $((after - before))
}
headless_run() {  # SCENE
    local start whole
    start=$(headless_cpu_ticks "$1" $((settle * 1000)))
    whole=$(headless_cpu_ticks "$1" $(((settle + seconds) * 1000)))
    awk -v t="$((whole - start))" -v hz="$ticks" -v s="$seconds" 'BEGIN { printf "%.1f\n", 100 * t / hz / s }'
}

echo "Quillmere window cost: $seconds s per run after a ${settle} s start, median of $runs runs"
echo "program: $program $options"
printf '%-11s %-10s %10s %10s %14s\n' screen scene "CPU %" "RSS MB" "frames CPU %"
for screen in 640x480 1920x1080; do
    start_xvfb "$screen"
    for scene in cave fireworks; do
        : >"$scratch/cpu"
        : >"$scratch/rss"
        : >"$scratch/frames"
        for _ in $(seq "$runs"); do
            window_run "$scene" >"$scratch/result"
            read -r cpu rss <"$scratch/result"
            echo "$cpu" >>"$scratch/cpu"
            echo "$rss" >>"$scratch/rss"
            headless_run "$scene" >>"$scratch/frames"
        done
        printf '%-11s %-10s %10s %10s %14s\n' "$screen" "$scene" "$(median <"$scratch/cpu")" \
            "$(median <"$scratch/rss")" "$(median <"$scratch/frames")"
    done
    xvfb_stop
done
