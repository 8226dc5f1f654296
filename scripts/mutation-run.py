#!/usr/bin/env python3
"""Hand-made faults against the test suite: each mutant changes one place of the code,
the suite is built and run, and the mutant counts as killed when a test fails.

    scripts/mutation-run.py [--work DIR] [--only ID,ID] [--exclude REGEX] [--list]

The tree as it is (tracked and untracked files, not ignored ones) is copied into
DIR/src (default build-mutation/), built there once with ccache when it is installed,
and checked clean first: every selected test must pass without a mutant. Then each
mutant is applied, the changed targets rebuilt and the tests run until the first
failure. Results go to stdout and DIR/results.txt. Not part of `make test`: a run
takes about a minute a mutant on two cores.

Mutants are listed in scripts/mutants.txt, one block each:

    ## ID  what the fault is
    @@ src/path/File.cpp
    - text as it stands (exactly once in the file; may span lines, each prefixed "- ")
    + the text that replaces it (each line prefixed "+ ")
"""
import argparse
import os
import re
import shutil
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)


def parse_mutants(path):
    mutants, current = [], None
    for raw in open(path, encoding="utf-8"):
        line = raw.rstrip("\n")
        if line.startswith("## "):
            ident, _, about = line[3:].partition(" ")
            current = {"id": ident, "about": about.strip(), "file": None, "old": [], "new": []}
            mutants.append(current)
        elif current is None or not line.strip() or line.startswith("#"):
            continue
        elif line.startswith("@@ "):
            current["file"] = line[3:].strip()
        elif line.startswith("- ") or line == "-":
            current["old"].append(line[2:])
        elif line.startswith("+ ") or line == "+":
            current["new"].append(line[2:])
        else:
            sys.exit(f"{path}: cannot read the line {line!r} of mutant {current['id']}")
    for m in mutants:
        if not m["file"] or not m["old"]:
            sys.exit(f"{path}: mutant {m['id']} names no file or no text")
        m["old"], m["new"] = "\n".join(m["old"]), "\n".join(m["new"])
    return mutants


def run(cmd, cwd, log):
    with open(log, "a") as out:
        out.write(f"\n$ {' '.join(cmd)}\n")
        out.flush()
        return subprocess.run(cmd, cwd=cwd, stdout=out, stderr=subprocess.STDOUT).returncode


def copy_tree(dest):
    files = subprocess.run(["git", "ls-files", "-co", "--exclude-standard", "-z"], cwd=ROOT, check=True,
                           capture_output=True).stdout.decode().split("\0")
    for name in filter(None, files):
        src, dst = os.path.join(ROOT, name), os.path.join(dest, name)
        if not os.path.isfile(src):
            continue
        os.makedirs(os.path.dirname(dst), exist_ok=True)
        if not os.path.exists(dst) or open(src, "rb").read() != open(dst, "rb").read():
            shutil.copy2(src, dst)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--work", default=os.path.join(ROOT, "build-mutation"))
    parser.add_argument("--mutants", default=os.path.join(HERE, "mutants.txt"))
    parser.add_argument("--only", default="", help="comma-separated mutant ids")
    parser.add_argument("--exclude", default="^(package_|fuzz_)", help="ctest -E: tests not run")
    parser.add_argument("--list", action="store_true", help="list the mutants and whether they apply")
    args = parser.parse_args()

    mutants = parse_mutants(args.mutants)
    if args.only:
        wanted = set(args.only.split(","))
        mutants = [m for m in mutants if m["id"] in wanted]
    source, build = os.path.join(args.work, "src"), os.path.join(args.work, "build")
    log = os.path.join(args.work, "log.txt")
    os.makedirs(source, exist_ok=True)
    copy_tree(source)

    for m in mutants:
        text = open(os.path.join(source, m["file"]), encoding="utf-8").read()
        m["count"] = text.count(m["old"])
    if args.list:
        for m in mutants:
            state = "applies" if m["count"] == 1 else f"STALE (found {m['count']} times)"
            print(f"{m['id']:6} {state:24} {m['file']}: {m['about']}")
        return 0

    configure = ["cmake", "-S", source, "-B", build, "-DCMAKE_BUILD_TYPE=Release", "-DKIVREL_BUILD_FUZZ=OFF",
                 "-DKIVREL_BUILD_BENCH=OFF"]
    if shutil.which("ccache"):
        configure.append("-DCMAKE_CXX_COMPILER_LAUNCHER=ccache")
    jobs = str(os.cpu_count() or 2)
    ctest = ["ctest", "-j", jobs, "--stop-on-failure", "-E", args.exclude]
    env_ok = run(configure, ROOT, log) == 0 and run(["cmake", "--build", build, "-j", jobs], ROOT, log) == 0
    if not env_ok:
        sys.exit(f"the tree does not build: see {log}")
    os.environ.setdefault("QT_QPA_PLATFORM", "offscreen")
    if run(ctest, build, log) != 0:
        sys.exit(f"the suite fails without a mutant: see {log}")

    results = []
    for m in mutants:
        path = os.path.join(source, m["file"])
        original = open(path, encoding="utf-8").read()
        if m["count"] != 1:
            results.append((m, "stale"))
        else:
            try:
                open(path, "w", encoding="utf-8").write(original.replace(m["old"], m["new"]))
                if run(["cmake", "--build", build, "-j", jobs], ROOT, log) != 0:
                    outcome = "does not build"
                else:
                    outcome = "killed" if run(ctest, build, log) != 0 else "SURVIVED"
            finally:
                open(path, "w", encoding="utf-8").write(original)
            results.append((m, outcome))
        print(f"{m['id']:6} {results[-1][1]:15} {m['about']}", flush=True)
    run(["cmake", "--build", build, "-j", jobs], ROOT, log)  # the clean tree again

    killed = sum(1 for _, outcome in results if outcome == "killed")
    counted = sum(1 for _, outcome in results if outcome in ("killed", "SURVIVED"))
    summary = f"killed {killed} of {counted} mutants ({len(results) - counted} stale or not building)"
    print(summary)
    with open(os.path.join(args.work, "results.txt"), "w") as out:
        for m, outcome in results:
            out.write(f"{m['id']}\t{outcome}\t{m['about']}\n")
        out.write(summary + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
