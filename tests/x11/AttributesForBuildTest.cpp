// The attributes dialog that a build opens when the grid is too small for the longest
// word, on a real X server: leaving it builds (once it is closed), its close box gives
// the build up like Cancel, and the main window's commands always end in step.
#include <QApplication>
#include <QMainWindow>
#include <gtest/gtest.h>

#include "RunningProgram.h"
#include "XInput.h"
#include "commands/BuildCommands.h"
#include "program/WordTable.h"

namespace kivrel::testing {
namespace {

// On a busy machine the window manager and the server may take a while.
constexpr int kPatience = 10000;

// A list whose longest word (9 letters) does not fit 8 x 10; Build opens the dialog.
QWidget* OpenForBuild(RunningProgram& program) {
  for (const char* word : {"ALLIGATOR", "CAT", "DOG"}) AddEntry(program.ctx(), word);
  UpdateWordCount(program.ctx());
  program.ctx().state.PuzzleWidth = 8;
  program.ctx().state.PuzzleHeight = 10;
  SetListReadyState(program.ctx());
  EXPECT_TRUE(WaitActive(program.window(), kPatience));
  XInput().Click(program.Button("cmdBuild"));
  WaitFor([&] { return program.Window(frmAttributes::kWindow) && program.Window(frmAttributes::kWindow)->isVisible(); },
          kPatience);
  QWidget* dialog = program.Window(frmAttributes::kWindow);
  EXPECT_TRUE(dialog && WaitActive(dialog, kPatience));
  Settle(300);  // the window manager hands the keyboard over just after activating it
  return dialog;
}

TEST(AttributesForBuild, LeavingTheDialogClosesItThenBuildsAndTheCommandsFollow) {
  RunningProgram program;
  QWidget* dialog = OpenForBuild(program);
  ASSERT_TRUE(dialog);
  XInput input;
  // The user goes back to the main window: a click on its title bar, which the dialog
  // (in the middle of the screen) does not cover.
  const QRect frame = program.window()->frameGeometry();
  input.ClickAt(QPoint(frame.center().x(), frame.top() + (program.window()->geometry().top() - frame.top()) / 2));
  ASSERT_TRUE(WaitFor([&] { return program.ctx().state.PuzzleBuilt != 0 && !BuildRunning(program.ctx()); }, kPatience));
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(program.ctx().state.PuzzleWidth, 9);
  for (const char* command : {"cmdAttributes", "cmdBuild", "cmdPrint", "cmdSavePuzzle", "cmdViewList"}) {
    EXPECT_TRUE(program.Button(command)->isEnabled()) << command;
  }
  EXPECT_FALSE(program.Button("cmdCancel")->isEnabled());
}

TEST(AttributesForBuild, TheCloseBoxGivesTheBuildUp) {
  RunningProgram program;
  QWidget* dialog = OpenForBuild(program);
  ASSERT_TRUE(dialog);
  XInput input;
  // The window manager closes the window, as its close box does. (On a busy machine
  // the key may reach the manager before it has taken the dialog in: then again.)
  for (int tries = 0; tries < 3 && dialog->isVisible(); ++tries) {
    input.Key(XK_F4, {XK_Alt_L});
    WaitFor([&] { return !dialog->isVisible(); });
  }
  ASSERT_FALSE(dialog->isVisible());
  ASSERT_TRUE(WaitActive(program.window(), kPatience));
  Settle(300);
  EXPECT_EQ(program.ctx().state.PuzzleBuilt, 0);
  EXPECT_EQ(program.ctx().state.AttributesForBuild, 0);
  EXPECT_EQ(program.ctx().state.PuzzleWidth, 8);
  EXPECT_TRUE(program.Button("cmdBuild")->isEnabled());
}

}  // namespace
}  // namespace kivrel::testing
