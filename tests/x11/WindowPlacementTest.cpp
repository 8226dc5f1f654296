// Where the windows go on a real screen with a window manager: never past the screen's
// available area, whatever the puzzle's size, and the word list window beside the
// puzzle rather than over it.
#include <QApplication>
#include <QMainWindow>
#include <QScreen>
#include <gtest/gtest.h>

#include "RealDialogs.h"
#include "commands/BuildCommands.h"
#include "program/WordTable.h"

namespace kivrel::testing {
namespace {

// On a busy machine the window manager and the server may take a while.
constexpr int kPatience = 10000;

const std::string kAnimals = std::string(KIVREL_EXAMPLES_DIR) + "/animals.kvl";

std::string Text(const QRect& r) {
  return std::to_string(r.x()) + "," + std::to_string(r.y()) + " " + std::to_string(r.width()) + "x" +
         std::to_string(r.height());
}

QRect Available() { return QApplication::primaryScreen()->availableGeometry(); }

// The picture's place on the screen.
QRect PictureOnScreen(RunningProgram& program) {
  QWidget* picture = program.Widget("picPuzzle");
  return QRect(picture->mapToGlobal(QPoint(0, 0)), picture->size());
}

void Build(RunningProgram& program, int side) {
  program.ctx().state.PuzzleWidth = static_cast<i16>(side);
  program.ctx().state.PuzzleHeight = static_cast<i16>(side);
  ASSERT_NE(BuildPuzzle(program.ctx()).End, BuildEnd::NotStarted) << side;
  Settle(200);  // the window manager places and sizes the window
}

TEST(WindowPlacement, TheMainWindowStaysOnTheScreenAndShowsTheWholeGridFrom5To99) {
  RunningProgram program;
  QMainWindow* main = program.window();
  for (const char* word : {"CAT", "DOG", "EMU"}) AddEntry(program.ctx(), word);
  UpdateWordCount(program.ctx());
  ASSERT_TRUE(WaitActive(main, kPatience));
  for (int side : {5, 10, 15, 20, 30, 40, 50, 60, 70, 80, 90, 99}) {
    Build(program, side);
    // Inside the screen, and every cell can be seen: the picture lies inside the
    // window's client area (once the window manager has done its part).
    auto client = [&] { return QRect(main->mapToGlobal(QPoint(0, 0)), main->size()); };
    WaitFor([&] { return Available().contains(main->frameGeometry()) && client().contains(PictureOnScreen(program)); });
    const FormGeometry& asked = program.ctx().MainForm().Geometry();
    const std::string form = ", the form says " + std::to_string(asked.Left / 15) + "," +
                             std::to_string(asked.Top / 15) + " " + std::to_string(asked.Width / 15) + "x" +
                             std::to_string(asked.Height / 15);
    EXPECT_TRUE(Available().contains(main->frameGeometry()))
        << side << ": the window reaches past the screen: " << Text(main->frameGeometry()) << " in "
        << Text(Available()) << form;
    EXPECT_TRUE(client().contains(PictureOnScreen(program)))
        << side << ": part of the grid is cut off: " << Text(client()) << " " << Text(PictureOnScreen(program)) << form;
    EXPECT_EQ(program.Widget("picPuzzle")->width(), std::lround(side * program.ctx().display.CellSize / 15.0));
    if (side == 40 || side == 99) SaveScreen("main-" + std::to_string(side));
  }
}

TEST(WindowPlacement, TheWordListWindowOpensBesideThePuzzle) {
  // First opened before the puzzle grows, then opened after a larger one was built.
  for (int side : {15, 40}) {
    RunningProgram program;
    program.OpenList(kAnimals);
    ASSERT_TRUE(WaitActive(program.window(), kPatience));
    if (side == 15) {
      program.form().Raise(frmKV_Puzzle::mnuViewList, Event::Click);
      ASSERT_TRUE(WaitFor(
          [&] { return program.Window(frmWordList::kWindow) && program.Window(frmWordList::kWindow)->isVisible(); },
          kPatience));
      Settle(200);
      Build(program, 40);
    } else {
      Build(program, side);
      program.form().Raise(frmKV_Puzzle::mnuViewList, Event::Click);
      ASSERT_TRUE(WaitFor(
          [&] { return program.Window(frmWordList::kWindow) && program.Window(frmWordList::kWindow)->isVisible(); },
          kPatience));
    }
    QWidget* list = program.Window(frmWordList::kWindow);
    WaitFor([&] { return !list->frameGeometry().intersects(PictureOnScreen(program)); });
    EXPECT_FALSE(list->frameGeometry().intersects(PictureOnScreen(program))) << side;
    EXPECT_TRUE(Available().contains(list->frameGeometry())) << side;
    SaveScreen("word-list-" + std::to_string(side));
  }
}

// Print opens its options beside the main window, as near as the screen allows, and the
// preview beside them: a change of an option can be watched on the page, and neither
// covers the puzzle.
TEST(WindowPlacement, ThePrintOptionsAndThePreviewOpenSideBySide) {
  RunningProgram program;
  program.OpenList(kAnimals);
  ASSERT_TRUE(WaitActive(program.window(), kPatience));
  Build(program, 15);
  program.form().Raise(frmKV_Puzzle::mnuPrint, Event::Click);
  QWidget* options = program.Window(frmPrintOptions::kWindow);
  ASSERT_TRUE(options && Ready(options));
  XInput().Click(RunningProgram::In(options, "cmdPreview"));
  QWidget* preview = program.Window(frmPrintPreview::kWindow);
  ASSERT_TRUE(WaitFor([&] { return preview->isVisible(); }, kPatience));
  const auto apart = [&] {
    return !options->frameGeometry().intersects(preview->frameGeometry()) &&
           !options->frameGeometry().intersects(PictureOnScreen(program)) &&
           Available().contains(options->frameGeometry()) && Available().contains(preview->frameGeometry());
  };
  WaitFor(apart);
  EXPECT_TRUE(apart()) << "options " << Text(options->frameGeometry()) << ", preview " << Text(preview->frameGeometry())
                       << ", picture " << Text(PictureOnScreen(program));
  SaveScreen("print-windows");
}

TEST(WindowPlacement, TheOtherWindowsOpenInsideTheScreen) {
  RunningProgram program;
  program.OpenList(kAnimals);
  ASSERT_TRUE(WaitActive(program.window(), kPatience));
  Build(program, 99);
  for (const Window* form : {&frmAttributes::kWindow, &frmPrintOptions::kWindow, &frmPrintPreview::kWindow}) {
    const std::string_view name = form->Name();
    program.ctx().forms.Get(*form).Show(false);
    ASSERT_TRUE(WaitFor([&] { return program.Window(*form) && program.Window(*form)->isVisible(); }, kPatience))
        << name;
    WaitFor([&] { return Available().contains(program.Window(*form)->frameGeometry()); });
    EXPECT_TRUE(Available().contains(program.Window(*form)->frameGeometry())) << name;
    SaveScreen(std::string(name));
    program.ctx().forms.Get(*form).Hide();
  }
}

}  // namespace
}  // namespace kivrel::testing
