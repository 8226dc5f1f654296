#include "ui/FormBinder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QShortcut>
#include <QTextEdit>
#include <QWidget>
#include <cmath>
#include <stdexcept>
#include <utility>

#include "qt/QtSurface.h"
#include "ui/AccessKeys.h"
#include "ui/ControlInput.h"
#include "ui/SpinButton.h"
#include "ui/StatisticsFrame.h"

namespace kivrel {

namespace {

// The dynamic property that holds a container's user scale.
constexpr const char* kUserScaleProperty = "kivrelUserScale";

// Applies a change made by the binder without forwarding it back to the Form.
struct Applying {
  explicit Applying(int& depth) : depth_(depth) { ++depth_; }
  ~Applying() { --depth_; }
  int& depth_;
};

QString ToQString(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

FormBinder::FormBinder(QWidget* window, Form& form, double twips_per_pixel)
    : QObject(window),
      window_(window),
      form_(form),
      twips_per_pixel_(twips_per_pixel > 0 ? twips_per_pixel : 15.0),
      objects_(static_cast<std::size_t>(form.Declaration().Size())),
      access_keys_(new AccessKeys(window)),
      input_(new ControlInput(this, form)),
      modal_(window),
      placement_(window) {
  // The widgets may wait for the net changes of a hold (see Form::HoldChanges).
  subscription_ = form_.Subscribe(
      [this](Control control, Property property) {
        if (control.IsWindow()) {
          ApplyForm(property);
        } else {
          Apply(control, property);
        }
      },
      true);
  window_->installEventFilter(this);
  if (!form_.Caption().empty()) {
    window_->setWindowTitle(ToQString(form_.Caption()));
  } else {
    form_.SetCaption(window_->windowTitle().toStdString());
  }
  BindNamedObjects();
  ReportGeometry();
}

FormBinder::~FormBinder() { form_.Unsubscribe(subscription_); }

int FormBinder::ToPixels(int twips) const { return static_cast<int>(std::lround(twips / twips_per_pixel_)); }
int FormBinder::ToTwips(int pixels) const { return static_cast<int>(std::lround(pixels * twips_per_pixel_)); }

QObject* FormBinder::Find(Control control) const {
  if (control.Owner() != &form_.Declaration()) return nullptr;
  return objects_[static_cast<std::size_t>(control.Index())].data();
}

void FormBinder::SetCancelButton(Control control) {
  if (control.Owner() != &form_.Declaration()) {
    throw std::invalid_argument(std::string(control.Name()) + " is no control of " + std::string(form_.Name()));
  }
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), window_);
  escape->setContext(Qt::WindowShortcut);
  connect(escape, &QShortcut::activated, this, [this, control] {
    if (auto* button = qobject_cast<QAbstractButton*>(Find(control)); button && button->isVisible()) button->click();
  });
}

void FormBinder::Present() { ApplyForm(Property::Shown); }

void FormBinder::SetUserScale(QWidget* container, double units_per_twip) {
  container->setProperty(kUserScaleProperty, units_per_twip);
}

double FormBinder::UnitsPerPixel(const QWidget* widget) const {
  const QWidget* parent = widget->parentWidget();
  double scale = parent ? parent->property(kUserScaleProperty).toDouble() : 0;
  return twips_per_pixel_ * (scale > 0 ? scale : 1);
}

QList<QObject*> FormBinder::NamedObjects(const QWidget* window) {
  QList<QObject*> named;
  for (QObject* object : window->findChildren<QObject*>()) {
    const QString name = object->objectName();
    if (name.isEmpty() || name.startsWith(QStringLiteral("qt_"))) continue;
    if (qobject_cast<QWidget*>(object) || qobject_cast<QAction*>(object)) named.append(object);
  }
  return named;
}

void FormBinder::BindNamedObjects() {
  for (QObject* object : NamedObjects(window_)) {
    const std::string name = object->objectName().toStdString();
    std::optional<Control> control = form_.Declaration().Find(name);
    if (!control) {
      qWarning("%s: the widget %s is no control of the window", window_->objectName().toUtf8().constData(),
               name.c_str());
      continue;
    }
    Bind(object, *control);
  }
}

void FormBinder::Bind(QObject* object, Control control) {
  objects_[static_cast<std::size_t>(control.Index())] = object;
  Adopt(object, control);
  const ControlState& state = form_.State(control);
  for (Property p : {Property::Enabled, Property::Visible, Property::Text, Property::Value, Property::Default,
                     Property::Checked, Property::Scroll, Property::Bounds, Property::Font, Property::ToolTip}) {
    if (state.IsAssigned(p)) Apply(control, p);
  }

  if (auto* action = qobject_cast<QAction*>(object)) {
    connect(action, &QAction::triggered, this, [this, action, control] {
      // The Form owns the check mark; the click handler decides whether it changes.
      Applying guard(applying_);
      action->setChecked(form_.Checked(control));
      form_.Raise(control, Event::Click);
    });
    return;
  }
  auto* widget = static_cast<QWidget*>(object);
  access_keys_->Watch(widget);
  input_->Watch(widget, control);
  if (auto* spin = qobject_cast<SpinButton*>(widget)) {
    connect(spin, &SpinButton::spinUp, this, [this, control] { form_.Raise(control, Event::SpinUp); });
    connect(spin, &SpinButton::spinDown, this, [this, control] { form_.Raise(control, Event::SpinDown); });
    return;
  }
  if (auto* check = qobject_cast<QCheckBox*>(widget)) {
    connect(check, &QCheckBox::clicked, this, [this, control](bool checked) {
      if (!applying_) form_.SetValue(control, checked ? 1 : 0);
    });
  } else if (auto* radio = qobject_cast<QRadioButton*>(widget)) {
    connect(radio, &QRadioButton::clicked, this, [this, control](bool checked) {
      if (!applying_ && checked) form_.SetValue(control, 1);
    });
  } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
    connect(button, &QAbstractButton::clicked, this, [this, control] {
      if (!applying_) form_.Raise(control, Event::Click);
    });
  } else if (auto* line = qobject_cast<QLineEdit*>(widget)) {
    connect(line, &QLineEdit::textEdited, this, [this, control](const QString& text) {
      if (!applying_) form_.SetText(control, text.toStdString());
    });
  } else if (auto* plain = qobject_cast<QPlainTextEdit*>(widget)) {
    connect(plain, &QPlainTextEdit::textChanged, this, [this, control, plain] {
      if (!applying_) form_.SetText(control, plain->toPlainText().toStdString());
    });
  } else if (auto* rich = qobject_cast<QTextEdit*>(widget)) {
    connect(rich, &QTextEdit::textChanged, this, [this, control, rich] {
      if (!applying_) form_.SetText(control, rich->toPlainText().toStdString());
    });
  } else if (auto* bar = qobject_cast<QScrollBar*>(widget)) {
    connect(bar, &QScrollBar::valueChanged, this, [this, control](int value) {
      if (!applying_) form_.SetScrollValue(control, value);
    });
  } else if (auto* combo = qobject_cast<QComboBox*>(widget); combo && !combo->isEditable()) {
    connect(combo, &QComboBox::currentTextChanged, this, [this, control](const QString& text) {
      if (!applying_) form_.SetText(control, text.toStdString());
    });
  }
}

