#!/usr/bin/env python3
# Solves a seeded puzzle's web page in headless Chromium with real input events.
#
# The browser is driven through the DevTools protocol over --remote-debugging-pipe
# (commands in on its descriptor 3, answers and events out on 4, each JSON ended by NUL),
# so no port and no package is needed. Every wait is for a state of the page.
#
#   solve_in_browser.py --cli build/src/kivrel-cli --list examples/animals.kvl [--chromium PATH]
import base64
import json
import os
import select
import signal
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
        self.log = open(os.path.join(workdir, "chromium.log"), "wb")
        self.process = subprocess.Popen(
            [chromium, "--headless", "--no-sandbox", "--disable-gpu", "--no-first-run", "--disable-sync",
             "--disable-background-networking", "--disable-component-update", "--remote-debugging-pipe",
             "--user-data-dir=" + os.path.join(workdir, "profile"), "about:blank"],
            stdin=subprocess.DEVNULL, stdout=self.log, stderr=self.log, pass_fds=(3, 4), start_new_session=True,
            preexec_fn=lambda: [os.dup2(fd, n) for fd, n in zip([os.dup(commands_r), os.dup(answers_w)], (3, 4))])
        os.close(commands_r)
        os.close(answers_w)
        self.buffer, self.last_id, self.events, self.session = b"", 0, [], None
        target = self.call("Target.createTarget", {"url": "about:blank"})["targetId"]
        self.session = self.call("Target.attachToTarget", {"targetId": target, "flatten": True})["sessionId"]
        for domain in ("Page", "Network", "Runtime"):
            self.call(domain + ".enable")

    def close(self):
        # The browser's helpers (renderer, crash handler) may still write into the profile
        # after the browser itself is gone: all of them go, and the folder is removed after.
        os.killpg(self.process.pid, signal.SIGKILL)
        self.process.wait()
        deadline = time.monotonic() + 5
        while time.monotonic() < deadline:
            try:
                os.killpg(self.process.pid, 0)
            except ProcessLookupError:
                break
            time.sleep(0.05)

    def call(self, method, params=None):
        self.last_id += 1
        message = {"id": self.last_id, "method": method, "params": params or {}}
        if self.session and not method.startswith("Target."):
            message["sessionId"] = self.session
        os.write(self.commands, json.dumps(message).encode() + b"\0")
        deadline = time.monotonic() + DEADLINE
        while True:
            while b"\0" not in self.buffer:
                ready = select.select([self.answers], [], [], max(deadline - time.monotonic(), 0))[0]
                chunk = os.read(self.answers, 1 << 16) if ready else b""
                check(chunk, f"{method}: the browser did not answer")
                self.buffer += chunk
            text, self.buffer = self.buffer.split(b"\0", 1)
            answer = json.loads(text)
            if answer.get("id") == self.last_id:
                check("error" not in answer, f"{method}: {answer.get('error')}")
                return answer.get("result", {})
            self.events.append(answer)

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
        for event in ({"type": "keyDown", "text": text} if text else {"type": "rawKeyDown"}, {"type": "keyUp"}):
            self.call("Input.dispatchKeyEvent", dict(event, key=key, code=key, windowsVirtualKeyCode=keycode))

    def width(self, pixels, mobile):
        self.call("Emulation.setDeviceMetricsOverride",
                  {"width": pixels, "height": 1000, "deviceScaleFactor": 1, "mobile": mobile})


def ends(word):  # the first and the last letter of a placed word, as (row, column)
    dr, dc = STEPS[word["direction"]]
    n = word["length"] - 1
    return (word["row"], word["col"]), (word["row"] + n * dr, word["col"] + n * dc)


