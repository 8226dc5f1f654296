// kivrel-cli run as the real program, as on a server (no display, no Qt platform
// chosen): summary, build, show and print, their pages, and bad usage.
#include <gtest/gtest.h>

#include <QImage>
#include <QPdfWriter>
#include <algorithm>
#include <cctype>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "CliRunner.h"
#include "PdfWords.h"
#include "SamplePuzzle.h"
#include "TempDir.h"
#include "TestApp.h"
#include "engine/FillInBlanks.h"
#include "engine/SecondReadings.h"
#include "commands/PuzzleCommands.h"
#include "files/PuzzleFile.h"
#include "qt/QtSurface.h"
#include "print/PageDrawing.h"
#include "program/StartUp.h"

namespace kivrel {
namespace {

using testing::CliRun;
using testing::GridRows;
using testing::RunCli;

const std::string kAnimals = std::string(KIVREL_EXAMPLES_DIR) + "/animals.kvl";

// A word list in a folder of the test run.
std::string ListFile(const std::string& name, const std::string& text) {
  static testing::TempDir dir;
  return dir.Write(name, text);
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    lines.push_back(text.substr(start, end - start));
  }
  return lines;
}

std::string WithoutTime(std::string json) { return std::regex_replace(json, std::regex("\"elapsedMs\":[0-9.]+"), ""); }

TEST(Cli, SummarisesAWordList) {
  CliRun run = RunCli("summary " + kAnimals);
  EXPECT_EQ(run.code, 0);
  for (const char* line :
       {"Entries:    25\n", "Longest:    ANTELOPE (8 letters)\n", "Size:       15 x 15 ", "Default:    11 x 11\n"}) {
    EXPECT_NE(run.out.find(line), std::string::npos) << line << run.out;
  }
}

TEST(BuildCommand, EachSeedGivesItsOwnPuzzleAgainAndEveryPlacedWordReadsFromTheGrid) {
  CliRun first = RunCli("build " + kAnimals + " --seed 7 --json");
  ASSERT_EQ(first.code, 0);
  ASSERT_EQ(Lines(first.out).size(), 1u) << first.out;
  const std::vector<std::string> counted = Lines(RunCli("build " + kAnimals + " --seed 7 --count 2 --json").out);
  ASSERT_EQ(counted.size(), 2u);  // seeds 7 and 8
  EXPECT_EQ(WithoutTime(counted[0] + "\n"), WithoutTime(first.out));
  EXPECT_NE(counted[1].find("\"seed\":8"), std::string::npos);
  EXPECT_NE(WithoutTime(counted[1] + "\n"), WithoutTime(first.out));
  for (const char* field : {"\"width\":15", "\"height\":15", "\"seed\":7", "\"attempts\":1", "\"inserted\":",
                            "\"rejected\":", "\"junctions\":", "\"lettersRemaining\":", "\"spacesRemaining\":",
                            "\"directionCounts\":[", "\"elapsedMs\":", "\"words\":[", "\"display\":\"ANTELOPE\""}) {
    EXPECT_NE(first.out.find(field), std::string::npos) << field;
  }
  const std::vector<std::string> rows = GridRows(first.out);
  ASSERT_EQ(rows.size(), 15u);
  for (const std::string& row : rows) EXPECT_EQ(row.size(), 15u);
  const std::regex placed(
      "\\{\"text\":\"([A-Z]+)\",\"display\":\"[^\"]*\",\"status\":\"placed\",\"row\":([0-9]+),\"col\":([0-9]+),"
      "\"direction\":([1-8]),");
  int words = 0;
  for (std::sregex_iterator it(first.out.begin(), first.out.end(), placed), end; it != end; ++it, ++words) {
    const std::string text = (*it)[1];
    int r = std::stoi((*it)[2]), c = std::stoi((*it)[3]);
    const auto d = static_cast<std::size_t>(std::stoi((*it)[4]));
    for (char letter : text) {
      ASSERT_EQ(rows[static_cast<std::size_t>(r - 1)][static_cast<std::size_t>(c - 1)], letter) << text;
      r += kRowSteps[d];
      c += kColSteps[d];
    }
  }
  EXPECT_GT(words, 20);
}

TEST(BuildCommand, ListOptionsAndAPlainListWork) {
  std::string path = ListFile("plain.txt", "Cat\r\nDog\r\nO'Neil [a name]\r\n");
  CliRun run = RunCli("build " + path + " --width 6 --height 6 --no-diagonals --title \"Pets\" --seed 2 --json");
  ASSERT_EQ(run.code, 0);
  EXPECT_NE(run.out.find("\"title\":\"Pets\""), std::string::npos);
  EXPECT_NE(run.out.find("\"text\":\"ONEIL\",\"display\":\"O'Neil [a name]\""), std::string::npos) << run.out;
  EXPECT_NE(run.out.find(",0,0,0,0]"), std::string::npos) << "no diagonal words";
}

// A puzzle file of a 100 x 1 grid, as earlier versions could save: CAT at the left.
std::string WidePuzzleBytes() {
  testing::Bytes b;
  b.N(1).N(1).N(0).N(3).N(100).N(0).N(97).N(0).N(1).N(3).N(3).N(100).N(1).N(0).N(1).N(1).N(1).S("").N(-1);
  b.S("").S("Wide").S("");
  b.N(1).N(1).N(1).N(1).N(1).N(3).N(0).N(0).N(0).N(0).N(0).S("CAT").S("CAT").S("").S("");
  for (int col = 1; col <= 100; ++col) {
    b.S(col <= 3 ? std::string(1, "CAT"[col - 1]) : " ").N(col <= 3 ? 1 : 0).N(0).N(col <= 3 ? 1 : 0);
    for (int slot = 2; slot <= 8; ++slot) b.N(0);
  }
  b.N(1).N(0).N(0).N(0).N(0).N(0).N(0).N(0);
  return b.str();
}

// Bad usage and unreadable input: exit code 2 and one line on stderr, nothing written.
TEST(Cli, BadInputExitsWithTwoAndOneLine) {
  const std::string empty = ListFile("empty.txt", "");
  const std::string symbols = ListFile("symbols.txt", "!!!\r\n...\r\n");
  testing::TempDir dir;
  const std::string pdf = dir.File("bad.pdf");
  struct Case {
    std::string args, says;
  };
  for (const Case& c : std::vector<Case>{
           {"", "no command given"},
           {"frobnicate", "unknown command \"frobnicate\""},
           {"summary /no/such/file.kvl", "cannot read \"/no/such/file.kvl\""},
           {"summary " + kAnimals + " --bogus", "unknown argument \"--bogus\""},
           {"build " + empty, "holds no words"},
           {"build " + symbols, "no entry holds a letter or digit"},
           {"build " + kAnimals + " --width 7 --height 20", "smaller than the longest word, ANTELOPE (8 letters)"},
           {"build " + kAnimals + " --width 700 --height 15", "--width takes a whole number from 0 to 99, not \"700\""},
           {"build " + kAnimals + " --height 100", "--height takes a whole number from 0 to 99"},
           {"summary " + ListFile("zoo.kvp", testing::SamplePuzzleBytes()), "zoo.kvp: a puzzle file, not a word list"},
           {"print " + ListFile("wide.kvp", WidePuzzleBytes()) + " --pdf " + pdf,
            "a 100 x 1 puzzle does not fit a page; the largest is 99 x 99"},
           {"build " + kAnimals + " --stop-remaining '<>' 3", "--stop-remaining takes"},
           {"build " + kAnimals + " --stop-on-reject --restart-on-reject", "cannot both"},
           {"build " + kAnimals + " -o out.kvp --count 2", "cannot be used with --count"},
           {"build " + kAnimals + " -o /no/such/folder/out.kvp", "cannot write"},
           {"build", "missing word list file"},
           {"build " + kAnimals + " --pdf " + pdf + " --png " + pdf, "only one of --pdf, --png, --svg and --html"},
           {"build " + kAnimals + " --pdf " + pdf + " --margins 1,1,1", "--margins takes four numbers"},
           {"build " + kAnimals + " --pdf " + pdf + " --margins 1,1,-1,1", "--margins takes four numbers"},
           {"build " + kAnimals + " --pdf " + pdf + " --title-align top", "--title-align takes"},
           {"build " + kAnimals + " --pdf " + pdf + " --puzzle-position left", "--puzzle-position takes"},
           {"build " + kAnimals + " --pdf " + pdf + " --puzzle-position top-left --list-left",
            "--list-left needs room"},
           {"build " + kAnimals + " --pdf " + pdf + " --paper b5", "--paper takes a4, letter or legal"},
           {"build " + kAnimals + " --pdf " + pdf + " --puzzle-font Arial,big", "--puzzle-font takes a whole number"},
           {"build " + kAnimals + " --pdf " + pdf + " --list-font Arial,12,heavy", "--list-font takes FAMILY,SIZE"},
           {"build " + kAnimals + " --outline", "need an output file"},
           {"build " + kAnimals + " --pdf " + pdf + " --count 2", "cannot go with --count"},
           {"build " + kAnimals + " --pdf /no/such/folder/page.pdf", "cannot write"},
           {"build " + kAnimals + " --html /no/such/folder/page.html", "cannot write"},
           {"build " + kAnimals + " --html " + pdf + " --answer-key", "does not go with --html"},
           {"print " + kAnimals + " --pdf " + pdf, "animals.kvl: File does not contain a Kivrel puzzle ("},
           {"print " + kAnimals, "print needs an output file"},
           {"show " KIVREL_TEST_DATA_DIR "/zoo.kvl", "zoo.kvl: File does not contain a Kivrel puzzle ("}}) {
    CliRun run = RunCli(c.args, true);
    EXPECT_EQ(run.code, 2) << c.args;
    EXPECT_NE(run.out.find(c.says), std::string::npos) << c.args << ": " << run.out;
    EXPECT_EQ(run.out.find('\n'), run.out.size() - 1) << c.args << ": " << run.out;
  }
  EXPECT_FALSE(std::ifstream(pdf)) << "a refused command writes no page";
}

// A list whose header asks for more than 99 x 99 is read without that size, and says so.
TEST(Cli, AListAskingForMoreThan99By99IsBuiltAtTheDefaultSize) {
  const std::string wide = ListFile("wide.kvl", "1\tWide\t 500\t 15\t 1\t 1\t\r\nLION\r\nTIGER\r\n");
  EXPECT_NE(RunCli("summary " + wide)
                .out.find("Size:       refused: the header asks for 500 x 15 (the largest is 99 x 99)\n"),
            std::string::npos);
  CliRun built = RunCli("build " + wide + " --seed 1 --json", true);
  EXPECT_EQ(built.code, 0);
  EXPECT_EQ(built.out.rfind("kivrel-cli: warning: " + wide +
                                " asks for a 500 x 15 puzzle; the largest is 99 x 99, "
                                "so the default size is used\n{\"title\":\"Wide\"",
                            0),
            0u)
      << built.out;
  EXPECT_NE(built.out.find("\"width\":5,\"height\":5"), std::string::npos) << built.out;
}

TEST(BuildCommand, AnImpossibleRestartGivesUpAtTheAttemptLimit) {
  const std::string full = ListFile("full.txt", "ABC\r\nDEF\r\nGHI\r\nJKL\r\n");
  const std::string args = "build " + full + " --width 3 --height 3 --no-diagonals --restart-on-reject --seed 5 --json";
  CliRun run = RunCli(args + " --max-attempts 40");
  EXPECT_EQ(run.code, 0);
  EXPECT_NE(run.out.find("\"attempts\":40,\"gaveUp\":true"), std::string::npos) << run.out;
  CliRun said = RunCli(args + " --max-attempts 40 --strict", true);
  EXPECT_EQ(said.code, 1);
  EXPECT_NE(said.out.find("gave up after 40 attempts"), std::string::npos) << said.out;
  CliRun timed = RunCli(args + " --max-attempts 1000000000 --timeout 0.05");
  EXPECT_NE(timed.out.find("\"gaveUp\":true"), std::string::npos);
}

TEST(ShowCommand, PrintsASavedFilledPuzzleAsBuildPrintedIt) {
  testing::TempDir dir;
  const std::string path = dir.File("animals.kvp");
  CliRun built = RunCli("build " + kAnimals + " --seed 7 --fill --json -o " + path);
  ASSERT_EQ(built.code, 0);
  for (const std::string& row : GridRows(built.out)) EXPECT_EQ(row.find(' '), std::string::npos) << row;
  CliRun shown = RunCli("show " + path + " --json");
  ASSERT_EQ(shown.code, 0);
  const std::regex run_fields(
      "\"seed\":[^,]*,\"attempts\":[^,]*,\"gaveUp\":[^,]*,\"elapsedMs\":[^,]*,\"fillRedrawn\":[^,]*,\"foundTwice\":"
      "(null|\\[[^\\]]*\\]),");
  EXPECT_NE(shown.out.find("\"seed\":null,\"attempts\":null,\"gaveUp\":null,\"elapsedMs\":null,\"fillRedrawn\":null,"
                           "\"foundTwice\":null,"),
            std::string::npos);
  EXPECT_EQ(std::regex_replace(shown.out, run_fields, ""), std::regex_replace(built.out, run_fields, ""));
  // As text: the page build printed, less the seed and the attempts.
  CliRun built_text = RunCli("build " + kAnimals + " --seed 7 --fill");
  EXPECT_EQ(built_text.out.rfind("Animals - 15 x 15, seed 7\n\n", 0), 0u) << built_text.out;
  CliRun text = RunCli("show " + path);
  EXPECT_EQ(text.out, std::regex_replace(built_text.out, std::regex(", seed 7|Attempts: .*\n"), ""));
  EXPECT_EQ(Lines(text.out)[2].size(), 2u + 15 * 2 - 1);
  EXPECT_NE(text.out.find("\nInserted: "), std::string::npos);
}

// The page of `print` against the layout of the same puzzle file done here, on a PDF
// page of the same size and resolution: title, every grid letter and every list entry.
TEST(PageCommand, PrintPutsTheTitleLettersAndListWhereTheLayoutDoes) {
  testing::TempDir dir;
  const std::string puzzle = dir.File("animals.kvp"), pdf = dir.File("animals.pdf");
  ASSERT_EQ(RunCli("build " + kAnimals + " --seed 7 --fill -o " + puzzle, true).code, 0);
  CliRun run = RunCli("print " + puzzle + " --pdf " + pdf, true);
  ASSERT_EQ(run.code, 0) << run.out;
  EXPECT_EQ(run.out, pdf + "\n");
  auto pages = testing::ReadPdfWords(pdf);
  ASSERT_EQ(pages.size(), 1u);

  testing::TestApp app;
  StartUp(app.ctx, 1);
  ASSERT_TRUE(ReadPuzzleFile(app.ctx, puzzle, testing::TempDir::Read(puzzle)));
  {
    QPdfWriter writer(QString::fromStdString(dir.File("here.pdf")));
    writer.setResolution(1200);
    writer.setPageSize(QPageSize(QPageSize::Letter));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QtSurface page(&writer);
    page.MeasureAsPaper();
    DrawPrinterPage(app.ctx, page);
  }
  testing::ExpectPageMatchesLayout(app.ctx, pages[0]);
}

TEST(PageCommand, BuildAddsTheAnswerKeyAndWritesPngAndSvgPages) {
  testing::TempDir dir;
  const std::string pdf = dir.File("key.pdf");
  CliRun run = RunCli("build " + kAnimals + " --seed 7 --json --pdf " + pdf + " --answer-key", true);
  ASSERT_EQ(run.code, 0) << run.out;
  EXPECT_NE(run.out.find("\"blanksFilled\":true"), std::string::npos) << "a printed page has its blanks filled";
  auto pages = testing::ReadPdfWords(pdf);
  ASSERT_EQ(pages.size(), 2u);
  auto letters = [](const std::vector<testing::PdfWord>& words) {
    std::size_t count = 0;
    for (const auto& word : words) count += word.text.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ") == word.text.npos;
    return count;
  };
  EXPECT_LT(letters(pages[1]), letters(pages[0]));  // the key has no fill letters
  EXPECT_EQ(pages[1][0].text, "Animals");

  run = RunCli("build " + kAnimals + " --seed 3 --png " + dir.File("page.png") +
                   " --answer-key --outline --no-word-list --title-align left --puzzle-position bottom" +
                   " --margins 0.5,0.5,.75,.75",
               true);
  ASSERT_EQ(run.code, 0) << run.out;
  for (const std::string& png : {dir.File("page.png"), dir.File("page-key.png")}) {
    EXPECT_EQ(QImage(QString::fromStdString(png)).size(), QSize(2550, 3300)) << png;  // 300 dots per inch
  }
  ASSERT_EQ(RunCli("build " + kAnimals + " --seed 3 --svg " + dir.File("page.svg"), true).code, 0);
  EXPECT_NE(testing::TempDir::Read(dir.File("page.svg")).find(">Animals<"), std::string::npos);
}

TEST(PageCommand, AHiddenMessagePuzzleAvoidsWordsAndItsKeyTellsTheMessage) {
  testing::TempDir dir;
  const std::string quote = "Every animal hides in plain sight here!";  // 32 letters
  const std::string avoid = dir.Write("avoid.txt", "rat\nbee\nape\nant\n");
  const std::string pdf = dir.File("hidden.pdf");
  const std::string kvp = dir.File("hidden.kvp");
  CliRun run = RunCli("build " + kAnimals + " --seed 5 --width 12 --height 12 --stop-remaining = 32 --quote '" + quote +
                          "' --avoid " + avoid + " -o " + kvp + " --pdf " + pdf + " --answer-key",
                      true);
  ASSERT_EQ(run.code, 0) << run.out;
  EXPECT_NE(run.out.find("Mystery quote: " + quote), std::string::npos) << run.out;

  auto file = ParsePuzzleFile(testing::TempDir::Read(kvp));
  ASSERT_TRUE(file);
  PuzzleState s;
  ApplyPuzzleFile(s, *file);
  EXPECT_EQ(s.MysteryQuote, quote);
  std::string read;
  for (auto [r, c] : UnusedCells(s.Grid)) read += s.Grid.At(r, c).Letter;
  EXPECT_EQ(read, "EVERYANIMALHIDESINPLAINSIGHTHERE");
  for (const SecondReading& reading : FindSecondReadings(s, {"RAT", "BEE", "APE", "ANT"})) {
    for (auto [r, c] : reading.Cells) EXPECT_GT(s.Grid.At(r, c).UseCount, 0) << reading.Word << " read twice";
  }

  auto pages = testing::ReadPdfWords(pdf);
  ASSERT_EQ(pages.size(), 2u);
  auto words = [](const std::vector<testing::PdfWord>& page) {
    std::string text;
    for (const auto& word : page) text += word.text + " ";
    return text;
  };
  EXPECT_EQ(words(pages[0]).find("Hidden message:"), std::string::npos);
  EXPECT_NE(words(pages[1]).find("Hidden message: " + quote), std::string::npos) << words(pages[1]);
  // Every blank holds a letter of the message, which the key keeps where it stands: the
  // key has every capital of the puzzle page, and the H and E of "Hidden message: Every".
  auto capitals = [](const std::vector<testing::PdfWord>& page) {
    long count = 0;
    for (const auto& word : page) count += std::count_if(word.text.begin(), word.text.end(), ::isupper);
    return count;
  };
  EXPECT_EQ(capitals(pages[1]), capitals(pages[0]) + 2);
}

TEST(BuildCommand, TheTextNamesTheWordsLeftOut) {
  // Across and down only, four words of three letters cannot all go into 3 x 3.
  const std::string list = ListFile("tight.kvl", "ABC\nDEF\nGHI\nJkl [note]\n");
  CliRun run = RunCli("build " + list + " --width 3 --height 3 --no-diagonals --seed 1");
  ASSERT_EQ(run.code, 0);
  CliRun json = RunCli("build " + list + " --width 3 --height 3 --no-diagonals --seed 1 --json");
  std::smatch rejected;
  ASSERT_TRUE(std::regex_search(json.out, rejected, std::regex("\"display\":\"([^\"]*)\",\"status\":\"rejected\"")))
      << json.out;
  EXPECT_NE(run.out.find("\nNot placed: " + rejected[1].str() + "\n"), std::string::npos) << run.out;
}

// A list with no room on the page is said on stderr and left off, not printed in part.
TEST(PageCommand, AWordListWithNoRoomIsSaidAndLeftOff) {
  testing::TempDir dir;
  const std::string pdf = dir.File("tight.pdf");
  CliRun run = RunCli("build " + kAnimals + " --seed 7 --margins 8,1,1,1 --pdf " + pdf, true);
  ASSERT_EQ(run.code, 0) << run.out;
  EXPECT_NE(run.out.find("kivrel-cli: The word list does not fit on the page"), std::string::npos) << run.out;
  auto pages = testing::ReadPdfWords(pdf);
  ASSERT_EQ(pages.size(), 1u);
  for (const auto& word : pages[0]) EXPECT_NE(word.text, "words") << "no header without its list";
}

}  // namespace
}  // namespace kivrel
