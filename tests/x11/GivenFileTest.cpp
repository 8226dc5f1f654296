// The program started with a file named on its command line, on a real X server: the
// file opens once the main window is up, as `kivrel FILE` does it, and a file the
// program cannot open is refused over the main window, which stays open.
#include <QApplication>
#include <QListWidget>
#include <QMainWindow>
#include <gtest/gtest.h>

#include "RealDialogs.h"
#include "commands/BuildCommands.h"
#include "commands/OpenGivenFile.h"
#include "files/PuzzleFile.h"

namespace kivrel::testing {
namespace {

// The steps of `kivrel FILE` after the application is made: the program started with
// Qt's own dialogs, the file opened from the event loop once the main window shows.
struct StartedWithFile {
  KivrelApp app;
  bool last_window_closed = false;
  explicit StartedWithFile(const std::string& path) {
    QObject::connect(qApp, &QGuiApplication::lastWindowClosed, &guard, [this] { last_window_closed = true; });
    app.Start(7);
    QTimer::singleShot(0, &guard, [this, path] { OpenGivenFile(app.context(), path); });
  }
  QObject guard;
};

TEST(GivenFile, AWordListOpensWithTheWordListWindowShowingItsEntries) {
  TempDir dir;
  const std::string path = dir.Write("birds.kvl", "HERON\r\nOWL\r\nWREN\r\n");
  XInput input;
  BoxAnswers boxes(input);  // none is expected: one that comes is recorded and closed
  StartedWithFile program(path);
  ASSERT_TRUE(Ready(program.app.mainWindow()));
  ASSERT_TRUE(WaitFor(
      [&] {
        QWidget* window = program.app.window(frmWordList::kWindow);
        return window && window->isVisible();
      },
      10000))
      << "no word list window";
  QWidget* window = program.app.window(frmWordList::kWindow);
  ASSERT_TRUE(Ready(window)) << "the word list window is not the active one";
  auto* list = RunningProgram::In<QWidget>(window, "cboWordList")->findChild<QListWidget*>();
  ASSERT_NE(list, nullptr);
  std::vector<std::string> shown;
  for (int i = 0; i < list->count(); ++i) shown.push_back(list->item(i)->text().toStdString());
  EXPECT_EQ(shown, (std::vector<std::string>{"HERON", "OWL", "WREN"}));
  EXPECT_EQ(program.app.context().state.WordListFileName, path);
  EXPECT_TRUE(program.app.mainWindow()->isVisible());
  EXPECT_TRUE(boxes.seen.empty()) << boxes.seen.front();
}

TEST(GivenFile, APuzzleShowsInTheMainWindow) {
  TempDir dir;
  std::string path;
  LetterGrid built;
  {
    RunningProgram maker;
    maker.OpenList(KIVREL_EXAMPLES_DIR "/animals.kvl");
    BuildPuzzle(maker.ctx());
    ASSERT_NE(maker.ctx().state.PuzzleBuilt, 0);
    built = maker.ctx().state.Grid;
    path = dir.Write("animals.kvp", *EncodePuzzleFile(PuzzleFileFromState(maker.ctx().state)));
  }
  XInput input;
  BoxAnswers boxes(input);
  StartedWithFile program(path);
  QMainWindow* main = program.app.mainWindow();
  ASSERT_TRUE(Ready(main));
  AppContext& ctx = program.app.context();
  ASSERT_TRUE(WaitFor([&] { return ctx.state.PuzzleBuilt != 0; }, 10000))
      << "the puzzle did not open" << (boxes.seen.empty() ? "" : ": " + boxes.seen.front());
  EXPECT_EQ(ctx.state.PuzzleFileName, path);
  ASSERT_EQ(ctx.state.Grid.Width(), built.Width());
  ASSERT_EQ(ctx.state.Grid.Height(), built.Height());
  for (int row = 1; row <= built.Height(); ++row) {
    for (int col = 1; col <= built.Width(); ++col) {
      EXPECT_EQ(ctx.state.Grid.At(row, col).Letter, built.At(row, col).Letter) << row << "," << col;
    }
  }
  // The letters are drawn: there is ink in the picture, and the picture is on the screen.
  Settle(300);
  const QImage& picture = program.app.picture().Image();
  int ink = 0;
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) ink += (picture.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF ? 1 : 0;
  }
  EXPECT_GT(ink, 100);
}

TEST(GivenFile, AFileOfNeitherKindIsRefusedOverTheMainWindowWhichStaysOpen) {
  TempDir dir;
  const std::string path = dir.Write("photo.jpg", std::string("\xFF\xD8\xFF\xE0\x00\x10JFIF\x00\x01", 14));
  XInput input;
  BoxAnswers boxes(input);
  boxes.Then(XK_Return);
  StartedWithFile program(path);
  QMainWindow* main = program.app.mainWindow();
  ASSERT_TRUE(WaitFor([&] { return boxes.Done() && !QApplication::activeModalWidget(); }, 10000))
      << "no box came up, or Enter left it open";
  EXPECT_EQ(boxes.seen, std::vector<std::string>{kNotAListOrPuzzleMessage});
  EXPECT_EQ(boxes.over, std::vector<QWidget*>{main}) << "the box did not stand over the main window";

  // The program goes on with its main window and nothing opened.
  Settle(300);
  EXPECT_FALSE(program.last_window_closed);
  ASSERT_TRUE(Ready(main)) << "the main window did not get the keys back";
  EXPECT_TRUE(program.app.context().list.Entries().empty());
  EXPECT_EQ(program.app.context().state.PuzzleBuilt, 0);
  // It still answers the keyboard.
  input.Key(XK_f, {XK_Alt_L});
  EXPECT_TRUE(WaitFor([] { return QApplication::activePopupWidget() != nullptr; }, 10000));
  input.Key(XK_Escape);
  EXPECT_TRUE(WaitFor([] { return QApplication::activePopupWidget() == nullptr; }));
}

}  // namespace
}  // namespace kivrel::testing
