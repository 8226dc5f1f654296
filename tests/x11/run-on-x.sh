#!/usr/bin/env bash
# Runs a program on an X server of its own, as on a desktop: Xvfb with a 1600 x 1000
# screen and the openbox window manager, which gives new windows the focus and activates
# the window clicked. The server chooses a free display number itself (-displayfd), so
# several such programs can run at once, and never resets. The program's exit status is
# this script's.
#
# Each step waits for the state the next one needs, up to 30 s on a busy machine, and
# the script gives up with the reason rather than run the program without a window
# manager (its windows would then have no frame, no close box and no focus handling).
tmp=$(mktemp -d)
trap 'kill $wm $xvfb 2>/dev/null; wait; rm -rf "$tmp"' EXIT

wait_until() {  # polls a command until it succeeds, at most 30 s
  for _ in $(seq 600); do
    "$@" && return 0
    sleep 0.05
  done
  return 1
}
give_up() {  # what did not start, and its log
  echo "run-on-x: $1 did not start:" >&2
  cat "$2" >&2
  exit 1
}

Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp -noreset 3>"$tmp/display" 2>"$tmp/xvfb.log" &
xvfb=$!
# The display number is whole once its line has ended; the server is up once it answers.
display_known() { [ "$(wc -l <"$tmp/display")" -ge 1 ]; }
wait_until display_known || give_up Xvfb "$tmp/xvfb.log"
export DISPLAY=":$(head -n1 "$tmp/display")"
wait_until xprop -root -len 0 >/dev/null 2>&1 || give_up Xvfb "$tmp/xvfb.log"

openbox --sm-disable >"$tmp/wm.log" 2>&1 &
wm=$!
# The window manager is ready once it announces itself on the root window (the wait
# ends early if it is gone).
wm_ready() { ! kill -0 $wm 2>/dev/null || xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
wait_until wm_ready
kill -0 $wm 2>/dev/null && wm_ready || give_up openbox "$tmp/wm.log"

QT_QPA_PLATFORM=xcb "$@"