void FormBinder::Adopt(QObject* object, Control control) {
  // The widget's design state stands for every property the program has not set.
  const ControlState& known = form_.State(control);
  ControlState design;
  if (auto* action = qobject_cast<QAction*>(object)) {
    design.Enabled = action->isEnabled();
    design.Visible = action->isVisible();
    design.Checked = action->isChecked();
    design.Text = action->text().toStdString();
  } else {
    auto* widget = static_cast<QWidget*>(object);
    design.Enabled = widget->isEnabled();
    design.Visible = !widget->isHidden();
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
      design.Text = button->text().toStdString();
      design.Value = button->isChecked() ? 1 : 0;
      if (auto* push = qobject_cast<QPushButton*>(button)) design.Default = push->isDefault();
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
      design.Text = label->text().toStdString();
    } else if (auto* line = qobject_cast<QLineEdit*>(widget)) {
      design.Text = line->text().toStdString();
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(widget)) {
      design.Text = plain->toPlainText().toStdString();
    } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
      design.Text = group->title().toStdString();
    } else if (auto* bar = qobject_cast<QScrollBar*>(widget)) {
      design.Value = bar->value();
      design.Min = bar->minimum();
      design.Max = bar->maximum();
      design.SmallChange = bar->singleStep();
      design.LargeChange = bar->pageStep();
    }
    QRect g = widget->geometry();
    const double units = UnitsPerPixel(widget);
    auto to_units = [units](int pixels) { return static_cast<int>(std::lround(pixels * units)); };
    design.Bounds = {to_units(g.x()), to_units(g.y()), to_units(g.width()), to_units(g.height())};
  }
  form_.Define(control, [&](ControlState& state) {
    if (!known.IsAssigned(Property::Enabled)) state.Enabled = design.Enabled;
    if (!known.IsAssigned(Property::Visible)) state.Visible = design.Visible;
    if (!known.IsAssigned(Property::Checked)) state.Checked = design.Checked;
    if (!known.IsAssigned(Property::Text)) state.Text = design.Text;
    if (!known.IsAssigned(Property::Value)) state.Value = design.Value;
    if (!known.IsAssigned(Property::Default)) state.Default = design.Default;
    if (!known.IsAssigned(Property::Bounds)) state.Bounds = design.Bounds;
    if (!known.IsAssigned(Property::Scroll)) {
      state.Min = design.Min;
      state.Max = design.Max;
      state.SmallChange = design.SmallChange;
      state.LargeChange = design.LargeChange;
    }
  });
}

