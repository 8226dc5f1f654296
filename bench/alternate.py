#!/usr/bin/env python3
"""Times two or more kivrel-cli programs against each other, in turns.

    bench/alternate.py LIST SIZE COUNT ROUNDS PROGRAM...

Each round runs every program once (in the opposite order every other round), each
building COUNT puzzles of LIST on a SIZE x SIZE grid with all eight directions, seed 1,
pinned to one processor (`taskset -c 1`) so that the programs take turns on the same
core and its caches. A run's figure is the mean `elapsedMs` of its builds (the build
alone, as the peer harness times it). Printed per program: the fastest run, the tenth
and twenty-fifth percentiles and the median of the ROUNDS runs. On a shared machine the
median moves with what else runs; the low percentiles are what the programs do when
left alone, and the programs saw the same disturbances in turn.
"""
import os
import sys

sys.dont_write_bytecode = True  # no __pycache__ left in the checkout
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from scaling import per_puzzle_ms  # noqa: E402


def run(program, words, size, count):
    return per_puzzle_ms(program, words, size, count, prefix=("taskset", "-c", "1"))[0] / count


def main():
    if len(sys.argv) < 6:
        sys.exit(__doc__)
    words, size, count, rounds = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
    programs = sys.argv[5:]
    # By place, not by path: one program given twice measures the noise against itself.
    times = [[] for _ in programs]
    for r in range(rounds):
        order = range(len(programs)) if r % 2 == 0 else reversed(range(len(programs)))
        for i in order:
            times[i].append(run(programs[i], words, size, count))
    for program, runs in zip(programs, times):
        t = sorted(runs)
        n = len(t)
        print("%-40s min %.4f  p10 %.4f  p25 %.4f  median %.4f ms" % (program, t[0], t[n // 10], t[n // 4], t[n // 2]))


if __name__ == "__main__":
    main()
