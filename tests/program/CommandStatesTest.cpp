#include <gtest/gtest.h>

#include "TestApp.h"
#include "program/CommandStates.h"

namespace kivrel {
namespace {

using testing::TestApp;

// The controls each state sets, grouped by what they become: '+' enabled and '-' disabled
// in the Building, PuzzleReady, ListReady and EmptyList states.
struct Row {
  std::vector<Control> controls;
  const char* states;
};

namespace main_window = frmKV_Puzzle;
namespace word_list = frmWordList;
const Row kTable[] = {
    {{main_window::mnuAttributes, main_window::cmdAttributes, main_window::mnuBuild, main_window::cmdBuild,
      main_window::mnuSaveList, main_window::mnuSaveListAs, main_window::mnuViewList, main_window::cmdViewList},
     "-++-"},
    {{main_window::mnuFillinBlanks, main_window::cmdFillinBlanks, main_window::mnuOutlineWords,
      main_window::cmdOutlineWords, main_window::mnuPrint, main_window::cmdPrint, main_window::mnuSavePuzzle,
      main_window::mnuSavePuzzleAs, main_window::cmdSavePuzzle, main_window::mnuViewMatches,
      main_window::cmdViewMatches},
     "-+--"},
    {{main_window::cmdCancel}, "----"},
    {{word_list::cmdAdd}, "---+"},
    {{word_list::cmdClear, word_list::cmdSave, word_list::cmdSort}, "+++-"},
    {{word_list::cmdRemove, word_list::cmdReplace, word_list::cmdShowWord, word_list::cmdHideAll}, "----"},
};

TEST(CommandStates, EachStateSetsItsColumnAndNoOtherControl) {
  TestApp app;
  Form& main = app.ctx.MainForm();
  main.SetEnabled(frmKV_Puzzle::mnuNewList, true);
  main.SetEnabled(frmKV_Puzzle::mnuViewPuzzle, false);
  using Setter = void (*)(AppContext&);
  const Setter setters[] = {SetBuildingState, SetPuzzleReadyState, SetListReadyState, SetEmptyListState};
  for (std::size_t state = 0; state < 4; ++state) {
    // Start from the opposite of every value so that each one must be written.
    for (const Row& row : kTable) {
      for (Control control : row.controls) {
        app.ctx.forms.Get(*control.Owner()).SetEnabled(control, row.states[state] != '+');
      }
    }
    setters[state](app.ctx);
    for (const Row& row : kTable) {
      for (Control control : row.controls) {
        EXPECT_EQ(app.ctx.forms.Get(*control.Owner()).Enabled(control), row.states[state] == '+')
            << control.Owner()->Name() << "." << control << " in state " << state;
      }
    }
    EXPECT_TRUE(main.Enabled(frmKV_Puzzle::mnuNewList) && !main.Enabled(frmKV_Puzzle::mnuViewPuzzle)) << state;
    EXPECT_FALSE(main.State(frmKV_Puzzle::mnuOpenPuzzle).IsAssigned(Property::Enabled));
    EXPECT_FALSE(app.ctx.WordListForm().State(frmWordList::cmdClose).IsAssigned(Property::Enabled));
  }
  EXPECT_TRUE(app.ctx.WordListForm().State(frmWordList::cmdAdd).Default);
}

TEST(ClearPuzzle, DiscardsThePuzzleAndItsStatisticsButNotTheWordCount) {
  TestApp app;
  PuzzleState& s = app.ctx.state;
  Form& main = app.ctx.MainForm();
  s.PuzzleWidth = s.PuzzleHeight = 15;
  s.PuzzleBuilt = kTrue;
  main.SetText(frmKV_Puzzle::lblWordCount, "3");
  const std::vector<Control> statistics = {main_window::lblInsertedCount,    main_window::lblRejectedCount,
                                           main_window::lblNbrLetters,       main_window::lblNbrSpaces,
                                           main_window::lblLettersRemaining, main_window::lblSpacesRemaining,
                                           main_window::lblMatches,          main_window::lblDirection[0],
                                           main_window::lblDirection[4],     main_window::lblDirection[7]};
  for (Control label : statistics) main.SetText(label, "0");
  SetPuzzleReadyState(app.ctx);
  ClearPuzzle(app.ctx);
  EXPECT_EQ(std::tie(s.PuzzleWidth, s.PuzzleHeight, s.PuzzleBuilt), std::make_tuple(i16{0}, i16{0}, i16{0}));
  EXPECT_FALSE(main.IsVisible(frmKV_Puzzle::picPuzzle));
  EXPECT_FALSE(app.picture.OfKind(testing::DrawOp::Kind::Cls).empty());
  EXPECT_TRUE(main.Enabled(frmKV_Puzzle::mnuBuild) && !main.Enabled(frmKV_Puzzle::mnuFillinBlanks));
  EXPECT_EQ(main.Text(frmKV_Puzzle::lblWordCount), "3");
  for (Control label : statistics) EXPECT_EQ(main.Text(label), "") << label;
}

}  // namespace
}  // namespace kivrel
