// The program's operations under every command: the word table and its summary, the
// commands of each state, the statistics and the words a build left out.
#include <gtest/gtest.h>

#include "TempDir.h"
#include "TestApp.h"
#include "commands/BuildCommands.h"
#include "commands/PuzzleCommands.h"
#include "commands/WordListCommands.h"
#include "engine/BuildRun.h"
#include "files/PuzzleFile.h"
#include "files/WordListFile.h"
#include "program/CommandStates.h"
#include "program/WordTable.h"

namespace kivrel {
namespace {

using testing::TestApp;

using Strings = std::vector<std::string>;

TEST(AddTypedEntry, AddsNoBlankTextAndRefusesADuplicateIgnoringCase) {
  TestApp app;
  WordList& list = app.ctx.list;
  EXPECT_FALSE(AddEntry(app.ctx, "") || AddEntry(app.ctx, "   "));       // typed: the word list window test
  ASSERT_TRUE(AddEntry(app.ctx, "APPLE") && AddEntry(app.ctx, "pear"));  // as a list file may hold them
  list.SetEditText("Pear");                                              // typed in another case than the entry
  app.dialogs.ExpectMessage(MessageAnswer::Ok, "Duplicate word");
  AddTypedEntry(app.ctx);
  EXPECT_EQ(list.EditText(), "Pear");  // the edit text stays
  EXPECT_EQ(app.ctx.state.WordTableStale, 0);
  list.SetEditText(" apple ");  // the spaces make it a different entry, kept as typed
  AddTypedEntry(app.ctx);
  EXPECT_EQ(list.Entries(), (Strings{"APPLE", "pear", " apple "}));
  list.SetListIndex(5);
  EXPECT_EQ(std::make_tuple(list.ListIndex(), list.EditText(), app.ctx.state.WordCount,
                            app.ctx.WordListForm().Text(frmWordList::lblWordCount),
                            app.ctx.MainForm().Text(frmKV_Puzzle::lblWordCount)),
            std::make_tuple(-1, std::string(), i16{3}, "3", "3"));
  EXPECT_NE(app.ctx.state.WordTableStale, 0);
}

// The table counts characters and skips entries without a word. Sort orders the list by
// the placed word, ignoring case, equal words in their order. (That the records keep
// their words and places until the next build is tested with the word list window's Show
// Word; an emptied list taking the puzzle with it with its Clear and New List, and under
// a build.)
TEST(BuildWordTable, SummarisesTheListAndSortKeepsTheRecords) {
  TestApp app;
  app.AddEntries({"[title]", "New York [city]", "O'Neil", "Crème brûlée", "CAT", "a", "A"});
  PuzzleState& s = app.ctx.state;
  s.PuzzleWidth = i16{10};
  s.PuzzleHeight = i16{12};
  BuildWordTable(app.ctx);
  EXPECT_EQ(std::tie(s.WordCount, s.LongestWordLength, s.LongestWordIndex, s.ShortestWordLength, s.LetterCount,
                     s.SpaceCount, s.SpacesRemaining, s.LettersRemaining),
            std::make_tuple(i16{7}, i16{11}, i16{3}, i16{1}, i16{28}, i16{120}, i16{120}, i16{28}));
  // The entry without a word leaves the last record empty.
  Strings words;
  for (const WordRecord& w : s.Words) words.push_back(w.Text + "/" + std::to_string(w.Length) + "/" + w.DisplayText);
  EXPECT_EQ(words, (Strings{"/0/", "NEWYORK/7/New York [city]", "ONEIL/5/O'Neil", "CRÈMEBRÛLÉE/11/Crème brûlée",
                            "CAT/3/CAT", "A/1/a", "A/1/A", "/0/"}));
  SortWordList(app.ctx);
  EXPECT_EQ(app.ctx.list.Entries(), (Strings{"[title]", "a", "A", "CAT", "Crème brûlée", "New York [city]", "O'Neil"}));
  // An entry edited between two tables is read again, not kept from the first.
  BuildWordTable(app.ctx);
  app.ctx.list.SetList(4, "Crème");
  BuildWordTable(app.ctx);
  EXPECT_EQ(s.Words[4].Text + "/" + std::to_string(s.Words[4].Length), "CRÈME/5");
}

// The sample list of 25 animals: in the square ComputeDefaultDimensions finds (11 x 11,
// the smallest that holds its letters and its longest word) builds leave words out. The proposal grows until trial
// builds place every word (and leave the quote its cells), drawing nothing from the program's source; builds with other
// draws then place every word too.
TEST(ComputeTrialDimensions, GrowsUntilBuildsPlaceEveryWordAndLeaveTheQuoteItsCells) {
  TestApp app;
  auto parsed = ParseWordList(testing::TempDir::Read(std::string(KIVREL_EXAMPLES_DIR) + "/animals.kvl"));
  ASSERT_TRUE(parsed && LoadWordList(app.ctx, *parsed, nullptr));
  BuildWordTable(app.ctx);
  PuzzleState& s = app.ctx.state;
  PuzzleState first = s;
  ComputeDefaultDimensions(first);
  EXPECT_EQ(std::make_pair(first.PuzzleWidth, first.PuzzleHeight), std::make_pair(i16{11}, i16{11}));
  PuzzleState huge = first;  // no side up to 99 holds 20000 letters: the size stays
  huge.LetterCount = 20000;
  ComputeDefaultDimensions(huge);
  EXPECT_EQ(huge.PuzzleWidth, 11);
  for (int quote : {0, 22}) {
    const Random program_draws = app.ctx.rng;
    ComputeTrialDimensions(s, app.ctx.list, quote);
    EXPECT_EQ(app.ctx.rng.Next(), Random(program_draws).Next()) << "the program's draws are untouched";
    EXPECT_GT(s.PuzzleWidth, first.PuzzleWidth) << quote;
    int whole = 0;
    for (std::uint64_t seed = 100; seed < 120; ++seed) {
      PuzzleState built = s;
      BuildProgress unwatched;
      Random rng(seed);
      RunBuild(built, rng, unwatched);
      whole += built.InsertedCount == 25 && built.SpacesRemaining >= quote;
    }
    EXPECT_GE(whole, 18) << quote << ": " << s.PuzzleWidth << " x " << s.PuzzleHeight;
  }
}

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
  void (*const setters[])(AppContext&) = {SetBuildingState, SetPuzzleReadyState, SetListReadyState, SetEmptyListState};
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
  app.SetUpPuzzle({"[Letters]", "ABC", "DEF", "GHI", "Jkl [note]"}, 3, 3, 1);
  PuzzleState& s = app.ctx.state;
  s.IncludeDiagonals = 0;
  BuildPuzzle(app.ctx);
  const std::string& tip = app.ctx.MainForm().ToolTip(m::lblRejectedCount);
  EXPECT_EQ(std::make_tuple(app.ctx.list.LeftOut(), tip, s.RejectedCount),
            std::make_tuple(std::vector<std::string>{"Jkl [note]"}, std::string("Not placed: Jkl [note]"), i16{1}));
  TestApp opened;
  opened.SetUpPuzzle({"OTHER"}, 5, 5, 1);
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
  s.StopRemainingOperator = "<=";  // met by one word
  s.StopRemainingCount = i16{33};
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
