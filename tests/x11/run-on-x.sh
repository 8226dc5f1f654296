#!/usr/bin/env bash
# Runs a program on an X server of its own, as on a desktop: Xvfb with a 1600 x 1000
# screen and the openbox window manager, which gives new windows the focus and activates
# the window clicked. The server chooses a free display number itself (-displayfd), so
# several such programs can run at once. The program's exit status is this script's.
tmp=$(mktemp -d)
cleanup() {
  [ -n "${wm:-}" ] && kill "$wm" 2>/dev/null
  [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$tmp"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp 3>"$tmp/display" 2>"$tmp/xvfb.log" &
xvfb=$!
for _ in $(seq 200); do [ -s "$tmp/display" ] && break; sleep 0.05; done
if [ ! -s "$tmp/display" ]; then
  echo "run-on-x: Xvfb did not start:" >&2
  cat "$tmp/xvfb.log" >&2
  exit 1
fi
export DISPLAY=":$(head -n1 "$tmp/display")"

openbox --sm-disable >"$tmp/wm.log" 2>&1 &
wm=$!
# The window manager is ready once it announces itself on the root window.
for _ in $(seq 200); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.05
done

export QT_QPA_PLATFORM=xcb
"$@"
status=$?
exit $status
