#!/bin/sh
# Checks that two kivrel-cli programs build the same puzzles: the JSON of many seeded
# builds (all but elapsedMs) must agree byte for byte. Run it before and after a change
# to the engine that must keep every decision and every random draw:
#
#   bench/same-builds.sh OLD/kivrel-cli NEW/kivrel-cli [PEER_BENCH_DIR]
#
# The lists: every example and themed list with its own header, the benchmark lists,
# and the peer harness's workloads (PEER_BENCH_DIR, by default ../shared/peer-bench
# beside the checkout) at their sizes; each with a few build options.
set -eu
old=$1
new=$2
here=$(cd "$(dirname "$0")/.." && pwd)
peers=${3:-$here/../shared/peer-bench}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
count=${COUNT:-100}
runs=0
failed=0

compare() {  # list, then build options
  list=$1
  shift
  ended=""
  for tool in old new; do
    eval "cli=\$$tool"
    status=0
    "$cli" build "$list" --json --count "$count" --seed 1 "$@" >"$tmp/$tool.json" 2>"$tmp/$tool.err" || status=$?
    sed 's/"elapsedMs":[0-9.e+-]*,//' "$tmp/$tool.json" >"$tmp/$tool"
    # Two programs that fail alike are not two that build alike.
    [ "$status" -eq 0 ] || ended="$ended $tool exited $status ($(head -c 200 "$tmp/$tool.err"));"
  done
  runs=$((runs + 1))
  if [ -n "$ended" ] || [ ! -s "$tmp/old" ] || ! cmp -s "$tmp/old" "$tmp/new"; then
    failed=$((failed + 1))
    echo "DIFFERENT: $list $*${ended:+ -$ended}"
  fi
}

variants() {  # list, then the options every variant shares
  list=$1
  shift
  compare "$list" "$@"
  compare "$list" "$@" --balance
  compare "$list" "$@" --no-diagonals
  compare "$list" "$@" --stop-on-reject
}

for list in "$here"/examples/*.kvl "$here"/examples/themes/*.kvl "$here"/bench/data/*.kvl; do
  variants "$list"
done
if [ -d "$peers/lists" ]; then
  variants "$peers/lists/W1.txt" --width 15 --height 15
  variants "$peers/lists/W2.txt" --width 20 --height 20
  variants "$peers/lists/W3.txt" --width 40 --height 40
  variants "$peers/lists/W4.txt" --width 12 --height 12
  compare "$peers/lists/W4.txt" --width 12 --height 12 --restart-on-reject --max-attempts 20
  # Lines of 63, 64 and 65 cells, long and short grids.
  for size in "99 99" "70 30" "64 64" "63 63" "65 65" "64 12" "12 64" "63 20"; do
    set -- $size
    compare "$peers/lists/W3.txt" --width "$1" --height "$2"
  done
else
  echo "no peer workloads at $peers: only the lists of the checkout compared"
fi
echo "$runs runs of $count builds each, $failed different"
[ "$failed" -eq 0 ]
