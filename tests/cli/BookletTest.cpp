// kivrel-cli booklet read back from its PDF: each puzzle page is the build of its list
// and seed, each key the placed letters of that build, four keys a page.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>

#include "CliRunner.h"
#include "PdfWords.h"
#include "TempDir.h"

namespace kivrel {
namespace {

using testing::PdfWord;

const std::string kExamples = std::string(KIVREL_EXAMPLES_DIR) + "/";

bool IsCapitals(const std::string& text) {
  return text.find_first_of("abcdefghijklmnopqrstuvwxyz0123456789:()") == std::string::npos;
}

// The rows of a grid as the page shows them: the words in capitals, in rows by
// their tops (within a point), each row read left to right, with the words of the list
// (from its header " n  words", the lowest "words" of the page) and the foot left out.
std::vector<std::string> GridOnPage(std::vector<PdfWord> words) {
  double header = 800;
  for (const PdfWord& word : words) header = word.text == "words" ? word.yMin : header;
  std::sort(words.begin(), words.end(), [](const PdfWord& a, const PdfWord& b) {
    return std::fabs(a.yMin - b.yMin) > 1 ? a.yMin < b.yMin : a.xMin < b.xMin;
  });
  std::vector<std::string> rows;
  double top = -100;
  for (const PdfWord& word : words) {
    if (!IsCapitals(word.text) || word.yMin > std::min(header - 1, 740.0)) continue;
    if (std::fabs(word.yMin - top) > 1) rows.emplace_back();
    top = word.yMin;
    rows.back() += word.text;
  }
  return rows;
}

// The grid rows of build's JSON of the list and seed, blanks left out and empty rows
// dropped, as a key shows them (or a filled page, where there are none).
std::vector<std::string> BuiltRows(const std::string& list, int seed, const std::string& options) {
  const std::string json = testing::RunCli("build " + list + " --json --seed " + std::to_string(seed) + options).out;
  std::vector<std::string> rows;
  for (std::string row : testing::GridRows(json)) {
    row.erase(std::remove(row.begin(), row.end(), ' '), row.end());
    if (!row.empty()) rows.push_back(row);
  }
  return rows;
}

TEST(BookletCommand, EachPuzzleIsTheBuildOfItsSeedWithItsKey) {
  testing::TempDir dir;
  const std::string lists[] = {kExamples + "animals.kvl", kExamples + "mathematics.kvl",
                               kExamples + "notes-and-phrases.kvl"};
  const std::string pdf = dir.File("term.pdf");
  ASSERT_EQ(
      testing::RunCli("booklet " + lists[0] + " " + lists[1] + " " + lists[2] + " --count 4 --seed 40 --pdf " + pdf)
          .code,
      0);
  const auto pages = testing::ReadPdfWords(pdf);
  ASSERT_EQ(pages.size(), 16u);  // the contents, twelve puzzles, three pages of four keys
  EXPECT_EQ(pages[0][0].text, "Contents");
  std::map<int, std::vector<PdfWord>> keys;  // by puzzle: four areas a page, "Key n: Title" first
  for (int page = 14; page <= 16; ++page) {
    for (const PdfWord& word : pages[static_cast<std::size_t>(page - 1)]) {
      if (word.yMin < 740)
        keys[(page - 14) * 4 + (word.yMin > 387 ? 2 : 0) + (word.xMin > 306 ? 1 : 0) + 1].push_back(word);
    }
  }
  ASSERT_EQ(keys.size(), 12u);
  for (int n : {1, 6, 12}) {  // one puzzle of each list
    SCOPED_TRACE("puzzle " + std::to_string(n));
    const std::string& list = lists[static_cast<std::size_t>((n - 1) / 4)];
    const std::vector<PdfWord>& page = pages[static_cast<std::size_t>(n)];
    std::string foot;
    for (const PdfWord& word : page) foot += word.yMin > 740 ? word.text + " " : "";
    EXPECT_EQ(foot,
              "Puzzle " + std::to_string(n) + ", seed " + std::to_string(39 + n) + " " + std::to_string(n + 1) + " ");
    EXPECT_EQ(keys[n][0].text + keys[n][1].text + keys[n][2].text.substr(0, 1),
              "Key" + std::to_string(n) + ":" + page[0].text.substr(0, 1));
    EXPECT_EQ(GridOnPage(page), BuiltRows(list, 39 + n, " --fill"));
    EXPECT_EQ(GridOnPage(keys[n]), BuiltRows(list, 39 + n, ""));
  }
}

}  // namespace
}  // namespace kivrel
