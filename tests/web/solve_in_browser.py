#!/usr/bin/env python3
"""Solves an exported puzzle page in a real browser.

Builds a seeded puzzle with kivrel-cli, writes its web page, opens it in headless
Chromium and drives it through the DevTools protocol (over a pipe: no port, no
packages) with real input events: every word is found, by a mouse drag, a drag back
from the last letter, a finger, a pen, two clicks and the keys; a wrong line is
refused; the count reaches the end; "Show the answers" rings every word; and the page
asks the network for nothing. Every wait is for a state of the page, with a deadline.

  solve_in_browser.py --cli build/src/kivrel-cli --list examples/animals.kvl \
      [--chromium /usr/bin/chromium] [--screenshots DIR]
"""
import argparse
import base64
import json
import os
import select
import shutil
import subprocess
import sys
import tempfile
import time
from pathlib import Path

DEADLINE = 20.0  # seconds for any one state to come about


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


class Browser:
    """Headless Chromium spoken to over --remote-debugging-pipe: commands go in on its
    descriptor 3, answers and events come out on 4, each a JSON text ended by NUL."""

    def __init__(self, chromium, workdir):
        self.profile = tempfile.mkdtemp(prefix="profile-", dir=workdir)
        commands_r, self._commands = os.pipe()
        self._answers, answers_w = os.pipe()

        def descriptors():
            keep_r, keep_w = os.dup(commands_r), os.dup(answers_w)
            os.dup2(keep_r, 3)
            os.dup2(keep_w, 4)

        self.log = open(os.path.join(workdir, "chromium.log"), "wb")
        self.process = subprocess.Popen(
            [chromium, "--headless", "--no-sandbox", "--disable-gpu", "--no-first-run",
             "--disable-background-networking", "--disable-component-update", "--disable-sync",
             "--disable-default-apps", "--remote-debugging-pipe", "--user-data-dir=" + self.profile,
             "about:blank"],
            stdin=subprocess.DEVNULL, stdout=self.log, stderr=self.log,
            pass_fds=(3, 4), preexec_fn=descriptors)
        os.close(commands_r)
        os.close(answers_w)
        self._buffer = b""
        self._next_id = 0
        self.events = []
        self.session = None

    def close(self):
        try:
            self.call("Browser.close", session=False)
        except Exception:
            pass
        try:
            self.process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
        self.log.close()
        os.close(self._commands)
        os.close(self._answers)

    def _message(self, deadline):
        while b"\0" not in self._buffer:
            left = deadline - time.monotonic()
            check(left > 0, "the browser did not answer in time")
            ready, _, _ = select.select([self._answers], [], [], left)
            if ready:
                chunk = os.read(self._answers, 1 << 16)
                check(chunk, "the browser closed its pipe (see chromium.log)")
                self._buffer += chunk
        text, self._buffer = self._buffer.split(b"\0", 1)
        return json.loads(text)

    def call(self, method, params=None, session=True):
        self._next_id += 1
        message = {"id": self._next_id, "method": method, "params": params or {}}
        if session and self.session:
            message["sessionId"] = self.session
        os.write(self._commands, json.dumps(message).encode() + b"\0")
        deadline = time.monotonic() + DEADLINE
        while True:
            answer = self._message(deadline)
            if answer.get("id") == self._next_id:
                check("error" not in answer, f"{method}: {answer.get('error')}")
                return answer.get("result", {})
            self.events.append(answer)

    def wait_event(self, method):
        deadline = time.monotonic() + DEADLINE
        while True:
            for event in self.events:
                if event.get("method") == method:
                    self.events.remove(event)
                    return event
            self.events.append(self._message(deadline))

    def open_page(self):
        target = self.call("Target.createTarget", {"url": "about:blank"})["targetId"]
        self.session = self.call("Target.attachToTarget", {"targetId": target, "flatten": True})["sessionId"]
        for domain in ("Page", "Network", "Runtime"):
            self.call(domain + ".enable")

    def value(self, expression):
        result = self.call("Runtime.evaluate", {"expression": expression, "returnByValue": True})
        check("exceptionDetails" not in result, f"{expression}: {result.get('exceptionDetails')}")
        return result["result"].get("value")

    def wait_for(self, expression, want, what):
        """Waits until the expression gives `want` (the page's state, not a time)."""
        deadline = time.monotonic() + DEADLINE
        while True:
            got = self.value(expression)
            if got == want:
                return
            check(time.monotonic() < deadline, f"{what}: wanted {want!r}, the page shows {got!r}")
            self.call("Runtime.evaluate", {"expression": "new Promise(r => requestAnimationFrame(r))",
                                           "awaitPromise": True})

    def mouse(self, kind, x, y, buttons, pointer="mouse"):
        self.call("Input.dispatchMouseEvent", {
            "type": kind, "x": x, "y": y, "button": "left", "buttons": buttons, "clickCount": 1,
            "pointerType": pointer})

    def key(self, key, code, keycode, text=None):
        down = {"type": "keyDown" if text else "rawKeyDown", "key": key, "code": code,
                "windowsVirtualKeyCode": keycode}
        if text:
            down["text"] = text
        self.call("Input.dispatchKeyEvent", down)
        self.call("Input.dispatchKeyEvent", {"type": "keyUp", "key": key, "code": code,
                                             "windowsVirtualKeyCode": keycode})

    def touch(self, kind, points):
        self.call("Input.dispatchTouchEvent", {"type": kind, "touchPoints": points})

    def screenshot(self, width, path):
        self.call("Emulation.setDeviceMetricsOverride",
                  {"width": width, "height": 800, "deviceScaleFactor": 1, "mobile": width < 600})
        height = self.value("document.documentElement.scrollHeight")
        self.call("Emulation.setDeviceMetricsOverride",
                  {"width": width, "height": height, "deviceScaleFactor": 1, "mobile": width < 600})
        self.value("document.fonts.ready.then(() => true)")
        shot = self.call("Page.captureScreenshot", {"format": "png"})
        Path(path).write_bytes(base64.b64decode(shot["data"]))


