// kivrel-cli booklet run as the real program: the pages of a booklet of three lists,
// each puzzle and each answer key read back from the PDF against build with the same
// list and seed (built side by side, on every core); a list that cannot be built;
// themed lists by name; the progress line on a terminal.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "CliRunner.h"
#include "PdfWords.h"
#include "TempDir.h"
#include "model/Text.h"

namespace kivrel {
namespace {

using testing::CliRun;
using testing::GridRows;
using testing::PdfWord;
using testing::RunCli;

const std::string kExamples = std::string(KIVREL_EXAMPLES_DIR) + "/";
const std::vector<std::string> kLists = {kExamples + "animals.kvl", kExamples + "mathematics.kvl",
                                         kExamples + "notes-and-phrases.kvl"};
const std::vector<std::string> kTitles = {"Animals", "Mathematics", "Phrases"};

bool IsGridText(const std::string& text) {
  return text.find_first_of("abcdefghijklmnopqrstuvwxyz0123456789:()") == std::string::npos;
}

// The letters of a grid as the page shows them: the words that hold no small letter
// (or all of them, for a grid in lower case), in rows by their tops (within a point),
// each row read left to right.
std::vector<std::string> GridOnPage(std::vector<PdfWord> words, bool (*is_grid)(const std::string&) = IsGridText) {
  std::sort(words.begin(), words.end(), [](const PdfWord& a, const PdfWord& b) {
    return std::fabs(a.yMin - b.yMin) > 1 ? a.yMin < b.yMin : a.xMin < b.xMin;
  });
  std::vector<std::string> rows;
  double top = -100;
  for (const PdfWord& word : words) {
    if (!is_grid(word.text)) continue;
    if (std::fabs(word.yMin - top) > 1) rows.emplace_back();
    top = word.yMin;
    rows.back() += word.text;
  }
  return rows;
}

// The words of a puzzle page above its word list's header (" 25  words", the lowest
// "words" on the page: the instructions may say it too).
std::vector<PdfWord> AboveWordList(const std::vector<PdfWord>& page) {
  double header = 0;
  for (const PdfWord& word : page) {
    if (word.text == "words") header = std::max(header, word.yMin);
  }
  std::vector<PdfWord> above;
  for (const PdfWord& word : page) {
    if (word.yMin < header - 1) above.push_back(word);
  }
  return above;
}

std::string Without(std::string text, char gone) {
  text.erase(std::remove(text.begin(), text.end(), gone), text.end());
  return text;
}

TEST(BookletCommand, TwelvePuzzlesAreTheBuildsOfTheirSeedsWithTheirKeys) {
  testing::TempDir dir;
  const std::string pdf = dir.File("term.pdf");
  CliRun run = RunCli("booklet " + kLists[0] + " " + kLists[1] + " " + kLists[2] + " --count 4 --seed 40 --pdf " + pdf);
  ASSERT_EQ(run.code, 0) << run.out;
  EXPECT_NE(run.out.find("puzzle 12, page 13: Phrases and Notes (" + kLists[2] + "), seed 51\n"), std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("answer keys from page 14, 16 pages\n"), std::string::npos) << run.out;

  // The contents, twelve puzzle pages, three pages of four keys.
  const auto pages = testing::ReadPdfWords(pdf);
  ASSERT_EQ(pages.size(), 16u);
  ASSERT_FALSE(pages[0].empty());
  EXPECT_EQ(pages[0][0].text, "Contents");

  std::map<int, std::vector<PdfWord>> keys;  // by puzzle number, the words of its key
  for (int page = 14; page <= 16; ++page) {
    // Four areas: two across (the page is 612 points wide), two down; the key's title
    // is its first words, "Key n: Title".
    std::map<int, std::vector<PdfWord>> areas;
    for (const PdfWord& word : pages[static_cast<std::size_t>(page - 1)]) {
      if (word.yMin > 740) continue;  // the page number
      areas[(word.yMin > 387 ? 2 : 0) + (word.xMin > 306 ? 1 : 0)].push_back(word);
    }
    ASSERT_EQ(areas.size(), 4u) << "page " << page;
    for (auto& [slot, words] : areas) {
      const int number = (page - 14) * 4 + slot + 1;
      ASSERT_GE(words.size(), 3u);
      EXPECT_EQ(words[0].text, "Key");
      EXPECT_EQ(words[1].text, std::to_string(number) + ":");
      EXPECT_EQ(words[2].text, kTitles[static_cast<std::size_t>((number - 1) / 4)]);
      keys[number] = words;
    }
  }

  for (int n = 1; n <= 12; ++n) {
    SCOPED_TRACE("puzzle " + std::to_string(n));
    const std::string& list = kLists[static_cast<std::size_t>((n - 1) / 4)];
    const std::string seed = std::to_string(39 + n);
    const std::vector<PdfWord>& page = pages[static_cast<std::size_t>(n)];
    ASSERT_FALSE(page.empty());
    EXPECT_EQ(page[0].text, kTitles[static_cast<std::size_t>((n - 1) / 4)]);
    // The foot: "Puzzle n, seed s" and the page number.
    std::string foot;
    for (const PdfWord& word : page) {
      if (word.yMin > 740) foot += word.text + " ";
    }
    EXPECT_NE(foot.find("Puzzle " + std::to_string(n) + ", seed " + seed + " "), std::string::npos) << foot;
    EXPECT_NE(foot.find(" " + std::to_string(n + 1) + " "), std::string::npos) << foot;

    // The page's grid is build's filled grid of the same seed; the key holds the placed
    // letters alone, row by row.
    CliRun filled = RunCli("build " + list + " --seed " + seed + " --fill --json");
    ASSERT_EQ(filled.code, 0);
    EXPECT_EQ(GridOnPage(AboveWordList(page)), GridRows(filled.out));
    CliRun placed = RunCli("build " + list + " --seed " + seed + " --json");
    std::vector<std::string> placed_rows;
    for (const std::string& row : GridRows(placed.out)) {
      if (!Without(row, ' ').empty()) placed_rows.push_back(Without(row, ' '));
    }
    EXPECT_EQ(GridOnPage(keys[n]), placed_rows);
  }
}

// A booklet for beginners: every grid and list in lower case, accented letters too, and
// each grid the one build makes of its seed without backwards words.
TEST(BookletCommand, ForBeginnersShowsLowerCaseAndBuildsWithoutBackwardsWords) {
  testing::TempDir dir;
  const std::string pdf = dir.File("beginners.pdf");
  CliRun run = RunCli("booklet de-tiere fr-fruits --lowercase --no-backwards --seed 3 --no-instructions --pdf " + pdf);
  ASSERT_EQ(run.code, 0) << run.out;
  const auto pages = testing::ReadPdfWords(pdf);
  ASSERT_EQ(pages.size(), 3u);  // two puzzles, their keys
  const std::string lists[] = {"de-tiere", "fr-fruits"};
  const int entries[] = {33, 29};
  for (std::size_t n = 0; n < 2; ++n) {
    SCOPED_TRACE(lists[n]);
    const std::vector<PdfWord>& page = pages[n];
    ASSERT_FALSE(page.empty());
    std::vector<PdfWord> grid;
    for (const PdfWord& word : AboveWordList(page)) {
      if (word.yMin > page[0].yMax) grid.push_back(word);  // below the title
    }
    CliRun built = RunCli("build " + lists[n] + " --no-backwards --fill --json --seed " + std::to_string(3 + n));
    // Right, Left, Down, Up, Down-Right, Up-Left, Up-Right, Down-Left: none backwards.
    EXPECT_TRUE(std::regex_search(built.out, std::regex("\"directionCounts\":\\[\\d+,0,\\d+,0,\\d+,0,\\d+,0\\]")))
        << built.out;
    std::vector<std::string> rows;
    for (const std::string& row : GridRows(built.out)) rows.push_back(ToLower(Without(row, ' ')));
    EXPECT_EQ(GridOnPage(grid, [](const std::string&) { return true; }), rows);
    // The entries, below the list's header line (" 33  words") and above the foot.
    double header = 0;
    for (const PdfWord& word : page) header = word.text == "words" ? std::max(header, word.yMin) : header;
    int listed = 0;
    for (const PdfWord& word : page) {
      if (word.yMin < header + 1 || word.yMin > 740) continue;
      ++listed;
      EXPECT_EQ(word.text, ToLower(word.text));
    }
    EXPECT_EQ(listed, entries[n]);
  }
  for (const PdfWord& word : pages[2]) {
    EXPECT_TRUE(word.text == ToLower(word.text) || word.text == "Key" || word.text == "Tiere" || word.text == "Les")
        << word.text;
  }
}

TEST(BookletCommand, AListThatCannotBeBuiltIsNamedAndNothingIsWritten) {
  testing::TempDir dir;
  const std::string pdf = dir.Write("old.pdf", "the booklet of last term");
  const std::string empty = dir.Write("empty.kvl", "");
  CliRun run = RunCli("booklet " + kLists[0] + " " + empty + " --count 2 --pdf " + pdf, true);
  EXPECT_EQ(run.code, 2);
  EXPECT_NE(run.out.find(empty), std::string::npos) << run.out;
  run = RunCli("booklet " + kLists[0] + " " + kLists[1] + " --width 8 --pdf " + pdf, true);
  EXPECT_EQ(run.code, 2);
  EXPECT_NE(run.out.find(kLists[1] + ": the grid (8 x 20) is smaller than the longest word"), std::string::npos)
      << run.out;
  EXPECT_EQ(testing::TempDir::Read(pdf), "the booklet of last term");

  // A target that is no regular file is refused, not opened (a FIFO would block).
  ASSERT_EQ(mkfifo(dir.File("pipe.pdf").c_str(), 0600), 0);
  for (const std::string& target : {dir.File("pipe.pdf"), dir.File("")}) {
    run = RunCli("booklet " + kLists[0] + " --seed 1 --pdf " + target, true);
    EXPECT_EQ(run.code, 2) << target;
    EXPECT_NE(run.out.find("cannot write"), std::string::npos) << run.out;
  }

  EXPECT_EQ(RunCli("booklet " + kLists[0] + " --png " + dir.File("a.png")).code, 2);
  EXPECT_EQ(RunCli("booklet " + kLists[0] + " --keys-per-page 3 --pdf " + pdf).code, 2);
}

TEST(BookletCommand, TakesThemedListsByNameAndAFileOfThatNameFirst) {
  testing::TempDir dir;
  CliRun run = RunCli("booklet Ocean de-tiere --seed 3 --pdf " + dir.File("sea.pdf"));
  ASSERT_EQ(run.code, 0) << run.out;
  EXPECT_NE(
      run.out.find("puzzle 1, page 1: Under the Sea (Ocean), seed 3\npuzzle 2, page 2: Tiere (de-tiere), seed 4\n"),
      std::string::npos)
      << run.out;

  // An unknown name stops the command before anything is built, naming the themes.
  run = RunCli("booklet ocean oceans --pdf " + dir.File("none.pdf"), true);
  EXPECT_EQ(run.code, 2);
  EXPECT_NE(run.out.find("\"oceans\" is neither a file nor a themed list; the themes in " + kExamples +
                         "themes are: animals, body, "),
            std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find(", ocean, school, "), std::string::npos) << run.out;
  EXPECT_FALSE(std::filesystem::exists(dir.File("none.pdf")));

  // A file in the working folder keeps its name.
  dir.Write("ocean", "1\tMy own ocean\t 8\t 8\t 1\t 1\t\r\nSEA\r\n");
  run = testing::RunCliScript("cd " + dir.File("") + " && \"$CLI\" booklet ocean --seed 1 --pdf mine.pdf");
  EXPECT_NE(run.out.find("puzzle 1, page 1: My own ocean (ocean), seed 1\n"), std::string::npos) << run.out;
}

TEST(BookletCommand, TwoKeysAPageAndNoContentsForFourPuzzles) {
  testing::TempDir dir;
  const std::string pdf = dir.File("small.pdf");
  ASSERT_EQ(RunCli("booklet " + kLists[0] + " --count 4 --seed 1 --keys-per-page 2 --pdf " + pdf).code, 0);
  const auto pages = testing::ReadPdfWords(pdf);
  ASSERT_EQ(pages.size(), 6u);  // four puzzles, two pages of two keys
  EXPECT_EQ(pages[0][0].text, "Animals");
  int titles = 0;
  for (const PdfWord& word : pages[5]) titles += word.text == "Key";
  EXPECT_EQ(titles, 2);
}

// Runs the command with stderr on a terminal of its own (script(1)), stdout discarded.
std::string OnTerminal(const std::string& arguments) {
  const std::string inner = std::string(KIVREL_CLI_PATH) + " " + arguments + " >/dev/null";
  const std::string command = "env -u QT_QPA_PLATFORM -u DISPLAY script -qec '" + inner + "' /dev/null 2>&1";
  std::string output;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    while (std::size_t n = fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, n);
    pclose(pipe);
  }
  return output;
}

TEST(BookletCommand, ShowsProgressOnlyOnATerminal) {
  testing::TempDir dir;
  const std::string args = "booklet " + kLists[0] + " --count 6 --seed 3 --pdf " + dir.File("b.pdf");
  const std::string terminal = OnTerminal(args);
  EXPECT_NE(terminal.find("page 9 of 9"), std::string::npos) << terminal;
  CliRun piped = RunCli(args + " >/dev/null", true);
  EXPECT_EQ(piped.code, 0);
  EXPECT_EQ(piped.out, "");
}

}  // namespace
}  // namespace kivrel
