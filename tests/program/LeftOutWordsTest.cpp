#include <gtest/gtest.h>

#include "../engine/BuildHelpers.h"
#include "commands/BuildCommands.h"
#include "commands/PuzzleCommands.h"
#include "files/PuzzleFile.h"
#include "program/CommandStates.h"
#include "program/LeftOutWords.h"

namespace kivrel {
namespace {

using testing::SetUpPuzzle;
using testing::TestApp;

using Entries = std::vector<std::string>;

// Four words of three different letters in a 3 x 3 grid without diagonals: three fill
// the rows (or the columns) and the last, "Jkl [note]", fits nowhere. A heading without
// a word is never left out.
struct FullGrid : TestApp {
  FullGrid() {
    SetUpPuzzle(*this, {"[Letters]", "ABC", "DEF", "GHI", "Jkl [note]"}, 3, 3, 1);
    ctx.state.IncludeDiagonals = 0;
    BuildPuzzle(ctx);
  }
  const std::string& Tip() { return ctx.MainForm().ToolTip(frmKV_Puzzle::lblRejectedCount); }
};

TEST(LeftOutWords, ABuildNamesTheEntriesItLeftOutUntilThePuzzleGoes) {
  FullGrid app;
  ASSERT_EQ(app.ctx.state.RejectedCount, 1);
  EXPECT_EQ(app.ctx.list.LeftOut(), Entries{"Jkl [note]"});
  EXPECT_TRUE(app.ctx.list.IsLeftOut("Jkl [note]") && !app.ctx.list.IsLeftOut("ABC"));
  EXPECT_EQ(app.Tip(), "Not placed: Jkl [note]");

  // Words a stop rule never tried are missing from the puzzle as well.
  app.ctx.state.PuzzleWidth = app.ctx.state.PuzzleHeight = 6;
  app.ctx.state.StopRemainingOperator = "<=";
  app.ctx.state.StopRemainingCount = 33;  // met once a word is placed
  BuildPuzzle(app.ctx);
  ASSERT_LT(app.ctx.state.InsertedCount, 4);
  EXPECT_EQ(app.ctx.list.LeftOut().size() + app.ctx.state.InsertedCount, 4u);
  EXPECT_EQ(app.ctx.state.RejectedCount, 0);
  EXPECT_EQ(app.Tip().rfind("Not placed: ", 0), 0u) << app.Tip();

  // Room for all: nothing is named; and a discarded puzzle names nothing.
  app.ctx.state.StopRemainingOperator = "";
  BuildPuzzle(app.ctx);
  EXPECT_EQ(app.ctx.state.InsertedCount, 4);
  EXPECT_EQ(app.ctx.list.LeftOut().size() + app.Tip().size(), 0u);
  FullGrid again;
  ClearPuzzle(again.ctx);
  EXPECT_EQ(again.ctx.list.LeftOut().size() + again.Tip().size(), 0u);
}

TEST(LeftOutWords, AnOpenedPuzzleNamesTheWordsItsBuildLeftOut) {
  const std::string bytes = *EncodePuzzleFile(PuzzleFileFromState(FullGrid().ctx.state));
  TestApp app;
  SetUpPuzzle(app, {"OTHER"}, 5, 5, 1);
  ASSERT_TRUE(ReadPuzzleFile(app.ctx, "full.kvp", bytes));
  EXPECT_EQ(app.ctx.list.LeftOut(), Entries{"Jkl [note]"});
  EXPECT_EQ(app.ctx.MainForm().ToolTip(frmKV_Puzzle::lblRejectedCount), "Not placed: Jkl [note]");
}

}  // namespace
}  // namespace kivrel
