#include "model/Forms.h"

#include <algorithm>

namespace kivrel {

namespace {
const ControlState kDefaultControl{};
}

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

const ControlState& Form::Control(std::string_view control) const {
  auto it = index_.find(control);
  return it == index_.end() ? kDefaultControl : *it->second;
}

std::vector<std::string> Form::ControlNames() const {
  std::vector<std::string> names;
  names.reserve(controls_.size());
  for (const auto& [name, state] : controls_) names.push_back(name);
  return names;
}

ControlState& Form::Mutable(std::string_view control) {
  ControlState* state = nullptr;
  if (auto found = index_.find(control); found != index_.end()) {
    state = found->second;
  } else {
    auto it = controls_.emplace(std::string(control), ControlState{}).first;
    index_.emplace(std::string_view(it->first), &it->second);
    state = &it->second;
  }
  // A held change is later compared with the control as it was before it.
  if (holds_ > 0 && held_before_.find(control) == held_before_.end()) held_before_.emplace(control, *state);
  return *state;
}

void Form::SetEnabled(std::string_view control, bool enabled) {
  ControlState& state = Mutable(control);
  state.Assigned |= Bit(Property::Enabled);
  if (state.Enabled == enabled) return;
  state.Enabled = enabled;
  Notify(control, Property::Enabled);
}

void Form::SetVisible(std::string_view control, bool visible) {
  ControlState& state = Mutable(control);
  state.Assigned |= Bit(Property::Visible);
  if (state.Visible == visible) return;
  state.Visible = visible;
  Notify(control, Property::Visible);
}

void Form::SetText(std::string_view control, std::string text) {
  ControlState& state = Mutable(control);
  state.Assigned |= Bit(Property::Text);
  if (state.Text == text) return;
  state.Text = std::move(text);
  Notify(control, Property::Text);
  Raise(control, Event::Change);
}

void Form::SetValue(std::string_view control, int value) {
  ControlState& state = Mutable(control);
  state.Assigned |= Bit(Property::Value);
  if (state.Value == value) return;
  state.Value = value;
  if (value != 0) {
    if (const auto* group = GroupOf(control)) {
      for (const std::string& other : *group) {
        if (other == control) continue;
        ControlState& other_state = Mutable(other);
        if (other_state.Value != 0) {
          other_state.Value = 0;
          Notify(other, Property::Value);
        }
      }
    }
  }
  Notify(control, Property::Value);
  Raise(control, Event::Click);
}

void Form::SetScrollValue(std::string_view control, int value) {
  ControlState& state = Mutable(control);
  state.Assigned |= Bit(Property::Value);
  if (state.Value == value) return;
  state.Value = value;
  Notify(control, Property::Value);
  Raise(control, Event::Change);
}

void Form::SetScroll(std::string_view control, int min, int max, int small_change, int large_change) {
  ControlState& state = Mutable(control);
  state.Assigned |= Bit(Property::Scroll);
  state.Min = min;
  state.Max = max;
  state.SmallChange = small_change;
  state.LargeChange = large_change;
  Notify(control, Property::Scroll);
}

void Form::SetDefault(std::string_view control, bool is_default) {
  if (is_default) {
    for (auto& [name, state] : controls_) {
      if (state.Default && name != control) {
        Mutable(name);  // kept as it was, when changes are held
        state.Default = false;
        Notify(name, Property::Default);
      }
    }
  }
  ControlState& state = Mutable(control);
  state.Assigned |= Bit(Property::Default);
  if (state.Default == is_default) return;
  state.Default = is_default;
  Notify(control, Property::Default);
}

std::string Form::DefaultButton() const {
  for (const auto& [name, state] : controls_) {
    if (state.Default) return name;
  }
  return {};
}

void Form::SetChecked(std::string_view control, bool checked) {
  ControlState& state = Mutable(control);
  state.Assigned |= Bit(Property::Checked);
  if (state.Checked == checked) return;
  state.Checked = checked;
  Notify(control, Property::Checked);
}

void Form::SetBounds(std::string_view control, const Rect& bounds) {
  ControlState& state = Mutable(control);
  state.Assigned |= Bit(Property::Bounds);
  if (state.Bounds == bounds) return;
  state.Bounds = bounds;
  Notify(control, Property::Bounds);
}

void Form::SetFont(std::string_view control, const FontSpec& font) {
  ControlState& state = Mutable(control);
  state.Assigned |= Bit(Property::Font);
  if (state.Font == font) return;
  state.Font = font;
  Notify(control, Property::Font);
}

void Form::SetFocus(std::string_view control) {
  focused_ = std::string(control);
  Notify(control, Property::Focus);
}

void Form::Define(std::string_view control, const std::function<void(ControlState&)>& edit) {
  ControlState& state = Mutable(control);
  unsigned assigned = state.Assigned;
  edit(state);
  state.Assigned = assigned;
}

void Form::SelectAllText(std::string_view control) { Notify(control, Property::SelectAll); }

void Form::SetToolTip(std::string_view control, std::string text) {
  ControlState& state = Mutable(control);
  state.Assigned |= Bit(Property::ToolTip);
  if (state.ToolTip == text) return;
  state.ToolTip = std::move(text);
  Notify(control, Property::ToolTip);
}

void Form::SetOptionGroup(std::vector<std::string> options) { option_groups_.push_back(std::move(options)); }

const std::vector<std::string>* Form::GroupOf(std::string_view control) const {
  for (const auto& group : option_groups_) {
    if (std::find(group.begin(), group.end(), control) != group.end()) return &group;
  }
  return nullptr;
}

void Form::On(std::string_view control, Event event, Handler handler) {
  handlers_[{std::string(control), event}].push_back(std::move(handler));
}

void Form::Raise(std::string_view control, Event event) {
  if (event == Event::GotFocus && !control.empty()) focused_ = std::string(control);
  auto it = handlers_.find(std::pair<std::string_view, Event>(control, event));
  if (it == handlers_.end()) return;
  auto handlers = it->second;  // a handler may register further handlers
  for (auto& handler : handlers) handler();
}

void Form::OnKeyPress(std::string_view control, KeyHandler handler) {
  key_handlers_[std::string(control)] = std::move(handler);
}

int Form::RaiseKeyPress(std::string_view control, int key) {
  auto it = key_handlers_.find(control);
  return it == key_handlers_.end() ? key : it->second(key);
}

int Form::Subscribe(Listener listener, bool may_wait) {
  listeners_.push_back({next_listener_, may_wait, std::move(listener)});
  return next_listener_++;
}

void Form::Unsubscribe(int id) {
  std::erase_if(listeners_, [id](const Subscription& entry) { return entry.id == id; });
}

void Form::HoldChanges() { ++holds_; }

void Form::ReleaseChanges() {
  if (holds_ == 0) return;
  if (--holds_ == 0) ShowHeldChanges();
}

namespace {

bool Differs(const ControlState& a, const ControlState& b, Property property) {
  switch (property) {
    case Property::Enabled: return a.Enabled != b.Enabled;
    case Property::Visible: return a.Visible != b.Visible;
    case Property::Default: return a.Default != b.Default;
    case Property::Checked: return a.Checked != b.Checked;
    case Property::Value: return a.Value != b.Value;
    case Property::Text: return a.Text != b.Text;
    case Property::Bounds: return a.Bounds != b.Bounds;
    case Property::Font: return a.Font != b.Font;
    case Property::ToolTip: return a.ToolTip != b.ToolTip;
    case Property::Scroll:
      return a.Min != b.Min || a.Max != b.Max || a.SmallChange != b.SmallChange || a.LargeChange != b.LargeChange;
    default: return true;
  }
}

}  // namespace

void Form::ShowHeldChanges() {
  auto held = std::move(held_);
  auto before = std::move(held_before_);
  held_.clear();
  held_before_.clear();
  for (const auto& [control, property] : held) {
    auto was = before.find(control);
    if (was == before.end() || Differs(was->second, Control(control), property)) {
      NotifyListeners(control, property, Listeners::Waiting);
    }
  }
}

void Form::Notify(std::string_view control, Property property) {
  if (listeners_.empty()) return;
  if (holds_ > 0 && !control.empty()) {
    if (property != Property::Focus && property != Property::SelectAll) {
      // Once per property; the order of first changes is the order they are passed on.
      if (std::find_if(held_.begin(), held_.end(), [&](const auto& entry) {
            return entry.second == property && entry.first == control;
          }) == held_.end()) {
        held_.emplace_back(std::string(control), property);
      }
      NotifyListeners(control, property, Listeners::Immediate);
      return;
    }
    ShowHeldChanges();  // a focus or a selection finds the controls as they are
  }
  NotifyListeners(control, property, Listeners::All);
}

void Form::NotifyListeners(std::string_view control, Property property, Listeners who) {
  auto listeners = listeners_;  // a listener may unsubscribe while it runs
  std::string name(control);   // the control's storage may move while listeners run
  for (auto& entry : listeners) {
    if (who == Listeners::All || entry.may_wait == (who == Listeners::Waiting)) entry.listener(name, property);
  }
}

Form& Forms::Get(std::string_view name) {
  auto it = forms_.find(name);
  if (it == forms_.end()) it = forms_.emplace(std::string(name), std::make_unique<Form>(std::string(name))).first;
  return *it->second;
}

}  // namespace kivrel
