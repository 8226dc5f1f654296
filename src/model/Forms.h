#pragma once
// The windows as the core sees them: each window is a Form holding the properties of
// its controls (enabled, visible, caption or text, value, default button, check mark,
// geometry, font) and the handlers of their events. The core decides by changing these
// properties and raising these events; a window of the GUI renders a Form and forwards
// the user's actions to it, so every decision can be tested without the window system.
#include <array>
#include <cstddef>
#include <deque>
#include <functional>
#include <iosfwd>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Surface.h"

namespace kivrel {

class Window;

/// One control of one window. Only a window's declaration makes them (see
/// controls/Declare.h), so a misspelt control does not compile, and a Form refuses a
/// control of another window. The default value stands for the window itself.
class Control {
 public:
  constexpr Control() = default;

  /// The control's name, which is also its widget's objectName; "" for the window.
  constexpr std::string_view Name() const;
  constexpr bool IsWindow() const { return window_ == nullptr; }
  /// The window that declares the control (null for the window itself).
  constexpr const Window* Owner() const { return window_; }
  /// The control's place in its window's declaration (-1 for the window itself).
  constexpr int Index() const { return index_; }
  constexpr bool operator==(const Control&) const = default;

 private:
  friend class Window;
  constexpr Control(const Window* window, int index) : window_(window), index_(index) {}

  const Window* window_ = nullptr;
  int index_ = -1;
};

/// Writes the control's name (test failures name it).
std::ostream& operator<<(std::ostream& out, Control control);

/// A window: its name (the window's objectName) and the names of its controls, as its
/// declaration lists them. One object per window, which its Controls point to.
class Window {
 public:
  constexpr Window(std::string_view name, std::span<const std::string_view> controls)
      : name_(name), controls_(controls) {}
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  constexpr std::string_view Name() const { return name_; }
  constexpr int Size() const { return static_cast<int>(controls_.size()); }
  /// Every declared control, in the order of the declaration.
  constexpr Control At(int index) const {
    if (index < 0 || index >= Size()) throw std::out_of_range("no control " + std::to_string(index));
    return Control(this, index);
  }
  /// The control of that name. A name the window does not declare does not compile
  /// where the control is a constant, and throws std::invalid_argument at run time.
  constexpr Control Get(std::string_view name) const {
    if (auto found = Find(name)) return *found;
    throw std::invalid_argument(std::string(name_) + " has no control " + std::string(name));
  }
  /// The control of that name, or nothing when the window does not declare it.
  constexpr std::optional<Control> Find(std::string_view name) const {
    for (int i = 0; i < Size(); ++i) {
      if (controls_[static_cast<std::size_t>(i)] == name) return Control(this, i);
    }
    return std::nullopt;
  }

 private:
  friend class Control;
  std::string_view name_;
  std::span<const std::string_view> controls_;
};

constexpr std::string_view Control::Name() const {
  return window_ ? window_->controls_[static_cast<std::size_t>(index_)] : std::string_view();
}

/// A control array of a window: its elements in order (lblDirection_0, lblDirection_1,
/// ...). An index outside the array throws std::out_of_range.
template <std::size_t N>
struct ControlArray {
  std::array<Control, N> Elements;

  Control operator[](int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= N) {
      throw std::out_of_range("no element " + std::to_string(index));
    }
    return Elements[static_cast<std::size_t>(index)];
  }
  auto begin() const { return Elements.begin(); }
  auto end() const { return Elements.end(); }
};

/// What changed, for the listeners that render a form.
enum class Property {
  Enabled,
  Visible,
  Default,
  Checked,
  Value,
  Text,
  Bounds,
  Font,
  Scroll,
  Focus,
  SelectAll,
  ToolTip,
  // the window's own (the control is the window itself)
  Caption,
  Shown,
  Hidden,
  FormBounds,
  WindowState,
  MousePointer,
  Unload,
  Load
};

constexpr unsigned Bit(Property property) { return 1u << static_cast<unsigned>(property); }

/// Geometry in twips: left, top, width, height.
struct Rect {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  bool operator==(const Rect&) const = default;
};

