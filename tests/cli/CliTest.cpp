// kivrel-cli's pages and JSON read back: the words of a JSON puzzle read from its grid,
// the page of print where the layout puts it, answer keys, page files of every kind and
// a hidden message.
#include <gtest/gtest.h>

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPdfWriter>
#include <algorithm>
#include <cctype>

#include "CliRunner.h"
#include "PdfWords.h"
#include "TempDir.h"
#include "TestApp.h"
#include "commands/PuzzleCommands.h"
#include "engine/FillInBlanks.h"
#include "engine/SecondReadings.h"
#include "files/PuzzleFile.h"
#include "print/PageDrawing.h"
#include "program/StartUp.h"
#include "qt/QtSurface.h"

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

TEST(BuildCommand, EveryPlacedWordOfTheJsonReadsFromItsGrid) {
  const CliRun run = RunCli("build " + kAnimals + " --seed 7 --json");
  ASSERT_EQ(run.code, 0);
  const QJsonObject puzzle = QJsonDocument::fromJson(QByteArray::fromStdString(run.out)).object();
  const QJsonArray grid = puzzle["grid"].toArray();
  ASSERT_EQ(grid.size(), 15);
  int placed = 0;
  for (const QJsonValue& value : puzzle["words"].toArray()) {
    const QJsonObject word = value.toObject();
    if (word["status"] != "placed") continue;
    ++placed;
    int r = word["row"].toInt(), c = word["col"].toInt();
    const auto d = static_cast<std::size_t>(word["direction"].toInt());
    for (QChar letter : word["text"].toString()) {
      ASSERT_EQ(grid[r - 1].toString().at(c - 1), letter) << word["text"].toString().toStdString();
      r += kRowSteps[d];
      c += kColSteps[d];
    }
  }
  EXPECT_EQ(placed, 25);
}

// The page of print against the layout of the same puzzle file done here, on a PDF page
// of the same size and resolution: title, every grid letter and every list entry.
TEST(PageCommand, PrintPutsTheTitleLettersAndListWhereTheLayoutDoes) {
  TempDir dir;
  const std::string puzzle = dir.File("animals.kvp"), pdf = dir.File("animals.pdf");
  ASSERT_EQ(RunCli("build " + kAnimals + " --seed 7 --fill -o " + puzzle).code, 0);
  const CliRun run = RunCli("print " + puzzle + " --pdf " + pdf, true);
  ASSERT_EQ(run.code, 0) << run.out;
  EXPECT_EQ(run.out, pdf + "\n");
  const auto pages = testing::ReadPdfWords(pdf);
  ASSERT_EQ(pages.size(), 1u);

  testing::TestApp app;
  StartUp(app.ctx, 1);
  ASSERT_TRUE(ReadPuzzleFile(app.ctx, puzzle, TempDir::Read(puzzle)));
  QPdfWriter writer(QString::fromStdString(dir.File("here.pdf")));
  writer.setResolution(1200);
  writer.setPageSize(QPageSize(QPageSize::Letter));
  writer.setPageMargins(QMarginsF(0, 0, 0, 0));
  QtSurface page(&writer);
  page.MeasureAsPaper();
  DrawPrinterPage(app.ctx, page);
  testing::ExpectPageMatchesLayout(app.ctx, pages[0]);
}

TEST(PageCommand, BuildAddsTheAnswerKeyAndWritesPngAndSvgPages) {
  TempDir dir;
  const std::string pdf = dir.File("key.pdf");
  CliRun run = RunCli("build " + kAnimals + " --seed 7 --json --pdf " + pdf + " --answer-key", true);
  ASSERT_EQ(run.code, 0) << run.out;
  EXPECT_NE(run.out.find("\"blanksFilled\":true"), std::string::npos) << "a printed page has its blanks filled";
  const auto pages = testing::ReadPdfWords(pdf);
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_LT(Capitals(pages[1]), Capitals(pages[0])) << "the key has no fill letters";
  EXPECT_EQ(pages[1][0].text, "Animals");

  run = RunCli("build " + kAnimals + " --seed 3 --png " + dir.File("page.png") +
                   " --answer-key --outline --no-word-list --title-align left --puzzle-position bottom" +
                   " --margins 0.5,0.5,.75,.75",
               true);
  ASSERT_EQ(run.code, 0) << run.out;
  for (const std::string& png : {dir.File("page.png"), dir.File("page-key.png")}) {
    EXPECT_EQ(QImage(QString::fromStdString(png)).size(), QSize(2550, 3300)) << png;  // 300 dots per inch
  }
  ASSERT_EQ(RunCli("build " + kAnimals + " --seed 3 --svg " + dir.File("page.svg")).code, 0);
  EXPECT_NE(TempDir::Read(dir.File("page.svg")).find(">Animals<"), std::string::npos);
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
