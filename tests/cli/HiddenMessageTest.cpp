// kivrel-cli's hidden message read back: the puzzle file it saved and the key's page.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

#include "CliRunner.h"
#include "PdfWords.h"
#include "TempDir.h"
#include "engine/FillInBlanks.h"
#include "engine/SecondReadings.h"
#include "files/PuzzleFile.h"

namespace kivrel {
namespace {

using testing::CliRun;
using testing::RunCli;
using testing::TempDir;

const std::string kAnimals = std::string(KIVREL_EXAMPLES_DIR) + "/animals.kvl";

std::string PageText(const std::vector<testing::PdfWord>& page) {
  std::string text;
  for (const auto& word : page) text += word.text + " ";
  return text;
}

long Capitals(const std::vector<testing::PdfWord>& page) {
  long count = 0;
  for (const auto& word : page) count += std::count_if(word.text.begin(), word.text.end(), ::isupper);
  return count;
}

TEST(PageCommand, AHiddenMessagePuzzleAvoidsWordsAndItsKeyTellsTheMessage) {
  TempDir dir;
  const std::string quote = "Every animal hides in plain sight here!";  // 32 letters
  const std::string avoid = dir.Write("avoid.txt", "rat\nbee\nape\nant\n");
  const std::string pdf = dir.File("hidden.pdf"), kvp = dir.File("hidden.kvp");
  const CliRun run = RunCli("build " + kAnimals + " --seed 5 --width 12 --height 12 --stop-remaining = 32 --quote '" +
                                quote + "' --avoid " + avoid + " -o " + kvp + " --pdf " + pdf + " --answer-key",
                            true);
  ASSERT_EQ(run.code, 0) << run.out;
  EXPECT_NE(run.out.find("Mystery quote: " + quote), std::string::npos) << run.out;

  const auto file = ParsePuzzleFile(TempDir::Read(kvp));
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

  const auto pages = testing::ReadPdfWords(pdf);
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_EQ(PageText(pages[0]).find("Hidden message:"), std::string::npos);
  EXPECT_NE(PageText(pages[1]).find("Hidden message: " + quote), std::string::npos) << PageText(pages[1]);
  // The key keeps the message's letters where they stand: every capital of the puzzle
  // page, and the H and E of "Hidden message: Every".
  EXPECT_EQ(Capitals(pages[1]), Capitals(pages[0]) + 2);
}

}  // namespace
}  // namespace kivrel
