#include "XInput.h"

#include <gtest/gtest.h>

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QScreen>
#include <QTest>
#include <QWidget>
#include <QWindow>
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
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if (type == "xcb_generic_event_t" && (event->response_type & 0x7f) == XCB_PROPERTY_NOTIFY &&
        static_cast<const xcb_property_notify_event_t*>(message)->atom == atom_) {
      ++seen_;
    }
    return false;
  }

 private:
  QWindow window_;
  Atom atom_;
  unsigned long sent_ = 0, seen_ = 0;
};

SyncMarker& Marker(Display* display) {
  static auto* marker = new SyncMarker(display);  // lives as long as the application
  return *marker;
}

}  // namespace

XInput::XInput() {
  display_ = XOpenDisplay(nullptr);
  int event_base = 0, error_base = 0, major = 0, minor = 0;
  EXPECT_TRUE(display_ && XTestQueryExtension(display_, &event_base, &error_base, &major, &minor))
      << "no X display with XTest: these tests run on an X server (tests/x11/run-on-x.sh)";
}

XInput::~XInput() {
  if (display_) XCloseDisplay(display_);
}

void XInput::Hold(std::initializer_list<unsigned long> modifiers, bool press) {
  for (unsigned long modifier : modifiers) {
    XTestFakeKeyEvent(display_, XKeysymToKeycode(display_, modifier), press ? True : False, CurrentTime);
  }
}

void XInput::Key(unsigned long keysym, std::initializer_list<unsigned long> modifiers) {
  if (!display_) return;
  const unsigned key = XKeysymToKeycode(display_, keysym);
  EXPECT_NE(key, 0u) << "no key for keysym " << keysym;
  Hold(modifiers, true);
  XTestFakeKeyEvent(display_, key, True, CurrentTime);
  XTestFakeKeyEvent(display_, key, False, CurrentTime);
  Hold(modifiers, false);
  Sync();
}

void XInput::Type(std::string_view text) {
  if (!display_) return;
  for (char c : text) {
    // Keysyms of the Latin-1 characters are their codes.
    const KeySym keysym = c == '\r' ? XK_Return : c == '\t' ? XK_Tab : static_cast<unsigned char>(c);
    const KeyCode key = XKeysymToKeycode(display_, keysym);
    EXPECT_NE(key, 0) << "no key types '" << c << "'";
    const bool shifted = XkbKeycodeToKeysym(display_, key, 0, 0) != keysym;
    if (shifted) Hold({XK_Shift_L}, true);
    XTestFakeKeyEvent(display_, key, True, CurrentTime);
    XTestFakeKeyEvent(display_, key, False, CurrentTime);
    if (shifted) Hold({XK_Shift_L}, false);
  }
  Sync();
}

void XInput::ClickAt(QPoint global) {
  if (!display_) return;
  XTestFakeMotionEvent(display_, -1, global.x(), global.y(), CurrentTime);
  XTestFakeButtonEvent(display_, 1, True, CurrentTime);
  XTestFakeButtonEvent(display_, 1, False, CurrentTime);
  Sync();
}

void XInput::Click(const QWidget* widget) { Click(widget, widget->rect().center()); }

void XInput::Click(const QWidget* widget, QPoint local) {
  ASSERT_NE(widget, nullptr);
  ClickAt(widget->mapToGlobal(local));
}

void XInput::Wheel(QPoint global, int steps, std::initializer_list<unsigned long> modifiers) {
  if (!display_) return;
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
  if (display_) Marker(display_).Send(display_);
}

bool XInput::HasKeys(const QWidget* window) {
  if (!display_ || !window) return false;
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

void SaveScreen(const std::string& name) {
  const QString folder = qEnvironmentVariable("KIVREL_SCREENSHOTS");
  if (folder.isEmpty()) return;
  QDir().mkpath(folder);
  QGuiApplication::primaryScreen()->grabWindow(0).save(folder + "/" + QString::fromStdString(name) + ".png");
}

}  // namespace kivrel::testing
