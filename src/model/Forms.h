#pragma once
// The windows as the core sees them: each window is a Form holding the properties of
// its controls by control name (enabled, visible, caption or text, value, default
// button, check mark, geometry, font) and the handlers of their events. The core
// decides by changing these properties and raising these events; a window of the GUI
// renders a Form and forwards the user's actions to it, so every decision can be
// tested without the window system.
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/Surface.h"

namespace kivrel {

// Window names.
inline constexpr std::string_view kMainForm = "frmKV_Puzzle";
inline constexpr std::string_view kWordListForm = "frmWordList";
inline constexpr std::string_view kAttributesForm = "frmAttributes";
inline constexpr std::string_view kAboutForm = "frmAbout";
inline constexpr std::string_view kPrintOptionsForm = "frmPrintOptions";
inline constexpr std::string_view kPrintPreviewForm = "frmPrintPreview";

/// What changed, for the listeners that render a form.
enum class Property {
  Enabled, Visible, Default, Checked, Value, Text, Bounds, Font, Scroll, Focus, SelectAll, ToolTip,
  // form-level (the control name is empty)
  Caption, Shown, Hidden, FormBounds, WindowState, MousePointer, Unload, Load
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

/// Events a control or the form itself raises (the control name is empty for the form).
enum class Event {
  Click, Change, GotFocus, LostFocus, SpinUp, SpinDown,
  Load, Activate, Deactivate, Resize
};

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
  using Listener = std::function<void(std::string_view control, Property)>;
  using Handler = std::function<void()>;
  using KeyHandler = std::function<int(int key)>;  // returns the key to pass on, 0 drops it
  using QueryUnloadHandler = std::function<bool()>;  // returns true to refuse the unload

  explicit Form(std::string name) : name_(std::move(name)) {}
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  const std::string& Name() const { return name_; }

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

  // --- controls (a control comes into being the first time it is set)
  bool Has(std::string_view control) const { return index_.find(control) != index_.end(); }
  /// The control's properties; a control never set reads as the defaults.
  const ControlState& Control(std::string_view control) const;
  std::vector<std::string> ControlNames() const;

  bool Enabled(std::string_view control) const { return Control(control).Enabled; }
  void SetEnabled(std::string_view control, bool enabled);
  bool IsVisible(std::string_view control) const { return Control(control).Visible; }
  void SetVisible(std::string_view control, bool visible);
  const std::string& Text(std::string_view control) const { return Control(control).Text; }
  /// Sets a caption or a text box's text; raises Change when the text changes.
  void SetText(std::string_view control, std::string text);
  int Value(std::string_view control) const { return Control(control).Value; }
  /// Sets a value; raises Click when the value of a check box or option button
  /// changes (Change for a scroll bar: see SetScrollValue). Selecting an option button
  /// clears the others of its group.
  void SetValue(std::string_view control, int value);
  /// Sets a scroll bar's position; raises Change when it changes.
  void SetScrollValue(std::string_view control, int value);
  void SetScroll(std::string_view control, int min, int max, int small_change, int large_change);
  bool IsDefault(std::string_view control) const { return Control(control).Default; }
  /// Makes a button the default (Enter) button: at most one per window.
  void SetDefault(std::string_view control, bool is_default);
  /// The default button, or "" when there is none.
  std::string DefaultButton() const;
  bool Checked(std::string_view control) const { return Control(control).Checked; }
  void SetChecked(std::string_view control, bool checked);
  const Rect& Bounds(std::string_view control) const { return Control(control).Bounds; }
  void SetBounds(std::string_view control, const Rect& bounds);
  const FontSpec& Font(std::string_view control) const { return Control(control).Font; }
  void SetFont(std::string_view control, const FontSpec& font);
  const std::string& ToolTip(std::string_view control) const { return Control(control).ToolTip; }
  void SetToolTip(std::string_view control, std::string text);
  /// Moves the keyboard focus to a control.
  void SetFocus(std::string_view control);
  /// Selects the whole text of a text box (as when a box is entered to be retyped).
  void SelectAllText(std::string_view control);
  /// The control the program last gave the focus to, or that reported getting it.
  const std::string& FocusedControl() const { return focused_; }

  /// Sets design values of a control quietly: no listener is told and no event is
  /// raised, and the properties do not count as set by the program.
  void Define(std::string_view control, const std::function<void(ControlState&)>& edit);

  /// Option buttons that exclude one another.
  void SetOptionGroup(std::vector<std::string> options);

  // --- events
  void On(std::string_view control, Event event, Handler handler);
  void Raise(std::string_view control, Event event);
  void OnKeyPress(std::string_view control, KeyHandler handler);
  /// Runs the control's key handler; returns the key to pass on (0: the key is dropped).
  int RaiseKeyPress(std::string_view control, int key);
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
  ControlState& Mutable(std::string_view control);
  void Notify(std::string_view control, Property property);
  enum class Listeners { All, Immediate, Waiting };
  void NotifyListeners(std::string_view control, Property property, Listeners who);
  const std::vector<std::string>* GroupOf(std::string_view control) const;

  std::string name_;
  std::string caption_;
  bool visible_ = false;
  bool modal_ = false;
  FormGeometry geometry_;
  int window_state_ = kWindowNormal;
  int mouse_pointer_ = kPointerDefault;
  std::string focused_;
  std::map<std::string, ControlState, std::less<>> controls_;
  // The same controls by hashed name (views of the map's keys, which never move): every
  // property change looks its control up.
  std::unordered_map<std::string_view, ControlState*> index_;
  std::vector<std::vector<std::string>> option_groups_;
  // Looked up by (string_view, Event) as well, so raising an event allocates nothing.
  struct HandlerKeyLess {
    using is_transparent = void;
    template <class A, class B>
    bool operator()(const A& a, const B& b) const {
      return std::pair<std::string_view, Event>(a.first, a.second) < std::pair<std::string_view, Event>(b.first, b.second);
    }
  };
  std::map<std::pair<std::string, Event>, std::vector<Handler>, HandlerKeyLess> handlers_;
  std::map<std::string, KeyHandler, std::less<>> key_handlers_;
  QueryUnloadHandler query_unload_;
  struct Subscription {
    int id = 0;
    bool may_wait = false;
    Listener listener;
  };
  std::vector<Subscription> listeners_;
  int next_listener_ = 1;
  int holds_ = 0;
  // While held: each changed control as it was before the hold, and the properties
  // changed, in the order of their first change.
  std::map<std::string, ControlState, std::less<>> held_before_;
  std::vector<std::pair<std::string, Property>> held_;
};

/// Every window of the program, created on first use and kept for the whole run.
class Forms {
 public:
  Form& Get(std::string_view name);
  bool Has(std::string_view name) const { return forms_.find(name) != forms_.end(); }

 private:
  std::map<std::string, std::unique_ptr<Form>, std::less<>> forms_;
};

}  // namespace kivrel
