// The whole program building in its window: the same puzzle as the headless program,
// and a long build that keeps answering the user until Cancel ends it.
#include <gtest/gtest.h>

#include <QTimer>

#include "RunningProgram.h"
#include "commands/BuildCommands.h"
#include "program/HeadlessProgram.h"
#include "program/StartUp.h"
#include "program/WordTable.h"

namespace kivrel {
namespace {

using testing::RunningProgram;

TEST(BuildOnScreen, TheWindowBuildsWhatTheHeadlessProgramBuilds) {
  const std::string animals = KIVREL_EXAMPLES_DIR "/animals.kvl";
  RunningProgram p(1234);
  p.OpenList(animals);
  p.ctx().rng.Seed(99);
  p.Click("cmdBuild");

  HeadlessProgram program;
  StartUp(program.ctx, 1);
  testing::OpenList(program.ctx, animals);
  program.ctx.rng.Seed(99);
  BuildPuzzle(program.ctx);
  EXPECT_TRUE(program.ctx.state.Grid == p.ctx().state.Grid);
  EXPECT_EQ(program.ctx.state.Words, p.ctx().state.Words);
}

TEST(BuildOnScreen, ALongBuildStaysResponsiveAndCancelEndsIt) {
  // A list that never fits whole in 5 x 5, with restart on the first reject: the build
  // starts over until Cancel.
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
  // then presses Escape, which presses Cancel. Each step runs once the one before has.
  std::vector<std::string> seen;
  std::function<void()> escape = [&] {
    seen.push_back(p.Label("lblInsertedCount")->text().isEmpty() ? "no count" : "counting");
    QApplication::setActiveWindow(w);
    QTest::keyClick(w, Qt::Key_Escape);
  };
  QTimer::singleShot(0, w, [&] {
    seen.push_back(BuildRunning(p.ctx()) && p.Button("cmdCancel")->isEnabled() && !p.Button("cmdBuild")->isEnabled()
                       ? "building"
                       : "not building");
    w->resize(w->width() + 90, w->height() + 45);
    w->showMaximized();
    QTimer::singleShot(0, w, [&] {
      w->showMinimized();
      QTimer::singleShot(0, w, [&] {
        w->showNormal();
        QTimer::singleShot(0, w, escape);
      });
    });
  });
  p.Click("cmdBuild");  // returns when the build has ended

  EXPECT_EQ(seen, (std::vector<std::string>{"building", "counting"}));
  EXPECT_FALSE(BuildRunning(p.ctx()) || p.Button("cmdCancel")->isEnabled());
  EXPECT_TRUE(p.Button("cmdOutlineWords")->isEnabled());
  // The picture kept every letter through the resizing.
  QApplication::processEvents();
  p.EachCell([&](int row, int col, const CellRecord& cell) {
    EXPECT_TRUE(cell.IsEmpty() || p.Count(p.CellRect(row, col), testing::IsBlack) > 4) << row << "," << col;
  });
}

}  // namespace
}  // namespace kivrel
