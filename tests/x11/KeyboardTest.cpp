// Access keys and menus pressed on a real keyboard: whatever the command state, one
// press of Alt+letter does exactly one thing in each window, an enabled button wins its
// letter from a menu, a menu is reached by Alt alone and its letter, and a dialog is
// worked with the keys alone.
#include <QAbstractButton>
#include <QComboBox>
#include <QMenuBar>
#include <QPointer>

#include <algorithm>
#include <set>

#include "CliRunner.h"
#include "Desktop.h"
#include "commands/BuildCommands.h"
#include "files/PuzzleFile.h"
#include "forms/AttributesDialog.h"

namespace kivrel::testing {
namespace {

int AccessKey(const QString& caption) {
  const QKeySequence mnemonic = QKeySequence::mnemonic(caption);
  return mnemonic.isEmpty() ? 0 : mnemonic[0].key();
}

// Presses Alt+letter for every access key of the window's enabled buttons and menus and
// returns, for each key not answered exactly once, what answered it (buttons pressed,
// menus opened). The buttons' clicks are held back, so no command runs and the window
// stays as it is between presses.
std::string SweepAccessKeys(XInput& input, QWidget* window, std::size_t at_least) {
  std::set<int> keys;
  QStringList answers;
  std::vector<QPointer<QAbstractButton>> held;
  QObject receiver;
  for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
    if (button->window() != window || !button->isVisible() || !button->isEnabled() || !AccessKey(button->text())) {
      continue;
    }
    keys.insert(AccessKey(button->text()));
    QObject::connect(button, &QAbstractButton::pressed, &receiver, [&answers, &held, button] {
      answers << button->objectName();
      button->blockSignals(true);
      held.push_back(button);
    });
  }
  for (QAction* menu : window->findChild<QMenuBar*>() ? window->findChild<QMenuBar*>()->actions() : QList<QAction*>()) {
    if (!menu->isVisible() || !menu->isEnabled() || !AccessKey(menu->text())) continue;
    keys.insert(AccessKey(menu->text()));
    QObject::connect(menu->menu(), &QMenu::aboutToShow, &receiver, [&answers, menu] { answers << menu->objectName(); });
  }
  EXPECT_GE(keys.size(), at_least) << window->objectName().toStdString();
  std::string wrong;
  for (int key : keys) {
    EXPECT_TRUE(WaitFor([&] { return input.HasKeys(window); })) << window->objectName().toStdString();
    answers.clear();
    input.Key(QChar(key).toLower().unicode(), {XK_Alt_L});  // handled in full once Key returns
    if (answers.size() != 1) wrong += QString("Alt+%1: %2\n").arg(QChar(key)).arg(answers.join(' ')).toStdString();
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

using Keyboard = Desktop;

// Then, in the state built: buttons win their letters, menus answer Alt alone, Export
// Page is worked with the keys only; last, the other windows are swept.
TEST_F(Keyboard, OnePressOfAnAccessKeyDoesOneThingAndExportTakesKeysOnly) {
  // No list, a list, a built puzzle: Print and Outline share their letters with the
  // Puzzle and Options menus once they are enabled.
  for (int state = 0; state < 3; ++state) {
    if (state == 1) program.OpenList(KIVREL_EXAMPLES_DIR "/animals.kvl");
    if (state == 2) BuildPuzzle(ctx);
    EXPECT_EQ(SweepAccessKeys(input, main, 6), "") << "state " << state;
  }
  // With the puzzle built: two items of the File menu share P: Open Puzzle..., the first,
  // runs at once.
  TempDir dir;
  ctx.state.WordListFileName = dir.File("animals.kvl");  // the file dialogs open in its folder
  boxes.Then(XK_Escape);
  ASSERT_TRUE(OpenMenu(XK_f, "mnuFile"));
  input.Key(XK_p);
  ASSERT_TRUE(WaitFor([&] { return boxes.Done(); }));
  EXPECT_EQ(boxes.seen, std::vector<std::string>{"Open Puzzle"});
  // Print enabled: Alt+P opens the print options; the menu is reached by Alt alone, then P.
  ASSERT_TRUE(HasKeys(main));
  input.Key(XK_p, {XK_Alt_L});
  EXPECT_TRUE(Shown(frmPrintOptions::kWindow));
  EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
  input.Key(XK_Escape);
  ASSERT_TRUE(HasKeys(main));
  EXPECT_TRUE(OpenMenu(XK_p, "mnuPuzzle", true));
  input.Key(XK_Escape);
  input.Key(XK_Escape);

  // Export Page: the type list is reached with Tab from the name box (PNG is the next
  // type after PDF), the answer key box by its access key, the name typed and entered.
  boxes.ThenDo([&](QDialog* dialog) {
    const auto tab_to = [&](QWidget* target) {
      for (int i = 0; i < 20 && target && QApplication::focusWidget() != target; ++i) input.Key(XK_Tab);
      return target && QApplication::focusWidget() == target;
    };
    QWidget* name = dialog->findChild<QWidget*>("fileNameEdit");
    ASSERT_TRUE(WaitFor([&] { return QApplication::focusWidget() == name; }));
    if (!tab_to(dialog->findChild<QComboBox*>("fileTypeCombo"))) return dialog->reject();
    input.Key(XK_Down);
    input.Key(XK_a, {XK_Alt_L});
    tab_to(name);
    EnterPath(input, dialog, "page");
  });
  ASSERT_TRUE(HasKeys(main));
  ASSERT_TRUE(OpenMenu(XK_f, "mnuFile"));
  input.Key(XK_e);
  ASSERT_TRUE(WaitFor([&] { return boxes.Done(); }));
  EXPECT_EQ(boxes.seen.back(), "Export Page");
  EXPECT_EQ(boxes.folders.back(), dir.Folder()) << "not the list's folder";
  // The same puzzle, its fill letters as exported, through the command-line program.
  const std::string puzzle = dir.Write("zoo.kvp", *EncodePuzzleFile(PuzzleFileFromState(ctx.state)));
  ASSERT_EQ(RunCli("print " + puzzle + " --answer-key --png " + dir.File("cli.png")).code, 0);
  EXPECT_TRUE(TempDir::Read(dir.File("page.png")) == TempDir::Read(dir.File("cli.png"))) << "did Tab reach the types?";
  EXPECT_TRUE(TempDir::Read(dir.File("page-key.png")) == TempDir::Read(dir.File("cli-key.png")));

  // The other windows: one press, one thing (their buttons' clicks held back as above).
  for (const Window* declared : {&frmAttributes::kWindow, &frmWordList::kWindow, &frmPrintOptions::kWindow}) {
    ctx.forms.Get(*declared).Show(false);
    ASSERT_TRUE(Shown(*declared)) << declared->Name();
    EXPECT_EQ(SweepAccessKeys(input, program.Window(*declared), 4), "") << declared->Name();
    ctx.forms.Get(*declared).Hide();
  }
}

// Alt+B builds; a build that places every word rings the X server's bell once, unless
// Sound is unchecked in the Options menu. The server tells of its rings in the order the
// program asked for them, so once the third build's has come, a ring of the second
// would have come before it.
TEST_F(Keyboard, ABuildRingsTheBellOnceEveryWordIsPlacedUnlessSoundIsOff) {
  program.OpenList(KIVREL_EXAMPLES_DIR "/animals.kvl");
  const auto build = [&] {
    ASSERT_TRUE(HasKeys(main));
    ctx.state.PuzzleBuilt = kFalse;  // set again when the build ends
    input.Key(XK_b, {XK_Alt_L});
    ASSERT_TRUE(WaitFor([&] { return ctx.state.PuzzleBuilt != 0 && !BuildRunning(ctx); }));
    EXPECT_EQ(ctx.state.RejectedCount, 0);
  };
  const auto toggle_sound = [&] {
    ASSERT_TRUE(OpenMenu(XK_o, "mnuOptions", true));  // Alt+O is Outline once built
    input.Key(XK_s);
  };
  build();
  EXPECT_TRUE(WaitFor([&] { return input.Bells() == 1; })) << input.Bells();
  toggle_sound();
  ASSERT_FALSE(ctx.MainForm().Checked(frmKV_Puzzle::mnuSound));
  build();
  toggle_sound();
  ASSERT_TRUE(ctx.MainForm().Checked(frmKV_Puzzle::mnuSound));
  build();
  EXPECT_TRUE(WaitFor([&] { return input.Bells() >= 2; }));
  EXPECT_EQ(input.Bells(), 2);
}

}  // namespace
}  // namespace kivrel::testing
