#!/usr/bin/env bash
# Runs one fuzz target over its committed seeds.
#
#   fuzz/run.sh TARGET FUZZ_BUILD_DIR runs N       N inputs from a fresh corpus (the tests)
#   fuzz/run.sh TARGET FUZZ_BUILD_DIR seconds S    S seconds; the corpus grown is kept in
#                                                  FUZZ_BUILD_DIR/work-TARGET for the next run
#
# TARGET is word_list_file, puzzle_file or build_search. A crash, leak, hang (10 s for
# one input) or sanitizer report ends the run with a non-zero exit code and leaves the
# input that caused it in FUZZ_BUILD_DIR/work-TARGET/.
set -euo pipefail

if [ $# -ne 4 ] || { [ "$3" != runs ] && [ "$3" != seconds ]; }; then
  echo "usage: $0 TARGET FUZZ_BUILD_DIR runs|seconds AMOUNT" >&2
  exit 2
fi
target=$1
build=$(cd "$2" && pwd)
mode=$3
amount=$4
here=$(cd "$(dirname "$0")" && pwd)

work="$build/work-$target"

# Inputs may grow past the readers' limits: a word list of more than 32,767 entries
# (a long run starts from one such list too; the short runs of the tests would spend
# their inputs on it), a puzzle file of the largest grid (32,767 cells of 23 bytes).
seeds=("$here/corpus/$target")
if [ "$target" = word_list_file ]; then
  seeds+=("$here/../examples")
  if [ "$mode" = seconds ]; then
    mkdir -p "$work/large"
    awk 'BEGIN { for (i = 0; i <= 32767; i++) print "a" }' > "$work/large/too-many-entries.txt"
    seeds+=("$work/large")
  fi
  max_len=262144
elif [ "$target" = build_search ]; then
  max_len=4096  # the case keeps only the words its budget allows
else
  max_len=1048576
fi
if [ "$mode" = runs ]; then
  rm -rf "$work/corpus"
  limit=(-runs="$amount")
else
  limit=(-max_total_time="$amount")
fi
mkdir -p "$work/corpus"

# New inputs go into the first folder, so the committed seeds stay as they are.
exec "$build/fuzz_$target" "$work/corpus" "${seeds[@]}" \
  -artifact_prefix="$work/" -max_len=$max_len -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 "${limit[@]}"
