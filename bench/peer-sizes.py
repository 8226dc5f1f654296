#!/usr/bin/env python3
"""Adds workloads of other sizes to a copy of the peer harness.

    bench/peer-sizes.py PEER_BENCH_COPY

Writes lists/X*.txt into the copy and their entries into its workloads.json, so that
`node peers.mjs --workloads X10,X30,X50,X64,X70,X99a,X99b ...` compares the programs on
grids from 10 x 10 to 99 x 99 as it does on W1 to W4 (all eight directions). The lists
are made as bench/scaling.py makes its own (words of letters drawn with their frequency
in English, none inside another, forwards or backwards), none a palindrome, as the
harness asks, from fixed seeds.
"""
import json
import os
import sys

sys.dont_write_bytecode = True  # no __pycache__ left in the checkout
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from scaling import make_words  # noqa: E402

# Name, side, words.
SIZES = [("X10", 10, 15), ("X30", 30, 100), ("X50", 50, 250), ("X64", 64, 300), ("X70", 70, 300),
         ("X99a", 99, 300), ("X99b", 99, 1000)]


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    harness = sys.argv[1]
    workloads_path = os.path.join(harness, "workloads.json")
    with open(workloads_path, encoding="utf-8") as f:
        config = json.load(f)
    for name, side, count in SIZES:
        longest = 10 if side <= 10 else 12
        words = [w for w in make_words(count + 20, 4, longest, 1000 + side * 7 + count) if w != w[::-1]][:count]
        with open(os.path.join(harness, "lists", name + ".txt"), "w", encoding="utf-8") as f:
            f.write("\n".join(words) + "\n")
        config["workloads"][name] = {"list": "lists/%s.txt" % name, "width": side, "height": side, "diagonals": True,
                                   "about": "%d random-letter words, 4-%d letters" % (count, longest)}
    with open(workloads_path, "w", encoding="utf-8") as f:
        json.dump(config, f, indent=2)
        f.write("\n")


if __name__ == "__main__":
    main()