void FormBinder::Apply(Control control, Property property) {
  QObject* object = Find(control);
  if (!object) return;
  const ControlState& state = form_.State(control);
  Applying guard(applying_);
  if (auto* action = qobject_cast<QAction*>(object)) {
    switch (property) {
      case Property::Enabled:
        action->setEnabled(state.Enabled);
        break;
      case Property::Visible:
        action->setVisible(state.Visible);
        break;
      case Property::Text:
        if (!state.Text.empty()) action->setText(ToQString(state.Text));
        break;
      case Property::Checked:
        action->setCheckable(action->isCheckable() || state.Checked);
        action->setChecked(state.Checked);
        break;
      default:
        break;
    }
    return;
  }
  auto* widget = static_cast<QWidget*>(object);
  switch (property) {
    case Property::Enabled:
      widget->setEnabled(state.Enabled);
      return;
    case Property::Visible:
      widget->setVisible(state.Visible);
      return;
    case Property::Bounds: {
      const double units = UnitsPerPixel(widget);
      auto to_pixels = [units](int value) { return static_cast<int>(std::lround(value / units)); };
      const QRect box(to_pixels(state.Bounds.Left), to_pixels(state.Bounds.Top), to_pixels(state.Bounds.Width),
                      to_pixels(state.Bounds.Height));
      if (auto* figure = dynamic_cast<FigureLabel*>(widget)) {
        figure->SetBox(box);
      } else {
        widget->setGeometry(box);
      }
      return;
    }
    case Property::Font:
      widget->setFont(MakeFont(state.Font.Name, state.Font.Size, state.Font.Bold, state.Font.Italic));
      return;
    case Property::Focus:
      widget->setFocus(Qt::OtherFocusReason);
      return;
    case Property::ToolTip:
      widget->setToolTip(ToQString(state.ToolTip));
      return;
    default:
      break;
  }
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
    if (property == Property::Text) button->setText(ToQString(state.Text));
    if (property == Property::Value && button->isCheckable()) button->setChecked(state.Value != 0);
    if (property == Property::Default) {
      if (auto* push = qobject_cast<QPushButton*>(button)) push->setDefault(state.Default);
    }
  } else if (auto* label = qobject_cast<QLabel*>(widget)) {
    if (property == Property::Text) {
      if (auto* figure = dynamic_cast<FigureLabel*>(label)) {
        figure->SetFigure(ToQString(state.Text));
      } else {
        label->setText(ToQString(state.Text));
      }
    }
  } else if (auto* line = qobject_cast<QLineEdit*>(widget)) {
    if (property == Property::Text && line->text().toStdString() != state.Text) line->setText(ToQString(state.Text));
    // Entering a box by mouse places the cursor after the focus event, so the selection
    // waits for the events in hand.
    if (property == Property::SelectAll) QMetaObject::invokeMethod(line, &QLineEdit::selectAll, Qt::QueuedConnection);
  } else if (auto* plain = qobject_cast<QPlainTextEdit*>(widget)) {
    if (property == Property::Text && plain->toPlainText().toStdString() != state.Text) {
      plain->setPlainText(ToQString(state.Text));
    }
  } else if (auto* rich = qobject_cast<QTextEdit*>(widget)) {
    if (property == Property::Text && rich->toPlainText().toStdString() != state.Text) {
      rich->setPlainText(ToQString(state.Text));
    }
  } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
    if (property == Property::Text) group->setTitle(ToQString(state.Text));
  } else if (auto* bar = qobject_cast<QScrollBar*>(widget)) {
    if (property == Property::Scroll) {
      bar->setRange(state.Min, state.Max);
      bar->setSingleStep(state.SmallChange);
      bar->setPageStep(state.LargeChange);
    }
    if (property == Property::Value) bar->setValue(state.Value);
  } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
    if (property == Property::Text && !combo->isEditable()) combo->setCurrentText(ToQString(state.Text));
  }
}