STEPS = [None, (0, 1), (0, -1), (1, 0), (-1, 0), (1, 1), (-1, -1), (-1, 1), (1, -1)]


def ends(word):
    """First and last letter of a placed word, as (row, column)."""
    dr, dc = STEPS[word["direction"]]
    n = word["length"] - 1
    return (word["row"], word["col"]), (word["row"] + n * dr, word["col"] + n * dc)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", required=True)
    parser.add_argument("--list", required=True)
    parser.add_argument("--chromium", default="/usr/bin/chromium")
    parser.add_argument("--seed", default="7")
    parser.add_argument("--screenshots")
    args = parser.parse_args()

    workdir = tempfile.mkdtemp(prefix="kivrel-web-")
    browser = None
    try:
        page = os.path.join(workdir, "puzzle.html")
        built = subprocess.run([args.cli, "build", args.list, "--seed", args.seed, "--json", "--html", page],
                               capture_output=True, text=True, timeout=60)
        check(built.returncode == 0, f"kivrel-cli build failed: {built.stderr}")
        puzzle = json.loads(built.stdout)
        words = [w for w in puzzle["words"] if w["status"] == "placed"]
        total = len(words)
        check(puzzle["width"] == 15 and puzzle["height"] == 15 and total == 25,
              f"the sample is a 15 x 15 puzzle of 25 words, not {puzzle['width']} x {puzzle['height']} of {total}")

        browser = Browser(args.chromium, workdir)
        browser.open_page()
        browser.call("Emulation.setDeviceMetricsOverride",
                     {"width": 1280, "height": 1000, "deviceScaleFactor": 1, "mobile": False})
        url = Path(page).as_uri()
        browser.call("Page.navigate", {"url": url})
        browser.wait_event("Page.loadEventFired")

        # The grid shows the puzzle's letters, fill letters included.
        shown = browser.value("""Array.from(document.querySelectorAll('#grid .letters text'),
                                 t => t.textContent)""")
        check(shown == puzzle["grid"], f"the page's grid {shown} is not the puzzle's {puzzle['grid']}")
        browser.wait_for("document.getElementById('count').textContent", f"0 of {total} found", "the count")

        def centre(cell):
            box = browser.value("(() => { const b = document.getElementById('grid').getBoundingClientRect();"
                                " return [b.left, b.top, b.width, b.height]; })()")
            row, col = cell
            return (box[0] + (col - 0.5) * box[2] / puzzle["width"], box[1] + (row - 0.5) * box[3] / puzzle["height"])

        def drag(first, last, pointer="mouse"):
            (x1, y1), (x2, y2) = centre(first), centre(last)
            browser.mouse("mousePressed", x1, y1, 1, pointer)
            for step in range(1, 6):
                browser.mouse("mouseMoved", x1 + (x2 - x1) * step / 5, y1 + (y2 - y1) * step / 5, 1, pointer)
            browser.mouse("mouseReleased", x2, y2, 0, pointer)

        def click(cell):
            x, y = centre(cell)
            browser.mouse("mousePressed", x, y, 1)
            browser.mouse("mouseReleased", x, y, 0)

        def touch(first, last):
            (x1, y1), (x2, y2) = centre(first), centre(last)
            browser.touch("touchStart", [{"x": x1, "y": y1}])
            for step in range(1, 6):
                browser.touch("touchMove", [{"x": x1 + (x2 - x1) * step / 5, "y": y1 + (y2 - y1) * step / 5}])
            browser.touch("touchEnd", [])

        cursor = [1, 1]

        def keys_to(cell):
            moves = [("ArrowDown", 40, 1, 0), ("ArrowUp", 38, -1, 0), ("ArrowRight", 39, 0, 1), ("ArrowLeft", 37, 0, -1)]
            for name, code, dr, dc in moves:
                while (cell[0] - cursor[0]) * dr > 0 or (cell[1] - cursor[1]) * dc > 0:
                    browser.key(name, name, code)
                    cursor[0] += dr
                    cursor[1] += dc
            browser.key("Enter", "Enter", 13, "\r")

        found = 0

        def expect_found(k, how):
            nonlocal found
            found += 1
            browser.wait_for("document.getElementById('count').textContent", f"{found} of {total} found",
                             f"{words[k]['text']} found by {how}")
            browser.wait_for(f"document.getElementById('w{k + 1}').classList.contains('found')", True,
                             f"{words[k]['text']} struck off the list")
            browser.wait_for("document.querySelectorAll('#rings path').length", found, "one ring a found word")

        # The keys: Tab into the grid, arrows to the first letter, Enter, to the last, Enter.
        browser.key("Tab", "Tab", 9)
        browser.wait_for("document.activeElement.id", "grid", "the grid taking the keys")
        browser.wait_for("document.getElementById('cursor-info').textContent.startsWith('Row 1, column 1')", True,
                         "the cell under the cursor told to a screen reader")
        keys_to(ends(words[0])[0])
        keys_to(ends(words[0])[1])
        expect_found(0, "the keys")

        # A wrong line flashes and goes: one letter short of the first word.
        first, last = ends(words[1])
        short = (last[0] - (last[0] > first[0]) + (last[0] < first[0]), last[1] - (last[1] > first[1]) + (last[1] < first[1]))
        drag(first, short)
        browser.wait_for("document.querySelectorAll('#marks .wrong').length", 1, "the wrong line flashing")
        browser.wait_for("document.querySelectorAll('#marks .wrong').length", 0, "the wrong line gone")
        browser.wait_for("document.getElementById('count').textContent", f"1 of {total} found", "the count after it")
        check(not browser.value("document.getElementById('w2').classList.contains('found')"), "a wrong line struck a word")

        # Two clicks: the first letter, then the last.
        click(first)
        browser.wait_for("document.getElementById('selection').getAttribute('d') !== 'M0 0'", True, "the first mark")
        click(last)
        expect_found(1, "two clicks")

        # A finger, a pen, and a drag from the last letter back to the first.
        browser.call("Emulation.setTouchEmulationEnabled", {"enabled": True, "maxTouchPoints": 1})
        touch(*ends(words[2]))
        expect_found(2, "a finger")
        browser.call("Emulation.setTouchEmulationEnabled", {"enabled": False})
        drag(*ends(words[3]), pointer="pen")
        expect_found(3, "a pen")
        drag(*reversed(ends(words[4])))
        expect_found(4, "a drag from the last letter")

        # The rest by dragging with the mouse; halfway, the page at both widths.
        for k in range(5, total):
            drag(*ends(words[k]))
            expect_found(k, "a drag")
            if k == 14 and args.screenshots:
                browser.call("Runtime.evaluate", {"expression": "document.activeElement.blur()"})
                os.makedirs(args.screenshots, exist_ok=True)
                browser.screenshot(400, os.path.join(args.screenshots, "web-page-phone.png"))
                browser.screenshot(1280, os.path.join(args.screenshots, "web-page.png"))
                browser.call("Emulation.setDeviceMetricsOverride",
                             {"width": 1280, "height": 1000, "deviceScaleFactor": 1, "mobile": False})
        check(browser.value("document.getElementById('done').textContent") != "", "finding every word says nothing")

        # Show the answers: a ring on every word.
        x, y = browser.value("(() => { const b = document.getElementById('show-answers').getBoundingClientRect();"
                             " return [b.left + b.width / 2, b.top + b.height / 2]; })()")
        browser.mouse("mousePressed", x, y, 1)
        browser.mouse("mouseReleased", x, y, 0)
        browser.wait_for("getComputedStyle(document.getElementById('answers')).display !== 'none' &&"
                         " document.querySelectorAll('#answers path').length", total, "every word ringed")

        # On a phone the grid fits the width and the page does not scroll sideways.
        browser.call("Emulation.setDeviceMetricsOverride",
                     {"width": 400, "height": 800, "deviceScaleFactor": 1, "mobile": True})
        browser.wait_for("document.documentElement.scrollWidth <= 400 &&"
                         " document.getElementById('grid').getBoundingClientRect().right <= 400", True,
                         "the page at 400 pixels wide")

        # Printed, it is the puzzle page on one sheet, without the buttons and the count.
        printed = browser.call("Page.printToPDF", {"printBackground": False})
        pdf = os.path.join(workdir, "printed.pdf")
        Path(pdf).write_bytes(base64.b64decode(printed["data"]))
        text = subprocess.run(["pdftotext", "-layout", pdf, "-"], capture_output=True, text=True, timeout=60).stdout
        check(text.count("\f") == 1 and "Animals" in text and "25 words" in text and "ZEBRA" in text,
              f"the printed page: {text!r}")
        check("Show the answers" not in text and "found" not in text, f"the printed page has the controls: {text!r}")

        # Nothing but the page itself was asked for.
        requests = [e["params"]["request"]["url"] for e in browser.events
                    if e.get("method") == "Network.requestWillBeSent"]
        check(requests and all(r == url for r in requests), f"the page asked for {requests}")
        print(f"solved {total} words; requests: {requests}")
        return 0
    except Failure as failure:
        print("FAILED:", failure, file=sys.stderr)
        log = os.path.join(workdir, "chromium.log")
        if os.path.exists(log):
            print(Path(log).read_text(errors="replace")[-3000:], file=sys.stderr)
        return 1
    finally:
        if browser:
            browser.close()
        shutil.rmtree(workdir, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
