#!/usr/bin/env bash
# The window's scaling modes, its size, and the platform's overlay, in a real
# X window on a 1920 x 1080 Xvfb screen, with PROGRAM (window_check: colour
# bars along its top 160 rows, a grid on black below):
#   fit (default)   1440 x 1080 at x 240, black bars left and right; the
#                   same again through the GPU presenter (QUILLMERE_PRESENT=gpu)
#   --scale integer 1280 x 960 at (320, 60), black all round
#   --scale stretch the whole screen
#   --window        a window of 1280 x 960, twice the picture
#   --show-fps      the rate line in the top right corner; F12's message in
#                   the bottom left, both on the integer mode's black bars
# The screenshots stay in OUTDIR to be looked at.
#
#   xvfb_modes.sh PROGRAM WORKDIR OUTDIR
set -u

program=$1
workdir=$2
outdir=$3
# shellcheck source=xvfb_common.sh
. "$(dirname "$0")/xvfb_common.sh"

require_tools
[ -x "$program" ] || fail "no program at $program"
mkdir -p "$outdir"
rm -f "$outdir"/*.png

shoot() {  # NAME: the screen, once the picture is up (a loaded machine may take seconds)
    sleep 1
    for _ in $(seq 30); do
        alive || fail "the program ended"
        import -window root "$outdir/$1.png" || fail "no screenshot $1"
        if ge "$(lit "$outdir/$1.png" 1920 1080 0 0)" 0.1; then
            sleep 0.5  # one more picture, so that what is checked has settled
            import -window root "$outdir/$1.png" || fail "no screenshot $1"
            return
        fi
        sleep 0.5
    done
    fail "$1: nothing on the screen within 16 s"
}
dark() {  # NAME w h x y
    local m
    m=$(mean "$outdir/$1.png" "$2" "$3" "$4" "$5")
    ge 0.01 "$m" || fail "$1: the region ${2}x${3}+${4}+${5} should be black (mean $m)"
}
bright() {  # NAME w h x y
    local share
    share=$(lit "$outdir/$1.png" "$2" "$3" "$4" "$5")
    ge "$share" 0.9 || fail "$1: the region ${2}x${3}+${4}+${5} should be the colour bars ($share lit)"
}
some_lit() {  # NAME w h x y
    local share
    share=$(lit "$outdir/$1.png" "$2" "$3" "$4" "$5")
    ge "$share" 0.02 || fail "$1: nothing is drawn in the region ${2}x${3}+${4}+${5}"
}

start_xvfb 1920 1080

start_program "$program" "$workdir"
shoot fit
dark fit 236 1080 0 0
dark fit 236 1080 1684 0
bright fit 1432 200 244 4
stop_program

QUILLMERE_PRESENT=${QM_GPU_PRESENT:-gpu} start_program "$program" "$workdir"
shoot fit-gpu
dark fit-gpu 236 1080 0 0
dark fit-gpu 236 1080 1684 0
bright fit-gpu 1432 200 244 4
stop_program

start_program "$program" "$workdir" --scale integer --show-fps
shoot integer
dark integer 1280 56 320 0
dark integer 316 1000 0 0
bright integer 1272 200 324 64
some_lit integer 300 40 1620 0  # the rate line
xdotool key F12
for _ in $(seq 50); do
    grep -q "^Quillmere: Screenshot saved: " "$outdir/program.err" && break
    sleep 0.1
done
sleep 0.5
import -window root "$outdir/integer-f12.png" || fail "no screenshot after F12"
some_lit integer-f12 300 36 0 1044  # F12's message
grep -q "^Quillmere: Screenshot saved: " "$outdir/program.err" || fail "F12's message is not on stderr"
shot=$(sed -n 's/^Quillmere: Screenshot saved: //p' "$outdir/program.err" | head -n 1)
case "$shot" in /*) ;; *) shot="$workdir/$shot" ;; esac
rm -f "$shot"
stop_program

start_program "$program" "$workdir" --scale stretch
shoot stretch
bright stretch 1920 300 0 4
stop_program

start_program "$program" "$workdir" --window
shoot window
size=$(xdotool getwindowgeometry "$window" | sed -n 's/^ *Geometry: //p')
[ "$size" = "1280x960" ] || fail "the window is $size, not 1280x960"
stop_program

echo "PASS: screenshots in $outdir"