/// The properties of one control. Each kind of control uses the ones that mean
/// something for it: Text is the caption of a button, label, frame or menu item and the
/// contents of a text box; Value is a check box's 0/1, an option button's 0/1
/// (selected) or a scroll bar's position.
struct ControlState {
  bool Enabled = true;
  bool Visible = true;
  bool Default = false;  // the button Enter presses
  bool Checked = false;  // a menu item's check mark
  int Value = 0;
  std::string Text;
  std::string ToolTip;  // shown when the pointer rests on the control; "" for none
  Rect Bounds;
  FontSpec Font;
  int Min = 0;  // scroll bars
  int Max = 0;
  int SmallChange = 1;
  int LargeChange = 1;
  /// Which properties the program has set (bits of 1 << Property); the others still
  /// hold their defaults and a window may show its own design values for them.
  unsigned Assigned = 0;
  bool IsAssigned(Property property) const { return (Assigned & Bit(property)) != 0; }
};

/// Events a control or the form itself raises (a default Control stands for the form).
enum class Event { Click, Change, GotFocus, LostFocus, SpinUp, SpinDown, Load, Activate, Deactivate, Resize };

/// Size and state of a window, in twips. Width and Height are the outer size,
/// ScaleWidth and ScaleHeight the client area.
struct FormGeometry {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  int ScaleWidth = 0;
  int ScaleHeight = 0;
  bool operator==(const FormGeometry&) const = default;
};

constexpr int kWindowNormal = 0;
constexpr int kWindowMinimized = 1;
constexpr int kWindowMaximized = 2;
constexpr int kPointerDefault = 0;
constexpr int kPointerHourglass = 11;

class Form {
 public:
  using Listener = std::function<void(Control control, Property)>;
  using Handler = std::function<void()>;
  using KeyHandler = std::function<int(int key)>;    // returns the key to pass on, 0 drops it
  using QueryUnloadHandler = std::function<bool()>;  // returns true to refuse the unload

  /// The form of a window; it holds a state for each control the window declares.
  explicit Form(const Window& window);
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  const Window& Declaration() const { return window_; }
  std::string_view Name() const { return window_.Name(); }

