"""Opens index.html?frames in headless Chromium and prints what page_frames
says: the cave and fireworks frame times inside the page.
    python3 tests/browser/page_frames.py build/web"""

import functools
import http.server
import os
import sys
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from devtools import Browser  # noqa: E402


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def main():
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(QuietHandler, directory=sys.argv[1]))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    browser = Browser(os.environ.get("QM_CHROMIUM", "chromium"))
    try:
        browser.call("Runtime.enable")
        browser.call("Page.navigate", url=f"http://127.0.0.1:{server.server_address[1]}/index.html?frames")
        deadline = time.monotonic() + 120
        while time.monotonic() < deadline:
            if browser.evaluate("window.quillmereStats && quillmereStats.exitCode !== null"):
                break
            time.sleep(0.5)
        log = browser.evaluate("quillmereStats.log")
        print("\n".join(line for line in log if line.startswith("page_frames")))
        if browser.evaluate("quillmereStats.exitCode") != 0:
            sys.exit("page_frames did not finish")
    finally:
        browser.close()
        server.shutdown()


if __name__ == "__main__":
    main()
