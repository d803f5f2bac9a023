#!/usr/bin/env bash
# Runs a short headless demo (about 4 seconds of demo time that touches every
# feature) under valgrind memcheck, with the default build. Any memory error
# or leak fails it.
#   scripts/valgrind.sh
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
scripts/deps.sh build valgrind
cmake --preset default >/dev/null
cmake --build --preset default --target Quillmere assets

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# Walk, jump, new palettes, the read-out, both minimaps, the centre animation,
# fades, a new cave, fireworks, lost surfaces, a switch away and back, and the
# quit prompt answered no, then yes.
cat >"$work/short.script" <<'EOF'
100 press F1
150 press F3
200 down Right
500 up Right
520 down Up
700 up Up
720 press Shift
740 press Ctrl
800 press Space
900 press 1
950 press 2
1000 press F4
1100 press F2
1150 press F2
1200 press F6
1300 down Shift
1500 up Shift
1600 press F6
1700 press F8
2000 press F7
2100 press F5
2300 press F9
2600 press F9
2700 lose
2800 deactivate
2900 activate
3000 press Esc
3100 answer no
3300 capture end.png
3400 press Esc
3500 answer yes
4000 end
EOF

cd build/default/bin   # the program reads its pictures from the current folder
valgrind --tool=memcheck --error-exitcode=1 --leak-check=full \
  --show-leak-kinds=definite,indirect,possible --errors-for-leak-kinds=definite,indirect,possible \
  --track-origins=yes --quiet \
  ./Quillmere --headless --script "$work/short.script" --shots "$work" --report "$work/report.txt"
grep -q '^exit	0$' "$work/report.txt" || { echo "valgrind.sh: the run did not end with exit code 0" >&2; cat "$work/report.txt" >&2; exit 1; }
grep -q '^box	.*	Keyboard	' "$work/report.txt" || { echo "valgrind.sh: the quit prompt never showed" >&2; exit 1; }
echo "valgrind.sh: clean ($(grep '^presents' "$work/report.txt" | cut -f2) presents, ended at $(grep '^clock' "$work/report.txt" | cut -f2) ms)"
