// The themed word lists: which files of a folder are themes and which one a name means;
// and the shipped lists as a teacher gets them: a header that describes them, a
// sensible length, each word found in one place only, a whole puzzle at the header's
// size, and every word spelled as its language's dictionary spells it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>

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

const std::string kShipped = std::string(KIVREL_EXAMPLES_DIR) + "/themes";

TEST(ThemeLists, AreTheListFilesOfTheFolderFoundByNameInAnyCase) {
  testing::TempDir dir;
  dir.Write("ocean.kvl", "1\tDeep Sea\t 9\t 9\t 1\t 1\t\r\nFISH\r\n");
  dir.Write("Farm.kvl", "COW\r\n");
  dir.Write("notes.txt", "");
  std::filesystem::create_directory(dir.File("old.kvl"));
  const std::vector<ThemeList> lists = ThemeLists(dir.File(""));
  // A menu offers them by the titles of their headers (the name where there is none).
  std::vector<std::string> names;
  for (const ThemeList& list : lists) names.push_back(list.Name);
  for (const ThemeList& list : TitledThemeLists(dir.File(""))) names.push_back(list.Title);
  EXPECT_EQ(names, (std::vector<std::string>{"Farm", "ocean", "Deep Sea", "Farm"}));
  EXPECT_EQ(FindThemeList(lists, "OCEAN").value_or(ThemeList{}).Path +
                FindThemeList(lists, "farm").value_or(ThemeList{}).Path,
            dir.File("ocean.kvl") + dir.File("Farm.kvl"));
  for (const char* name : {"notes", "old", "ocean.kvl", ""}) EXPECT_FALSE(FindThemeList(lists, name)) << name;
  EXPECT_TRUE(ThemeLists(dir.File("missing")).empty());
}

// The dictionary of a list: its name starts with its language ("de-tiere"); English
// lists are in British spelling ("colours").
std::string Dictionary(const std::string& name) {
  for (const auto& [prefix, dictionary] : {std::pair{"de-", "de_DE"}, {"fr-", "fr_FR"}, {"es-", "es_ES"}}) {
    if (name.starts_with(prefix)) return dictionary;
  }
  return "en_GB";
}

TEST(ShippedThemes, DescribeThemselvesHoldEachWordOnceMakeWholePuzzlesAndAreSpelledRight) {
  const std::vector<ThemeList> themes = ThemeLists(kShipped);
  EXPECT_GE(themes.size(), 24u);
  testing::TempDir dir;
  for (const ThemeList& theme : themes) {
    SCOPED_TRACE(theme.Name);
    const std::string bytes = ReadWholeFile(theme.Path).ValueOr("");
    const ParsedWordList list = ParseWordList(bytes).ValueOr({});
    ASSERT_TRUE(list.Header);
    const WordListHeader& header = *list.Header;
    const std::vector<std::string>& entries = list.Entries;
    EXPECT_TRUE(!header.Title.empty() && !header.Instructions.empty() && header.Width > 0 && header.Height > 0);
    EXPECT_TRUE(entries.size() >= 15 && entries.size() <= 40) << entries.size();
    // Lines end in CR LF, as the program writes them.
    EXPECT_EQ(bytes.find('\n'), bytes.find("\r\n") + 1);
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), static_cast<long>(entries.size()) + 1);
    // "Find the 27 ..." counts the entries.
    const std::regex number("[0-9]+");
    for (std::sregex_iterator it(header.Instructions.begin(), header.Instructions.end(), number), end; it != end;
         ++it) {
      EXPECT_EQ(it->str(), std::to_string(entries.size()));
    }
    // No placed word is another's, or lies inside another forwards or backwards: the
    // puzzle would hold it twice. (Placed words ignore case, notes and spaces.)
    std::string text = header.Title + "\n" + header.Instructions + "\n";
    for (std::size_t i = 0; i < entries.size(); ++i) {
      text += entries[i] + "\n";
      const std::string word = PlacedWord(entries[i]);
      std::u32string backwards = Characters(word);
      std::reverse(backwards.begin(), backwards.end());
      for (std::size_t j = 0; j < entries.size(); ++j) {
        const std::string other = PlacedWord(entries[j]);
        if (i == j) continue;
        EXPECT_EQ(other.find(word), std::string::npos) << word << " in " << other;
        EXPECT_EQ(other.find(Utf8(backwards)), std::string::npos) << word << " backwards in " << other;
      }
    }
    // hunspell -l names the words it does not know; it fails without the dictionary.
    const testing::CliRun run = testing::RunShell("hunspell -d " + Dictionary(theme.Name) + " -l -i UTF-8 < " +
                                                  dir.Write(theme.Name + ".txt", text) + " 2>&1");
    EXPECT_EQ(run.code, 0) << run.out << "(scripts/install-deps.sh installs hunspell)";
    EXPECT_EQ(run.out, "") << "not in " << Dictionary(theme.Name);
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
      ASSERT_EQ(BuildPuzzle(program.ctx, limits).End, BuildEnd::Finished);
      whole += s.InsertedCount == static_cast<int>(entries.size()) && s.RejectedCount == 0;
    }
    EXPECT_GE(whole, 9);
  }
}

}  // namespace
}  // namespace kivrel
