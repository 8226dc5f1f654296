#include <gtest/gtest.h>

#include "../engine/BuildHelpers.h"
#include "commands/BuildCommands.h"
#include "commands/PuzzleCommands.h"
#include "files/PuzzleFile.h"
#include "program/CommandStates.h"
#include "program/LeftOutWords.h"

namespace kivrel {
namespace {

using testing::TestApp;
using Entries = std::vector<std::string>;

// Three words of three different letters fill a 3 x 3 grid without diagonals, and the
// last, "Jkl [note]", fits nowhere; the heading has no word and is never left out. The
// names go with the puzzle into its file, and are dropped with it.
TEST(LeftOutWords, ABuildNamesTheEntriesItLeftOutUntilThePuzzleGoes) {
  TestApp app;
  testing::SetUpPuzzle(app, {"[Letters]", "ABC", "DEF", "GHI", "Jkl [note]"}, 3, 3, 1);
  PuzzleState& s = app.ctx.state;
  s.IncludeDiagonals = 0;
  BuildPuzzle(app.ctx);
  const std::string& tip = app.ctx.MainForm().ToolTip(frmKV_Puzzle::lblRejectedCount);
  EXPECT_EQ(std::make_tuple(app.ctx.list.LeftOut(), tip, s.RejectedCount),
            std::make_tuple(Entries{"Jkl [note]"}, std::string("Not placed: Jkl [note]"), i16{1}));
  EXPECT_TRUE(app.ctx.list.IsLeftOut("Jkl [note]") && !app.ctx.list.IsLeftOut("ABC"));
  TestApp opened;
  testing::SetUpPuzzle(opened, {"OTHER"}, 5, 5, 1);
  ASSERT_TRUE(ReadPuzzleFile(opened.ctx, "full.kvp", *EncodePuzzleFile(PuzzleFileFromState(s))));
  EXPECT_EQ(opened.ctx.list.LeftOut(), Entries{"Jkl [note]"});
  EXPECT_EQ(opened.ctx.MainForm().ToolTip(frmKV_Puzzle::lblRejectedCount), "Not placed: Jkl [note]");

  // Words a stop rule never tried are missing from the puzzle as well.
  s.PuzzleWidth = s.PuzzleHeight = 6;
  s.StopRemainingOperator = "<=";
  s.StopRemainingCount = 33;  // met once a word is placed
  BuildPuzzle(app.ctx);
  ASSERT_LT(s.InsertedCount, 4);
  EXPECT_EQ(app.ctx.list.LeftOut().size() + static_cast<std::size_t>(s.InsertedCount), 4u);
  EXPECT_EQ(tip.rfind("Not placed: ", 0), 0u) << tip;

  // Room for all: nothing is named; and a discarded puzzle names nothing.
  s.StopRemainingOperator = "";
  BuildPuzzle(app.ctx);
  EXPECT_EQ(s.InsertedCount, 4);
  EXPECT_EQ(app.ctx.list.LeftOut().size() + tip.size(), 0u);
  ClearPuzzle(opened.ctx);
  EXPECT_EQ(opened.ctx.list.LeftOut().size() + opened.ctx.MainForm().ToolTip(frmKV_Puzzle::lblRejectedCount).size(), 0u);
}

}  // namespace
}  // namespace kivrel
