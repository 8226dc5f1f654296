#include "model/Forms.h"

#include <algorithm>
#include <ostream>
#include <utility>

namespace kivrel {

std::ostream& operator<<(std::ostream& out, Control control) {
  return control.IsWindow() ? out << "(the window)" : out << control.Name();
}

Form::Form(const Window& window)
    : window_(window),
      controls_(static_cast<std::size_t>(window.Size())),
      held_properties_(controls_.size(), 0),
      held_before_at_(controls_.size(), -1) {}

void Form::SetCaption(std::string caption) {
  if (caption_ == caption) return;
  caption_ = std::move(caption);
  Notify({}, Property::Caption);
}

void Form::Show(bool modal) {
  visible_ = true;
  modal_ = modal;
  Notify({}, Property::Shown);
}

void Form::Hide() {
  if (!visible_) return;
  visible_ = false;
  modal_ = false;
  Notify({}, Property::Hidden);
}

void Form::Load() { Notify({}, Property::Load); }

bool Form::Unload() {
  if (query_unload_ && query_unload_()) return false;
  visible_ = false;
  modal_ = false;
  Notify({}, Property::Unload);
  return true;
}

void Form::SetGeometry(const FormGeometry& geometry) {
  geometry_ = geometry;
  Notify({}, Property::FormBounds);
}

void Form::SetWindowState(int state) {
  if (window_state_ == state) return;
  window_state_ = state;
  Notify({}, Property::WindowState);
}

void Form::SetMousePointer(int pointer) {
  if (mouse_pointer_ == pointer) return;
  mouse_pointer_ = pointer;
  Notify({}, Property::MousePointer);
}

std::size_t Form::Slot(Control control) const {
  if (control.Owner() != &window_) {
    throw std::invalid_argument(std::string(window_.Name()) + " has no control " +
                                (control.IsWindow() ? std::string("(the window)") : std::string(control.Name())) +
                                (control.Owner() ? " (it is " + std::string(control.Owner()->Name()) + "'s)" : ""));
  }
  return static_cast<std::size_t>(control.Index());
}

ControlState& Form::Mutable(Control control) {
  const std::size_t slot = Slot(control);
  ControlState& state = controls_[slot];
  // A held change is later compared with the control as it was before it; a form that
  // nobody shows has nothing to compare.
  if (holds_ > 0 && !listeners_.empty() && held_before_at_[slot] < 0) {
    held_before_at_[slot] = static_cast<int>(held_before_.size());
    held_before_.emplace_back(slot, state);
  }
  return state;
}

template <typename T, typename V>
bool Form::Assign(Control control, Property property, T ControlState::*field, V&& value) {
  ControlState& state = controls_[Slot(control)];
  state.Assigned |= Bit(property);
  if (state.*field == value) return false;
  Mutable(control).*field = std::forward<V>(value);
  Notify(control, property);
  return true;
}

void Form::SetEnabled(Control control, bool enabled) {
  Assign(control, Property::Enabled, &ControlState::Enabled, enabled);
}

void Form::SetVisible(Control control, bool visible) {
  Assign(control, Property::Visible, &ControlState::Visible, visible);
}

void Form::SetText(Control control, std::string text) {
  if (Assign(control, Property::Text, &ControlState::Text, std::move(text))) Raise(control, Event::Change);
}

void Form::SetValue(Control control, int value) {
  ControlState& state = controls_[Slot(control)];
  state.Assigned |= Bit(Property::Value);
  if (state.Value == value) return;
  Mutable(control).Value = value;
  if (value != 0) {
    if (const auto* group = GroupOf(control)) {
      for (Control other : *group) {
        if (other == control || controls_[Slot(other)].Value == 0) continue;
        Mutable(other).Value = 0;
        Notify(other, Property::Value);
      }
    }
  }
  Notify(control, Property::Value);
  Raise(control, Event::Click);
}

void Form::SetScrollValue(Control control, int value) {
  if (Assign(control, Property::Value, &ControlState::Value, value)) Raise(control, Event::Change);
}

void Form::SetScroll(Control control, int min, int max, int small_change, int large_change) {
  ControlState& state = Mutable(control);
  state.Assigned |= Bit(Property::Scroll);
  state.Min = min;
  state.Max = max;
  state.SmallChange = small_change;
  state.LargeChange = large_change;
  Notify(control, Property::Scroll);
}

void Form::SetDefault(Control control, bool is_default) {
  if (is_default) {
    for (int i = 0; i < window_.Size(); ++i) {
      const Control other = window_.At(i);
      if (controls_[static_cast<std::size_t>(i)].Default && other != control) {
        Mutable(other).Default = false;  // kept as it was, when changes are held
        Notify(other, Property::Default);
      }
    }
  }
  Assign(control, Property::Default, &ControlState::Default, is_default);
}

void Form::SetChecked(Control control, bool checked) {
  Assign(control, Property::Checked, &ControlState::Checked, checked);
}

void Form::SetBounds(Control control, const Rect& bounds) {
  Assign(control, Property::Bounds, &ControlState::Bounds, bounds);
}

void Form::SetFont(Control control, const FontSpec& font) {
  Assign(control, Property::Font, &ControlState::Font, font);
}

void Form::SetFocus(Control control) {
  Slot(control);
  Notify(control, Property::Focus);
}

void Form::Define(Control control, const std::function<void(ControlState&)>& edit) {
  ControlState& state = Mutable(control);
  unsigned assigned = state.Assigned;
  edit(state);
  state.Assigned = assigned;
}

void Form::SelectAllText(Control control) {
  Slot(control);
  Notify(control, Property::SelectAll);
}

void Form::SetToolTip(Control control, std::string text) {
  Assign(control, Property::ToolTip, &ControlState::ToolTip, std::move(text));
}

void Form::SetOptionGroup(std::vector<Control> options) {
  for (Control option : options) Slot(option);
  option_groups_.push_back(std::move(options));
}

const std::vector<Control>* Form::GroupOf(Control control) const {
  for (const auto& group : option_groups_) {
    if (std::find(group.begin(), group.end(), control) != group.end()) return &group;
  }
  return nullptr;
}

int Form::HandlerKey(Control control) const { return control.IsWindow() ? -1 : static_cast<int>(Slot(control)); }

void Form::On(Control control, Event event, Handler handler) {
  handlers_[{HandlerKey(control), event}].push_back(std::move(handler));
}

void Form::Raise(Control control, Event event) {
  auto it = handlers_.find({HandlerKey(control), event});
  if (it == handlers_.end()) return;
  auto handlers = it->second;  // a handler may register further handlers
  for (auto& handler : handlers) handler();
}

void Form::OnKeyPress(Control control, KeyHandler handler) { key_handlers_[HandlerKey(control)] = std::move(handler); }

int Form::RaiseKeyPress(Control control, int key) {
  auto it = key_handlers_.find(HandlerKey(control));
  return it == key_handlers_.end() ? key : it->second(key);
}

int Form::Subscribe(Listener listener, bool may_wait) {
  listeners_.push_back({next_listener_, may_wait, std::move(listener)});
  return next_listener_++;
}

void Form::Unsubscribe(int id) {
  if (notifying_ == 0) {
    std::erase_if(listeners_, [id](const Subscription& entry) { return entry.id == id; });
    return;
  }
  for (Subscription& entry : listeners_) {
    if (entry.id == id) {
      entry.id = 0;  // it may be the one running: let go once none runs
      removed_ = true;
    }
  }
}

void Form::HoldChanges() { ++holds_; }

void Form::ReleaseChanges() {
  if (holds_ == 0) return;
  if (--holds_ == 0) ShowHeldChanges();
}

namespace {

bool Differs(const ControlState& a, const ControlState& b, Property property) {
  switch (property) {
    case Property::Enabled:
      return a.Enabled != b.Enabled;
    case Property::Visible:
      return a.Visible != b.Visible;
    case Property::Default:
      return a.Default != b.Default;
    case Property::Checked:
      return a.Checked != b.Checked;
    case Property::Value:
      return a.Value != b.Value;
    case Property::Text:
      return a.Text != b.Text;
    case Property::Bounds:
      return a.Bounds != b.Bounds;
    case Property::Font:
      return a.Font != b.Font;
    case Property::ToolTip:
      return a.ToolTip != b.ToolTip;
    case Property::Scroll:
      return a.Min != b.Min || a.Max != b.Max || a.SmallChange != b.SmallChange || a.LargeChange != b.LargeChange;
    default:
      return true;
  }
}

}  // namespace

void Form::ShowHeldChanges() {
  // The hold starts afresh before anyone hears: a listener may change controls again.
  auto held = std::move(held_);
  auto before = std::move(held_before_);
  held_.clear();
  held_before_.clear();
  std::vector<const ControlState*> was(held.size(), nullptr);
  for (std::size_t i = 0; i < held.size(); ++i) {
    const std::size_t slot = Slot(held[i].first);
    held_properties_[slot] = 0;
    if (held_before_at_[slot] >= 0) was[i] = &before[static_cast<std::size_t>(held_before_at_[slot])].second;
  }
  for (const auto& entry : before) held_before_at_[entry.first] = -1;
  for (std::size_t i = 0; i < held.size(); ++i) {
    const auto& [control, property] = held[i];
    if (!was[i] || Differs(*was[i], State(control), property)) NotifyListeners(control, property, Listeners::Waiting);
  }
}

void Form::Notify(Control control, Property property) {
  if (listeners_.empty()) return;
  if (holds_ > 0 && !control.IsWindow()) {
    if (property != Property::Focus && property != Property::SelectAll) {
      // Once per property; the order of first changes is the order they are passed on.
      unsigned& held = held_properties_[Slot(control)];
      if ((held & Bit(property)) == 0) {
        held |= Bit(property);
        held_.emplace_back(control, property);
      }
      NotifyListeners(control, property, Listeners::Immediate);
      return;
    }
    ShowHeldChanges();  // a focus or a selection finds the controls as they are
  }
  NotifyListeners(control, property, Listeners::All);
}

void Form::NotifyListeners(Control control, Property property, Listeners who) {
  // A listener added meanwhile first hears the next change.
  struct Running {
    Form& form;
    explicit Running(Form& f) : form(f) { ++form.notifying_; }
    ~Running() {
      if (--form.notifying_ > 0 || !form.removed_) return;
      form.removed_ = false;
      std::erase_if(form.listeners_, [](const Subscription& entry) { return entry.id == 0; });
    }
    Running(const Running&) = delete;
    Running& operator=(const Running&) = delete;
  } running(*this);
  const std::size_t count = listeners_.size();
  for (std::size_t i = 0; i < count; ++i) {
    Subscription& entry = listeners_[i];
    if (entry.id != 0 && (who == Listeners::All || entry.may_wait == (who == Listeners::Waiting))) {
      entry.listener(control, property);
    }
  }
}

Form& Forms::Get(const Window& window) {
  auto it = forms_.find(&window);
  if (it == forms_.end()) it = forms_.emplace(&window, std::make_unique<Form>(window)).first;
  return *it->second;
}

}  // namespace kivrel
