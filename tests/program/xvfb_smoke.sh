#!/usr/bin/env bash
# Runs a program in a real X window under Xvfb and drives it with real key
# presses: the picture must fill the screen's height, 4:3 and centred with
# black bars (the default scaling), F12 must save a screenshot and say so on
# stderr, Esc must bring up the Yes/No box over the dimmed picture, and Y must
# end the program with exit code 0. The screenshots stay in OUTDIR to be
# looked at.
#
#   xvfb_smoke.sh PROGRAM WORKDIR OUTDIR
#
# PROGRAM runs in WORKDIR (where its picture files are). Exits 77 (skipped)
# when Xvfb, xdotool or ImageMagick is missing.
set -u

program=$1
workdir=$2
outdir=$3
screen_w=1280
screen_h=800
# The 640 x 480 picture on a 1280 x 800 screen: 1066 x 800, centred. The
# checks keep 2 pixels off its edges, where the smooth step mixes in the bars.
pic_w=$(( screen_h * 4 / 3 ))
pic_h=$screen_h
pic_x=$(( (screen_w - pic_w) / 2 ))
pic_y=0

# shellcheck source=xvfb_common.sh
. "$(dirname "$0")/xvfb_common.sh"

require_tools
[ -x "$program" ] || fail "no program at $program"

mkdir -p "$outdir"
rm -f "$outdir"/*.png "$outdir"/program.out "$outdir"/program.err

start_xvfb $screen_w $screen_h
start_program "$program" "$workdir"

sleep 3  # the fade in
alive || fail "the program ended during the fade in"

xdotool key F1
xdotool keydown Right; sleep 0.4; xdotool keyup Right
xdotool keydown Up; sleep 0.4; xdotool keyup Up
xdotool key F12
sleep 0.5
alive || fail "the program ended after the first keys"
import -window root "$outdir/running.png" || fail "no screenshot of the running program"
# F12's picture goes into the program's folder; it is moved beside the others.
shot=$(sed -n 's/^Quillmere: Screenshot saved: //p' "$outdir/program.err" | head -n 1)
if [ -n "$shot" ]; then
    case "$shot" in /*) ;; *) shot="$workdir/$shot" ;; esac
    mv "$shot" "$outdir/f12.png" || fail "F12's screenshot $shot is missing"
    size=$(convert "$outdir/f12.png" -format '%wx%h' info:)
    [ "$size" = "640x480" ] || fail "F12's screenshot is $size, not 640x480"
else
    fail "F12 saved no screenshot"
fi

inner="$((pic_w - 4)) $((pic_h - 4)) $((pic_x + 2)) $((pic_y + 2))"
# shellcheck disable=SC2086
distinct=$(colours "$outdir/running.png" $inner)
# shellcheck disable=SC2086
shown=$(lit "$outdir/running.png" $inner)
echo "picture: $distinct colours, $shown of it not black"
ge "$distinct" 32 || fail "the picture has only $distinct colours"
ge "$shown" 0.25 || fail "the picture is mostly black ($shown of it lit)"
# The bars' top three quarters: F12's message sits at the bottom left.
for bar in "$((pic_x - 1)) $((screen_h * 3 / 4)) 0 0" "$((pic_x - 1)) $((screen_h * 3 / 4)) $((pic_x + pic_w + 1)) 0"; do
    # shellcheck disable=SC2086
    bright=$(mean "$outdir/running.png" $bar)
    ge 0 "$bright" || fail "the bar at $bar is not black (mean $bright): the picture is not centred"
done

# The picture's bottom rows: below the centred box and the program's own prompt.
bottom="$((pic_w - 4)) $((pic_h / 5)) $((pic_x + 2)) $((pic_y + pic_h * 4 / 5 - 2))"
# shellcheck disable=SC2086
before=$(mean "$outdir/running.png" $bottom)
xdotool key Escape
sleep 1
alive || fail "the program ended at Esc instead of asking"
import -window root "$outdir/prompt.png" || fail "no screenshot of the prompt"
face=$(count_colour "$outdir/prompt.png" 'rgb(212,208,200)')
title=$(count_colour "$outdir/prompt.png" 'rgb(10,36,106)' 12%)  # its dark end: the caption runs to light blue
# shellcheck disable=SC2086
after=$(mean "$outdir/prompt.png" $bottom)
echo "prompt: box face $face pixels, title bar $title pixels; picture's bottom brightness $before -> $after"
ge "$face" 5000 || fail "no message box in the picture ($face pixels of its face)"
ge "$title" 2000 || fail "the message box has no title bar ($title pixels)"
ge "$(awk -v b="$before" 'BEGIN { print b * 0.75 }')" "$after" || fail "the picture behind the box is not dimmed"

xdotool key y
for _ in $(seq 150); do
    alive || break
    sleep 0.1
done
alive && fail "the program still runs 15 s after Y"
wait "$program_pid"
code=$?
program_pid=""
[ "$code" -eq 0 ] || fail "exit code $code after Y"
echo "PASS: screenshots in $outdir"
