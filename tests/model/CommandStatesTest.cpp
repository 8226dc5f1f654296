#include <gtest/gtest.h>

#include "TestApp.h"
#include "model/CommandStates.h"

namespace kivrel {
namespace {

using testing::TestApp;

struct Expect {
  const char* form;
  const char* control;
  bool building, ready, list, empty;
};

const Expect kTable[] = {
    {"frmKV_Puzzle", "mnuAttributes", false, true, true, false},
    {"frmKV_Puzzle", "cmdAttributes", false, true, true, false},
    {"frmKV_Puzzle", "mnuBuild", false, true, true, false},
    {"frmKV_Puzzle", "cmdBuild", false, true, true, false},
    {"frmKV_Puzzle", "mnuFillinBlanks", false, true, false, false},
    {"frmKV_Puzzle", "cmdFillinBlanks", false, true, false, false},
    {"frmKV_Puzzle", "mnuOutlineWords", false, true, false, false},
    {"frmKV_Puzzle", "cmdOutlineWords", false, true, false, false},
    {"frmKV_Puzzle", "mnuPrint", false, true, false, false},
    {"frmKV_Puzzle", "cmdPrint", false, true, false, false},
    {"frmKV_Puzzle", "mnuSaveList", false, true, true, false},
    {"frmKV_Puzzle", "mnuSaveListAs", false, true, true, false},
    {"frmKV_Puzzle", "mnuSavePuzzle", false, true, false, false},
    {"frmKV_Puzzle", "mnuSavePuzzleAs", false, true, false, false},
    {"frmKV_Puzzle", "cmdSavePuzzle", false, true, false, false},
    {"frmKV_Puzzle", "mnuViewMatches", false, true, false, false},
    {"frmKV_Puzzle", "cmdViewMatches", false, true, false, false},
    {"frmKV_Puzzle", "mnuViewList", false, true, true, false},
    {"frmKV_Puzzle", "cmdViewList", false, true, true, false},
    {"frmKV_Puzzle", "cmdCancel", false, false, false, false},
    {"frmWordList", "cmdAdd", false, false, false, true},
    {"frmWordList", "cmdClear", true, true, true, false},
    {"frmWordList", "cmdSave", true, true, true, false},
    {"frmWordList", "cmdSort", true, true, true, false},
    {"frmWordList", "cmdRemove", false, false, false, false},
    {"frmWordList", "cmdReplace", false, false, false, false},
    {"frmWordList", "cmdShowWord", false, false, false, false},
    {"frmWordList", "cmdHideAll", false, false, false, false},
};

TEST(CommandStates, EachStateSetsItsColumn) {
  TestApp app;
  using Setter = void (*)(AppContext&);
  const Setter setters[] = {SetBuildingState, SetPuzzleReadyState, SetListReadyState, SetEmptyListState};
  for (int state = 0; state < 4; ++state) {
    // Start from the opposite of every value so that each one must be written.
    for (const Expect& e : kTable) {
      bool want[] = {e.building, e.ready, e.list, e.empty};
      app.ctx.forms.Get(e.form).SetEnabled(e.control, !want[state]);
    }
    setters[state](app.ctx);
    for (const Expect& e : kTable) {
      bool want[] = {e.building, e.ready, e.list, e.empty};
      EXPECT_EQ(app.ctx.forms.Get(e.form).Enabled(e.control), want[state])
          << e.form << "." << e.control << " in state " << state;
    }
  }
  EXPECT_EQ(app.ctx.WordListForm().DefaultButton(), "cmdAdd");
}

TEST(CommandStates, ControlsOutsideTheTableAreNeverTouched) {
  TestApp app;
  Form& main = app.ctx.MainForm();
  main.SetEnabled("mnuNewList", true);
  main.SetEnabled("cmdExit", true);
  main.SetEnabled("mnuViewPuzzle", false);
  for (auto setter : {SetBuildingState, SetPuzzleReadyState, SetListReadyState, SetEmptyListState}) {
    setter(app.ctx);
    EXPECT_TRUE(main.Enabled("mnuNewList") && main.Enabled("cmdExit") && !main.Enabled("mnuViewPuzzle"));
    EXPECT_FALSE(main.Control("mnuOpenPuzzle").IsAssigned(Property::Enabled));
    EXPECT_FALSE(app.ctx.WordListForm().Control("cmdClose").IsAssigned(Property::Enabled));
  }
}

TEST(Statistics, ClearingLeavesTheWordCount) {
  TestApp app;
  Form& main = app.ctx.MainForm();
  main.SetText("lblWordCount", "3");
  ShowStatistic(app.ctx, kJunctionsLabel, 0, kJunctionPicture);
  ShowStatistic(app.ctx, DirectionLabel(4), 2, kCountPicture);
  EXPECT_EQ(main.Text("lblMatches") + "/" + main.Text("lblDirection_4"), "0/2");
  ClearStatistics(app.ctx);
  EXPECT_EQ(main.Text("lblWordCount"), "3");
  for (auto label : {"lblInsertedCount", "lblRejectedCount", "lblNbrLetters", "lblNbrSpaces", "lblLettersRemaining",
                     "lblSpacesRemaining", "lblMatches", "lblDirection_0", "lblDirection_7"}) {
    EXPECT_EQ(main.Text(label), "") << label;
  }
}

TEST(ClearPuzzle, DiscardsThePuzzle) {
  TestApp app;
  PuzzleState& s = app.ctx.state;
  s.PuzzleWidth = s.PuzzleHeight = 15;
  s.PuzzleBuilt = kTrue;
  app.ctx.MainForm().SetText("lblMatches", "12");
  SetPuzzleReadyState(app.ctx);
  ClearPuzzle(app.ctx);
  EXPECT_EQ(std::tie(s.PuzzleWidth, s.PuzzleHeight, s.PuzzleBuilt), std::make_tuple(i16{0}, i16{0}, i16{0}));
  EXPECT_FALSE(app.ctx.MainForm().IsVisible("picPuzzle"));
  EXPECT_EQ(app.picture.OfKind(testing::DrawOp::Kind::Cls).size(), 1u);
  EXPECT_TRUE(app.ctx.MainForm().Enabled("mnuBuild") && !app.ctx.MainForm().Enabled("mnuFillinBlanks"));
  EXPECT_EQ(app.ctx.MainForm().Text("lblMatches"), "");
}

TEST(SetWindowTitle, CaptionEndsExactlyWithTheTitle) {
  TestApp app;
  app.ctx.state.PuzzleTitle = "Zoo";
  SetWindowTitle(app.ctx);
  EXPECT_EQ(app.ctx.MainForm().Caption(), "Kivrel Puzzle Maker - Zoo");
  EXPECT_EQ(app.ctx.AttributesForm().Text("txtPuzName"), "Zoo");
  app.ctx.state.PuzzleTitle = "";
  SetWindowTitle(app.ctx);
  EXPECT_EQ(app.ctx.MainForm().Caption(), "Kivrel Puzzle Maker - ");
}

}  // namespace
}  // namespace kivrel
