// kivrel-cli drawing printed pages, run as the real program with no display and no Qt
// platform chosen: it must pick the offscreen platform itself.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <cstdio>
#include <regex>
#include <string>
#include <sys/wait.h>
#include <vector>

#include "PdfWords.h"

namespace kivrel {
namespace {

struct CliRun {
  int code = -1;
  std::string out;
};

CliRun Cli(const std::string& arguments, bool with_stderr = false) {
  std::string command = "env -u QT_QPA_PLATFORM -u DISPLAY -u WAYLAND_DISPLAY " + std::string(KIVREL_CLI_PATH) +
                        " " + arguments + (with_stderr ? " 2>&1" : " 2>/dev/null");
  CliRun run;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return run;
  char buffer[4096];
  while (std::size_t n = fread(buffer, 1, sizeof buffer, pipe)) run.out.append(buffer, n);
  int status = pclose(pipe);
  run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

const std::string kAnimals = std::string(KIVREL_EXAMPLES_DIR) + "/animals.kvl";

std::string TempPath(const std::string& name) { return ::testing::TempDir() + "/" + name; }

// The grid's rows as the JSON output gives them.
std::vector<std::string> GridRows(const std::string& json) {
  std::smatch grid;
  EXPECT_TRUE(std::regex_search(json, grid, std::regex("\"grid\":\\[([^\\]]*)\\]")));
  std::vector<std::string> rows;
  const std::string inside = grid[1];
  const std::regex quoted("\"([^\"]*)\"");
  for (std::sregex_iterator it(inside.begin(), inside.end(), quoted), end; it != end; ++it) rows.push_back((*it)[1]);
  return rows;
}

// The letters of a page that stand in the grid (single capitals and runs of them, in
// lines from top to bottom), one string per line of the page.
std::vector<std::string> GridLines(const std::vector<testing::PdfWord>& words, double top, double bottom) {
  std::vector<std::pair<double, std::string>> lines;
  for (const testing::PdfWord& word : words) {
    if (word.yMin < top || word.yMin > bottom) continue;
    if (lines.empty() || std::abs(lines.back().first - word.yMin) > 1) lines.emplace_back(word.yMin, "");
    lines.back().second += word.text;
  }
  std::vector<std::string> texts;
  for (auto& line : lines) texts.push_back(line.second);
  return texts;
}

TEST(PageCommand, BuildDrawsThePrintedPageAndItsAnswerKey) {
  const std::string pdf = TempPath("animals.pdf");
  CliRun run = Cli("build " + kAnimals + " --seed 7 --json --pdf " + pdf + " --answer-key");
  ASSERT_EQ(run.code, 0) << run.out;
  EXPECT_NE(run.out.find("\"blanksFilled\":true"), std::string::npos) << "a printed page has its blanks filled";
  const std::vector<std::string> rows = GridRows(run.out);
  ASSERT_EQ(rows.size(), 15u);

  auto pages = testing::ReadPdfWords(pdf);
  ASSERT_EQ(pages.size(), 2u);
  ASSERT_FALSE(pages[0].empty());
  EXPECT_EQ(pages[0][0].text, "Animals");
  EXPECT_NEAR(pages[0][0].yMin, 72, 1);  // the one-inch top margin
  // The grid lines come after the title and the two lines of instructions; the list
  // header " 25  words" ends them.
  std::vector<std::string> lines;
  double top = 0, bottom = 0;
  for (const auto& word : pages[0]) {
    if (word.text == "words" && bottom == 0) bottom = word.yMin - 1;
  }
  for (const auto& word : pages[0]) {
    if (word.text.size() == 1 && top == 0) top = word.yMin - 1;
  }
  ASSERT_GT(bottom, top);
  std::vector<std::string> printed = GridLines(pages[0], top, bottom);
  ASSERT_EQ(printed.size(), 15u);
  for (std::size_t r = 0; r < 15; ++r) EXPECT_EQ(printed[r], rows[r]) << "row " << r + 1;

  // The key: the same title, the placed letters only.
  std::size_t letters = 0, key_letters = 0;
  for (const std::string& line : printed) letters += line.size();
  for (const std::string& line : GridLines(pages[1], top, bottom)) key_letters += line.size();
  EXPECT_EQ(letters, 225u);
  EXPECT_GT(key_letters, 100u);
  EXPECT_LT(key_letters, letters);
  EXPECT_EQ(pages[1][0].text, "Animals");
}

TEST(PageCommand, WritesPngAndSvgPages) {
  const std::string png = TempPath("page.png");
  CliRun run = Cli("build " + kAnimals + " --seed 3 --png " + png + " --answer-key --outline --no-word-list "
                   "--title-align left --puzzle-position bottom --margins 0.5,0.5,.75,.75", true);
  ASSERT_EQ(run.code, 0) << run.out;
  EXPECT_NE(run.out.find("wrote " + TempPath("page-key.png")), std::string::npos) << run.out;
  for (const std::string& path : {png, TempPath("page-key.png")}) {
    QImage image(QString::fromStdString(path));
    ASSERT_FALSE(image.isNull()) << path;
    EXPECT_EQ(image.size(), QSize(2550, 3300));  // Letter at 300 dots per inch
  }

  const std::string svg = TempPath("page.svg");
  ASSERT_EQ(Cli("build " + kAnimals + " --seed 3 --svg " + svg).code, 0);
  QFile file(QString::fromStdString(svg));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray content = file.readAll();
  EXPECT_TRUE(content.contains("<svg"));
  EXPECT_TRUE(content.contains(">Animals<"));
}

TEST(PageCommand, BadPageOptionsExitWithTwo) {
  const std::string pdf = TempPath("bad.pdf");
  struct Case {
    std::string args, says;
  };
  for (const Case& c : std::vector<Case>{
           {"--pdf " + pdf + " --png " + pdf, "only one of --pdf, --png and --svg"},
           {"--pdf " + pdf + " --margins 1,1,1", "--margins takes four numbers"},
           {"--pdf " + pdf + " --margins 1,1,-1,1", "--margins takes four numbers"},
           {"--pdf " + pdf + " --title-align top", "--title-align takes"},
           {"--pdf " + pdf + " --puzzle-position left", "--puzzle-position takes"},
           {"--outline", "need an output file"},
           {"--pdf " + pdf + " --count 2", "cannot go with --count"},
           {"--pdf /no/such/folder/page.pdf", "cannot write"}}) {
    CliRun run = Cli("build " + kAnimals + " --seed 1 " + c.args, true);
    EXPECT_EQ(run.code, 2) << c.args;
    EXPECT_NE(run.out.find(c.says), std::string::npos) << c.args << ": " << run.out;
  }
}

}  // namespace
}  // namespace kivrel
