#!/usr/bin/env bash
# The web page in a real browser: builds it (scripts/web.sh), then headless
# Chromium opens it from a server on 127.0.0.1 and plays it with real key
# events (tests/browser/page_test.py). Screenshots and the page's figures
# (time to the first picture, pictures a second) go to build/web-test/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
scripts/web.sh
rm -rf build/web-test
timeout 300 python3 tests/browser/page_test.py build/web build/web-test
