// Access keys and menus pressed on a real keyboard: whatever the command state, one
// press of Alt+letter does exactly one thing in each window, an enabled button wins its
// letter from a menu, and a menu is reached by its letter.
#include <QAbstractButton>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "RealDialogs.h"
#include "commands/BuildCommands.h"
#include "forms/AttributesDialog.h"

namespace kivrel::testing {
namespace {

const std::string kAnimals = std::string(KIVREL_EXAMPLES_DIR) + "/animals.kvl";

int AccessKey(const QString& caption) {
  const QKeySequence mnemonic = QKeySequence::mnemonic(caption);
  return mnemonic.isEmpty() ? 0 : mnemonic[0].key();
}

// Presses Alt+letter for every access key of the window's enabled controls and menus and
// returns, for each key not answered exactly once, what answered it (buttons pressed,
// menus opened). The buttons' clicks are held back, so no command runs and the window
// stays as it is between presses.
std::string SweepAccessKeys(XInput& input, QWidget* window, std::size_t at_least) {
  std::set<int> keys;
  std::vector<QString> answers;
  std::vector<QPointer<QAbstractButton>> held;
  QObject receiver;
  for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
    if (button->window() != window || !button->isVisible() || !button->isEnabled() || !AccessKey(button->text())) {
      continue;
    }
    keys.insert(AccessKey(button->text()));
    QObject::connect(button, &QAbstractButton::pressed, &receiver, [&answers, &held, button] {
      answers.push_back(button->objectName());
      button->blockSignals(true);
      held.push_back(button);
    });
  }
  for (QMenuBar* bar : window->findChildren<QMenuBar*>()) {
    for (QAction* action : bar->actions()) {
      if (!action->isVisible() || !action->isEnabled() || !AccessKey(action->text())) continue;
      keys.insert(AccessKey(action->text()));
      QObject::connect(action->menu(), &QMenu::aboutToShow, &receiver,
                       [&answers, action] { answers.push_back(action->objectName()); });
    }
  }
  EXPECT_GE(keys.size(), at_least) << window->objectName().toStdString();
  std::string wrong;
  for (int key : keys) {
    EXPECT_TRUE(WaitFor([&] { return input.HasKeys(window); })) << window->objectName().toStdString();
    answers.clear();
    input.Key(QChar(key).toLower().unicode(), {XK_Alt_L});  // handled in full once Key returns
    if (answers.size() != 1) {
      wrong += "Alt+" + QString(QChar(key)).toStdString() + ":" + (answers.empty() ? " nothing" : "");
      for (const QString& answer : answers) wrong += " " + answer.toStdString();
      wrong += "\n";
    }
    if (QApplication::activePopupWidget()) input.Key(XK_Escape);
    EXPECT_TRUE(WaitFor([] { return !QApplication::activePopupWidget(); }));
    if (QWidget* focus = window->focusWidget()) focus->clearFocus();
    // A button pressed by its key clicks a moment later, while its signals are held.
    EXPECT_TRUE(WaitFor([&] { return std::ranges::none_of(held, [](auto& b) { return b && b->isDown(); }); }));
    for (QPointer<QAbstractButton>& button : held) {
      if (button) button->blockSignals(false);
    }
    held.clear();
  }
  return wrong;
}

TEST(Keyboard, OnePressOfAnAccessKeyDoesOneThingInEveryWindowAndState) {
  RunningProgram program;
  XInput input;
  ASSERT_TRUE(Ready(program.window())) << "the main window did not open active";
  // No list, a list, a built puzzle: Print and Outline share their letters with the
  // Puzzle and Options menus once they are enabled.
  for (int state = 0; state < 3; ++state) {
    if (state == 1) program.OpenList(kAnimals);
    if (state == 2) BuildPuzzle(program.ctx());
    EXPECT_EQ(program.Button("cmdPrint")->isEnabled(), state == 2);
    EXPECT_EQ(SweepAccessKeys(input, program.window(), 6), "") << "state " << state;
  }
  for (const Window* declared : {&frmAttributes::kWindow, &frmWordList::kWindow, &frmPrintOptions::kWindow}) {
    Form& form = program.ctx().forms.Get(*declared);
    form.Show(false);
    ASSERT_TRUE(Ready(program.Window(*declared))) << declared->Name();
    EXPECT_EQ(SweepAccessKeys(input, program.Window(*declared), 4), "") << declared->Name();
    form.Hide();
  }
}

// The letter opens the menu (Alt held, or Alt pressed alone first), true once the menu
// named is open.
bool OpenMenu(XInput& input, unsigned long letter, const char* menu, bool alt_alone = false) {
  if (alt_alone) {
    input.Key(XK_Alt_L);
    input.Key(letter);
  } else {
    input.Key(letter, {XK_Alt_L});
  }
  return WaitFor([menu] {
    auto* open = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    return open && open->menuAction()->objectName() == menu;
  });
}

TEST(Keyboard, MenusAndButtonsShareLettersAsTheirStateAllows) {
  RealProgram program;
  AppContext& ctx = program.ctx();
  QMainWindow* main = program.window();
  ASSERT_TRUE(Ready(main));
  XInput input;
  OpenList(ctx, kAnimals);
  BoxAnswers boxes(input);

  // Print disabled: Alt+P opens the Puzzle menu. Options items run by their letters.
  ASSERT_TRUE(OpenMenu(input, XK_p, "mnuPuzzle"));
  input.Key(XK_Escape);
  input.Key(XK_Escape);
  for (auto [letter, control] : {std::pair{XK_n, frmKV_Puzzle::mnuNoDuplicates}, {XK_l, frmKV_Puzzle::mnuLowerCase}}) {
    auto* item = RunningProgram::In<QAction>(main, control);
    const bool was = item->isChecked();
    for (bool expected : {!was, was}) {
      ASSERT_TRUE(WaitFor([&] { return input.HasKeys(main); }));
      ASSERT_TRUE(OpenMenu(input, XK_o, "mnuOptions"));
      input.Key(letter);
      EXPECT_TRUE(WaitFor([&] { return item->isChecked() == expected; })) << control;
      EXPECT_EQ(ctx.MainForm().Checked(control), expected) << control;
    }
  }
  // Avoid Words brings up the real file dialog; cancelled, no words are avoided.
  boxes.Then(XK_Escape);
  ASSERT_TRUE(OpenMenu(input, XK_o, "mnuOptions"));
  input.Key(XK_a);
  ASSERT_TRUE(WaitFor([&] { return boxes.Done(); }));
  EXPECT_FALSE(RunningProgram::In<QAction>(main, "mnuAvoidWords")->isChecked());
  EXPECT_TRUE(ctx.AvoidWords.empty());

  // Built: one Alt+O draws the outlines, the next takes them away.
  BuildPuzzle(ctx);
  ASSERT_TRUE(WaitFor([&] { return input.HasKeys(main); }));
  for (i16 shown : {kTrue, kFalse}) {
    input.Key(XK_o, {XK_Alt_L});
    EXPECT_TRUE(WaitFor([&] { return ctx.state.OutlinesShown == shown; })) << shown;
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
  }
  // Two items of the File menu share P: Open Puzzle..., the first, runs at once.
  boxes.Then(XK_Escape);
  ASSERT_TRUE(OpenMenu(input, XK_f, "mnuFile"));
  input.Key(XK_p);
  ASSERT_TRUE(WaitFor([&] { return boxes.Done(); }));
  EXPECT_EQ(boxes.seen, (std::vector<std::string>{"Avoid Words", "Open Puzzle"}));
  // Print enabled: Alt+P opens the print options; the menu is still reached by Alt alone,
  // then its letter.
  ASSERT_TRUE(WaitFor([&] { return input.HasKeys(main); }));
  input.Key(XK_p, {XK_Alt_L});
  ASSERT_TRUE(WaitFor([&] { return program.Window(frmPrintOptions::kWindow); }));
  EXPECT_TRUE(Ready(program.Window(frmPrintOptions::kWindow)));
  EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
  input.Key(XK_Escape);
  ASSERT_TRUE(WaitFor([&] { return input.HasKeys(main); }));
  EXPECT_TRUE(OpenMenu(input, XK_p, "mnuPuzzle", true));
  input.Key(XK_Escape);
  input.Key(XK_Escape);
}

}  // namespace
}  // namespace kivrel::testing
