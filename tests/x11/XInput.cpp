#include "XInput.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QElapsedTimer>
#include <QTest>
#include <QWidget>
#include <cstdlib>
#include <vector>

// Xlib last: its macros (Bool, Status, None, KeyPress) clash with Qt's and GoogleTest's names.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace kivrel::testing {

XInput::XInput() {
  display_ = XOpenDisplay(nullptr);
  EXPECT_NE(display_, nullptr) << "no X display: these tests run on an X server (tests/x11/run-on-x.sh)";
  int event_base = 0, error_base = 0, major = 0, minor = 0;
  if (display_) {
    EXPECT_TRUE(XTestQueryExtension(display_, &event_base, &error_base, &major, &minor))
        << "the X server has no XTest extension";
  }
}

XInput::~XInput() {
  if (display_) XCloseDisplay(display_);
}

void XInput::Tap(unsigned keycode, bool press) {
  XTestFakeKeyEvent(display_, keycode, press ? True : False, CurrentTime);
}

void XInput::Key(unsigned long keysym, std::initializer_list<unsigned long> modifiers) {
  if (!display_) return;
  std::vector<unsigned> held;
  for (unsigned long modifier : modifiers) held.push_back(XKeysymToKeycode(display_, modifier));
  const unsigned key = XKeysymToKeycode(display_, keysym);
  EXPECT_NE(key, 0u) << "no key for keysym " << keysym;
  for (unsigned code : held) Tap(code, true);
  Tap(key, true);
  Tap(key, false);
  for (auto it = held.rbegin(); it != held.rend(); ++it) Tap(*it, false);
  XSync(display_, False);
  Settle(60);
}

void XInput::Type(std::string_view text) {
  if (!display_) return;
  const unsigned shift = XKeysymToKeycode(display_, XK_Shift_L);
  for (char c : text) {
    // Keysyms of the Latin-1 characters are their codes.
    const KeySym keysym = static_cast<unsigned char>(c);
    const KeyCode key = XKeysymToKeycode(display_, keysym);
    EXPECT_NE(key, 0) << "no key types '" << c << "'";
    const bool shifted = XkbKeycodeToKeysym(display_, key, 0, 0) != keysym;
    if (shifted) Tap(shift, true);
    Tap(key, true);
    Tap(key, false);
    if (shifted) Tap(shift, false);
  }
  XSync(display_, False);
  Settle(60);
}

void XInput::ClickAt(QPoint global) {
  if (!display_) return;
  XTestFakeMotionEvent(display_, -1, global.x(), global.y(), CurrentTime);
  XSync(display_, False);
  Settle(30);
  XTestFakeButtonEvent(display_, 1, True, CurrentTime);
  XTestFakeButtonEvent(display_, 1, False, CurrentTime);
  XSync(display_, False);
  Settle(60);
}

void XInput::Click(const QWidget* widget) { Click(widget, widget->rect().center()); }

void XInput::Click(const QWidget* widget, QPoint local) {
  ASSERT_NE(widget, nullptr);
  ClickAt(widget->mapToGlobal(local));
}

void XInput::Wheel(QPoint global, int steps, std::initializer_list<unsigned long> modifiers) {
  if (!display_) return;
  XTestFakeMotionEvent(display_, -1, global.x(), global.y(), CurrentTime);
  std::vector<unsigned> held;
  for (unsigned long modifier : modifiers) held.push_back(XKeysymToKeycode(display_, modifier));
  for (unsigned code : held) Tap(code, true);
  const unsigned button = steps > 0 ? 4 : 5;
  for (int i = 0; i < std::abs(steps); ++i) {
    XTestFakeButtonEvent(display_, button, True, CurrentTime);
    XTestFakeButtonEvent(display_, button, False, CurrentTime);
  }
  for (auto it = held.rbegin(); it != held.rend(); ++it) Tap(*it, false);
  XSync(display_, False);
  Settle(60);
}

void Settle(int ms) { QTest::qWait(ms); }

bool WaitFor(const std::function<bool()>& condition, int timeout_ms) {
  QElapsedTimer timer;
  timer.start();
  while (!condition()) {
    if (timer.elapsed() > timeout_ms) return false;
    QTest::qWait(20);
  }
  return true;
}

bool WaitActive(QWidget* window, int timeout_ms) {
  if (!window) return false;
  return QTest::qWaitForWindowActive(window, timeout_ms);
}

bool WaitForKeys(QWidget* window, int timeout_ms) {
  return window && WaitFor([window] { return QApplication::activeWindow() == window->window(); }, timeout_ms);
}

void SaveScreen(const std::string& name) {
  const QByteArray folder = qgetenv("KIVREL_SCREENSHOTS");
  if (folder.isEmpty()) return;
  QDir().mkpath(QString::fromLocal8Bit(folder));
  QGuiApplication::primaryScreen()->grabWindow(0).save(QString::fromLocal8Bit(folder) + "/" +
                                                       QString::fromStdString(name) + ".png");
}

}  // namespace kivrel::testing
