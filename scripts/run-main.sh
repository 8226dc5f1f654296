#!/usr/bin/env bash
# The main job: the Kivrel window when there is a display, otherwise the command-line
# program on the bundled sample list.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$build/src/kivrel"
fi

echo "No display (DISPLAY and WAYLAND_DISPLAY are unset): running kivrel-cli on examples/animals.kvl instead."
exec "$build/src/kivrel-cli" summary examples/animals.kvl
