#include <gtest/gtest.h>

#include "TestApp.h"
#include "files/WordListFile.h"

namespace kivrel {
namespace {

using testing::TestApp;

ParsedWordList Parse(std::string_view bytes) {
  std::string error;
  auto parsed = ParseWordList(bytes, &error);
  EXPECT_TRUE(parsed) << error;
  return parsed.value_or(ParsedWordList{});
}

TEST(ParseWordList, ReadsTheHeaderAndTheEntries) {
  auto parsed = Parse("1\tMy Puzzle\t 15\t 14\t 1\t 1\tFind all the words.\r\nCAT\r\nNew York [city]\r\n");
  ASSERT_TRUE(parsed.Header);
  EXPECT_EQ(parsed.Header->Title, "My Puzzle");
  EXPECT_EQ(parsed.Header->Width, 15);
  EXPECT_EQ(parsed.Header->Height, 14);
  EXPECT_EQ(parsed.Header->IncludeDiagonals, 1);
  EXPECT_EQ(parsed.Header->BalanceDirections, 1);
  EXPECT_EQ(parsed.Header->Instructions, "Find all the words.");
  EXPECT_EQ(parsed.Entries, (std::vector<std::string>{"CAT", "New York [city]"}));
}

TEST(ParseWordList, EmptyHeaderFieldsCount) {
  auto parsed = Parse("1\t\t 15\t 15\t-1\t-1\t\r\n");
  ASSERT_TRUE(parsed.Header);
  EXPECT_EQ(parsed.Header->Title, "");
  EXPECT_EQ(parsed.Header->Width, 15);
  EXPECT_EQ(parsed.Header->IncludeDiagonals, 1);  // absolute values
  EXPECT_EQ(parsed.Header->BalanceDirections, 1);
  EXPECT_EQ(parsed.Header->Instructions, "");
}

TEST(ParseWordList, LenientLines) {
  auto parsed = Parse(
      "1\tFirst\t 5\t 5\t 0\t 0\tx\n"
      "2\tsomething else\n"
      "\"quoted entry\"\r"
      "\"\n"
      "a\"b\r\n"
      "\n"
      "1\tSecond\t 7.6\t 8\n"
      "caf\xE9");
  ASSERT_TRUE(parsed.Header);
  EXPECT_EQ(parsed.Header->Title, "Second");  // the later header wins
  EXPECT_EQ(parsed.Header->Width, 8);         // rounded
  EXPECT_EQ(parsed.Header->IncludeDiagonals, 0);
  EXPECT_EQ(parsed.Entries, (std::vector<std::string>{"quoted entry", "", "\"", "", "café"}));
}

TEST(ParseWordList, RefusesNumbersThePuzzleCannotTake) {
  std::string error;
  EXPECT_FALSE(ParseWordList("1\tBig\t 40000\t 1\t 1\t 1\t\r\n", &error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(ParseWordList("1\tBig\t 200\t 200\t 1\t 1\t\r\n", &error));
  EXPECT_FALSE(ParseWordList("1\tBig\t-3\t 5\t 1\t 1\t\r\n", &error));
  EXPECT_FALSE(ParseWordList("1\tBig\t 5\t 5\t 99999\t 1\t\r\n", &error));
}

TEST(UnquoteEntry, RemovesTheFirstAndLastCharacters) {
  EXPECT_EQ(UnquoteEntry("\"apple\""), "apple");
  EXPECT_EQ(UnquoteEntry("say \"hi\""), "ay \"hi");
  EXPECT_EQ(UnquoteEntry("\""), "");
  EXPECT_EQ(UnquoteEntry("é\"é"), "\"");
  EXPECT_EQ(UnquoteEntry("plain"), "plain");
}

TEST(LoadWordList, APlainListTakesTheDefaults) {
  TestApp app;
  app.ctx.state.PuzzleTitle = "old";
  app.ctx.state.IncludeDiagonals = 0;
  app.ctx.state.StopOnFirstReject = 1;
  std::string error;
  ASSERT_TRUE(LoadWordList(app.ctx, Parse("cat\ndog\n\n  \nhorse\n"), &error));
  const PuzzleState& s = app.ctx.state;
  EXPECT_EQ(s.PuzzleTitle, "(untitled)");
  EXPECT_EQ(s.PuzzleWidth, 0);
  EXPECT_EQ(s.IncludeDiagonals, 1);
  EXPECT_EQ(s.StopRemainingCount, -1);
  EXPECT_EQ(s.StopOnFirstReject, 1);  // not a default build option
  EXPECT_EQ(s.WordCount, 3);
  EXPECT_EQ(s.LongestWordLength, 5);
  EXPECT_EQ(app.ctx.MainForm().Caption(), "Kivrel Puzzle Maker - (untitled)");
}

TEST(LoadWordList, TheHeaderSetsTheAttributes) {
  TestApp app;
  std::string error;
  ASSERT_TRUE(LoadWordList(app.ctx, Parse("1\tZoo\t 12\t 10\t 0\t 1\tFind them.\r\nLION\r\n"), &error));
  const PuzzleState& s = app.ctx.state;
  EXPECT_EQ(s.PuzzleTitle, "Zoo");
  EXPECT_EQ(s.PuzzleWidth, 12);
  EXPECT_EQ(s.PuzzleHeight, 10);
  EXPECT_EQ(s.IncludeDiagonals, 0);
  EXPECT_EQ(s.PuzzleInstructions, "Find them.");
  EXPECT_EQ(s.SpaceCount, 120);
}

}  // namespace
}  // namespace kivrel
