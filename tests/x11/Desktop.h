#pragma once
// The tests on a real X server: the program on the desktop, and Qt's own dialogs and
// boxes answered with real keys.
#include <QDialog>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>
#include <deque>

#include "RunningProgram.h"
#include "XInput.h"

namespace kivrel::testing {

// Entries of a word list file as the program reads them back.
inline std::vector<std::string> EntriesIn(const std::string& path) {
  auto parsed = ParseWordList(TempDir::Read(path));
  return parsed ? parsed->Entries : std::vector<std::string>{parsed.Error().Reason};
}

// Types a path into the name box of Qt's file dialog and enters it.
inline void EnterPath(XInput& input, QDialog* dialog, const std::string& path) {
  QWidget* name = dialog->findChild<QWidget*>(QStringLiteral("fileNameEdit"));
  ASSERT_TRUE(name && WaitFor([&] { return QApplication::focusWidget() == name; }));
  input.Key(XK_a, {XK_Control_L});
  input.Type(path);
  input.Key(XK_Return);
  // An Enter while the name box offers names that start alike closes that offer only.
  if (dialog->isVisible()) input.Key(XK_Return);
}

// Answers Qt's real boxes and dialogs in order, each once it has the keys: with a key
// (Alt+key with `alt`), or with `answer`, which sends keys of its own. A box runs its own
// event loop, so the answer comes from a timer inside it.
class BoxAnswers {
 public:
  explicit BoxAnswers(XInput& input) : input_(input) { Poll(); }
  BoxAnswers& Then(unsigned long key, bool alt = false) {
    return ThenDo([this, key, alt](QDialog*) { alt ? input_.Key(key, {XK_Alt_L}) : input_.Key(key); });
  }
  BoxAnswers& ThenDo(std::function<void(QDialog*)> answer) {
    steps_.push_back(std::move(answer));
    return *this;
  }
  /// Every answer given and no box left open.
  bool Done() const { return steps_.empty() && !QApplication::activeModalWidget(); }
  /// The texts of the message boxes answered (the titles of other dialogs), in order.
  std::vector<std::string> seen;
  /// The folder each file dialog answered opened in, in order.
  std::vector<std::string> folders;

 private:
  void Poll() {
    // A new timer each time: the next box may open while this one's answer is handled.
    QTimer::singleShot(40, &guard_, [this] {
      Poll();
      auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (!box || !input_.HasKeys(box)) return;
      // A box nobody expected, or one its answer left open, is closed so that the test
      // goes on to fail instead of waiting for ever.
      const int polls = box->property("polls").toInt() + 1;
      box->setProperty("polls", polls);
      if (box->property("answered").toBool()) {
        if (polls > kPatience / 40) box->reject();
        return;
      }
      auto* message = qobject_cast<QMessageBox*>(box);
      seen.push_back(
          ((steps_.empty() ? "unexpected: " : "") + (message ? message->text() : box->windowTitle())).toStdString());
      if (steps_.empty()) return box->reject();
      box->setProperty("answered", true);
      if (auto* files = qobject_cast<QFileDialog*>(box))
        folders.push_back(files->directory().absolutePath().toStdString());
      const auto answer = std::move(steps_.front());
      steps_.pop_front();
      answer(box);
    });
  }
  XInput& input_;
  std::deque<std::function<void(QDialog*)>> steps_;
  QObject guard_;  // its timers go with it
};

// The program on the desktop with Qt's own dialogs, answered by `boxes`, its main window
// placed and with the keys.
struct Desktop : ::testing::Test {
  RunningProgram program{7, true};
  AppContext& ctx = program.ctx();
  QMainWindow* main = program.window();
  XInput input;
  BoxAnswers boxes{input};
  void SetUp() override {
    ASSERT_TRUE(Ready(main)) << "the main window did not open active: shown " << main->isVisible() << ", Qt's active "
                             << (QApplication::activeWindow() == main) << ", with the keys " << input.HasKeys(main);
  }
  /// The window of a form once it is made, shown, placed and has the keys (else null).
  QWidget* Shown(const Window& form) {
    QWidget* window = nullptr;
    return WaitFor([&] { return Ready(window = program.Window(form)); }) ? window : nullptr;
  }
  /// Opens a menu by its letter (with Alt held, or Alt pressed alone first): true once
  /// the menu named is open.
  bool OpenMenu(unsigned long letter, const char* menu, bool alt_alone = false) {
    if (alt_alone) input.Key(XK_Alt_L);
    input.Key(letter, alt_alone ? XInput::Keys{} : XInput::Keys{XK_Alt_L});
    return WaitFor([menu] {
      auto* open = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      return open && open->menuAction()->objectName() == menu;
    });
  }
  /// Waits until the window has the keys.
  bool HasKeys(const QWidget* window) {
    return WaitFor([&] { return input.HasKeys(window); });
  }
};

}  // namespace kivrel::testing
