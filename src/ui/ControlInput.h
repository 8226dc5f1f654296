#pragma once
// What the user does to a window's controls from the keyboard reaches their Form as the
// events the core handles: a control getting and losing the focus (not when the user
// only switches windows or opens a menu or a drop-down), and the keys typed into it,
// which the control's key handler may drop.
#include <QHash>
#include <QObject>

#include "model/Forms.h"

namespace kivrel {

class ControlInput : public QObject {
 public:
  ControlInput(QObject* parent, Form& form) : QObject(parent), form_(form) {}

  /// Forwards the focus changes and keys of `object`, the widget of `control`.
  void Watch(QObject* object, Control control);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  Form& form_;
  QHash<const QObject*, Control> controls_;
};

}  // namespace kivrel
