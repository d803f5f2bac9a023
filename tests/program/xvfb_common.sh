# Shared by the Xvfb tests: skip and fail, a private Xvfb of a given size, and
# measures of screenshot regions (ImageMagick). Source it; set outdir first.

skip() { echo "SKIP: $*"; exit 77; }
fail() {
    echo "FAIL: $*"
    if [ -s "$outdir/program.err" ]; then echo "--- program's stderr:"; tail -n 40 "$outdir/program.err"; fi
    if [ -s "$outdir/xvfb.log" ]; then echo "--- Xvfb's log:"; tail -n 20 "$outdir/xvfb.log"; fi
    exit 1
}

colours() {  # file w h x y: distinct colours in the region
    convert "$1" -crop "${2}x${3}+${4}+${5}" +repage -format '%k' info:
}
lit() {  # file w h x y: share of the region's pixels brighter than 4%
    convert "$1" -crop "${2}x${3}+${4}+${5}" +repage -colorspace Gray -threshold 4% -format '%[fx:mean]' info:
}
mean() {  # file w h x y
    convert "$1" -crop "${2}x${3}+${4}+${5}" +repage -colorspace Gray -format '%[fx:mean]' info:
}
count_colour() {  # file colour [fuzz]
    convert "$1" -fuzz "${3:-0}" -fill black +opaque "$2" -fill white -opaque "$2" -colorspace Gray \
        -format '%[fx:round(mean*w*h)]' info:
}
ge() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a >= b) }'; }

require_tools() {
    for tool in Xvfb xdotool import convert; do
        command -v "$tool" >/dev/null 2>&1 ||
            skip "$tool is missing; scripts/deps.sh test installs xvfb, xdotool and imagemagick"
    done
}

# shellcheck source=../../scripts/lib/xvfb.sh
. "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib/xvfb.sh"
program_pid=""
stop_program() {
    if [ -n "$program_pid" ] && kill -0 "$program_pid" 2>/dev/null; then
        kill "$program_pid" 2>/dev/null
        sleep 0.5
        kill -9 "$program_pid" 2>/dev/null
    fi
    [ -n "$program_pid" ] && wait "$program_pid" 2>/dev/null
    program_pid=""
}
xvfb_cleanup() {
    stop_program
    xvfb_stop
}
trap xvfb_cleanup EXIT
trap 'exit 1' INT TERM

start_xvfb() {  # WIDTH HEIGHT
    xvfb_start "${1}x${2}x24" "$outdir/xvfb.log" || fail "Xvfb did not start"  # fail shows its log
    unset WAYLAND_DISPLAY QUILLMERE_HEADLESS
    echo "Xvfb on $DISPLAY"
}

alive() { kill -0 "$program_pid" 2>/dev/null; }

# Starts PROGRAM in WORKDIR with the options given and waits for its window
# "Quillmere Demo"; sets $window.
start_program() {  # PROGRAM WORKDIR [OPTION...]
    local program=$1 workdir=$2
    shift 2
    (cd "$workdir" && exec "$program" "$@") >"$outdir/program.out" 2>"$outdir/program.err" &
    program_pid=$!
    window=""
    for _ in $(seq 200); do
        window=$(xdotool search --name '^Quillmere Demo$' 2>/dev/null | head -n 1)
        [ -n "$window" ] && break
        alive || fail "the program ended before its window appeared"
        sleep 0.1
    done
    [ -n "$window" ] || fail "no window named \"Quillmere Demo\" within 20 s"
    grep -q "running headless" "$outdir/program.err" && fail "the program fell back to headless"
    echo "window $window is up ($*)"
}
