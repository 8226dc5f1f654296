// Word list files: what the reader makes of their bytes and what a list without a
// header brings; the themed lists, which files of a folder are themes and which one a
// name means; and the shipped lists as a teacher gets them: a header that describes
// them, a sensible length, each word found in one place only, a whole puzzle at the
// header's size, and every word spelled as its language's dictionary spells it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "CliRunner.h"
#include "DataTable.h"
#include "TempDir.h"
#include "TestApp.h"
#include "commands/BuildCommands.h"
#include "commands/WordListCommands.h"
#include "files/FileIO.h"
#include "files/ThemeLists.h"
#include "files/WordListFile.h"
#include "model/Text.h"
#include "model/WordList.h"
#include "program/HeadlessProgram.h"
#include "program/StartUp.h"

namespace kivrel {
namespace {

// What a reader makes of the bytes, in one line: "! reason" when refused; otherwise the
// header as {title WxH diagonals balance backwards instructions}, a size it refused as
// <size>, then each entry after a "|".
std::string Read(std::string_view bytes) {
  auto parsed = ParseWordList(bytes);
  if (!parsed) return "! " + parsed.Error().Reason;
  std::string out;
  if (const auto& h = parsed->Header) {
    out = "{" + h->Title + " " + std::to_string(h->Width) + "x" + std::to_string(h->Height) + " " +
          std::to_string(h->IncludeDiagonals) + std::to_string(h->BalanceDirections) +
          std::to_string(h->BackwardsWords) + " " + h->Instructions + "}";
  }
  if (!parsed->RefusedSize.empty()) out += "<" + parsed->RefusedSize + ">";
  for (const std::string& entry : parsed->Entries) out += "|" + entry;
  return out;
}

// The escapes of tests/data/word-lists.txt: \t \r \n \\ and \xHH, a byte.
std::string Unescape(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i] == '\\' ? text[++i] : '\0';
    if (c == 'x') out += static_cast<char>(std::stoi(std::string(text.substr(i + 1, 2)), nullptr, 16));
    i += c == 'x' ? 2 : 0;
    if (c != 'x') out += c == 't' ? '\t' : c == 'r' ? '\r' : c == 'n' ? '\n' : c ? c : text[i];
  }
  return out;
}

TEST(ParseWordList, ReadsWhatAListMayHoldAndRefusesWhatIsNone) {
  std::string bytes;
  int read = 0;
  for (const std::string& line : DataTableRows("word-lists.txt")) {
    if (!line.starts_with("= ")) {
      bytes = Unescape(line);
    } else {
      EXPECT_EQ(Read(bytes), Unescape(line.substr(2))) << line;
      ++read;
    }
  }
  EXPECT_EQ(read, 24);  // every case of the file

  // An entry of 1000 characters is the longest; blank lines cost nothing, and the limit
  // of entries is noticed at the entry that passes it.
  EXPECT_EQ(Read("\"" + std::string(1000, 'a') + "\"\n"), "|" + std::string(1000, 'a'));
  EXPECT_EQ(Read("CAT\r\n\r\n" + std::string(1001, '-') + "\r\n"),
            "! The entry on line 3 of the word list is longer than the 1000 characters an entry may have");
  std::string entries;
  for (int i = 0; i < WordList::kMaxEntries; ++i) entries += "a\n";
  const auto full = ParseWordList(std::string(200000, '\n') + entries);
  EXPECT_EQ(full ? full->Entries.size() : 0u, std::size_t{WordList::kMaxEntries});
  EXPECT_EQ(Read(entries + "a\n"),
            "! " + std::string(kNotAWordListMessage) +
                " - line 32768 takes it past what a list holds: 32767 entries and 32767 letters");
}

// A list without a header takes the default build options, but Stop on First Reject,
// which is none of them, stays.
TEST(LoadWordList, APlainListTakesTheDefaults) {
  testing::TestApp app;
  PuzzleState& s = app.ctx.state;
  s.IncludeDiagonals = s.BalanceDirections = s.BackwardsWords = 0;
  s.StopOnFirstReject = 1;
  ASSERT_TRUE(LoadWordList(app.ctx, *ParseWordList("cat\ndog\n\n  \nhorse\n"), nullptr));
  EXPECT_EQ(app.ctx.MainForm().Caption(), "Kivrel Puzzle Maker - (untitled)");
  EXPECT_EQ(std::tie(s.PuzzleWidth, s.IncludeDiagonals, s.BalanceDirections, s.BackwardsWords, s.StopRemainingCount,
                     s.StopOnFirstReject, s.WordCount),
            std::make_tuple(i16{0}, i16{1}, i16{1}, i16{1}, i16{-1}, i16{1}, i16{3}));
}

