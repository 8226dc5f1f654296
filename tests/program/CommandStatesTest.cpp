// What the main window shows of the puzzle: the commands of each state, the statistics
// and the words a build left out.
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
namespace m = frmKV_Puzzle;
namespace w = frmWordList;

// The controls each state sets, grouped by what they become: '+' enabled and '-' disabled
// in the Building, PuzzleReady, ListReady and EmptyList states.
const std::pair<const char*, std::vector<Control>> kTable[] = {
    {"-++-",
     {m::mnuAttributes, m::cmdAttributes, m::mnuBuild, m::cmdBuild, m::mnuSaveList, m::mnuSaveListAs, m::mnuViewList,
      m::cmdViewList}},
    {"-+--",
     {m::mnuFillinBlanks, m::cmdFillinBlanks, m::mnuOutlineWords, m::cmdOutlineWords, m::mnuPrint, m::cmdPrint,
      m::mnuSavePuzzle, m::mnuSavePuzzleAs, m::cmdSavePuzzle, m::mnuViewMatches, m::cmdViewMatches}},
    {"----", {m::cmdCancel, w::cmdRemove, w::cmdReplace, w::cmdShowWord, w::cmdHideAll}},
    {"---+", {w::cmdAdd}},
    {"+++-", {w::cmdClear, w::cmdSave, w::cmdSort}},
};

TEST(CommandStates, EachStateSetsItsColumnAndNoOtherControl) {
  TestApp app;
  Form& main = app.ctx.MainForm();
  main.SetEnabled(m::mnuNewList, true);
  main.SetEnabled(m::mnuViewPuzzle, false);
  using Setter = void (*)(AppContext&);
  const Setter setters[] = {SetBuildingState, SetPuzzleReadyState, SetListReadyState, SetEmptyListState};
  for (std::size_t state = 0; state < 4; ++state) {
    // Start from the opposite of every value so that each one must be written.
    for (const auto& [states, controls] : kTable) {
      for (Control c : controls) app.ctx.forms.Get(*c.Owner()).SetEnabled(c, states[state] != '+');
    }
    setters[state](app.ctx);
    for (const auto& [states, controls] : kTable) {
      for (Control c : controls) {
        EXPECT_EQ(app.ctx.forms.Get(*c.Owner()).Enabled(c), states[state] == '+') << c << " in state " << state;
      }
    }
    EXPECT_TRUE(main.Enabled(m::mnuNewList) && !main.Enabled(m::mnuViewPuzzle)) << state;
    EXPECT_FALSE(main.State(m::mnuOpenPuzzle).IsAssigned(Property::Enabled));
  }
  EXPECT_TRUE(app.ctx.WordListForm().State(w::cmdAdd).Default);
}

// Three words of three different letters fill a 3 x 3 grid without diagonals, and the
// last, "Jkl [note]", fits nowhere; the heading has no word and is never left out. The
// names go with the puzzle into its file, and are dropped with it, as are the
// statistics; the word count stays.
TEST(LeftOutWords, ABuildNamesTheEntriesItLeftOutUntilThePuzzleGoes) {
  TestApp app;
  testing::SetUpPuzzle(app, {"[Letters]", "ABC", "DEF", "GHI", "Jkl [note]"}, 3, 3, 1);
  PuzzleState& s = app.ctx.state;
  s.IncludeDiagonals = 0;
  BuildPuzzle(app.ctx);
  const std::string& tip = app.ctx.MainForm().ToolTip(m::lblRejectedCount);
  EXPECT_EQ(std::make_tuple(app.ctx.list.LeftOut(), tip, s.RejectedCount),
            std::make_tuple(std::vector<std::string>{"Jkl [note]"}, std::string("Not placed: Jkl [note]"), i16{1}));
  EXPECT_TRUE(app.ctx.list.IsLeftOut("Jkl [note]") && !app.ctx.list.IsLeftOut("ABC"));
  TestApp opened;
  testing::SetUpPuzzle(opened, {"OTHER"}, 5, 5, 1);
  ASSERT_TRUE(ReadPuzzleFile(opened.ctx, "full.kvp", *EncodePuzzleFile(PuzzleFileFromState(s))));
  const Form& main = opened.ctx.MainForm();
  EXPECT_EQ(main.ToolTip(m::lblRejectedCount), "Not placed: Jkl [note]");
  ClearPuzzle(opened.ctx);
  EXPECT_EQ(std::tie(opened.ctx.state.PuzzleWidth, opened.ctx.state.PuzzleBuilt), std::make_tuple(i16{0}, i16{0}));
  EXPECT_EQ(opened.ctx.list.LeftOut().size() + main.ToolTip(m::lblRejectedCount).size(), 0u);
  EXPECT_TRUE(!main.IsVisible(m::picPuzzle) && main.Enabled(m::mnuBuild) && !main.Enabled(m::mnuFillinBlanks));
  EXPECT_EQ(main.Text(m::lblRejectedCount) + main.Text(m::lblMatches) + main.Text(m::lblDirection[0]) + "/" +
                main.Text(m::lblWordCount),
            "/4");

  // Words a stop rule never tried are missing from the puzzle as well.
  s.PuzzleWidth = s.PuzzleHeight = 6;
  s.StopRemainingOperator = "<=";
  s.StopRemainingCount = 33;  // met once a word is placed
  BuildPuzzle(app.ctx);
  ASSERT_LT(s.InsertedCount, 4);
  EXPECT_EQ(app.ctx.list.LeftOut().size() + static_cast<std::size_t>(s.InsertedCount), 4u);
  EXPECT_EQ(tip.rfind("Not placed: ", 0), 0u) << tip;
  s.StopRemainingOperator = "";  // room for all: nothing is named
  BuildPuzzle(app.ctx);
  EXPECT_EQ(app.ctx.list.LeftOut().size() + tip.size(), 0u);
}

}  // namespace
}  // namespace kivrel
