#include <gtest/gtest.h>

#include "TestApp.h"
#include "program/CommandStates.h"

namespace kivrel {
namespace {

using testing::TestApp;

// The controls each state sets, grouped by what they become: '+' enabled and '-' disabled
// in the Building, PuzzleReady, ListReady and EmptyList states.
struct Row {
  const char* form;
  std::vector<const char*> controls;
  const char* states;
};

const Row kTable[] = {
    {"frmKV_Puzzle",
     {"mnuAttributes", "cmdAttributes", "mnuBuild", "cmdBuild", "mnuSaveList", "mnuSaveListAs", "mnuViewList",
      "cmdViewList"},
     "-++-"},
    {"frmKV_Puzzle",
     {"mnuFillinBlanks", "cmdFillinBlanks", "mnuOutlineWords", "cmdOutlineWords", "mnuPrint", "cmdPrint",
      "mnuSavePuzzle", "mnuSavePuzzleAs", "cmdSavePuzzle", "mnuViewMatches", "cmdViewMatches"},
     "-+--"},
    {"frmKV_Puzzle", {"cmdCancel"}, "----"},
    {"frmWordList", {"cmdAdd"}, "---+"},
    {"frmWordList", {"cmdClear", "cmdSave", "cmdSort"}, "+++-"},
    {"frmWordList", {"cmdRemove", "cmdReplace", "cmdShowWord", "cmdHideAll"}, "----"},
};

TEST(CommandStates, EachStateSetsItsColumnAndNoOtherControl) {
  TestApp app;
  Form& main = app.ctx.MainForm();
  main.SetEnabled("mnuNewList", true);
  main.SetEnabled("mnuViewPuzzle", false);
  using Setter = void (*)(AppContext&);
  const Setter setters[] = {SetBuildingState, SetPuzzleReadyState, SetListReadyState, SetEmptyListState};
  for (std::size_t state = 0; state < 4; ++state) {
    // Start from the opposite of every value so that each one must be written.
    for (const Row& row : kTable) {
      for (const char* control : row.controls) {
        app.ctx.forms.Get(row.form).SetEnabled(control, row.states[state] != '+');
      }
    }
    setters[state](app.ctx);
    for (const Row& row : kTable) {
      for (const char* control : row.controls) {
        EXPECT_EQ(app.ctx.forms.Get(row.form).Enabled(control), row.states[state] == '+')
            << row.form << "." << control << " in state " << state;
      }
    }
    EXPECT_TRUE(main.Enabled("mnuNewList") && !main.Enabled("mnuViewPuzzle")) << state;
    EXPECT_FALSE(main.Control("mnuOpenPuzzle").IsAssigned(Property::Enabled));
    EXPECT_FALSE(app.ctx.WordListForm().Control("cmdClose").IsAssigned(Property::Enabled));
  }
  EXPECT_EQ(app.ctx.WordListForm().DefaultButton(), "cmdAdd");
}

TEST(ClearPuzzle, DiscardsThePuzzleAndItsStatisticsButNotTheWordCount) {
  TestApp app;
  PuzzleState& s = app.ctx.state;
  Form& main = app.ctx.MainForm();
  s.PuzzleWidth = s.PuzzleHeight = 15;
  s.PuzzleBuilt = kTrue;
  main.SetText("lblWordCount", "3");
  ShowStatistic(app.ctx, kJunctionsLabel, 0, kJunctionPicture);
  ShowStatistic(app.ctx, DirectionLabel(4), 2, kCountPicture);
  EXPECT_EQ(main.Text("lblMatches") + "/" + main.Text("lblDirection_4"), "0/2");
  SetPuzzleReadyState(app.ctx);
  ClearPuzzle(app.ctx);
  EXPECT_EQ(std::tie(s.PuzzleWidth, s.PuzzleHeight, s.PuzzleBuilt), std::make_tuple(i16{0}, i16{0}, i16{0}));
  EXPECT_FALSE(main.IsVisible("picPuzzle"));
  EXPECT_EQ(app.picture.OfKind(testing::DrawOp::Kind::Cls).size(), 1u);
  EXPECT_TRUE(main.Enabled("mnuBuild") && !main.Enabled("mnuFillinBlanks"));
  EXPECT_EQ(main.Text("lblWordCount"), "3");
  for (auto label : {"lblInsertedCount", "lblRejectedCount", "lblNbrLetters", "lblNbrSpaces", "lblLettersRemaining",
                     "lblSpacesRemaining", "lblMatches", "lblDirection_0", "lblDirection_4", "lblDirection_7"}) {
    EXPECT_EQ(main.Text(label), "") << label;
  }
}

}  // namespace
}  // namespace kivrel
