#include <gtest/gtest.h>

#include <array>

#include "TestApp.h"
#include "model/CommandStates.h"
#include "model/WordTable.h"

namespace kivrel {
namespace {

using testing::TestApp;

std::vector<std::string> Entries(const AppContext& ctx) { return ctx.list.Entries(); }

TEST(WordList, ReadingOnePastTheEndGivesNothing) {
  WordList list;
  list.AddItem("CAT");
  EXPECT_EQ(list.List(0), "CAT");
  EXPECT_EQ(list.List(1), "");
  EXPECT_EQ(list.List(-1), "");
  list.SetListIndex(5);
  EXPECT_EQ(list.ListIndex(), -1);
}

TEST(AddEntry, BlankTextAddsNothing) {
  TestApp app;
  EXPECT_FALSE(AddEntry(app.ctx, ""));
  EXPECT_FALSE(AddEntry(app.ctx, "   "));
  app.ctx.list.SetEditText("   ");
  AddTypedEntry(app.ctx);
  EXPECT_TRUE(AddEntry(app.ctx, " apple "));
  EXPECT_EQ(Entries(app.ctx), std::vector<std::string>{" apple "});
}

TEST(AddTypedEntry, RefusesADuplicateIgnoringCaseAndAddsAnythingElse) {
  TestApp app;
  app.AddEntries({"APPLE"});
  app.ctx.list.SetEditText("apple");
  app.dialogs.ExpectMessage(MessageAnswer::Ok, "Duplicate word");
  AddTypedEntry(app.ctx);
  EXPECT_EQ(std::tie(app.dialogs.messages.at(0).Title, app.dialogs.messages.at(0).Icon),
            std::make_tuple(std::string("Kivrel Message"), MessageIcon::Exclamation));
  EXPECT_EQ(app.ctx.list.EditText(), "apple");  // the edit text stays
  EXPECT_EQ(app.ctx.state.WordTableStale, 0);

  app.ctx.list.SetEditText(" apple");  // the leading space makes it a different entry
  AddTypedEntry(app.ctx);
  EXPECT_EQ(Entries(app.ctx), (std::vector<std::string>{"APPLE", " apple"}));
  EXPECT_EQ(app.ctx.list.EditText(), "");
  EXPECT_EQ(app.ctx.state.WordCount, 2);
  EXPECT_NE(app.ctx.state.WordTableStale, 0);
  EXPECT_EQ(app.ctx.WordListForm().Text("lblWordCount"), "2");
  EXPECT_EQ(app.ctx.MainForm().Text("lblWordCount"), "2");
}

TEST(AddTypedEntry, AFullListRefusesWithAMessage) {
  TestApp app;
  std::string long_word(32767, 'A');
  ASSERT_TRUE(AddEntry(app.ctx, long_word));
  EXPECT_FALSE(AddEntry(app.ctx, "B"));  // one more letter would pass 16 bits
  app.ctx.list.SetEditText("B");
  app.dialogs.ExpectMessage(MessageAnswer::Ok, kListFullMessage);
  AddTypedEntry(app.ctx);
  EXPECT_EQ(app.ctx.list.ListCount(), 1);
  EXPECT_EQ(app.ctx.list.EditText(), "B");
  EXPECT_TRUE(AddEntry(app.ctx, "[a note only]"));  // notes place no letters
}

TEST(BuildWordTable, SummarisesTheList) {
  TestApp app;
  app.AddEntries({"CAT", "HORSE", "ELEPHANT"});
  app.ctx.state.PuzzleWidth = 10;
  app.ctx.state.PuzzleHeight = 12;
  BuildWordTable(app.ctx);
  const PuzzleState& s = app.ctx.state;
  EXPECT_EQ(std::tie(s.LongestWordLength, s.LongestWordIndex, s.ShortestWordLength, s.LetterCount, s.SpaceCount,
                     s.SpacesRemaining, s.LettersRemaining),
            std::make_tuple(i16{8}, i16{3}, i16{3}, i16{16}, i16{120}, i16{120}, i16{16}));
  EXPECT_EQ(app.ctx.MainForm().Text("lblNbrSpaces"), "120");
  EXPECT_EQ(app.ctx.MainForm().Text("lblLettersRemaining"), "16");
  EXPECT_EQ(s.Words[2].Text, "HORSE");
  EXPECT_EQ(s.BuildOrder.size(), 4u);
}

TEST(BuildWordTable, EntriesWithoutAWordTakeNoLettersAndLengthsCountCharacters) {
  TestApp app;
  app.AddEntries({"[title]", "New York [city]", "O'Neil", "Crème brûlée"});
  BuildWordTable(app.ctx);
  const PuzzleState& s = app.ctx.state;
  EXPECT_EQ(s.WordCount, 4);
  EXPECT_EQ(s.Words[1].Text, "NEWYORK");
  EXPECT_EQ(s.Words[1].DisplayText, "New York [city]");
  EXPECT_EQ(s.Words[2].Text, "ONEIL");  // the cells written are the cells counted
  EXPECT_EQ(s.Words[2].Length, 5);
  EXPECT_EQ(s.Words[3].Length, 11);
  EXPECT_EQ(s.Words[4].Text, "");  // the entry without a word comes last
  EXPECT_EQ(s.Words[4].Length, 0);
  EXPECT_EQ(s.LetterCount, 23);
  EXPECT_EQ(s.LongestWordIndex, 3);
}

TEST(BuildWordTable, AnEmptyListChangesOnlyTheSummary) {
  TestApp app;
  app.ctx.state.SpaceCount = 5;
  BuildWordTable(app.ctx);
  EXPECT_EQ(app.ctx.state.ShortestWordLength, 99);
  EXPECT_EQ(app.ctx.state.SpaceCount, 5);  // ResetCounts did not run
}

TEST(UpdateWordCount, AnEmptiedListDiscardsThePuzzle) {
  TestApp app;
  app.AddEntries({"CAT"});
  app.ctx.state.PuzzleWidth = 5;
  app.ctx.state.PuzzleHeight = 5;
  BuildWordTable(app.ctx);
  app.ctx.state.PuzzleBuilt = kTrue;
  app.ctx.state.EditIndex = 0;
  app.ctx.list.RemoveItem(0);
  UpdateWordCount(app.ctx);
  const PuzzleState& s = app.ctx.state;
  EXPECT_EQ(std::tie(s.WordCount, s.PuzzleBuilt, s.PuzzleWidth, s.EditIndex),
            std::make_tuple(i16{0}, i16{0}, i16{0}, i16{-1}));
  EXPECT_EQ(app.ctx.WordListForm().Text("lblWordCount"), "");
  EXPECT_EQ(app.ctx.MainForm().Text("lblWordCount"), "");
  EXPECT_EQ(s.Words.size(), 1u);
  EXPECT_FALSE(app.ctx.MainForm().Enabled("mnuBuild"));  // the empty-list state
  EXPECT_TRUE(app.ctx.WordListForm().Enabled("cmdAdd"));
  EXPECT_EQ(app.ctx.MainForm().Text("lblNbrSpaces"), "");
}

TEST(SortWordList, SortsByWordIgnoringCaseAndKeepsEqualWordsInOrder) {
  TestApp app;
  app.AddEntries({"b", "A", "a", "C"});
  SortWordList(app.ctx);
  EXPECT_EQ(Entries(app.ctx), (std::vector<std::string>{"A", "a", "b", "C"}));
  EXPECT_NE(app.ctx.state.WordListChanged, 0);
  EXPECT_EQ(app.ctx.state.Words[1].SortPosition, 3);  // "b" went third
  EXPECT_EQ(app.ctx.state.Words[4].SortPosition, 4);
}

TEST(SortWordList, SortsByThePlacedWordNotTheNote) {
  TestApp app;
  app.AddEntries({"zebra [animal]", "[a] yak", "Mc Intyre", "ant"});
  BuildWordTable(app.ctx);
  SortWordList(app.ctx);
  EXPECT_EQ(Entries(app.ctx), (std::vector<std::string>{"ant", "Mc Intyre", "[a] yak", "zebra [animal]"}));
  // The records keep their order and their placed words until the next build.
  EXPECT_EQ(app.ctx.state.Words[1].Text, "ZEBRA");
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

}  // namespace
}  // namespace kivrel
