#pragma once
// Input for the tests on a real X server: keys, clicks and the wheel go through the X
// server (its XTest extension), so they reach the window that has the focus there and
// pass through the window manager, exactly as a user's would. Nothing is delivered to a
// chosen widget directly, and nothing waits for a fixed time: a test waits for the state
// it needs, and every input returns once the program has taken in all it caused.
#include <X11/keysym.h>

#include <QPoint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string_view>

class QWidget;
struct _XDisplay;

namespace kivrel::testing {

// Long enough for a machine under heavy load; reached only when a test fails.
constexpr int kPatience = 30000;

class XInput {
 public:
  using Keys = std::initializer_list<unsigned long>;
  /// Opens the display named by DISPLAY; without one (or without XTest) the tests end.
  XInput();
  ~XInput();
  XInput(const XInput&) = delete;
  XInput& operator=(const XInput&) = delete;

  /// Presses and releases a key (an X keysym such as XK_Tab) while the modifier keys
  /// given (XK_Alt_L, XK_Shift_L, XK_Control_L) are held down.
  void Key(unsigned long keysym, Keys modifiers = {});
  /// Types text on the US layout, with Shift where a character needs it (\r: Enter, \t: Tab).
  void Type(std::string_view text);
  /// Clicks a mouse button on a widget where it shows on the screen, at its centre unless
  /// a point of it is given: the left button, or 4 and 5 to turn the wheel a notch away
  /// from the user and towards them.
  void Click(const QWidget* widget, std::optional<QPoint> local = {}, unsigned button = 1, Keys modifiers = {});
  /// Asks the window manager to activate a window as Qt asks it: the server hands the
  /// request to every Qt program too (they watch the screen's structure).
  void AskToActivate(const QWidget* window);
  /// True when the window holds the X server's keyboard focus and is Qt's active window.
  bool HasKeys(const QWidget* window);
  /// How often the X server's bell has rung since this input was made, as far as the
  /// server has told so far (it tells of every ring, whoever asked for it).
  int Bells();

 private:
  void Press(unsigned code, Keys modifiers, bool button = false);
  void Sync();
  _XDisplay* display_;
  int xkb_event_ = -1;  // the keyboard extension's event type
  int bells_ = 0;
};

/// Waits for the condition, letting events in meanwhile.
bool WaitFor(const std::function<bool()>& condition, int timeout_ms = kPatience);

/// Waits until the window is shown, placed by the window manager (its place stays put)
/// and has the keys. A window shown while the manager is busy may miss the focus given
/// to new windows: it asks once more, then clicks its title bar as a user would.
bool Ready(QWidget* window);

}  // namespace kivrel::testing
