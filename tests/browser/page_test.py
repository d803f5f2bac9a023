"""The demo's web page in a real browser: headless Chromium opens it from a
local server, gets real key events, and the canvas must show what they do.
    python3 tests/browser/page_test.py build/web OUTDIR
Saves screenshots and the page's figures (measure.json) in OUTDIR; exits 1
with the failed check."""

import functools
import http.server
import json
import os
import struct
import sys
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from devtools import Browser  # noqa: E402

# The canvas, summed up in the page: how many pixels of each colour.
CANVAS_COLOURS = """(() => {
  const data = document.getElementById('screen').getContext('2d').getImageData(0, 0, 640, 480).data;
  const counts = {};
  for (let i = 0; i < data.length; i += 4) {
    const colour = (data[i] << 16) | (data[i + 1] << 8) | data[i + 2];
    counts[colour] = (counts[colour] || 0) + 1;
  }
  return counts;
})()"""
PIXELS = 640 * 480


class Failure(Exception):
    pass


def palette_of(bmp_path):
    """The colours of a 256-colour BMP's palette, as 0xRRGGBB."""
    data = open(bmp_path, "rb").read()
    header = struct.unpack_from("<I", data, 14)[0]
    start = 14 + header
    return {data[start + 4 * i + 2] << 16 | data[start + 4 * i + 1] << 8 | data[start + 4 * i] for i in range(256)}


def shares(counts, palette):
    counts = {int(colour): n for colour, n in counts.items()}  # JSON keys are text
    black = counts.get(0, 0) / PIXELS
    in_palette = sum(n for colour, n in counts.items() if colour in palette) / PIXELS
    lit = [(colour, n) for colour, n in counts.items() if colour != 0]
    warm = sum(n for colour, n in lit if (colour >> 16) >= ((colour >> 8) & 255) >= (colour & 255)) / max(
        1, sum(n for _, n in lit))
    return black, in_palette, warm


def wait_for(browser, what, expression, timeout):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        if browser.evaluate(expression):
            return
        time.sleep(0.1)
    raise Failure(f"{what} (waited {timeout} s for {expression})")


def check(condition, what):
    if not condition:
        raise Failure(what)
    print("page_test: ok:", what)


def run(browser, url, palette, out):
    browser.call("Runtime.enable")
    browser.call("Page.enable")
    # A headless page has no window to be focused in: it is told it has one.
    browser.call("Emulation.setFocusEmulationEnabled", enabled=True)
    browser.call("Page.navigate", url=url)
    wait_for(browser, "the page shows a first picture", "window.quillmereStats && quillmereStats.firstPicture !== null", 60)
    figures = {"firstPictureMs": round(browser.evaluate("quillmereStats.firstPicture"))}

    time.sleep(4.5)  # the fade in from black takes about three seconds
    before = browser.evaluate("quillmereStats.pictures")
    started = time.monotonic()
    time.sleep(3)
    figures["picturesPerSecond"] = round((browser.evaluate("quillmereStats.pictures") - before) /
                                         (time.monotonic() - started), 1)
    black, in_palette, _ = shares(browser.evaluate(CANVAS_COLOURS), palette)
    browser.screenshot(os.path.join(out, "page-cave.png"))
    check(black < 0.5 and in_palette > 0.9,
          f"the cave is drawn in the picture's palette ({in_palette:.0%} in it, {black:.0%} black)")

    browser.key("F9", "F9", 0x78)
    time.sleep(1.5)
    black, in_palette, warm = shares(browser.evaluate(CANVAS_COLOURS), palette)
    browser.screenshot(os.path.join(out, "page-fireworks.png"))
    check(black > 0.4 and warm > 0.9, f"F9 shows fireworks ({black:.0%} black sky, {warm:.0%} of the rest warm)")
    browser.key("F9", "F9", 0x78)
    time.sleep(1)

    browser.key("Escape", "Escape", 0x1B)
    time.sleep(1)
    prompt = browser.evaluate(CANVAS_COLOURS)
    browser.screenshot(os.path.join(out, "page-quit-prompt.png"))
    browser.key("n", "KeyN", ord("N"))
    time.sleep(1)
    black, in_palette, _ = shares(browser.evaluate(CANVAS_COLOURS), palette)
    check(browser.evaluate("quillmereStats.exitCode") is None and in_palette > 0.9 and black < 0.5
          and browser.evaluate(CANVAS_COLOURS) != prompt, "Esc then N goes on with the cave")

    browser.key("Escape", "Escape", 0x1B)
    time.sleep(1)
    browser.key("y", "KeyY", ord("Y"))
    wait_for(browser, "Esc then Y ends the program", "quillmereStats.exitCode === 0", 15)
    check(browser.evaluate("getComputedStyle(document.getElementById('ended')).display") != "none",
          "the page shows that the demo has ended")
    browser.screenshot(os.path.join(out, "page-ended.png"))
    return figures


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    site, out = sys.argv[1], sys.argv[2]
    os.makedirs(out, exist_ok=True)
    palette = palette_of(os.path.join(site, "bckgnd.bmp"))
    class QuietHandler(http.server.SimpleHTTPRequestHandler):
        def log_message(self, *args):
            pass

    handler = functools.partial(QuietHandler, directory=site)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    url = f"http://127.0.0.1:{server.server_address[1]}/index.html"
    browser = Browser(os.environ.get("QM_CHROMIUM", "chromium"))
    try:
        figures = run(browser, url, palette, out)
    except Failure as failure:
        print("page_test: FAILED:", failure, file=sys.stderr)
        print("page_test: the page's console:\n  " + "\n  ".join(browser.console[-30:]), file=sys.stderr)
        browser.screenshot(os.path.join(out, "page-failure.png"))
        sys.exit(1)
    finally:
        browser.close()
        server.shutdown()
    with open(os.path.join(out, "measure.json"), "w") as file:
        json.dump(figures, file, indent=2)
    print("page_test: passed;", json.dumps(figures))


if __name__ == "__main__":
    main()
