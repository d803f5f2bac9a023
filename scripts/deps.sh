#!/usr/bin/env bash
# Makes sure the Debian packages a step needs are installed.
#   scripts/deps.sh build|test|asan|windows|wine|fuzz|valgrind|web ...
# As root it installs what is missing; otherwise it prints the apt-get line and fails.
set -euo pipefail

packages_for() {
  case "$1" in
    build) echo "cmake ninja-build g++ pkg-config libsdl2-dev libpng-dev libgif-dev unifont xfonts-base" ;;
    test) echo "libgtest-dev libgmock-dev libbenchmark-dev xvfb xdotool imagemagick desktop-file-utils" ;;
    asan) echo "" ;;
    windows) echo "g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 googletest" ;;
    wine) echo "wine wine64 fonts-wine fonts-unifont fonts-arphic-uming libxrandr2 xvfb xdotool imagemagick" ;;
    fuzz) echo "clang libclang-rt-14-dev" ;;
    valgrind) echo "valgrind" ;;
    bench) echo "valgrind jq" ;;
    web) echo "emscripten node-acorn binaryen chromium python3" ;;
    *) echo "deps.sh: unknown package set '$1'" >&2; exit 2 ;;
  esac
}

wanted=()
for set in "$@"; do
  for p in $(packages_for "$set"); do wanted+=("$p"); done
done

missing=()
for p in "${wanted[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "Missing Debian packages. Install them with:" >&2
  echo "  sudo apt-get install -y ${missing[*]}" >&2
  exit 1
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
