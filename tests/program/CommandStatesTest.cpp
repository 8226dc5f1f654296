#include <gtest/gtest.h>

#include "TestApp.h"
#include "program/CommandStates.h"

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

TEST(ClearPuzzle, DiscardsThePuzzleAndItsStatisticsButNotTheWordCount) {
  TestApp app;
  PuzzleState& s = app.ctx.state;
  Form& main = app.ctx.MainForm();
  s.PuzzleWidth = s.PuzzleHeight = 15;
  s.PuzzleBuilt = kTrue;
  main.SetText(m::lblWordCount, "3");
  const std::vector<Control> statistics = {m::lblInsertedCount,   m::lblRejectedCount, m::lblNbrLetters,
                                           m::lblNbrSpaces,       m::lblLettersRemaining,
                                           m::lblSpacesRemaining, m::lblMatches,       m::lblDirection[0],
                                           m::lblDirection[7]};
  for (Control label : statistics) main.SetText(label, "0");
  SetPuzzleReadyState(app.ctx);
  ClearPuzzle(app.ctx);
  EXPECT_EQ(std::tie(s.PuzzleWidth, s.PuzzleHeight, s.PuzzleBuilt), std::make_tuple(i16{0}, i16{0}, i16{0}));
  EXPECT_FALSE(main.IsVisible(m::picPuzzle));
  EXPECT_FALSE(app.picture.OfKind(testing::DrawOp::Kind::Cls).empty());
  EXPECT_TRUE(main.Enabled(m::mnuBuild) && !main.Enabled(m::mnuFillinBlanks));
  EXPECT_EQ(main.Text(m::lblWordCount), "3");
  for (Control label : statistics) EXPECT_EQ(main.Text(label), "") << label;
}

}  // namespace
}  // namespace kivrel
