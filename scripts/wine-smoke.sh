#!/usr/bin/env bash
# Smoke test of the Windows build: starts Quillmere.exe under Wine on a virtual
# 640 x 480 x 24 X screen, checks that the cave has faded in, opens the quit
# prompt with Esc, answers it with Y and expects exit code 0. Screenshots go to
# build/windows/wine-smoke/. Build the .exe first with scripts/windows.sh.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
scripts/deps.sh wine

bin="$root/build/windows/bin"
out="$root/build/windows/wine-smoke"
for file in Quillmere.exe bckgnd.bmp Sprites.bmp MsgWnd.bmp; do
  [ -s "$bin/$file" ] || { echo "wine-smoke.sh: $bin/$file is missing; run scripts/windows.sh first" >&2; exit 1; }
done
mkdir -p "$out"
rm -f "$out"/*.png "$out"/*.log

# A private prefix in the build folder: nothing of the user's Wine is touched,
# and `wineserver -k` ends only this prefix's processes.
export WINEPREFIX="$root/build/windows/wine-prefix" WINEARCH=win64 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="  # no Mono or Gecko installer dialogs
unset WAYLAND_DISPLAY
export LC_ALL=C  # byte order for sort and comm; the program gets its own locale below

started_ms=$(date +%s%3N)
say() {
  local ms=$(($(date +%s%3N) - started_ms))
  printf '[%3d.%d s] %s\n' $((ms / 1000)) $((ms % 1000 / 100)) "$*"
}

# shellcheck source=lib/xvfb.sh
. "$root/scripts/lib/xvfb.sh"
wine_pid=""
wine_running=""
cleanup() {
  set +e
  [ -n "$wine_pid" ] && kill "$wine_pid" 2>/dev/null
  [ -n "$wine_running" ] && wineserver -k 2>/dev/null
  xvfb_stop
}
trap cleanup EXIT
trap 'exit 130' INT TERM

fail() {
  echo "wine-smoke.sh: FAILED: $*" >&2
  if [ -n "${DISPLAY:-}" ]; then import -window root "$out/failure.png" 2>/dev/null && echo "  screen: $out/failure.png" >&2; fi
  [ -s "$out/wine.log" ] && { echo "  Wine's output:" >&2; tail -n 20 "$out/wine.log" >&2; }
  exit 1
}

# wait_for <what> <seconds> <command...>: polls the command until it succeeds.
wait_for() {
  local what="$1" deadline=$((SECONDS + $2))
  shift 2
  until "$@"; do
    [ -z "$wine_pid" ] || kill -0 "$wine_pid" 2>/dev/null || fail "Quillmere.exe ended while waiting for $what"
    [ $SECONDS -lt $deadline ] || fail "no $what after waiting"
    sleep 0.25
  done
}

window_named() { xdotool search --name "$1" >/dev/null 2>&1; }

# The start-up failure box carries the failed stage's caption.
startup_failure() {
  xdotool search --name '^((CreateDirectDraw|CreateFlipSurfaces|LoadImages|DrawImageToSurfaces|CreateObjects)\(\)|Quillmere Msg Box)$' \
    getwindowname %@ 2>/dev/null
}

# The colours of the palette in "bckgnd.bmp", which the screen shows once the
# fade in has ended: #RRGGBB lines, sorted.
bmp_palette() {
  python3 - "$1" <<'EOF'
import struct, sys
data = open(sys.argv[1], "rb").read()
table = 14 + struct.unpack_from("<I", data, 14)[0]
print("\n".join(sorted({"#%02X%02X%02X" % (data[i + 2], data[i + 1], data[i]) for i in range(table, table + 1024, 4)})))
EOF
}
screen_colours() { convert "$1" -format '%c' histogram:info: | grep -oE '#[0-9A-F]{6}' | sort -u; }

# The cave on the screen, faded in: many colours, every one from the picture's
# palette, and not all black (the view may show much rock outside the cave). A
# black screen or a lone message box has a handful of colours. Prints the
# measures; succeeds when the picture passes.
picture_shows_cave() {
  local colours foreign dark
  colours=$(screen_colours "$1" | wc -l)
  foreign=$(screen_colours "$1" | comm -23 - "$out/palette.txt" | wc -l)
  dark=$(convert "$1" -colorspace Gray -threshold 8% -negate -format '%[fx:round(mean*100)]' info:)
  echo "$colours colours ($foreign not from the palette), $dark% dark"
  [ "$colours" -ge 32 ] && [ "$foreign" -eq 0 ] && [ "$dark" -le 85 ]
}
bmp_palette "$bin/bckgnd.bmp" >"$out/palette.txt"

# 1. The virtual screen, on a display number that Xvfb finds free itself.
xvfb_start 640x480x24 "$out/xvfb.log" || fail "Xvfb did not start (see $out/xvfb.log)"
say "Xvfb on $DISPLAY"

# 2. The prefix, made once per build folder. DirectDraw is told to use Wine's GDI
# renderer: the 8-bit mode is emulated either way, and this needs no OpenGL.
wine_running=1
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wineboot -i >"$out/wineboot.log" 2>&1 || fail "wineboot could not make the prefix (see $out/wineboot.log)"
  say "Wine prefix made"
fi
wine reg add 'HKCU\Software\Wine\Direct3D' /v renderer /d gdi /f >/dev/null 2>&1 || fail "cannot set Wine's renderer"
# No window manager runs on the virtual screen: Wine places its windows itself
# rather than wait two seconds for each one to be withdrawn when it closes.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || fail "cannot set Wine's window handling"
# The prompt's texts are Big5, for the ANSI code page 950 that Wine takes from a
# zh_TW locale. Its Chinese faces are not installed; Debian's Ming face of
# Taiwan (fonts-arphic-uming) stands in, with the width of a real CJK font.
for face in PMingLiU MingLiU "New MingLiU" SimSun "Microsoft JhengHei" "Microsoft JhengHei UI"; do
  wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /d "AR PL UMing TW" /f >/dev/null 2>&1 ||
    fail "cannot set Wine's font replacements"
done

# 3. The program, started in its own folder: it reads the pictures from there.
(cd "$bin" && exec env LC_ALL=zh_TW.UTF-8 wine Quillmere.exe) >"$out/wine.log" 2>&1 &
wine_pid=$!
wait_for "window \"Quillmere Demo\"" 60 window_named '^Quillmere Demo$'
say "window up"

# 4. The fade in takes about three seconds; then the cave must be on the screen.
sleep 4
deadline=$((SECONDS + 30))
while :; do
  if box=$(startup_failure); then fail "start-up failed at \"$box\""; fi
  kill -0 "$wine_pid" 2>/dev/null || fail "Quillmere.exe ended before the cave was shown"
  import -window root "$out/1-cave.png"
  if measures=$(picture_shows_cave "$out/1-cave.png"); then break; fi
  [ $SECONDS -lt $deadline ] || fail "no cave on the screen ($measures; see $out/1-cave.png)"
  sleep 1
done
say "cave shown: $measures"

# 5. Esc: the quit prompt, drawn on the screen and asked in Wine's own message box.
xdotool key Escape
wait_for "quit prompt box \"Keyboard\"" 15 window_named '^Keyboard$'
sleep 1
import -window root "$out/2-prompt.png"
say "quit prompt open"

# 6. Y answers yes; the program must end by itself with exit code 0.
xdotool key y
exit_deadline=$((SECONDS + 20))
while kill -0 "$wine_pid" 2>/dev/null; do
  [ $SECONDS -lt $exit_deadline ] || fail "Quillmere.exe still running 20 s after the quit prompt was answered yes"
  sleep 0.25
done
set +e
wait "$wine_pid"
code=$?
set -e
wine_pid=""
[ "$code" -eq 0 ] || fail "Quillmere.exe exited with code $code"
say "exited with code 0"
echo "wine-smoke: passed; screenshots in $out"
