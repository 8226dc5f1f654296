// A measuring aid, never part of the program: loaded into a window benchmark under X
// (LD_PRELOAD), it answers Qt's round trip to the X server (GetInputFocus, which Qt
// sends before it paints over memory the server may still be reading) at once, without
// asking the server. The picture may then tear; what is left of the window build's
// extra time is the rest of what X costs it. docs/performance.md says how it is used:
//
//   cc -O2 -shared -fPIC -o build/skip-x-sync.so bench/skip-x-sync.c
//   QT_QPA_PLATFORM=xcb LD_PRELOAD=build/skip-x-sync.so xvfb-run -a
//       build/bench/bench_window_build --benchmark_filter=Against   (one line)
#include <stdlib.h>
#include <xcb/xcb.h>

xcb_get_input_focus_cookie_t xcb_get_input_focus(xcb_connection_t* connection) {
  (void)connection;
  xcb_get_input_focus_cookie_t none = {0};
  return none;
}

xcb_get_input_focus_reply_t* xcb_get_input_focus_reply(xcb_connection_t* connection,
                                                       xcb_get_input_focus_cookie_t cookie,
                                                       xcb_generic_error_t** error) {
  (void)connection;
  (void)cookie;
  if (error) *error = NULL;
  return calloc(1, sizeof(xcb_get_input_focus_reply_t));
}
