// Access keys pressed on a real keyboard: whatever the command state, one press of
// Alt+letter does exactly one thing in each window.
#include <QAbstractButton>
#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "RunningProgram.h"
#include "XInput.h"
#include "commands/BuildCommands.h"
#include "forms/AttributesDialog.h"

namespace kivrel::testing {
namespace {

// On a busy machine the window manager and the server may take a while.
constexpr int kPatience = 10000;

const std::string kAnimals = std::string(KIVREL_EXAMPLES_DIR) + "/animals.kvl";

int AccessKey(const QString& caption) {
  QKeySequence mnemonic = QKeySequence::mnemonic(caption);
  return mnemonic.isEmpty() ? 0 : mnemonic[0].key();
}

// Presses Alt+letter for every access key of the window's enabled controls and menus and
// counts what answered each press: buttons pressed and menus opened. The buttons' clicks
// are held back, so no command runs and the window stays as it is between presses.
class AccessKeySweep {
 public:
  explicit AccessKeySweep(QWidget* window) : window_(window) {
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
      if (button->window() != window || !button->isVisible() || !button->isEnabled() ||
          AccessKey(button->text()) == 0) {
        continue;
      }
      keys_.insert(AccessKey(button->text()));
      connections_.push_back(QObject::connect(button, &QAbstractButton::pressed, button, [this, button] {
        answers_.push_back(button->objectName());
        button->blockSignals(true);
        held_.push_back(button);
      }));
    }
    for (QMenuBar* bar : window->findChildren<QMenuBar*>()) {
      for (QAction* action : bar->actions()) {
        if (!action->isVisible() || !action->isEnabled() || AccessKey(action->text()) == 0) continue;
        keys_.insert(AccessKey(action->text()));
        QMenu* menu = action->menu();
        connections_.push_back(QObject::connect(menu, &QMenu::aboutToShow, menu,
                                                [this, action] { answers_.push_back(action->objectName()); }));
      }
    }
  }

  /// The controls that answered each key, for every key that was not answered exactly once.
  std::map<char, std::vector<QString>> Run(XInput& input) {
    std::map<char, std::vector<QString>> wrong;
    for (int key : keys_) {
      EXPECT_TRUE(WaitActive(window_, kPatience)) << window_->objectName().toStdString();
      answers_.clear();
      input.Key(static_cast<unsigned long>(QChar(key).toLower().unicode()), {XK_Alt_L});
      WaitFor([this] { return !answers_.empty(); }, kPatience);
      Settle(250);  // a second answer, or the held click, would come now
      if (answers_.size() != 1) wrong[static_cast<char>(key)] = answers_;
      if (QApplication::activePopupWidget()) input.Key(XK_Escape);
      WaitFor([] { return QApplication::activePopupWidget() == nullptr; }, kPatience);
      if (QWidget* focus = window_->focusWidget()) focus->clearFocus();
      for (QPointer<QAbstractButton>& button : held_) {
        if (button) button->blockSignals(false);
      }
      held_.clear();
    }
    return wrong;
  }

  ~AccessKeySweep() {
    for (const QMetaObject::Connection& connection : connections_) QObject::disconnect(connection);
  }
  AccessKeySweep(const AccessKeySweep&) = delete;
  AccessKeySweep& operator=(const AccessKeySweep&) = delete;

  const std::set<int>& Keys() const { return keys_; }