void FormBinder::ApplyForm(Property property) {
  if (property == Property::Shown && form_.ShownModal()) {
    // The user works in the window while it is up: what they do must reach the form.
    modal_.Run();
    // Closed by the user rather than by the program: the Form follows the window.
    if (form_.Visible()) form_.Hide();
    return;
  }
  Applying guard(applying_);
  switch (property) {
    case Property::Caption:
      window_->setWindowTitle(ToQString(form_.Caption()));
      break;
    case Property::Shown:
      if (form_.WindowState() == kWindowNormal && window_->isMinimized()) window_->showNormal();
      // The window the user is in is in front already (asking again costs a round trip
      // to the window system, on every build).
      if (window_->isVisible() && window_->isActiveWindow() && !window_->isMinimized()) break;
      window_->show();
      window_->raise();
      window_->activateWindow();
      break;
    case Property::Hidden:
    case Property::Unload:
      modal_.Quit();
      window_->hide();
      break;
    case Property::FormBounds:
      PlaceWindow();
      break;
    case Property::WindowState:
      switch (form_.WindowState()) {
        case kWindowMinimized:
          window_->showMinimized();
          break;
        case kWindowMaximized:
          window_->showMaximized();
          break;
        default:
          window_->showNormal();
          break;
      }
      break;
    case Property::MousePointer:
      if (form_.MousePointer() == kPointerHourglass) {
        window_->setCursor(Qt::WaitCursor);
      } else {
        window_->unsetCursor();
      }
      break;
    default:
      break;
  }
}

QSize FormBinder::FrameExtra() const {
  QRect frame = window_->frameGeometry();
  QRect client = window_->geometry();
  // A window not shown yet has no frame: it will get the one its parent window has.
  if (frame == client && !window_->isVisible() && window_->parentWidget()) {
    frame = window_->parentWidget()->window()->frameGeometry();
    client = window_->parentWidget()->window()->geometry();
  }
  return {frame.width() - client.width(), frame.height() - client.height()};
}

