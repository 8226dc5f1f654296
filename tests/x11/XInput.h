#pragma once
// Input for the tests on a real X server: keys and mouse clicks are sent through the X
// server (its XTest extension), so they reach the window that has the focus there and
// pass through the window manager, exactly as a user's would. Nothing is delivered to a
// chosen widget directly.
#include <X11/keysym.h>

#include <QPoint>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>

class QWidget;
struct _XDisplay;

namespace kivrel::testing {

class XInput {
 public:
  /// Opens the display named by DISPLAY; fails the test when there is none.
  XInput();
  ~XInput();
  XInput(const XInput&) = delete;
  XInput& operator=(const XInput&) = delete;

  /// Presses and releases a key (an X keysym such as XK_Tab or XK_Return) while the
  /// modifier keys given (XK_Alt_L, XK_Shift_L, XK_Control_L) are held down.
  void Key(unsigned long keysym, std::initializer_list<unsigned long> modifiers = {});
  /// Types text on the US layout (letters, digits, space and punctuation), with Shift
  /// where a character needs it.
  void Type(std::string_view text);
  /// Moves the pointer to a point of the screen and clicks the left button there.
  void ClickAt(QPoint global);
  /// Clicks a widget where it shows on the screen (its centre unless a point is given).
  void Click(const QWidget* widget);
  void Click(const QWidget* widget, QPoint local);
  /// Turns the mouse wheel over a point of the screen: positive steps away from the
  /// user (up), negative towards (down), while the modifier keys given are held down.
  void Wheel(QPoint global, int steps, std::initializer_list<unsigned long> modifiers = {});

 private:
  void Tap(unsigned keycode, bool press);
  _XDisplay* display_ = nullptr;
};

/// Lets the program take in what the X server has delivered, for about `ms`.
void Settle(int ms = 150);

/// Waits up to `timeout_ms` for the condition, letting events in meanwhile.
bool WaitFor(const std::function<bool()>& condition, int timeout_ms = 3000);

/// Waits until the window is shown and active on the X server (the window manager gave
/// it the focus).
bool WaitActive(QWidget* window, int timeout_ms = 3000);

/// Waits until the window itself has the keys. (A dialog counts as active for Qt while
/// the window it belongs to is, so WaitActive may answer before the dialog has them.)
bool WaitForKeys(QWidget* window, int timeout_ms = 3000);

/// With KIVREL_SCREENSHOTS naming a folder, saves the screen as it is now there as
/// NAME.png (for the README's pictures and for looking at what a test saw).
void SaveScreen(const std::string& name);

}  // namespace kivrel::testing
