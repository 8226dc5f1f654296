#!/usr/bin/env python3
"""Counts the lines of code under src/ and tests/: non-blank lines that are not only a
comment, in C++, CMake, shell and Python files. Prints both and their ratio.

    scripts/count-lines.py [ROOT]
"""
import os
import re
import sys

KINDS = {
    ".cpp": "c", ".h": "c", ".hpp": "c", ".cc": "c",
    ".cmake": "hash", ".sh": "hash", ".py": "hash",
}


def kind_of(name):
    if name == "CMakeLists.txt":
        return "hash"
    return KINDS.get(os.path.splitext(name)[1])


def count_file(path, kind):
    with open(path, encoding="utf-8", errors="replace") as f:
        text = f.read()
    if kind == "c":
        # Block comments go first (kept as blank lines), then lines that are only // comments.
        text = re.sub(r"/\*.*?\*/", lambda m: "\n" * m.group(0).count("\n"), text, flags=re.S)
        lines = [line.strip() for line in text.splitlines()]
        return sum(1 for line in lines if line and not line.startswith("//"))
    lines = [line.strip() for line in text.splitlines()]
    return sum(1 for line in lines if line and not line.startswith("#"))


def count_tree(top):
    total = 0
    for folder, _, names in os.walk(top):
        for name in names:
            kind = kind_of(name)
            if kind:
                total += count_file(os.path.join(folder, name), kind)
    return total


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..")
    src = count_tree(os.path.join(root, "src"))
    tests = count_tree(os.path.join(root, "tests"))
    print(f"src {src}  tests {tests}  tests/src {100 * tests / src:.0f}%")


if __name__ == "__main__":
    main()
