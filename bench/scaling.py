#!/usr/bin/env python3
"""How a build's time grows with the grid and the list.

    bench/scaling.py build/src/kivrel-cli [OTHER/kivrel-cli ...] [--min-time 1] [--reps 3]

Times kivrel-cli builds the way the peer harness does: the build time the program
reports per puzzle (elapsedMs of `build --count N --json`), N raised until one run's
builds take at least --min-time seconds, the median of --reps runs. Two series:

- grid size: one list of 50 words of 4 to 10 letters on square grids of 10 to 99;
- word count: lists of 10 to 1,000 words of 4 to 12 letters on 99 x 99.

The word lists are made here from a fixed seed: words of letters drawn with their
frequency in English text, no two alike and none inside another, forwards or backwards
(so each is found in one place, as in the example lists). Prints a Markdown table with
the time per puzzle and per cell and word (ns), which stays flat when the cost grows
no faster than cells x words. With several programs (before and after a change, say)
each row times them one after the other.
"""
import argparse
import json
import os
import random
import statistics
import subprocess
import sys
import tempfile

LETTERS = "ETAOINSHRDLCUMWFGYPBVKJXQZ"
WEIGHTS = [12.7, 9.1, 8.2, 7.5, 7.0, 6.7, 6.3, 6.1, 6.0, 4.3, 4.0, 2.8, 2.8, 2.4, 2.4, 2.2, 2.0, 2.0, 1.9, 1.5,
           1.0, 0.8, 0.15, 0.15, 0.1, 0.07]


def make_words(count, shortest, longest, seed):
    rng = random.Random(seed)
    words = []
    while len(words) < count:
        word = "".join(rng.choices(LETTERS, WEIGHTS, k=rng.randint(shortest, longest)))
        if any(word in w or word[::-1] in w or w in word or w[::-1] in word for w in words):
            continue
        words.append(word)
    return words


def per_puzzle_ms(cli, path, size, count, prefix=()):
    """The summed elapsedMs of `count` builds and the mean words placed; `prefix` runs
    the program through another (taskset)."""
    out = subprocess.run([*prefix, cli, "build", path, "--width", str(size), "--height", str(size), "--diagonals",
                          "--seed", "1", "--count", str(count), "--json"],
                         check=True, capture_output=True, text=True).stdout
    records = [json.loads(line) for line in out.splitlines()]
    return sum(r["elapsedMs"] for r in records), sum(r["inserted"] for r in records) / len(records)


def measure(cli, path, size, args):
    min_ms = 1000 * args.min_time
    n = 10
    while True:  # as the harness calibrates: one run's reported build time reaches min_ms
        total, placed = per_puzzle_ms(cli, path, size, n)
        if total >= min_ms or n >= 1_000_000:
            break
        n = min(1_000_000, max(n * 2, int(n * 1.2 * min_ms / max(total, 1e-3)) + 1))
    runs = [total / n] + [per_puzzle_ms(cli, path, size, n)[0] / n for _ in range(args.reps - 1)]
    return statistics.median(runs), placed


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("cli", nargs="+")
    parser.add_argument("--min-time", type=float, default=1.0)
    parser.add_argument("--reps", type=int, default=3)
    args = parser.parse_args()
    rows = [(size, make_words(50, 4, 10, 50)) for size in (10, 15, 20, 30, 40, 50, 60, 70, 80, 99)]
    rows += [(99, make_words(count, 4, 12, count)) for count in (10, 30, 100, 300, 1000)]
    with open("/proc/loadavg") as load:
        print(f"load before: {load.read().split()[0]}", file=sys.stderr)
    heads = "".join(f" ms per puzzle ({i + 1}) | ns per cell and word ({i + 1}) |" for i in range(len(args.cli)))
    print("| grid | words | placed |" + heads)
    print("|---|---:|---:|" + "---:|---:|" * len(args.cli))
    with tempfile.TemporaryDirectory() as folder:
        for size, words in rows:
            path = os.path.join(folder, f"{len(words)}.txt")
            with open(path, "w") as file:
                file.write("\n".join(words) + "\n")
            cells = ""
            for cli in args.cli:
                ms, placed = measure(cli, path, size, args)
                cells += f" {ms:.3f} | {ms * 1e6 / (size * size * len(words)):.2f} |"
            print(f"| {size} x {size} | {len(words)} | {placed:.1f} |{cells}", flush=True)
    with open("/proc/loadavg") as load:
        print(f"load after: {load.read().split()[0]}", file=sys.stderr)


if __name__ == "__main__":
    main()
