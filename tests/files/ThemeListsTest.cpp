// The themed word lists: which files of a folder are themes and which one a name means;
// and the shipped lists as a teacher gets them: a header that describes them, a
// sensible length, each word found in one place only, a whole puzzle at the header's
// size, and every word spelled as its language's dictionary spells it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "CliRunner.h"
#include "TempDir.h"
#include "commands/BuildCommands.h"
#include "commands/WordListCommands.h"
#include "files/FileIO.h"
#include "files/ThemeLists.h"
#include "files/WordListFile.h"
#include "model/Text.h"
#include "program/HeadlessProgram.h"
#include "program/StartUp.h"

namespace kivrel {
namespace {

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
