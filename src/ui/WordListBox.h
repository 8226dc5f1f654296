#pragma once
// The word list window's entry box: an edit field with the list of entries always shown
// below it. It renders the program's WordList and reports the user's typing and picking
// to it; the window's behaviour (WordListWindow) decides the rest.
#include <QWidget>

#include "forms/WordListWindow.h"
#include "program/AppContext.h"

class QLineEdit;
class QListWidget;

namespace kivrel {

class WordListBox : public QWidget {
 public:
  WordListBox(AppContext& ctx, WordListWindow& window, QWidget* parent = nullptr);
  ~WordListBox() override;

  QLineEdit* edit() const { return edit_; }
  QListWidget* list() const { return list_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  /// The entries as the list holds them, the first one changed in view.
  void ShowEntries();
  void ShowSelection();
  /// Marks the entries whose words the last build left out: red and slanted.
  void ShowLeftOut();

  AppContext& ctx_;
  WordListWindow& window_;
  QLineEdit* edit_;
  QListWidget* list_;
  bool showing_ = false;  // the box is showing the model: no report back
  int subscription_ = 0;
};

}  // namespace kivrel