  // --- the window itself
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);
  bool Visible() const { return visible_; }
  /// Shows the window. A modal show returns when the window is closed again.
  void Show(bool modal = false);
  bool ShownModal() const { return modal_; }
  void Hide();
  /// Asks for the window to be made without showing it, as its first use would make it
  /// (the window system then raises Load). Nothing happens to a window already made.
  void Load();
  /// Closes the window for good (unless a QueryUnload handler refuses): raises
  /// QueryUnload, hides the window and notifies Unload. Returns false when refused.
  bool Unload();
  const FormGeometry& Geometry() const { return geometry_; }
  /// The window system reports the window's real size and place (no notification).
  void UpdateGeometry(const FormGeometry& geometry) { geometry_ = geometry; }
  /// The program moves or resizes the window (notifies FormBounds).
  void SetGeometry(const FormGeometry& geometry);
  int WindowState() const { return window_state_; }
  void SetWindowState(int state);
  int MousePointer() const { return mouse_pointer_; }
  void SetMousePointer(int pointer);

  // --- controls: each takes a control of this form's window, and throws
  // std::invalid_argument for a control of another window.
  /// The control's properties; a control never set reads as the defaults.
  const ControlState& State(Control control) const { return controls_[Slot(control)]; }

  bool Enabled(Control control) const { return State(control).Enabled; }
  void SetEnabled(Control control, bool enabled);
  bool IsVisible(Control control) const { return State(control).Visible; }
  void SetVisible(Control control, bool visible);
  const std::string& Text(Control control) const { return State(control).Text; }
  /// Sets a caption or a text box's text; raises Change when the text changes.
  void SetText(Control control, std::string text);
  int Value(Control control) const { return State(control).Value; }
  /// Sets a value; raises Click when the value of a check box or option button
  /// changes (Change for a scroll bar: see SetScrollValue). Selecting an option button
  /// clears the others of its group.
  void SetValue(Control control, int value);
  /// Sets a scroll bar's position; raises Change when it changes.
  void SetScrollValue(Control control, int value);
  void SetScroll(Control control, int min, int max, int small_change, int large_change);
  /// Makes a button the default (Enter) button: at most one per window.
  void SetDefault(Control control, bool is_default);
  bool Checked(Control control) const { return State(control).Checked; }
  void SetChecked(Control control, bool checked);
  const Rect& Bounds(Control control) const { return State(control).Bounds; }
  void SetBounds(Control control, const Rect& bounds);
  const FontSpec& Font(Control control) const { return State(control).Font; }
  void SetFont(Control control, const FontSpec& font);
  const std::string& ToolTip(Control control) const { return State(control).ToolTip; }
  void SetToolTip(Control control, std::string text);
  /// Moves the keyboard focus to a control.
  void SetFocus(Control control);
  /// Selects the whole text of a text box (as when a box is entered to be retyped).
  void SelectAllText(Control control);

  /// Sets design values of a control quietly: no listener is told and no event is
  /// raised, and the properties do not count as set by the program.
  void Define(Control control, const std::function<void(ControlState&)>& edit);

  /// Option buttons that exclude one another.
  void SetOptionGroup(std::vector<Control> options);

  // --- events (a default Control stands for the window itself)
  void On(Control control, Event event, Handler handler);
  void Raise(Control control, Event event);
  void OnKeyPress(Control control, KeyHandler handler);
  /// Runs the control's key handler; returns the key to pass on (0: the key is dropped).
  int RaiseKeyPress(Control control, int key);
  void OnQueryUnload(QueryUnloadHandler handler) { query_unload_ = std::move(handler); }

  // --- listeners
  /// A listener hears of every change as it happens; one that `may_wait` (a window
  /// showing the form) hears of a control's changes made during a hold only when it
  /// ends (see HoldChanges).
  int Subscribe(Listener listener, bool may_wait = false);
  void Unsubscribe(int id);

  /// Holds the controls' changes back from the listeners that may wait, until
  /// ReleaseChanges: they then hear of each property whose value differs from the one
  /// it had when the hold began, so a control switched off and on again meanwhile is
  /// never touched. Changes of the window itself, and a focus or a selection (which
  /// need the controls as they are), are passed on at once, the latter after what was
  /// held. Holds nest.
  void HoldChanges();
  void ReleaseChanges();
  /// Passes on what is held so far and goes on holding.
  void ShowHeldChanges();

 private:
  /// The control's place in controls_; throws for a control of another window.
  std::size_t Slot(Control control) const;
  /// Where the control's handlers are kept: its slot, or -1 for the window itself.
  int HandlerKey(Control control) const;
  /// The control's state, about to change: while changes are held, the first change
  /// keeps the state as it was.
  ControlState& Mutable(Control control);
  /// Sets `property` (its `field`) and passes the change on; false when it had that value.
  template <typename T, typename V>
  bool Assign(Control control, Property property, T ControlState::*field, V&& value);
  void Notify(Control control, Property property);
  enum class Listeners { All, Immediate, Waiting };
  void NotifyListeners(Control control, Property property, Listeners who);
  const std::vector<Control>* GroupOf(Control control) const;

  const Window& window_;
  std::string caption_;
  bool visible_ = false;
  bool modal_ = false;
  FormGeometry geometry_;
  int window_state_ = kWindowNormal;
  int mouse_pointer_ = kPointerDefault;
  std::vector<ControlState> controls_;  // by the control's index
  std::vector<std::vector<Control>> option_groups_;
  // By control index; the window's own handlers under -1.
  std::map<std::pair<int, Event>, std::vector<Handler>> handlers_;
  std::map<int, KeyHandler> key_handlers_;
  QueryUnloadHandler query_unload_;
  struct Subscription {
    int id = 0;
    bool may_wait = false;
    Listener listener;
  };
  // Called where they are kept: a deque keeps each in place while others are added. One
  // removed while listeners run is marked (id 0), hears no more, and is let go after.
  std::deque<Subscription> listeners_;
  int next_listener_ = 1;
  int notifying_ = 0;     // NotifyListeners running, nested
  bool removed_ = false;  // listeners marked removed
  int holds_ = 0;
  // While held: the properties changed, in the order of their first change, and each
  // changed control as it was before the hold (with its slot). By slot: the properties
  // held, and where its state before is in held_before_ (-1: nowhere).
  std::vector<std::pair<Control, Property>> held_;
  std::vector<std::pair<std::size_t, ControlState>> held_before_;
  std::vector<unsigned> held_properties_;
  std::vector<int> held_before_at_;
};

/// Every window of the program, created on first use and kept for the whole run.
class Forms {
 public:
  Form& Get(const Window& window);
  bool Has(const Window& window) const { return forms_.find(&window) != forms_.end(); }

 private:
  std::map<const Window*, std::unique_ptr<Form>> forms_;
};

}  // namespace kivrel