void FormBinder::PlaceWindow() {
  const FormGeometry& g = form_.Geometry();
  // The Form gives the outer size; Qt sizes the client area.
  const QSize extra = FrameExtra();
  const int extra_w = extra.width();
  const int extra_h = extra.height();
  window_->move(ToPixels(g.Left), ToPixels(g.Top));
  window_->resize(std::max(1, ToPixels(g.Width) - extra_w), std::max(1, ToPixels(g.Height) - extra_h));
  placement_.Asked(QPoint(ToPixels(g.Left), ToPixels(g.Top)), QSize(ToPixels(g.Width), ToPixels(g.Height)));
}

void FormBinder::ReportGeometry() {
  QRect frame = window_->frameGeometry();
  QSize client = window_->size();
  // The outer size of a window not shown yet is that of its frame to come, so that it is
  // placed beside another by the room it will take.
  if (!window_->isVisible()) frame.setSize(client + FrameExtra());
  // The client area of a window with a menu bar is what lies below the bar.
  if (auto* main = qobject_cast<QMainWindow*>(window_); main && main->menuWidget()) {
    QWidget* bar = main->menuWidget();
    int bar_height = bar->isVisible() ? bar->height() : bar->sizeHint().height();
    if (!bar->isHidden()) client.rheight() = std::max(0, client.height() - bar_height);
  }
  form_.UpdateGeometry({ToTwips(frame.x()), ToTwips(frame.y()), ToTwips(frame.width()), ToTwips(frame.height()),
                        ToTwips(client.width()), ToTwips(client.height())});
}

bool FormBinder::eventFilter(QObject* watched, QEvent* event) {
  if (watched != window_) return false;
  switch (event->type()) {
    case QEvent::WindowActivate:
      WindowActivated();
      break;
    case QEvent::WindowDeactivate:
      WindowDeactivated();
      break;
    case QEvent::Resize:
    case QEvent::Move:
      WindowPlaced(event->type() == QEvent::Resize);
      break;
    case QEvent::WindowStateChange:
      WindowStateChanged();
      break;
    case QEvent::Hide:
      WindowHidden(event->spontaneous());
      break;
    case QEvent::Close:
      return !WindowMayClose(static_cast<QCloseEvent*>(event));
    default:
      break;
  }
  return false;
}

// A message box or a system dialog of the program takes the activation for a moment:
// the window is not left for another window, so neither its Deactivate nor the Activate
// when the box closes is raised.
void FormBinder::WindowActivated() {
  if (!std::exchange(lent_to_modal_, false)) form_.Raise({}, Event::Activate);
}

void FormBinder::WindowDeactivated() {
  if (QWidget* modal = QApplication::activeModalWidget(); modal && modal != window_) {
    lent_to_modal_ = true;
    return;
  }
  form_.Raise({}, Event::Deactivate);
}

void FormBinder::WindowPlaced(bool resized) {
  // While the binder moves or sizes the window itself, the Form already holds the
  // geometry asked for; a report now would be half old (the move before the resize) and
  // undo it. The window system's own report follows.
  if (!applying_) {
    ReportGeometry();
    Applying guard(applying_);
    placement_.Reported();
  }
  if (resized) form_.Raise({}, Event::Resize);
}

void FormBinder::WindowStateChanged() {
  const Qt::WindowStates states = window_->windowState();
  Applying guard(applying_);
  form_.SetWindowState(states & Qt::WindowMinimized   ? kWindowMinimized
                       : states & Qt::WindowMaximized ? kWindowMaximized
                                                      : kWindowNormal);
}

void FormBinder::WindowHidden(bool by_window_system) {
  modal_.Quit();
  // Hidden by Qt itself (a dialog's Escape, say): the Form follows. Minimising is a hide
  // the window system makes and changes nothing.
  if (!by_window_system && !applying_ && form_.Visible() && !form_.ShownModal()) form_.Hide();
}

bool FormBinder::WindowMayClose(QCloseEvent* close) {
  if (applying_ || !form_.Visible()) return true;  // the program itself closes it
  if (form_.Unload()) {
    close->accept();
    return true;
  }
  close->ignore();
  return false;
}

}  // namespace kivrel
