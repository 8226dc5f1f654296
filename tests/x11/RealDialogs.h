#pragma once
// For the tests on a real X server that drive the program with Qt's own dialogs: waiting
// for a window the window manager has placed and activated, and answering real modal
// boxes with real keys.
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QTimer>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "RunningProgram.h"
#include "XInput.h"

namespace kivrel::testing {

// Active, and where the window manager put it: clicks go by the window's place on the
// screen, which settles only after the window is shown.
inline bool Ready(QWidget* window) {
  // A window shown while the window manager is still busy may miss the focus it gives
  // new windows; it is asked for once more, as a click on it would.
  if (!WaitActive(window, 3000)) {
    window->activateWindow();
    if (!WaitActive(window, 7000)) return false;
  }
  QPoint last = window->mapToGlobal(QPoint());
  int steady = 0;
  return WaitFor(
      [&] {
        QPoint now = window->mapToGlobal(QPoint());
        steady = now == last ? steady + 1 : 0;
        last = now;
        return steady >= 5;
      },
      10000);
}

// Entries of a word list file as the program reads them back.
inline std::vector<std::string> EntriesIn(const std::string& path) {
  auto parsed = ParseWordList(TempDir::Read(path));
  return parsed ? parsed->Entries : std::vector<std::string>{parsed.Error().Reason};
}

// The program with Qt's own dialogs, for the tests that need a real modal message box.
struct RealProgram {
  KivrelApp app;
  RealProgram() {
    app.Start(7);
    QApplication::processEvents();
  }
  AppContext& ctx() { return app.context(); }
  QWidget* WordListWindow() { return app.window(frmWordList::kWindow); }
  void ShowList(const std::string& path) {
    // The main window first takes the focus the window manager gives a new window.
    ASSERT_TRUE(Ready(app.mainWindow()));
    OpenList(ctx(), path);
    ctx().MainForm().Raise(frmKV_Puzzle::mnuViewList, Event::Click);
  }
};

// A message box by its text, another dialog by its title.
inline std::string TextOf(QDialog* dialog) {
  auto* box = qobject_cast<QMessageBox*>(dialog);
  return (box ? box->text() : dialog->windowTitle()).toStdString();
}

// Answers Qt's real message boxes and dialogs with real keys, in order, as each comes up: a box
// runs its own event loop, so the answer has to come from a timer inside it.
class BoxAnswers {
 public:
  explicit BoxAnswers(XInput& input) : input_(input) { Poll(); }
  /// The next box is answered with the key (with Alt held when `alt`).
  BoxAnswers& Then(unsigned long key, bool alt = false) {
    steps_.push_back({key, alt, {}});
    return *this;
  }
  /// The next box (a dialog with more to fill in) is answered by `answer`, which sends
  /// the keys.
  BoxAnswers& ThenDo(std::function<void(QDialog*)> answer) {
    steps_.push_back({0, false, std::move(answer)});
    return *this;
  }
  bool Done() const { return steps_.empty(); }
  /// The texts (or the titles) of the boxes answered, in order.
  std::vector<std::string> seen;
  /// The window each of those boxes stood over (null for none).
  std::vector<QWidget*> over;

 private:
  struct Step {
    unsigned long key;
    bool alt;
    std::function<void(QDialog*)> answer;
  };
  void Poll() {
    // A new timer each time: the next box may open while this one's answer is handled.
    QTimer::singleShot(40, &guard_, [this] {
      Poll();
      auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (!box || !box->isActiveWindow()) return;
      // A box nobody expected, or one the key did not close, is closed here so that the
      // test goes on to fail instead of waiting for ever.
      const int polls = box->property("polls").toInt() + 1;
      box->setProperty("polls", polls);
      if (box->property("answered").toBool()) {
        if (polls > 75) box->reject();
        return;
      }
      if (steps_.empty()) {
        seen.push_back("unexpected: " + TextOf(box));
        box->reject();
        return;
      }
      box->setProperty("answered", true);
      seen.push_back(TextOf(box));
      over.push_back(box->parentWidget() ? box->parentWidget()->window() : nullptr);
      const Step step = steps_.front();
      steps_.pop_front();
      if (step.answer) {
        step.answer(box);
      } else if (step.alt) {
        input_.Key(step.key, {XK_Alt_L});
      } else {
        input_.Key(step.key);
      }
    });
  }
  XInput& input_;
  std::deque<Step> steps_;
  QObject guard_;  // its timers go with it
};

}  // namespace kivrel::testing
