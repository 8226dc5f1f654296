#include "XInput.h"

#include <gtest/gtest.h>

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QWidget>
#include <QWindow>
#include <cstdio>
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
struct SyncMarker : QAbstractNativeEventFilter {
  QWindow window;
  Atom atom = 0;
  unsigned long sent = 0, seen = 0;
  bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
    const auto* event = static_cast<const xcb_property_notify_event_t*>(message);
    seen +=
        type == "xcb_generic_event_t" && (event->response_type & 0x7f) == XCB_PROPERTY_NOTIFY && event->atom == atom;
    return false;
  }
};

}  // namespace

XInput::XInput() : display_(XOpenDisplay(nullptr)) {
  int ignored = 0;
  if (!display_ || !XTestQueryExtension(display_, &ignored, &ignored, &ignored, &ignored)) {
    std::fputs("no X display with XTest: these tests run on an X server (tests/x11/run-on-x.sh)\n", stderr);
    std::exit(1);
  }
  int major = XkbMajorVersion, minor = XkbMinorVersion;
  if (XkbQueryExtension(display_, &ignored, &xkb_event_, &ignored, &major, &minor)) {
    XkbSelectEvents(display_, XkbUseCoreKbd, XkbBellNotifyMask, XkbBellNotifyMask);
  }
}

XInput::~XInput() { XCloseDisplay(display_); }

void XInput::Press(unsigned code, Keys modifiers, bool button) {
  EXPECT_NE(code, 0u) << "no key for it on this keyboard";
  for (unsigned long key : modifiers) XTestFakeKeyEvent(display_, XKeysymToKeycode(display_, key), True, CurrentTime);
  for (Bool down : {True, False}) {
    button ? XTestFakeButtonEvent(display_, code, down, CurrentTime)
           : XTestFakeKeyEvent(display_, code, down, CurrentTime);
  }
  for (unsigned long key : modifiers) XTestFakeKeyEvent(display_, XKeysymToKeycode(display_, key), False, CurrentTime);
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

void XInput::Click(const QWidget* widget, std::optional<QPoint> local, unsigned button, Keys modifiers) {
  ASSERT_NE(widget, nullptr);
  const QPoint global = widget->mapToGlobal(local.value_or(widget->rect().center()));
  XTestFakeMotionEvent(display_, -1, global.x(), global.y(), CurrentTime);
  Press(button, modifiers, true);
  Sync();
}

void XInput::AskToActivate(const QWidget* window) {
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window->winId();
  event.xclient.message_type = XInternAtom(display_, "_NET_ACTIVE_WINDOW", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = 1;  // from an application
  XSendEvent(display_, DefaultRootWindow(display_), False,
             StructureNotifyMask | SubstructureRedirectMask | SubstructureNotifyMask, &event);
  Sync();
}

bool XInput::HasKeys(const QWidget* window) {
  ::Window focus = 0;
  int revert = 0;
  XGetInputFocus(display_, &focus, &revert);
  const QWidget* top = window ? window->window() : nullptr;
  return top && top->isVisible() && QApplication::activeWindow() == top && focus == top->winId();
}

int XInput::Bells() {
  EXPECT_GE(xkb_event_, 0) << "the X server has no keyboard extension to tell of its bell";
  XSync(display_, False);
  while (XPending(display_) > 0) {
    XEvent event;
    XNextEvent(display_, &event);
    bells_ += event.type == xkb_event_ && reinterpret_cast<const XkbEvent&>(event).any.xkb_type == XkbBellNotify;
  }
  return bells_;
}

void XInput::Sync() {
  static auto* marker = [this] {
    auto* made = new SyncMarker;  // lives as long as the application
    made->atom = XInternAtom(display_, "KIVREL_TEST_SYNC", False);
    made->window.create();
    qApp->installNativeEventFilter(made);
    return made;
  }();
  const unsigned long value = ++marker->sent;
  XChangeProperty(display_, marker->window.winId(), marker->atom, XA_CARDINAL, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(&value), 1);
  XSync(display_, False);
  EXPECT_TRUE(WaitFor([] { return marker->seen >= marker->sent; })) << "the program did not take in the input";
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
    // The manager may also turn the program's own request down (it guards against
    // windows taking the focus): a click on the title bar, once there is one, is a user's.
    window->activateWindow();
    const int title_bar = window->geometry().top() - window->frameGeometry().top();
    if (!WaitFor([&] { return input.HasKeys(window); }, 5000) && title_bar > 0) {
      input.Click(window, QPoint(window->width() / 2, -title_bar / 2));
    }
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
