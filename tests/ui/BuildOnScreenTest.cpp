#include <gtest/gtest.h>

#include <QTimer>
#include <cmath>

#include "RunningProgram.h"
#include "RecordingSurface.h"
#include "commands/BuildCommands.h"
#include "display/GridViews.h"
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

// Fraction of the points along the two lines of a word's outline (leaving out the ends)
// that have a black pixel within one pixel of them. The lines are taken from the outline
// drawn in twips on a recording surface, with the display's cell and radius.
double OutlineCover(RunningProgram& p, const WordRecord& w) {
  testing::RecordingSurface twips;
  const DisplayMetrics& display = p.ctx().display;
  DrawWordOutline(twips, w, 0, 0, display.CellSize, display.WideCharWidth * 0.5 - 30, p.ctx().state.Pi);
  int points = 0, covered = 0;
  for (const testing::DrawOp& line : twips.OfKind(testing::DrawOp::Kind::Line)) {
    for (double t = 0.15; t <= 0.85; t += 0.05) {
      const int x = static_cast<int>(std::floor((line.x + (line.x2 - line.x) * t) / 15));
      const int y = static_cast<int>(std::floor((line.y + (line.y2 - line.y) * t) / 15));
      ++points;
      covered += p.Count(QRect(x - 1, y - 1, 3, 3), IsBlack) > 0 ? 1 : 0;
    }
  }
  return static_cast<double>(covered) / points;
}

TEST(BuildOnScreen, BuildFillOutlineAndJunctions) {
  RunningProgram p;
  p.OpenList(kAnimals);
  const PuzzleState& s = p.ctx().state;
  ASSERT_EQ(s.PuzzleWidth, 15);
  p.Click("cmdBuild");
  QApplication::processEvents();

  // The statistics panel shows the build's counts.
  EXPECT_GT(s.InsertedCount, 20);
  EXPECT_EQ(p.Label("lblWordCount")->text(), "25");
  EXPECT_EQ(p.Label("lblNbrSpaces")->text(), "225");
  EXPECT_EQ(p.Label("lblInsertedCount")->text().toStdString(), FormatPicture(s.InsertedCount, "####"));
  EXPECT_EQ(p.Label("lblMatches")->text().toStdString(), FormatPicture(s.JunctionCount, "###0"));
  EXPECT_EQ(p.Label("lblDirection_0")->text().toStdString(), FormatPicture(s.DirectionWordCount[1], "####"));

  // Each placed letter is black in its cell; empty cells are white.
  p.EachCell([&](int row, int col, const CellRecord& cell) {
    if (cell.IsEmpty()) {
      EXPECT_EQ(p.Count(p.CellRect(row, col), IsInk), 0) << row << "," << col;
    } else {
      EXPECT_GT(p.Count(p.CellRect(row, col), IsBlack), 4) << row << "," << col;
    }
  });
  const QImage plain = p.Picture().copy();

  // Fill in: every cell shows a letter; taking the fill away leaves the picture as built.
  p.Click("cmdFillinBlanks");
  p.EachCell([&](int row, int col, const CellRecord&) { EXPECT_GT(p.Count(p.CellRect(row, col), IsBlack), 4); });
  p.Click("cmdFillinBlanks");
  EXPECT_TRUE(p.Picture() == plain);

  // Outlines run along every placed word, and go away again.
  std::vector<const WordRecord*> placed;
  for (int k = 1; k <= s.WordCount; ++k) {
    if (s.Words[static_cast<std::size_t>(k)].Status == kStatusPlaced &&
        s.Words[static_cast<std::size_t>(k)].Length >= 3) {
      placed.push_back(&s.Words[static_cast<std::size_t>(k)]);
    }
  }
  ASSERT_FALSE(placed.empty());
  double cover_before = 0;
  for (const WordRecord* w : placed) cover_before += OutlineCover(p, *w);
  p.Click("cmdOutlineWords");
  for (const WordRecord* w : placed) EXPECT_GE(OutlineCover(p, *w), 0.9) << w->Text;
  EXPECT_LT(cover_before / static_cast<double>(placed.size()), 0.6);

  // Junctions: a red count over a grey letter where words cross, nothing red elsewhere.
  p.Click("cmdViewMatches");
  int junctions = 0;
  p.EachCell([&](int row, int col, const CellRecord& cell) {
    if (cell.UseCount > 1) {
      ++junctions;
      EXPECT_GT(p.Count(p.CellRect(row, col), IsRed), 3) << row << "," << col;
      EXPECT_GT(p.Count(p.CellRect(row, col), IsGrey), 0) << row << "," << col;
    } else {
      EXPECT_EQ(p.Count(p.CellRect(row, col), IsRed), 0) << row << "," << col;
    }
  });
  EXPECT_GT(junctions, 0);
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
  std::vector<std::string> seen;
  auto at = [&](int ms, std::function<void()> step) { QTimer::singleShot(ms, w, std::move(step)); };
  at(50, [&] {
    seen.push_back(BuildRunning(p.ctx()) && p.Button("cmdCancel")->isEnabled() && !p.Button("cmdBuild")->isEnabled()
                       ? "building"
                       : "not building");
    w->resize(w->width() + 90, w->height() + 45);
  });
  at(100, [&] { w->showMaximized(); });
  at(150, [&] { w->showMinimized(); });
  at(200, [&] {
    w->showNormal();
    seen.push_back(p.Label("lblInsertedCount")->text().isEmpty() ? "no count" : "counting");
  });
  at(250, [&] {
    QApplication::setActiveWindow(w);
    QTest::keyClick(w, Qt::Key_Escape);  // Escape presses Cancel
    seen.push_back("escape");
  });
  at(5000, [&] { p.ctx().state.CancelRequested = kTrue; });  // a safety net only
  p.Click("cmdBuild");                                       // returns when the build has ended

  EXPECT_EQ(seen, (std::vector<std::string>{"building", "counting", "escape"}));
  EXPECT_FALSE(BuildRunning(p.ctx()));
  EXPECT_FALSE(p.Button("cmdCancel")->isEnabled());
  EXPECT_TRUE(p.Button("cmdOutlineWords")->isEnabled());
  // The picture kept every letter through the resizing.
  QApplication::processEvents();
  p.EachCell([&](int row, int col, const CellRecord& cell) {
    if (!cell.IsEmpty()) {
      EXPECT_GT(p.Count(p.CellRect(row, col), IsBlack), 4) << row << "," << col;
    }
  });
  EXPECT_TRUE(p.Widget("picPuzzle")->isVisible());
}

}  // namespace
}  // namespace kivrel
