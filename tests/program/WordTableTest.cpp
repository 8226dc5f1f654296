#include <gtest/gtest.h>

#include <array>

#include "TempDir.h"
#include "TestApp.h"
#include "engine/BuildRun.h"
#include "files/WordListFile.h"
#include "commands/WordListCommands.h"
#include "program/WordTable.h"

namespace kivrel {
namespace {

using testing::TestApp;

std::vector<std::string> Entries(const AppContext& ctx) { return ctx.list.Entries(); }

// The word counts the list window and the main window show.
std::string CountsShown(AppContext& ctx) {
  return ctx.WordListForm().Text(frmWordList::lblWordCount) + "/" + ctx.MainForm().Text(frmKV_Puzzle::lblWordCount);
}

TEST(AddTypedEntry, AddsNoBlankTextAndRefusesADuplicateIgnoringCase) {
  TestApp app;
  EXPECT_FALSE(AddEntry(app.ctx, "") || AddEntry(app.ctx, "   "));
  app.ctx.list.SetEditText("   ");
  AddTypedEntry(app.ctx);                                                // neither added nor a message
  ASSERT_TRUE(AddEntry(app.ctx, "APPLE") && AddEntry(app.ctx, "pear"));  // as a list file may hold them
  for (const char* typed : {"apple", "Pear"}) {
    app.ctx.list.SetEditText(typed);
    app.dialogs.ExpectMessage(MessageAnswer::Ok, "Duplicate word");
    AddTypedEntry(app.ctx);
    EXPECT_EQ(app.ctx.list.EditText(), typed);  // the edit text stays
  }
  EXPECT_EQ(app.ctx.state.WordTableStale, 0);
  app.ctx.list.SetEditText(" apple ");  // the spaces make it a different entry, kept as typed
  AddTypedEntry(app.ctx);
  EXPECT_EQ(Entries(app.ctx), (std::vector<std::string>{"APPLE", "pear", " apple "}));
  EXPECT_EQ(app.ctx.list.List(3) + app.ctx.list.List(-1), "");  // one past either end: nothing
  app.ctx.list.SetListIndex(5);
  EXPECT_EQ(std::make_tuple(app.ctx.list.ListIndex(), app.ctx.list.EditText(), app.ctx.state.WordCount),
            std::make_tuple(-1, std::string(), i16{3}));
  EXPECT_NE(app.ctx.state.WordTableStale, 0);
  EXPECT_EQ(CountsShown(app.ctx), "3/3");

  // A full list refuses with a message; a note places no letters and still fits.
  TestApp full;
  ASSERT_TRUE(AddEntry(full.ctx, std::string(32767, 'A')));
  EXPECT_FALSE(AddEntry(full.ctx, "B"));  // one more letter would pass 16 bits
  full.ctx.list.SetEditText("B");
  full.dialogs.ExpectMessage(MessageAnswer::Ok, kListFullMessage);
  AddTypedEntry(full.ctx);
  EXPECT_EQ(std::make_pair(full.ctx.list.ListCount(), full.ctx.list.EditText()), std::make_pair(1, std::string("B")));
  EXPECT_TRUE(AddEntry(full.ctx, "[a note only]"));
}

TEST(BuildWordTable, SummarisesTheListCountingCharactersAndSkippingEntriesWithoutAWord) {
  TestApp app;
  app.AddEntries({"[title]", "New York [city]", "O'Neil", "Crème brûlée", "CAT"});
  app.ctx.state.PuzzleWidth = 10;
  app.ctx.state.PuzzleHeight = 12;
  BuildWordTable(app.ctx);
  const PuzzleState& s = app.ctx.state;
  EXPECT_EQ(std::tie(s.WordCount, s.LongestWordLength, s.LongestWordIndex, s.ShortestWordLength, s.LetterCount,
                     s.SpaceCount, s.SpacesRemaining, s.LettersRemaining),
            std::make_tuple(i16{5}, i16{11}, i16{3}, i16{3}, i16{26}, i16{120}, i16{120}, i16{26}));
  EXPECT_EQ(app.ctx.MainForm().Text(frmKV_Puzzle::lblNbrSpaces) + "/" +
                app.ctx.MainForm().Text(frmKV_Puzzle::lblLettersRemaining),
            "120/26");
  // The cells written are the cells counted; the entry without a word leaves the last
  // record empty.
  std::vector<std::string> words;
  for (const WordRecord& w : s.Words) words.push_back(w.Text + "/" + std::to_string(w.Length) + "/" + w.DisplayText);
  EXPECT_EQ(words, (std::vector<std::string>{"/0/", "NEWYORK/7/New York [city]", "ONEIL/5/O'Neil",
                                             "CRÈMEBRÛLÉE/11/Crème brûlée", "CAT/3/CAT", "/0/"}));

  TestApp empty;  // an empty list changes only the summary: ResetCounts does not run
  empty.ctx.state.SpaceCount = 5;
  BuildWordTable(empty.ctx);
  EXPECT_EQ(std::make_pair(empty.ctx.state.ShortestWordLength, empty.ctx.state.SpaceCount),
            std::make_pair(i16{99}, i16{5}));
}

TEST(UpdateWordCount, AnEmptiedListDiscardsThePuzzle) {
  TestApp app;
  app.AddEntries({"CAT"});
  app.ctx.state.PuzzleWidth = app.ctx.state.PuzzleHeight = 5;
  BuildWordTable(app.ctx);
  app.ctx.state.PuzzleBuilt = kTrue;
  app.ctx.state.EditIndex = 0;
  app.ctx.list.RemoveItem(0);
  UpdateWordCount(app.ctx);
  const PuzzleState& s = app.ctx.state;
  EXPECT_EQ(std::tie(s.WordCount, s.PuzzleBuilt, s.PuzzleWidth, s.EditIndex),
            std::make_tuple(i16{0}, i16{0}, i16{0}, i16{-1}));
  EXPECT_EQ(s.Words.size(), 1u);
  EXPECT_EQ(CountsShown(app.ctx) + app.ctx.MainForm().Text(frmKV_Puzzle::lblNbrSpaces), "/");
  EXPECT_TRUE(!app.ctx.MainForm().Enabled(frmKV_Puzzle::mnuBuild) &&
              app.ctx.WordListForm().Enabled(frmWordList::cmdAdd));  // EmptyList
}

TEST(SortWordList, SortsByThePlacedWordIgnoringCaseAndKeepsEqualWordsInOrder) {
  TestApp app;
  app.AddEntries({"zebra [animal]", "b", "[a] yak", "A", "a", "Mc Intyre"});
  BuildWordTable(app.ctx);
  SortWordList(app.ctx);
  EXPECT_EQ(Entries(app.ctx), (std::vector<std::string>{"A", "a", "b", "Mc Intyre", "[a] yak", "zebra [animal]"}));
  EXPECT_NE(app.ctx.state.WordListChanged, 0);
  // The records keep their order and their placed words until the next build: "b"
  // went third and "[a] yak" fifth.
  const std::vector<WordRecord>& w = app.ctx.state.Words;
  EXPECT_EQ(std::tie(w[1].Text, w[2].SortPosition, w[5].SortPosition), std::make_tuple("ZEBRA", i16{3}, i16{2}));
}

TEST(ComputeDefaultDimensions, FindsASquareForTheList) {
  // Words, letters, longest word, width before: the side found (unchanged when no side
  // up to 99 is enough; 0 for an empty list).
  const std::array<int, 5> cases[] = {{12, 60, 7, 0, 7}, {12, 60, 5, 0, 6}, {0, 0, 0, 4, 0}, {0, 20000, 10, 3, 3}};
  for (auto [words, letters, longest, before, side] : cases) {
    PuzzleState s;
    s.WordCount = static_cast<i16>(words);
    s.LetterCount = static_cast<i16>(letters);
    s.LongestWordLength = static_cast<i16>(longest);
    s.PuzzleWidth = static_cast<i16>(before);
    ComputeDefaultDimensions(s);
    EXPECT_EQ(s.PuzzleWidth, side) << letters << " letters";
    EXPECT_EQ(s.PuzzleHeight, side == before ? 0 : side) << letters << " letters";
  }
}

// The sample list of 25 animals: in the square ComputeDefaultDimensions finds (11 x 11)
// builds leave words out. The proposal grows until trial builds place every word (and
// leave the quote its cells), drawing nothing from the program's source; builds with
// other draws then place every word too.
TEST(ComputeTrialDimensions, GrowsUntilBuildsPlaceEveryWordAndLeaveTheQuoteItsCells) {
  TestApp app;
  auto parsed = ParseWordList(testing::TempDir::Read(std::string(KIVREL_EXAMPLES_DIR) + "/animals.kvl"));
  ASSERT_TRUE(parsed && LoadWordList(app.ctx, *parsed, nullptr));
  BuildWordTable(app.ctx);
  PuzzleState& s = app.ctx.state;
  PuzzleState first = s;
  ComputeDefaultDimensions(first);
  for (int quote : {0, 22}) {
    const Random program_draws = app.ctx.rng;
    ComputeTrialDimensions(s, app.ctx.list, quote);
    EXPECT_EQ(app.ctx.rng.Next(), Random(program_draws).Next()) << "the program's draws are untouched";
    const int side = s.PuzzleWidth;
    EXPECT_GT(side, first.PuzzleWidth) << quote;
    int whole = 0;
    for (std::uint64_t seed = 100; seed < 120; ++seed) {
      PuzzleState built = s;
      BuildProgress unwatched;
      Random rng(seed);
      RunBuild(built, rng, unwatched);
      whole += built.InsertedCount == 25 && built.SpacesRemaining >= quote;
    }
    EXPECT_GE(whole, 18) << quote << ": " << side << " x " << s.PuzzleHeight;
  }
}

}  // namespace
}  // namespace kivrel
