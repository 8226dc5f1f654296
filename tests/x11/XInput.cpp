#include "XInput.h"

#include <gtest/gtest.h>

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QWidget>
#include <QWindow>
#include <cstdio>
#include <cstdlib>
#include <xcb/xcb.h>

// Xlib last: its macros (Bool, Status, None, KeyPress) clash with Qt's and GoogleTest's names.
#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace kivrel::testing {
namespace {

// Counts the changes of a property of a window of this process that no one else uses:
// the server delivers them after every event caused by input it took in before.
class SyncMarker : public QAbstractNativeEventFilter {
 public:
  explicit SyncMarker(Display* display) : atom_(XInternAtom(display, "KIVREL_TEST_SYNC", False)) {
    window_.create();
    qApp->installNativeEventFilter(this);
  }
  void Send(Display* display) {
    const unsigned long value = ++sent_;
    XChangeProperty(display, window_.winId(), atom_, XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&value), 1);
    XSync(display, False);
    EXPECT_TRUE(WaitFor([this] { return seen_ >= sent_; })) << "the program did not take in the input";
  }
  bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
    const auto* event = static_cast<const xcb_property_notify_event_t*>(message);
    seen_ += type == "xcb_generic_event_t" && (event->response_type & 0x7f) == XCB_PROPERTY_NOTIFY &&
             event->atom == atom_;
    return false;
  }

 private:
  QWindow window_;
  Atom atom_;
  unsigned long sent_ = 0, seen_ = 0;
};

}  // namespace

XInput::XInput() : display_(XOpenDisplay(nullptr)) {
  int event_base = 0, error_base = 0, major = 0, minor = 0;
  if (!display_ || !XTestQueryExtension(display_, &event_base, &error_base, &major, &minor)) {
    std::fputs("no X display with XTest: these tests run on an X server (tests/x11/run-on-x.sh)\n", stderr);
    std::exit(1);
  }
}

XInput::~XInput() { XCloseDisplay(display_); }

void XInput::Hold(Keys modifiers, bool down) {
  for (unsigned long key : modifiers) XTestFakeKeyEvent(display_, XKeysymToKeycode(display_, key), down, CurrentTime);
}

void XInput::Press(unsigned keycode, Keys modifiers) {
  EXPECT_NE(keycode, 0u) << "no key for it on this keyboard";
  Hold(modifiers, true);
  XTestFakeKeyEvent(display_, keycode, True, CurrentTime);
  XTestFakeKeyEvent(display_, keycode, False, CurrentTime);
  Hold(modifiers, false);
}

void XInput::Key(unsigned long keysym, Keys modifiers) {
  Press(XKeysymToKeycode(display_, keysym), modifiers);
  Sync();
}

void XInput::Type(std::string_view text) {
  for (char c : text) {
    // Keysyms of the Latin-1 characters are their codes.
    const KeySym keysym = c == '\r' ? XK_Return : c == '\t' ? XK_Tab : static_cast<unsigned char>(c);
    const KeyCode key = XKeysymToKeycode(display_, keysym);
    XkbKeycodeToKeysym(display_, key, 0, 0) == keysym ? Press(key, {}) : Press(key, {XK_Shift_L});
  }
  Sync();
}

void XInput::ClickAt(QPoint global) {
  XTestFakeMotionEvent(display_, -1, global.x(), global.y(), CurrentTime);
  XTestFakeButtonEvent(display_, 1, True, CurrentTime);
  XTestFakeButtonEvent(display_, 1, False, CurrentTime);
  Sync();
}

void XInput::Click(const QWidget* widget, std::optional<QPoint> local) {
  ASSERT_NE(widget, nullptr);
  ClickAt(widget->mapToGlobal(local.value_or(widget->rect().center())));
}

void XInput::Wheel(QPoint global, int steps, Keys modifiers) {
  XTestFakeMotionEvent(display_, -1, global.x(), global.y(), CurrentTime);
  Hold(modifiers, true);
  for (int i = 0; i < std::abs(steps); ++i) {
    XTestFakeButtonEvent(display_, steps > 0 ? 4 : 5, True, CurrentTime);
    XTestFakeButtonEvent(display_, steps > 0 ? 4 : 5, False, CurrentTime);
  }
  Hold(modifiers, false);
  Sync();
}

void XInput::Sync() {
  static auto* marker = new SyncMarker(display_);  // lives as long as the application
  marker->Send(display_);
}

bool XInput::HasKeys(const QWidget* window) {
  if (!window) return false;
  ::Window focus = 0;
  int revert = 0;
  XGetInputFocus(display_, &focus, &revert);
  const QWidget* top = window->window();
  return top->isVisible() && QApplication::activeWindow() == top && focus == top->winId();
}

bool WaitFor(const std::function<bool()>& condition, int timeout_ms) {
  QElapsedTimer timer;
  timer.start();
  while (!condition()) {
    if (timer.elapsed() > timeout_ms) return false;
    QTest::qWait(20);
  }
  return true;
}

bool Ready(QWidget* window) {
  XInput input;
  if (!window || !WaitFor([&] { return window->isVisible(); })) return false;
  if (!WaitFor([&] { return input.HasKeys(window); }, 5000)) {
    window->activateWindow();
    if (!WaitFor([&] { return input.HasKeys(window); })) return false;
  }
  // Clicks go by the window's place on the screen, which settles once the manager has
  // framed the window.
  QPoint last = window->mapToGlobal(QPoint());
  int steady = 0;
  return WaitFor([&] {
    const QPoint now = window->mapToGlobal(QPoint());
    steady = now == last ? steady + 1 : 0;
    last = now;
    return steady >= 5 && input.HasKeys(window);
  });
}

}  // namespace kivrel::testing