def solve(browser, url, puzzle):
    words = [w for w in puzzle["words"] if w["status"] == "placed"]
    total = len(words)
    check((puzzle["width"], puzzle["height"], total) == (15, 15, 25), "the sample is 15 x 15 with 25 words")
    browser.width(1280, False)
    browser.call("Page.navigate", {"url": url})
    browser.wait_for("document.readyState", "complete", "the page loaded")
    shown = browser.value("Array.from(document.querySelectorAll('#grid .letters text'), t => t.textContent)")
    check(shown == puzzle["grid"], f"the page's grid {shown} is not the puzzle's {puzzle['grid']}")
    box = "(b => [b.left, b.top, b.width, b.height])(document.getElementById('{}').getBoundingClientRect())"

    def drag(first, last):  # the pointer pressed on one letter, moved in five steps, let go on the other
        left, top, width, height = browser.value(box.format("grid"))
        (y1, x1), (y2, x2) = [(top + (r - 0.5) * height / 15, left + (c - 0.5) * width / 15) for r, c in (first, last)]
        way = [(x1 + (x2 - x1) * step / 5, y1 + (y2 - y1) * step / 5) for step in range(6)]
        for kind, (x, y) in zip(["mousePressed"] + ["mouseMoved"] * 5 + ["mouseReleased"], way + way[-1:]):
            browser.mouse(kind, x, y)

    cursor = [1, 1]

    def keys_to(cell):  # arrows to the cell, then Enter
        for name, code, axis, step in [("ArrowDown", 40, 0, 1), ("ArrowUp", 38, 0, -1),
                                       ("ArrowRight", 39, 1, 1), ("ArrowLeft", 37, 1, -1)]:
            while (cell[axis] - cursor[axis]) * step > 0:
                browser.key(name, code)
                cursor[axis] += step
        browser.key("Enter", 13, "\r")

    count = "document.getElementById('count').textContent"

    def expect_found(k, how):
        browser.wait_for(count, f"{k + 1} of {total} found", f"{words[k]['text']} found by {how}")
        browser.wait_for(f"document.getElementById('w{k + 1}').className", "found", f"{words[k]['text']} struck off")
        browser.wait_for("document.querySelectorAll('#rings path').length", k + 1, "a ring on each word found")

    # The keys: Tab into the grid (which tells where its cursor is), arrows and Enter.
    browser.key("Tab", 9)
    browser.wait_for("document.activeElement.id", "grid", "the grid taking the keys")
    browser.wait_for("document.getElementById('cursor-info').textContent", f"Row 1, column 1: {puzzle['grid'][0][0]}",
                     "the cell under the cursor, for screen readers")
    for cell in ends(words[0]):
        keys_to(cell)
    expect_found(0, "the keys")

    # A line one letter short of a word flashes and goes; then the word by two clicks.
    first, last = ends(words[1])
    drag(first, tuple(e - (e > f) + (e < f) for f, e in zip(first, last)))
    wrong = "document.querySelectorAll('#marks .wrong').length"
    browser.wait_for(wrong, 1, "the wrong line flashing")
    browser.wait_for(wrong, 0, "the wrong line gone")
    check(browser.value(count) == f"1 of {total} found", "a wrong line was counted")
    drag(first, first)
    browser.wait_for("document.getElementById('selection').getAttribute('d') != 'M0 0'", True, "the first letter marked")
    drag(last, last)
    expect_found(1, "two clicks")

    # The rest dragged, the last from its last letter back to its first.
    for k in range(2, total):
        drag(*(reversed(ends(words[k])) if k == total - 1 else ends(words[k])))
        expect_found(k, "a drag")
    check(browser.value("document.getElementById('done').textContent") != "", "finding every word says nothing")

    # "Show the answers" rings every word.
    left, top, width, height = browser.value(box.format("show-answers"))
    for kind in ("mousePressed", "mouseReleased"):
        browser.mouse(kind, left + width / 2, top + height / 2)
    browser.wait_for("getComputedStyle(document.getElementById('answers')).display != 'none' &&"
                     " document.querySelectorAll('#answers path').length", total, "every word ringed")

    # On a phone nothing runs past the width.
    browser.width(400, True)
    browser.wait_for("document.documentElement.scrollWidth <= 400 &&"
                     " document.getElementById('grid').getBoundingClientRect().right <= 400", True, "400 pixels wide")
    return total


def main():
    given = dict(zip(sys.argv[1::2], sys.argv[2::2]))
    if len(sys.argv) % 2 == 0 or not {"--cli", "--list"} <= given.keys() <= {"--cli", "--list", "--chromium"}:
        print("usage: solve_in_browser.py --cli KIVREL_CLI --list LIST [--chromium PATH]", file=sys.stderr)
        return 2
    args = dict({"--chromium": "/usr/bin/chromium"}, **given)
    with tempfile.TemporaryDirectory(prefix="kivrel-web-") as workdir:
        browser = None
        try:
            page = os.path.join(workdir, "puzzle.html")
            built = subprocess.run([args["--cli"], "build", args["--list"], "--seed", "7", "--json", "--html", page],
                                   capture_output=True, text=True, timeout=60)
            check(built.returncode == 0, f"kivrel-cli build: {built.stderr}")
            browser = Browser(args["--chromium"], workdir)
            url = Path(page).as_uri()
            total = solve(browser, url, json.loads(built.stdout))

            # Printed, it is the puzzle on one sheet, without the buttons and the count.
            pdf = Path(workdir, "printed.pdf")
            pdf.write_bytes(base64.b64decode(browser.call("Page.printToPDF")["data"]))
            text = subprocess.run(["pdftotext", "-layout", str(pdf), "-"], capture_output=True, text=True).stdout
            check(text.count("\f") == 1 and all(part in text for part in ("Animals", f"{total} words", "ZEBRA")) and
                  "Show the answers" not in text and "found" not in text, f"the printed page: {text!r}")

            # Nothing but the page itself was asked for.
            asked = [e["params"]["request"]["url"] for e in browser.events
                     if e.get("method") == "Network.requestWillBeSent"]
            check(asked == [url], f"the page asked for {asked}")
            print(f"solved all {total} words; the page asked for nothing but itself")
            return 0
        except Failure as failure:
            print("FAILED:", failure, file=sys.stderr)
            if browser:
                print(Path(browser.log.name).read_text(errors="replace")[-3000:], file=sys.stderr)
            return 1
        finally:
            if browser:
                browser.close()


if __name__ == "__main__":
    sys.exit(main())