 private:
  QWidget* window_;
  std::set<int> keys_;
  std::vector<QString> answers_;
  std::vector<QPointer<QAbstractButton>> held_;
  std::vector<QMetaObject::Connection> connections_;
};

std::string Describe(const std::map<char, std::vector<QString>>& wrong) {
  std::string text;
  for (const auto& [key, answers] : wrong) {
    text += std::string("Alt+") + key + ":";
    for (const QString& answer : answers) text += " " + answer.toStdString();
    if (answers.empty()) text += " nothing";
    text += "\n";
  }
  return text;
}

TEST(AccessKeys, OnePressDoesOneThingInEveryStateOfTheMainWindow) {
  RunningProgram program;
  XInput input;
  QMainWindow* main = program.window();
  ASSERT_TRUE(WaitActive(main, kPatience));
  Settle(300);  // the window manager hands the keyboard over just after activating it

  // No list, a list, a built puzzle: Print and Outline share their letters with the
  // Puzzle and Options menus once they are enabled.
  for (int state = 0; state < 3; ++state) {
    if (state == 1) program.OpenList(kAnimals);
    if (state == 2) {
      BuildPuzzle(program.ctx());
      ASSERT_TRUE(program.Button("cmdPrint")->isEnabled());
    }
    QApplication::processEvents();
    AccessKeySweep sweep(main);
    EXPECT_TRUE(sweep.Keys().count(Qt::Key_P) && sweep.Keys().count(Qt::Key_O));
    EXPECT_EQ(Describe(sweep.Run(input)), "") << "state " << state;
  }
}

TEST(AccessKeys, TheEnabledButtonWinsAndTheMenuAnswersWhenItIsDisabled) {
  RunningProgram program;
  XInput input;
  QMainWindow* main = program.window();
  program.OpenList(kAnimals);
  ASSERT_TRUE(WaitActive(main, kPatience));
  Settle(300);

  // Print disabled: Alt+P opens the Puzzle menu.
  input.Key(XK_p, {XK_Alt_L});
  ASSERT_TRUE(WaitFor([] { return QApplication::activePopupWidget() != nullptr; }, kPatience));
  EXPECT_EQ(qobject_cast<QMenu*>(QApplication::activePopupWidget())->menuAction()->objectName(), "mnuPuzzle");
  input.Key(XK_Escape);
  input.Key(XK_Escape);
  ASSERT_TRUE(WaitFor([] { return QApplication::activePopupWidget() == nullptr; }, kPatience));

  BuildPuzzle(program.ctx());
  ASSERT_TRUE(WaitActive(main, kPatience));
  Settle(300);
  // Outline enabled: one Alt+O draws the outlines, the next takes them away.
  for (i16 shown : {kTrue, kFalse}) {
    input.Key(XK_o, {XK_Alt_L});
    EXPECT_TRUE(WaitFor([&] { return program.ctx().state.OutlinesShown == shown; }, kPatience)) << shown;
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
  }
  // Print enabled: one Alt+P opens the print options.
  input.Key(XK_p, {XK_Alt_L});
  EXPECT_TRUE(WaitFor(
      [&] {
        QWidget* options = program.Window(frmPrintOptions::kWindow);
        return options && options->isVisible();
      },
      kPatience));
  EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
  input.Key(XK_Escape);
  ASSERT_TRUE(WaitActive(main, kPatience));
  Settle(300);

  // The menu is still reached by Alt released, then its letter. (A busy machine may
  // let the menu bar miss the lone Alt: then again.)
  for (int tries = 0; tries < 3 && !QApplication::activePopupWidget(); ++tries) {
    input.Key(XK_Escape);
    input.Key(XK_Alt_L);
    Settle(100);
    input.Key(XK_p);
    WaitFor([] { return QApplication::activePopupWidget() != nullptr; });
  }
  ASSERT_NE(QApplication::activePopupWidget(), nullptr);
  EXPECT_EQ(qobject_cast<QMenu*>(QApplication::activePopupWidget())->menuAction()->objectName(), "mnuPuzzle");
  input.Key(XK_Escape);
  input.Key(XK_Escape);
}

TEST(AccessKeys, ALetterTwoMenuItemsShareRunsTheFirstAtOnce) {
  RunningProgram program;
  XInput input;
  program.OpenList(kAnimals);
  BuildPuzzle(program.ctx());  // Print... is enabled beside Open Puzzle...
  ASSERT_TRUE(WaitActive(program.window(), kPatience));
  Settle(300);
  program.dialogs.ExpectFile(std::nullopt);
  input.Key(XK_f, {XK_Alt_L});
  ASSERT_TRUE(WaitFor([] { return QApplication::activePopupWidget() != nullptr; }, kPatience));
  input.Key(XK_p);
  EXPECT_TRUE(WaitFor([&] { return program.dialogs.Done(); }, kPatience)) << "Open Puzzle... did not run";
  EXPECT_TRUE(WaitFor([] { return QApplication::activePopupWidget() == nullptr; }, kPatience));
  QWidget* options = program.Window(frmPrintOptions::kWindow);
  EXPECT_TRUE(!options || !options->isVisible());
}

TEST(AccessKeys, OnePressDoesOneThingInTheDialogs) {
  RunningProgram program;
  XInput input;
  program.OpenList(kAnimals);
  BuildPuzzle(program.ctx());
  for (const Window* declared : {&frmAttributes::kWindow, &frmWordList::kWindow, &frmPrintOptions::kWindow}) {
    const std::string_view name = declared->Name();
    Form& form = program.ctx().forms.Get(*declared);
    form.Show(false);
    QWidget* window = program.Window(*declared);
    ASSERT_TRUE(window && WaitActive(window, kPatience)) << name;
    Settle(300);  // the window manager hands the keyboard over just after activating it
    AccessKeySweep sweep(window);
    EXPECT_GE(sweep.Keys().size(), 4u) << name;
    EXPECT_EQ(Describe(sweep.Run(input)), "") << name;
    form.Hide();
  }
}

}  // namespace
}  // namespace kivrel::testing
