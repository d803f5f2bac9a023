#!/usr/bin/env bash
# `cmake --install` into a fresh prefix: the program, its three pictures in the
# data folder, the man page, the icon and a desktop entry that
# desktop-file-validate accepts; then the installed program, started from a
# folder without pictures, finds them and runs its script headless to the end.
#
#   install_test.sh BUILD_DIR
set -u
build=$1
prefix=$(mktemp -d /tmp/qm-install.XXXXXX)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

cmake --install "$build" --prefix "$prefix" >"$prefix.log" 2>&1 || { cat "$prefix.log"; fail "cmake --install"; }
rm -f "$prefix.log"
for file in bin/Quillmere share/quillmere/bckgnd.bmp share/quillmere/Sprites.bmp share/quillmere/MsgWnd.bmp \
            share/man/man6/Quillmere.6 share/icons/hicolor/48x48/apps/quillmere.png \
            share/applications/quillmere.desktop; do
  [ -s "$prefix/$file" ] || fail "$file is not installed"
done
command -v desktop-file-validate >/dev/null || fail "desktop-file-validate is missing (scripts/deps.sh test)"
desktop-file-validate "$prefix/share/applications/quillmere.desktop" || fail "the desktop entry does not validate"
grep -q '^Exec=Quillmere$' "$prefix/share/applications/quillmere.desktop" || fail "the entry does not start the program"
if command -v man >/dev/null; then
  man -l "$prefix/share/man/man6/Quillmere.6" 2>&1 | grep -q 'QUILLMERE(6)' || fail "the man page does not render"
fi

# Moved as a whole, the tree still works: the pictures are found relative to the program.
mv "$prefix" "$prefix.moved" && prefix="$prefix.moved"
run=$(mktemp -d /tmp/qm-installed-run.XXXXXX)
trap 'rm -rf "$prefix" "$run"' EXIT
printf '300 press F1\n600 capture shot.png\n900 end\n' >"$run/run.script"
(cd "$run" && QUILLMERE_HEADLESS=1 "$prefix/bin/Quillmere" --script run.script --report report.txt) \
  >"$run/out" 2>"$run/err"
status=$?
[ "$status" -eq 0 ] || { cat "$run/err"; fail "the installed program exited with $status"; }
grep -q "reading them from $prefix/share/quillmere" "$run/err" || { cat "$run/err"; fail "no note of the data folder"; }
grep -q '^box' "$run/report.txt" && { cat "$run/report.txt"; fail "the installed program showed a box"; }
[ -s "$run/shot.png" ] || fail "no capture in the folder it was started from"
echo "installed into $prefix and ran from $run"
