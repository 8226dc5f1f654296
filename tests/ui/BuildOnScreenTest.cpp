#include <gtest/gtest.h>

#include <QTimer>

#include "RunningProgram.h"
#include "commands/BuildCommands.h"
#include "model/Numbers.h"
#include "program/HeadlessProgram.h"
#include "program/StartUp.h"
#include "program/WordTable.h"

// The whole program building, filling, outlining and showing junctions in its window,
// checked on the statistics captions and the retained picture.
namespace kivrel {
namespace {

using testing::IsBlack;
using testing::IsGrey;
using testing::IsInk;
using testing::IsRed;
using testing::RunningProgram;

const std::string kAnimals = std::string(KIVREL_EXAMPLES_DIR) + "/animals.kvl";

// Each view of the built puzzle in the picture's pixels, cell by cell: the letters black
// on white, the fill in every cell, the outlines along every word and the junctions'
// red counts over grey letters; each view goes again without a trace.
TEST(BuildOnScreen, BuildFillOutlineAndJunctions) {
  RunningProgram p;
  p.OpenList(kAnimals);
  p.Click("cmdBuild");
  QApplication::processEvents();
  const PuzzleState& s = p.ctx().state;
  auto expect_cells = [&](const char* view, const std::function<void(int, int, const CellRecord&, QRect)>& check) {
    SCOPED_TRACE(view);
    p.EachCell([&](int row, int col, const CellRecord& cell) { check(row, col, cell, p.CellRect(row, col)); });
  };
  expect_cells("built", [&](int r, int c, const CellRecord& cell, QRect at) {
    EXPECT_TRUE(cell.IsEmpty() ? p.Count(at, IsInk) == 0 : p.Count(at, IsBlack) > 4) << r << "," << c;
  });
  const QImage plain = p.Picture().copy();

  p.Click("cmdFillinBlanks");
  expect_cells("filled",
               [&](int r, int c, const CellRecord&, QRect at) { EXPECT_GT(p.Count(at, IsBlack), 4) << r << "," << c; });
  p.Click("cmdFillinBlanks");
  EXPECT_TRUE(p.Picture() == plain) << "the fill taken away";

  // Outlines (their shapes are the display tests') add black around every word.
  const int black = p.Count(p.Picture().rect(), IsBlack);
  p.Click("cmdOutlineWords");
  EXPECT_GT(p.Count(p.Picture().rect(), IsBlack), black + 120 * s.InsertedCount);

  p.Click("cmdViewMatches");
  expect_cells("junctions", [&](int r, int c, const CellRecord& cell, QRect at) {
    EXPECT_EQ(p.Count(at, IsRed) > 3 && p.Count(at, IsGrey) > 0, cell.UseCount > 1) << r << "," << c;
  });
  EXPECT_GT(s.JunctionCount, 0);
  p.Click("cmdViewMatches");
  p.Click("cmdOutlineWords");
  EXPECT_TRUE(p.Picture() == plain) << "outlines and junctions leave no trace";
}

TEST(BuildOnScreen, TheWindowBuildsWhatTheHeadlessProgramBuilds) {
  RunningProgram p(1234);
  p.OpenList(kAnimals);
  p.ctx().rng.Seed(99);
  p.Click("cmdBuild");

  HeadlessProgram program;
  AppContext& headless = program.ctx;
  StartUp(headless, 1);
  testing::OpenList(headless, kAnimals);
  headless.rng.Seed(99);
  BuildPuzzle(headless);

  EXPECT_TRUE(headless.state.Grid == p.ctx().state.Grid);
  EXPECT_EQ(headless.state.Words, p.ctx().state.Words);
}

TEST(BuildOnScreen, ALongBuildStaysResponsiveAndCancelEndsIt) {
  // A list that can never be placed whole in 5 x 5, with restart on the first reject:
  // the build starts over until Cancel.
  RunningProgram p;
  for (const char* word : {"HORSE", "ZEBRA", "TIGER", "CAMEL", "SHEEP", "GOOSE", "HYENA", "BISON", "LLAMA", "OTTER",
                           "PANDA", "RHINO", "MOUSE", "SKUNK", "WHALE"}) {
    AddEntry(p.ctx(), word);
  }
  UpdateWordCount(p.ctx());
  p.ctx().state.PuzzleWidth = p.ctx().state.PuzzleHeight = 5;
  p.ctx().state.RestartOnFirstReject = 1;
  SetListReadyState(p.ctx());
  QMainWindow* w = p.window();
  // The user while it builds: resizes, maximises, minimises and restores the window,
  // then presses Escape, which presses Cancel.
  std::vector<std::string> seen;
  const std::vector<std::function<void()>> steps = {
      [&] {
        seen.push_back(BuildRunning(p.ctx()) && p.Button("cmdCancel")->isEnabled() && !p.Button("cmdBuild")->isEnabled()
                           ? "building"
                           : "not building");
        w->resize(w->width() + 90, w->height() + 45);
      },
      [&] { w->showMaximized(); }, [&] { w->showMinimized(); },
      [&] {
        w->showNormal();
        seen.push_back(p.Label("lblInsertedCount")->text().isEmpty() ? "no count" : "counting");
      },
      [&] {
        QApplication::setActiveWindow(w);
        QTest::keyClick(w, Qt::Key_Escape);
        seen.push_back("escape");
      }};
  for (std::size_t i = 0; i < steps.size(); ++i) QTimer::singleShot(50 * static_cast<int>(i + 1), w, steps[i]);
  QTimer::singleShot(5000, w, [&] { p.ctx().state.CancelRequested = kTrue; });  // a safety net only
  p.Click("cmdBuild");                                                          // returns when the build has ended

  EXPECT_EQ(seen, (std::vector<std::string>{"building", "counting", "escape"}));
  EXPECT_FALSE(BuildRunning(p.ctx()) || p.Button("cmdCancel")->isEnabled());
  EXPECT_TRUE(p.Button("cmdOutlineWords")->isEnabled());
  // The picture kept every letter through the resizing.
  QApplication::processEvents();
  p.EachCell([&](int row, int col, const CellRecord& cell) {
    EXPECT_TRUE(cell.IsEmpty() || p.Count(p.CellRect(row, col), IsBlack) > 4) << row << "," << col;
  });
}

}  // namespace
}  // namespace kivrel
