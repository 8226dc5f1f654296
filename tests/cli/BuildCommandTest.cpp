// kivrel-cli build and show, run as the real program.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "CliRunner.h"

namespace {

using kivrel::testing::CliRun;
using kivrel::testing::RunCli;

CliRun Cli(const std::string& arguments, bool with_stderr = false) { return RunCli(arguments, with_stderr); }

std::string ListFile(const std::string& name, const std::string& text) {
  std::string path = ::testing::TempDir() + "/" + name;
  std::ofstream(path, std::ios::binary) << text;
  return path;
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

std::vector<std::string> GridRows(const std::string& json) {
  std::smatch grid;
  EXPECT_TRUE(std::regex_search(json, grid, std::regex("\"grid\":\\[([^\\]]*)\\]")));
  std::vector<std::string> rows;
  const std::string inside = grid[1];
  const std::regex quoted("\"([^\"]*)\"");
  for (std::sregex_iterator it(inside.begin(), inside.end(), quoted), end; it != end; ++it) {
    rows.push_back((*it)[1]);
  }
  return rows;
}

const std::string kAnimals = std::string(KIVREL_EXAMPLES_DIR) + "/animals.kvl";

TEST(BuildCommand, TheSameSeedGivesTheSamePuzzleAndEveryPlacedWordReadsFromTheGrid) {
  CliRun first = Cli("build " + kAnimals + " --seed 7 --json");
  CliRun second = Cli("build " + kAnimals + " --seed 7 --json");
  ASSERT_EQ(first.code, 0);
  ASSERT_EQ(Lines(first.out).size(), 1u) << first.out;
  EXPECT_EQ(WithoutTime(first.out), WithoutTime(second.out));
  for (const char* field : {"\"width\":15", "\"height\":15", "\"seed\":7", "\"attempts\":1", "\"inserted\":",
                            "\"rejected\":", "\"junctions\":", "\"lettersRemaining\":", "\"spacesRemaining\":",
                            "\"directionCounts\":[", "\"elapsedMs\":", "\"words\":[", "\"display\":\"ANTELOPE\""}) {
    EXPECT_NE(first.out.find(field), std::string::npos) << field;
  }
  const std::vector<std::string> rows = GridRows(first.out);
  ASSERT_EQ(rows.size(), 15u);
  for (const std::string& row : rows) EXPECT_EQ(row.size(), 15u);
  static const int kRow[9] = {0, 0, 0, 1, -1, 1, -1, -1, 1};
  static const int kCol[9] = {0, 1, -1, 0, 0, 1, -1, 1, -1};
  const std::regex placed(
      "\\{\"text\":\"([A-Z]+)\",\"display\":\"[^\"]*\",\"status\":\"placed\",\"row\":([0-9]+),\"col\":([0-9]+),"
      "\"direction\":([1-8]),");
  int words = 0;
  for (std::sregex_iterator it(first.out.begin(), first.out.end(), placed), end; it != end; ++it, ++words) {
    const std::string text = (*it)[1];
    int r = std::stoi((*it)[2]), c = std::stoi((*it)[3]), d = std::stoi((*it)[4]);
    for (char letter : text) {
      ASSERT_EQ(rows[static_cast<std::size_t>(r - 1)][static_cast<std::size_t>(c - 1)], letter) << text;
      r += kRow[d];
      c += kCol[d];
    }
  }
  EXPECT_GT(words, 20);
  EXPECT_NE(WithoutTime(first.out), WithoutTime(Cli("build " + kAnimals + " --seed 8 --json").out));
}

TEST(BuildCommand, PrintsTheGridAsTextWithTheStatistics) {
  CliRun run = Cli("build --width 12 --height 12 " + kAnimals + " --seed 3");
  ASSERT_EQ(run.code, 0) << run.out;
  EXPECT_EQ(run.out.rfind("Animals - 12 x 12, seed 3\n", 0), 0u) << run.out;
  EXPECT_NE(run.out.find("Inserted: "), std::string::npos);
  EXPECT_NE(run.out.find("Directions: Right "), std::string::npos);
  EXPECT_EQ(Cli("build " + kAnimals + " --help").code, 0);
}

TEST(BuildCommand, CountBuildsOnePuzzlePerSeedAndFillLeavesNoBlank) {
  CliRun run = Cli("build " + kAnimals + " --seed 40 --count 3 --json --fill");
  ASSERT_EQ(run.code, 0);
  std::vector<std::string> lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_NE(lines[1].find("\"seed\":41"), std::string::npos);
  EXPECT_EQ(WithoutTime(lines[1] + "\n"), WithoutTime(Cli("build " + kAnimals + " --seed 41 --json --fill").out));
  for (const std::string& row : GridRows(lines[0])) EXPECT_EQ(row.find(' '), std::string::npos) << row;
}

TEST(BuildCommand, ListOptionsAndAPlainListWork) {
  std::string path = ListFile("plain.txt", "Cat\r\nDog\r\nO'Neil [a name]\r\n");
  CliRun run = Cli("build " + path + " --width 6 --height 6 --no-diagonals --title \"Pets\" --seed 2 --json");
  ASSERT_EQ(run.code, 0);
  EXPECT_NE(run.out.find("\"title\":\"Pets\""), std::string::npos);
  EXPECT_NE(run.out.find("\"text\":\"ONEIL\",\"display\":\"O'Neil [a name]\""), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("\"directionCounts\":[") , std::string::npos);
  EXPECT_NE(run.out.find(",0,0,0,0]"), std::string::npos) << "no diagonal words";
}

TEST(BuildCommand, BadInputExitsWithTwoAndOneLine) {
  const std::string empty = ListFile("empty.txt", "");
  const std::string symbols = ListFile("symbols.txt", "!!!\r\n...\r\n");
  struct Case {
    std::string args;
    std::string says;
  };
  for (const Case& c : std::vector<Case>{
           {"build " + empty, "holds no words"},
           {"build " + symbols, "no entry holds a letter or digit"},
           {"build " + kAnimals + " --width 7 --height 20", "smaller than the longest word, ANTELOPE (8 letters)"},
           {"build " + kAnimals + " --width 200 --height 200", "too large"},
           {"build " + kAnimals + " --stop-remaining '<>' 3", "--stop-remaining takes"},
           {"build " + kAnimals + " --stop-on-reject --restart-on-reject", "cannot both"},
           {"build " + kAnimals + " -o out.kvp --count 2", "cannot be used with --count"},
           {"build " + kAnimals + " -o /no/such/folder/out.kvp", "cannot write"},
           {"build", "missing word list file"}}) {
    CliRun run = Cli(c.args, true);
    EXPECT_EQ(run.code, 2) << c.args;
    EXPECT_NE(run.out.find(c.says), std::string::npos) << c.args << ": " << run.out;
    EXPECT_EQ(run.out.find('\n'), run.out.size() - 1) << c.args << ": " << run.out;
  }
}

TEST(BuildCommand, AnImpossibleRestartGivesUpAtTheAttemptLimit) {
  const std::string full = ListFile("full.txt", "ABC\r\nDEF\r\nGHI\r\nJKL\r\n");
  const std::string args = "build " + full + " --width 3 --height 3 --no-diagonals --restart-on-reject --seed 5 --json";
  CliRun run = Cli(args + " --max-attempts 40");
  EXPECT_EQ(run.code, 0);
  EXPECT_NE(run.out.find("\"attempts\":40,\"gaveUp\":true"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("\"inserted\":3"), std::string::npos);
  CliRun said = Cli(args + " --max-attempts 40 --strict", true);
  EXPECT_EQ(said.code, 1);
  EXPECT_NE(said.out.find("gave up after 40 attempts"), std::string::npos) << said.out;
  CliRun timed = Cli(args + " --max-attempts 1000000000 --timeout 0.05");
  EXPECT_NE(timed.out.find("\"gaveUp\":true"), std::string::npos);
}

TEST(ShowCommand, PrintsASavedPuzzleAsBuildPrintedIt) {
  const std::string path = ::testing::TempDir() + "/animals.kvp";
  CliRun built = Cli("build " + kAnimals + " --seed 7 --fill --json -o " + path);
  ASSERT_EQ(built.code, 0);
  CliRun shown = Cli("show " + path + " --json");
  ASSERT_EQ(shown.code, 0);
  const std::regex run_fields("\"seed\":[^,]*,\"attempts\":[^,]*,\"gaveUp\":[^,]*,\"elapsedMs\":[^,]*,");
  EXPECT_NE(shown.out.find("\"seed\":null,\"attempts\":null,\"gaveUp\":null,\"elapsedMs\":null,"), std::string::npos);
  EXPECT_EQ(std::regex_replace(shown.out, run_fields, ""), std::regex_replace(built.out, run_fields, ""));
  CliRun text = Cli("show " + path);
  EXPECT_EQ(text.out.rfind("Animals - 15 x 15\n\n", 0), 0u) << text.out;
  EXPECT_EQ(Lines(text.out)[2].size(), 2u + 15 * 2 - 1);
}

TEST(ShowCommand, AFileThatIsNotAPuzzleExitsWithTwoAndSaysSo) {
  CliRun run = Cli("show " + std::string(KIVREL_TEST_DATA_DIR) + "/zoo.kvl", true);
  EXPECT_EQ(run.code, 2);
  EXPECT_NE(run.out.find("zoo.kvl: File does not contain a Kivrel puzzle ("), std::string::npos) << run.out;
  EXPECT_EQ(run.out.find('\n'), run.out.size() - 1) << run.out;
  EXPECT_EQ(Cli("show /no/such/file.kvp").code, 2);
}

}  // namespace
