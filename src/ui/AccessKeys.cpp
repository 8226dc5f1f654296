#include "ui/AccessKeys.h"

#include <QAbstractButton>
#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QShortcutEvent>
#include <QWidget>

#include "platform/Services.h"

namespace kivrel {

namespace {

// The key of an access key ("&Print": P), or 0 when the caption has none.
int AccessKey(const QString& caption) {
  QKeySequence mnemonic = QKeySequence::mnemonic(caption);
  return mnemonic.isEmpty() ? 0 : mnemonic[0].key();
}

// The key a letter typed in an open menu stands for, or 0 for anything but a letter or
// a digit typed alone.
int TypedAccessKey(const QKeyEvent* key) {
  if (key->modifiers() & (Qt::ControlModifier | Qt::MetaModifier | Qt::AltModifier)) return 0;
  const QString text = key->text();
  if (text.size() != 1 || !text.at(0).isLetterOrNumber()) return 0;
  return AccessKey(QStringLiteral("&") + text);
}

// Alt+key that reached a control: no shortcut took it. Not with Ctrl (AltGr on some
// systems) or the logo key.
class UnansweredAltKeys : public QObject {
 public:
  UnansweredAltKeys(QObject* owner, Beeper& beeper) : QObject(owner), beeper_(beeper) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
    if (qobject_cast<QMenu*>(watched) || qobject_cast<QMenuBar*>(watched)) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers held = key->modifiers();
    if (!(held & Qt::AltModifier) || (held & (Qt::ControlModifier | Qt::MetaModifier))) return false;
    if (key->text().isEmpty() || !key->text().at(0).isPrint()) return false;
    beeper_.Beep();
    return true;
  }

 private:
  Beeper& beeper_;
};

}  // namespace

AccessKeys::AccessKeys(QWidget* window) : QObject(window), window_(window) {
  for (QMenuBar* bar : window_->findChildren<QMenuBar*>()) Watch(bar);
  for (QMenu* menu : window_->findChildren<QMenu*>()) Watch(menu);
}

void AccessKeys::Watch(QObject* object) { object->installEventFilter(this); }

bool AccessKeys::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Shortcut) {
    auto* shortcut = static_cast<QShortcutEvent*>(event);
    return shortcut->isAmbiguous() && !shortcut->key().isEmpty() && Resolve(shortcut->key()[0].key());
  }
  if (auto* menu = qobject_cast<QMenu*>(watched); menu && event->type() == QEvent::KeyPress) {
    return ChooseMenuItem(menu, TypedAccessKey(static_cast<QKeyEvent*>(event)));
  }
  return false;
}

bool AccessKeys::Resolve(int key) {
  // An enabled button (or check box) of this window wins (not one of a window it owns).
  for (QAbstractButton* button : window_->findChildren<QAbstractButton*>()) {
    if (button->window() == window_ && button->isVisible() && button->isEnabled() && AccessKey(button->text()) == key) {
      button->animateClick();
      return true;
    }
  }
  // Then the menu of that letter.
  for (QMenuBar* bar : window_->findChildren<QMenuBar*>()) {
    for (QAction* action : bar->actions()) {
      if (action->isVisible() && action->isEnabled() && AccessKey(action->text()) == key) {
        bar->setActiveAction(action);
        return true;
      }
    }
  }
  return false;
}

bool AccessKeys::ChooseMenuItem(QMenu* menu, int key) {
  if (key == 0) return false;
  // The first enabled item of that letter runs at once, even where another shares it
  // (Qt would only move the highlight between them).
  for (QAction* action : menu->actions()) {
    if (action->isSeparator() || !action->isVisible() || !action->isEnabled()) continue;
    if (AccessKey(action->text()) != key) continue;
    menu->setActiveAction(action);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(menu, &enter);
    return true;
  }
  return false;
}

void RefuseUnansweredAltKeys(QObject* owner, Beeper& beeper) {
  QCoreApplication::instance()->installEventFilter(new UnansweredAltKeys(owner, beeper));
}

}  // namespace kivrel
