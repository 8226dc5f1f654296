#!/usr/bin/env bash
# The main job: the Kivrel window when there is a display, otherwise the command-line
# program builds a puzzle from the bundled sample list, shows it and draws its printed
# page (and the answer key) into sample-puzzle.pdf.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$build/src/kivrel"
fi

echo "No display (DISPLAY and WAYLAND_DISPLAY are unset): building a puzzle from examples/animals.kvl with kivrel-cli instead."
echo
pdf="$PWD/sample-puzzle.pdf"
"$build/src/kivrel-cli" build examples/animals.kvl --pdf "$pdf" --answer-key
echo
echo "The printed page and its answer key: $pdf"
