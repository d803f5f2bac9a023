#!/usr/bin/env bash
# Cross-builds Quillmere.exe for 64-bit Windows (preset `windows`, mingw-w64 and
# the SDK headers it ships) and checks what the .exe carries: it imports system
# DLLs only, among them the six the demo calls, and holds the icon resource 101.
# Set QM_WERROR=ON to treat warnings as errors (CI does).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
# The build set brings cmake, ninja and the host compiler with libpng, which the
# asset generator needs: it runs on the build machine.
scripts/deps.sh build windows

fail() { echo "windows.sh: $*" >&2; exit 1; }

# The demo's sources are the same on every host (no conditional compilation),
# and their includes point down the layers.
scripts/check-sources.sh || fail "the demo's sources break their rules (above)"

cmake --preset windows -DQM_WERROR="${QM_WERROR:-OFF}" >/dev/null
cmake --build --preset windows

bin=build/windows/bin
exe="$bin/Quillmere.exe"
for file in "$exe" "$bin/bckgnd.bmp" "$bin/Sprites.bmp" "$bin/MsgWnd.bmp"; do
  [ -s "$file" ] || fail "$file was not built"
done

# Imports: only DLLs every Windows has. A libstdc++, libgcc or winpthread DLL here
# means the runtime was not linked statically.
imports=$(x86_64-w64-mingw32-objdump -p "$exe" | awk '/DLL Name:/ { print toupper($3) }' | sort -u)
echo "Quillmere.exe imports:" $imports
for dll in $imports; do
  case "$dll" in
    KERNEL32.DLL | USER32.DLL | GDI32.DLL | DDRAW.DLL | MSIMG32.DLL | WINMM.DLL | MSVCRT.DLL) ;;
    UCRTBASE.DLL | API-MS-WIN-CRT-*.DLL) ;;
    *) fail "imports $dll, which is not a system DLL" ;;
  esac
done
for dll in DDRAW.DLL GDI32.DLL MSIMG32.DLL WINMM.DLL USER32.DLL KERNEL32.DLL; do
  grep -qx "$dll" <<<"$imports" || fail "does not import $dll"
done

# The window class loads its icon as resource 101: a group icon with that number.
python3 - "$exe" <<'EOF' || fail "has no icon resource 101"
import struct, sys

data = open(sys.argv[1], "rb").read()
pe = struct.unpack_from("<I", data, 0x3C)[0]
sections, optional_size = struct.unpack_from("<H", data, pe + 6)[0], struct.unpack_from("<H", data, pe + 20)[0]
table = pe + 24 + optional_size
rsrc = None
for i in range(sections):
    name, _, rva, _, raw = struct.unpack_from("<8sIIII", data, table + 40 * i)
    if name.rstrip(b"\0") == b".rsrc":
        rsrc = raw
if rsrc is None:
    sys.exit(1)

def ids(directory):
    named, numbered = struct.unpack_from("<HH", data, rsrc + directory + 12)
    entries = rsrc + directory + 16
    for i in range(named, named + numbered):
        ident, offset = struct.unpack_from("<II", data, entries + 8 * i)
        yield ident, offset & 0x7FFFFFFF

RT_GROUP_ICON = 14
groups = [offset for ident, offset in ids(0) if ident == RT_GROUP_ICON]
sys.exit(0 if groups and 101 in [ident for ident, _ in ids(groups[0])] else 1)
EOF
echo "Built $root/$exe with bckgnd.bmp, Sprites.bmp and MsgWnd.bmp beside it"
