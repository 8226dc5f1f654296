#!/usr/bin/env python3
"""Solves a seeded puzzle's web page in headless Chromium with real input events.

The browser is driven through the DevTools protocol over --remote-debugging-pipe
(commands in on its descriptor 3, answers and events out on 4, each JSON ended by NUL),
so no port and no package is needed. Every wait is for a state of the page.

  solve_in_browser.py --cli build/src/kivrel-cli --list examples/animals.kvl
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
STEPS = [None, (0, 1), (0, -1), (1, 0), (-1, 0), (1, 1), (-1, -1), (-1, 1), (1, -1)]


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


class Browser:
    def __init__(self, chromium, workdir):
        commands_r, self.commands = os.pipe()
        self.answers, answers_w = os.pipe()

        def descriptors():  # in the child: the pipe's ends become 3 and 4
            keep_r, keep_w = os.dup(commands_r), os.dup(answers_w)
            os.dup2(keep_r, 3)
            os.dup2(keep_w, 4)

        self.log = os.path.join(workdir, "chromium.log")
        with open(self.log, "wb") as log:
            self.process = subprocess.Popen(
                [chromium, "--headless", "--no-sandbox", "--disable-gpu", "--no-first-run",
                 "--disable-background-networking", "--disable-component-update", "--disable-sync",
                 "--remote-debugging-pipe", "--user-data-dir=" + os.path.join(workdir, "profile"), "about:blank"],
                stdin=subprocess.DEVNULL, stdout=log, stderr=log, pass_fds=(3, 4), preexec_fn=descriptors)
        os.close(commands_r)
        os.close(answers_w)
        self.buffer, self.last_id, self.events, self.session = b"", 0, [], None
        target = self.call("Target.createTarget", {"url": "about:blank"})["targetId"]
        self.session = self.call("Target.attachToTarget", {"targetId": target, "flatten": True})["sessionId"]
        for domain in ("Page", "Network", "Runtime"):
            self.call(domain + ".enable")

    def close(self):
        self.process.kill()
        self.process.wait()
        os.close(self.commands)
        os.close(self.answers)

    def call(self, method, params=None):
        self.last_id += 1
        message = {"id": self.last_id, "method": method, "params": params or {}}
        if self.session and not method.startswith(("Target.", "Browser.")):
            message["sessionId"] = self.session
        os.write(self.commands, json.dumps(message).encode() + b"\0")
        deadline = time.monotonic() + DEADLINE
        while True:
            while b"\0" not in self.buffer:
                check(select.select([self.answers], [], [], max(deadline - time.monotonic(), 0))[0],
                      f"{method}: the browser did not answer")
                chunk = os.read(self.answers, 1 << 16)
                check(chunk, "the browser closed its pipe")
                self.buffer += chunk
            text, self.buffer = self.buffer.split(b"\0", 1)
            answer = json.loads(text)
            if answer.get("id") != self.last_id:
                self.events.append(answer)
                continue
            check("error" not in answer, f"{method}: {answer.get('error')}")
            return answer.get("result", {})

    def value(self, expression):
        result = self.call("Runtime.evaluate", {"expression": expression, "returnByValue": True, "awaitPromise": True})
        check("exceptionDetails" not in result, f"{expression}: {result.get('exceptionDetails')}")
        return result["result"].get("value")

    def wait_for(self, expression, want, what):
        deadline = time.monotonic() + DEADLINE
        while (got := self.value(expression)) != want:
            check(time.monotonic() < deadline, f"{what}: wanted {want!r}, the page shows {got!r}")
            self.value("new Promise(done => requestAnimationFrame(done))")  # the page's next frame

    def mouse(self, kind, x, y):
        self.call("Input.dispatchMouseEvent", {"type": kind, "x": x, "y": y, "button": "left", "clickCount": 1,
                                               "buttons": 0 if kind == "mouseReleased" else 1})

    def key(self, key, keycode, text=None):
        down = {"type": "keyDown", "text": text} if text else {"type": "rawKeyDown"}
        for event in (down, {"type": "keyUp"}):
            self.call("Input.dispatchKeyEvent", dict(event, key=key, code=key, windowsVirtualKeyCode=keycode))


def ends(word):
    """The first and the last letter of a placed word, as (row, column)."""
    dr, dc = STEPS[word["direction"]]
    n = word["length"] - 1
    return (word["row"], word["col"]), (word["row"] + n * dr, word["col"] + n * dc)


def solve(browser, url, puzzle):
    words = [w for w in puzzle["words"] if w["status"] == "placed"]
    total = len(words)
    check((puzzle["width"], puzzle["height"], total) == (15, 15, 25), "the sample is 15 x 15 with 25 words")
    browser.call("Emulation.setDeviceMetricsOverride", {"width": 1280, "height": 1000, "deviceScaleFactor": 1,
                                                        "mobile": False})
    browser.call("Page.navigate", {"url": url})
    browser.wait_for("document.readyState", "complete", "the page loaded")
    shown = browser.value("Array.from(document.querySelectorAll('#grid .letters text'), t => t.textContent)")
    check(shown == puzzle["grid"], f"the page's grid {shown} is not the puzzle's {puzzle['grid']}")

    def centre(cell):
        left, top, width, height = browser.value(
            "(b => [b.left, b.top, b.width, b.height])(document.getElementById('grid').getBoundingClientRect())")
        return left + (cell[1] - 0.5) * width / 15, top + (cell[0] - 0.5) * height / 15

    def along(first, last):  # the pointer's way from one letter to another
        (x1, y1), (x2, y2) = centre(first), centre(last)
        return [(x1 + (x2 - x1) * step / 5, y1 + (y2 - y1) * step / 5) for step in range(6)]

    def drag(first, last):
        way = along(first, last)
        for kind, (x, y) in zip(["mousePressed"] + ["mouseMoved"] * 5, way):
            browser.mouse(kind, x, y)
        browser.mouse("mouseReleased", *way[-1])

    def click(cell):
        drag(cell, cell)

    cursor = [1, 1]

    def keys_to(cell):  # arrows to the cell, then Enter
        for name, code, axis, step in [("ArrowDown", 40, 0, 1), ("ArrowUp", 38, 0, -1),
                                       ("ArrowRight", 39, 1, 1), ("ArrowLeft", 37, 1, -1)]:
            while (cell[axis] - cursor[axis]) * step > 0:
                browser.key(name, code)
                cursor[axis] += step
        browser.key("Enter", 13, "\r")

    count = "document.getElementById('count').textContent"
    found = 0

    def expect_found(k, how):
        nonlocal found
        found += 1
        browser.wait_for(count, f"{found} of {total} found", f"{words[k]['text']} found by {how}")
        browser.wait_for(f"document.getElementById('w{k + 1}').className", "found", f"{words[k]['text']} struck off")
        browser.wait_for("document.querySelectorAll('#rings path').length", found, "a ring on each word found")

    # The keys: Tab into the grid (which tells where its cursor is), arrows and Enter.
    browser.key("Tab", 9)
    browser.wait_for("document.activeElement.id", "grid", "the grid taking the keys")
    browser.wait_for("document.getElementById('cursor-info').textContent", f"Row 1, column 1: {puzzle['grid'][0][0]}",
                     "the cell under the cursor, for screen readers")
    keys_to(ends(words[0])[0])
    keys_to(ends(words[0])[1])
    expect_found(0, "the keys")

    # A line one letter short of a word flashes and goes; then the word by two clicks.
    first, last = ends(words[1])
    drag(first, tuple(e - (e > f) + (e < f) for f, e in zip(first, last)))
    browser.wait_for("document.querySelectorAll('#marks .wrong').length", 1, "the wrong line flashing")
    browser.wait_for("document.querySelectorAll('#marks .wrong').length", 0, "the wrong line gone")
    check(browser.value(count) == f"1 of {total} found", "a wrong line was counted")
    click(first)
    browser.wait_for("document.getElementById('selection').getAttribute('d') != 'M0 0'", True, "the first letter marked")
    click(last)
    expect_found(1, "two clicks")

    # The rest dragged, the last from its last letter back to its first.
    for k in range(2, total):
        drag(*(reversed(ends(words[k])) if k == total - 1 else ends(words[k])))
        expect_found(k, "a drag")
    check(browser.value("document.getElementById('done').textContent") != "", "finding every word says nothing")

    # "Show the answers" rings every word.
    x, y = browser.value("(b => [b.left + b.width / 2, b.top + b.height / 2])"
                         "(document.getElementById('show-answers').getBoundingClientRect())")
    browser.mouse("mousePressed", x, y)
    browser.mouse("mouseReleased", x, y)
    browser.wait_for("getComputedStyle(document.getElementById('answers')).display != 'none' &&"
                     " document.querySelectorAll('#answers path').length", total, "every word ringed")

    # On a phone nothing runs past the width.
    browser.call("Emulation.setDeviceMetricsOverride", {"width": 400, "height": 800, "deviceScaleFactor": 1,
                                                        "mobile": True})
    browser.wait_for("document.documentElement.scrollWidth <= 400 &&"
                     " document.getElementById('grid').getBoundingClientRect().right <= 400", True, "400 pixels wide")
    return total


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", required=True)
    parser.add_argument("--list", required=True)
    parser.add_argument("--chromium", default="/usr/bin/chromium")
    args = parser.parse_args()
    workdir = tempfile.mkdtemp(prefix="kivrel-web-")
    browser = None
    try:
        page = os.path.join(workdir, "puzzle.html")
        built = subprocess.run([args.cli, "build", args.list, "--seed", "7", "--json", "--html", page],
                               capture_output=True, text=True, timeout=60)
        check(built.returncode == 0, f"kivrel-cli build: {built.stderr}")
        browser = Browser(args.chromium, workdir)
        url = Path(page).as_uri()
        total = solve(browser, url, json.loads(built.stdout))

        # Printed, it is the puzzle on one sheet, without the buttons and the count.
        pdf = Path(workdir, "printed.pdf")
        pdf.write_bytes(base64.b64decode(browser.call("Page.printToPDF")["data"]))
        text = subprocess.run(["pdftotext", "-layout", str(pdf), "-"], capture_output=True, text=True).stdout
        check(text.count("\f") == 1 and all(part in text for part in ("Animals", f"{total} words", "ZEBRA")) and
              "Show the answers" not in text and "found" not in text, f"the printed page: {text!r}")

        # Nothing but the page itself was asked for.
        asked = [e["params"]["request"]["url"] for e in browser.events if e.get("method") == "Network.requestWillBeSent"]
        check(asked == [url], f"the page asked for {asked}")
        print(f"solved all {total} words; the page asked for nothing but itself")
        return 0
    except Failure as failure:
        print("FAILED:", failure, file=sys.stderr)
        if browser:
            print(Path(browser.log).read_text(errors="replace")[-3000:], file=sys.stderr)
        return 1
    finally:
        if browser:
            browser.close()
        shutil.rmtree(workdir, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
