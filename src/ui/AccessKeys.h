#pragma once
// One press of an access key does one thing. Where an Alt+letter belongs to more than
// one control of a window, the enabled button (or check box) wins, and a menu of the
// same letter answers it only while no such button is enabled (the menu stays
// reachable with Alt released, then the letter). In an open menu, a letter that several
// enabled items share runs the first of them.
#include <QObject>

class QMenu;
class QWidget;

namespace kivrel {

class Beeper;

class AccessKeys : public QObject {
 public:
  /// Answers the access keys of the window's menu bar and menus, and of the controls
  /// given to Watch.
  explicit AccessKeys(QWidget* window);

  /// Takes the ambiguous access keys Qt sends to `object` (a control of the window).
  void Watch(QObject* object);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  /// Alt+key that Qt found ambiguous: runs the control that wins it; false if none.
  bool Resolve(int key);
  /// A letter typed in an open menu: runs the first enabled item it stands for.
  static bool ChooseMenuItem(QMenu* menu, int key);

  QWidget* window_;
};

/// A key typed with Alt held that no access key answered types nothing: Qt's text boxes
/// would take it for the letter (a mistyped Alt+letter replacing a selected title), its
/// list and combo boxes for a search. The program beeps instead. Menus keep their letters,
/// which they take with Alt held too. For the whole program, as long as `owner` lasts.
void RefuseUnansweredAltKeys(QObject* owner, Beeper& beeper);

}  // namespace kivrel