TEST(ThemeLists, AreTheListFilesOfTheFolderFoundByNameInAnyCase) {
  testing::TempDir dir;
  dir.Write("ocean.kvl", "1\tDeep Sea\t 9\t 9\t 1\t 1\t\r\nFISH\r\n");
  dir.Write("Farm.kvl", "COW\r\n");
  dir.Write("notes.txt", "");
  std::filesystem::create_directory(dir.File("old.kvl"));
  const std::vector<ThemeList> lists = ThemeLists(dir.Folder());
  // A menu offers them by the titles of their headers (the name where there is none).
  std::string names;
  for (const ThemeList& list : lists) names += list.Name + ",";
  for (const ThemeList& list : TitledThemeLists(dir.Folder())) names += list.Title + ",";
  EXPECT_EQ(names, "Farm,ocean,Deep Sea,Farm,");
  EXPECT_EQ(FindThemeList(lists, "OCEAN").value_or(ThemeList{}).Path, dir.File("ocean.kvl"));
  for (const char* name : {"notes", "old", "ocean.kvl", ""}) EXPECT_FALSE(FindThemeList(lists, name)) << name;
  EXPECT_TRUE(ThemeLists(dir.File("missing")).empty());
}

TEST(ShippedThemes, DescribeThemselvesHoldEachWordOnceMakeWholePuzzlesAndAreSpelledRight) {
  const std::vector<ThemeList> themes = ThemeLists(std::string(KIVREL_EXAMPLES_DIR) + "/themes");
  EXPECT_GE(themes.size(), 24u);
  testing::TempDir dir;
  for (const ThemeList& theme : themes) {
    SCOPED_TRACE(theme.Name);
    const ParsedWordList list = ParseWordList(ReadWholeFile(theme.Path).ValueOr("")).ValueOr({});
    ASSERT_TRUE(list.Header);
    const WordListHeader& header = *list.Header;
    const std::vector<std::string>& entries = list.Entries;
    EXPECT_TRUE(!header.Title.empty() && !header.Instructions.empty() && header.Width > 0 && header.Height > 0);
    EXPECT_TRUE(entries.size() >= 15 && entries.size() <= 40) << entries.size();
    // No placed word lies inside another, forwards or backwards: the puzzle would hold
    // it twice. (Placed words ignore case, notes and spaces.)
    std::string text = header.Title + "\n" + header.Instructions + "\n";
    for (std::size_t i = 0; i < entries.size(); ++i) {
      text += entries[i] + "\n";
      std::u32string backwards = Characters(PlacedWord(entries[i]));
      std::reverse(backwards.begin(), backwards.end());
      for (std::size_t j = 0; j < entries.size(); ++j) {
        const std::string other = PlacedWord(entries[j]);
        EXPECT_TRUE(i == j || (other.find(PlacedWord(entries[i])) == std::string::npos &&
                               other.find(Utf8(backwards)) == std::string::npos))
            << entries[i] << " in " << other;
      }
    }
    // hunspell -l names the words it does not know; it fails without the dictionary. A
    // list's name starts with its language ("de-tiere"); English is British ("colours").
    std::string dictionary = "en_GB";
    for (const char* language : {"de_DE", "fr_FR", "es_ES"}) {
      if (theme.Name.starts_with(std::string(language, 2) + "-")) dictionary = language;
    }
    const testing::CliRun run =
        testing::RunShell("hunspell -d " + dictionary + " -l -i UTF-8 < " + dir.Write("words.txt", text) + " 2>&1");
    EXPECT_EQ(std::make_pair(run.code, run.out), std::make_pair(0, std::string())) << "not in " << dictionary;
    // At the header's size, nine seeds of ten place every word at the first attempt.
    int whole = 0;
    for (std::uint64_t seed = 1; seed <= 10; ++seed) {
      HeadlessProgram program;
      StartUp(program.ctx, seed);
      ASSERT_TRUE(LoadWordList(program.ctx, list, nullptr));
      const PuzzleState& s = program.ctx.state;
      ASSERT_EQ(std::make_pair(s.PuzzleWidth, s.PuzzleHeight), std::make_pair(header.Width, header.Height));
      BuildLimits limits;
      limits.MaxAttempts = 1;
      BuildPuzzle(program.ctx, limits);
      whole += s.InsertedCount == static_cast<int>(entries.size());
    }
    EXPECT_GE(whole, 9);
  }
}

}  // namespace
}  // namespace kivrel
