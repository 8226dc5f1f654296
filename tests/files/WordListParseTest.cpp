#include <gtest/gtest.h>

#include "TestApp.h"
#include "commands/WordListCommands.h"
#include "files/WordListFile.h"
#include "model/WordList.h"

namespace kivrel {
namespace {

using testing::TestApp;

ParsedWordList Parse(std::string_view bytes) {
  auto parsed = ParseWordList(bytes);
  EXPECT_TRUE(parsed) << parsed.Error().Reason;
  return parsed.ValueOr({});
}

TEST(ParseWordList, ReadsTheHeaderAndTheEntries) {
  auto parsed = Parse("1\tMy Puzzle\t 15\t 14\t 1\t 1\tFind all the words.\r\nCAT\r\nNew York [city]\r\n");
  EXPECT_EQ(parsed.Header, (WordListHeader{"My Puzzle", 15, 14, 1, 1, "Find all the words.", ""}));
  EXPECT_EQ(parsed.Entries, (std::vector<std::string>{"CAT", "New York [city]"}));
  // Empty fields count, and the options are read as absolute values.
  EXPECT_EQ(Parse("1\t\t 15\t 15\t-1\t-1\t\r\n").Header, (WordListHeader{"", 15, 15, 1, 1, "", ""}));
  // A ninth field of 0 turns backwards words off.
  const std::pair<const char*, i16> ninth[] = {{"\t\t 0", 0},   {"\tHi\t 0", 0}, {"\tHi\t", 1}, {"\tHi\t-1", 1},
                                               {"\tHi\t 2", 1}, {"\tHi", 1},     {"", 1}};
  for (auto [fields, backwards] : ninth) {
    auto header = Parse(std::string("1\tT\t 5\t 5\t 1\t 1\tI") + fields + "\r\nCAT\r\n").Header;
    ASSERT_TRUE(header) << fields;
    EXPECT_EQ(header->BackwardsWords, backwards) << fields;
  }
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
  EXPECT_EQ(parsed.Entries, (std::vector<std::string>{"quoted entry", "\"", "café"}));  // blank ones left out
}

TEST(ParseWordList, RefusesNumbersThePuzzleCannotTake) {
  for (auto numbers : {"-3\t 5\t 1\t 1", " 5\t 5\t 99999\t 1"}) {
    auto refused = ParseWordList(std::string("1\tBig\t") + numbers + "\t\r\n");
    ASSERT_FALSE(refused) << numbers;
    EXPECT_FALSE(refused.Error().Reason.empty());
  }
  // A size above 99 x 99 (beyond 16 bits too) is named and left out; the list stays.
  const std::pair<const char*, const char*> sizes[] = {
      {" 100\t 15", "100 x 15"}, {" 15\t 700", "15 x 700"}, {" 40000\t 99999", "40000 x 99999"}};
  for (const auto& [numbers, named] : sizes) {
    auto parsed = Parse(std::string("1\tBig\t") + numbers + "\t 1\t 1\t\r\nCAT\r\n");
    EXPECT_EQ(parsed.RefusedSize, named);
    EXPECT_EQ(parsed.Header, (WordListHeader{"Big", 0, 0, 1, 1, "", ""}));
    EXPECT_EQ(parsed.Entries, std::vector<std::string>{"CAT"});
  }
  EXPECT_EQ(Parse("1\tJust\t 99\t 99\t 1\t 1\t\r\n").RefusedSize, "");
}

// UTF-16 with its byte-order mark, either way round; a character beyond 16 bits comes as
// a pair, a lone half as U+FFFD.
TEST(ParseWordList, ReadsUtf16WithAByteOrderMark) {
  const std::u16string text = u"1\tStra\u00DFe\t 9\t 9\t 1\t 1\t\r\nSTRA\u00DFE\r\n\U0001F600 smile\r\n\xD800x\r\n";
  for (bool big_endian : {false, true}) {
    std::string bytes = big_endian ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t unit : text) {
      const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
      bytes += big_endian ? std::string{high, low} : std::string{low, high};
    }
    auto parsed = Parse(bytes);
    ASSERT_TRUE(parsed.Header);
    EXPECT_EQ(parsed.Header->Title, "Straße");
    EXPECT_EQ(parsed.Entries, (std::vector<std::string>{"STRAßE", "\U0001F600 smile", "\uFFFDx"}));
  }
}

// What is not a list is refused as one, with the line where it shows.
TEST(ParseWordList, RefusesWhatIsNotAList) {
  const std::string not_a_list = std::string(kNotAWordListMessage) + " - ";
  const std::pair<std::string, std::string> cases[] = {
      {std::string("LION\r\nTI\0GER\r\n", 14), not_a_list + "it holds bytes that are not text"},
      {"LION\r\n\x01\x02\x7F\x1BT\x06\r\n",
       not_a_list + "it holds bytes that are not text"},  // no NUL: mostly controls
      {std::string("\xFF\xFEL\0I\0\0\0", 8), not_a_list + "it holds bytes that are not text"},  // UTF-16 with a NUL
      {"CAT\r\n\r\n" + std::string(1001, '-') + "\r\n",
       "The entry on line 3 of the word list is longer than the 1000 characters an entry may have"},
      {"CAT\n\"" + std::string(1000, 'a') + "\"\n", ""}};  // quotes are no part of the entry
  for (const auto& [bytes, reason] : cases) {
    auto parsed = ParseWordList(bytes);
    if (reason.empty()) {
      EXPECT_TRUE(parsed) << bytes.substr(0, 20);
    } else {
      ASSERT_FALSE(parsed) << bytes.substr(0, 20);
      EXPECT_EQ(parsed.Error().Reason, reason);
    }
  }
  // A stray control character does not make a list binary, and a DOS end-of-file mark
  // ends the list.
  EXPECT_EQ(Parse("C\x01T\r\nDOG\r\n\x1A").Entries, (std::vector<std::string>{"C\x01T", "DOG"}));
}

TEST(ParseWordList, ReadsUtf8ListsAsUtf8AndOthersAsCodePage1252) {
  const std::string header =
      "1\tStra\xC3\x9F"
      "e\t 9\t 9\t 1\t 1\t\r\n";
  const std::string utf8 = header +
                           "Stra\xC3\x9F"
                           "e\r\n\xC5\x81\xC3\xB3"
                           "d\xC5\xBA\r\n";
  for (const std::string& bytes : {utf8, "\xEF\xBB\xBF" + utf8}) {
    auto parsed = Parse(bytes);
    ASSERT_TRUE(parsed.Header) << "a byte-order mark does not hide the header";
    EXPECT_EQ(parsed.Header->Title, "Straße");
    EXPECT_EQ(parsed.Entries, (std::vector<std::string>{"Straße", "Łódź"}));
  }
  // A mark over bytes that are not UTF-8: the mark decides, the stray byte is U+FFFD.
  EXPECT_EQ(Parse("\xEF\xBB\xBF"
                  "caf\xE9\n")
                .Entries,
            std::vector<std::string>{"caf\uFFFD"});
  // No mark and not UTF-8 (or only ASCII): code page 1252, as the program writes.
  EXPECT_EQ(Parse("Stra\xDF"
                  "e\r\n\x80uro\r\n")
                .Entries,
            (std::vector<std::string>{"Straße", "€uro"}));
}

// A list is refused at the entry that passes the limits, and blank lines cost nothing:
// the reader keeps no more than the entries it accepts.
TEST(ParseWordList, RefusesAListThatPassesTheLimitsAndKeepsNoBlankLines) {
  std::string entries;
  for (int i = 0; i < WordList::kMaxEntries; ++i) entries += "a\n";
  EXPECT_EQ(Parse(std::string(200000, '\n') + entries).Entries.size(), std::size_t{WordList::kMaxEntries});
  auto too_many = ParseWordList(entries + "a\n");
  ASSERT_FALSE(too_many);
  EXPECT_EQ(too_many.Error().Reason,
            std::string(kNotAWordListMessage) +
                " - line 32768 takes it past what a list holds: 32767 entries and 32767 letters");
  EXPECT_FALSE(ParseWordList(std::string(32768, 'x') + "\n")) << "32768 letters in one entry";
  auto negative = ParseWordList("1\tNegative\t-5\t 5\t 1\t 1\t\r\n");
  ASSERT_FALSE(negative);
  EXPECT_EQ(negative.Error().Reason, "The word list's header gives a negative width or height");
}

TEST(UnquoteEntry, RemovesTheFirstAndLastCharacters) {
  const std::pair<const char*, const char*> cases[] = {
      {"\"apple\"", "apple"}, {"say \"hi\"", "ay \"hi"}, {"\"", ""}, {"é\"é", "\""}, {"plain", "plain"}};
  for (auto [entry, want] : cases) EXPECT_EQ(UnquoteEntry(entry), want) << entry;
}

TEST(LoadWordList, APlainListTakesTheDefaults) {
  TestApp app;
  app.ctx.state.PuzzleTitle = "old";
  app.ctx.state.IncludeDiagonals = app.ctx.state.BalanceDirections = app.ctx.state.BackwardsWords = 0;
  app.ctx.state.StopOnFirstReject = 1;
  std::string error;
  ASSERT_TRUE(LoadWordList(app.ctx, Parse("cat\ndog\n\n  \nhorse\n"), &error));
  const PuzzleState& s = app.ctx.state;
  EXPECT_EQ(app.ctx.MainForm().Caption(), "Kivrel Puzzle Maker - (untitled)");
  // StopOnFirstReject is not a default build option: it stays.
  EXPECT_EQ(std::tie(s.PuzzleWidth, s.IncludeDiagonals, s.BalanceDirections, s.BackwardsWords, s.StopRemainingCount,
                     s.StopOnFirstReject, s.RestartOnFirstReject, s.WordCount, s.LongestWordLength),
            std::make_tuple(i16{0}, i16{1}, i16{1}, i16{1}, i16{-1}, i16{1}, i16{0}, i16{3}, i16{5}));
}

}  // namespace
}  // namespace kivrel
