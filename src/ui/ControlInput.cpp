#include "ui/ControlInput.h"

#include <QFocusEvent>
#include <QKeyEvent>

namespace kivrel {

namespace {

// The key code a key press stands for: Enter 13, Backspace 8, Escape 27, else the
// character typed; 0 for keys that type nothing.
int KeyCode(const QKeyEvent* key) {
  switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return 13;
    case Qt::Key_Backspace:
      return 8;
    case Qt::Key_Escape:
      return 27;
    default:
      break;
  }
  QString text = key->text();
  if (text.isEmpty() || !text.at(0).isPrint()) return 0;
  return static_cast<int>(text.toUcs4().value(0));
}

// Switching windows or opening a menu or drop-down leaves the focus where it is.
bool FocusStays(const QFocusEvent* event) {
  return event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason;
}

}  // namespace

void ControlInput::Watch(QObject* object, Control control) {
  controls_.insert(object, control);
  object->installEventFilter(this);
}

bool ControlInput::eventFilter(QObject* watched, QEvent* event) {
  const auto found = controls_.constFind(watched);
  if (found == controls_.constEnd()) return false;
  switch (event->type()) {
    case QEvent::FocusIn:
      if (!FocusStays(static_cast<QFocusEvent*>(event))) form_.Raise(*found, Event::GotFocus);
      return false;
    case QEvent::FocusOut:
      if (!FocusStays(static_cast<QFocusEvent*>(event))) form_.Raise(*found, Event::LostFocus);
      return false;
    case QEvent::KeyPress: {
      const int key = KeyCode(static_cast<QKeyEvent*>(event));
      return key != 0 && form_.RaiseKeyPress(*found, key) == 0;  // 0: the handler dropped the key
    }
    default:
      return false;
  }
}

}  // namespace kivrel
