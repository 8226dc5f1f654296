// kivrel-cli drawing printed pages, run as the real program with no display and no Qt
// platform chosen: it must pick the offscreen platform itself.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include "CliRunner.h"
#include "PdfWords.h"
#include "TestApp.h"
#include "files/PuzzleCommands.h"
#include "model/StartUp.h"
#include "platform/qt/QtSurface.h"
#include "print/PageDrawing.h"

namespace kivrel {
namespace {

using kivrel::testing::CliRun;
using kivrel::testing::RunCli;

// Without a display or platform set: the program picks its own.
CliRun Cli(const std::string& arguments) { return RunCli(arguments, true, true); }

const std::string kAnimals = std::string(KIVREL_EXAMPLES_DIR) + "/animals.kvl";

class PageCommand : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) const {
    return dir_.filePath(QString::fromStdString(name)).toStdString();
  }
  QTemporaryDir dir_;
};

// The page of `print` against the layout of the same puzzle file done here, on a PDF
// page of the same size and resolution: title, every grid letter and every list entry.
TEST_F(PageCommand, PrintPutsTheTitleLettersAndListWhereTheLayoutDoes) {
  const std::string puzzle = Path("animals.kvp"), pdf = Path("animals.pdf");
  ASSERT_EQ(Cli("build " + kAnimals + " --seed 7 --fill -o " + puzzle).code, 0);
  CliRun run = Cli("print " + puzzle + " --pdf " + pdf);
  ASSERT_EQ(run.code, 0) << run.out;
  EXPECT_EQ(run.out, pdf + "\n");
  auto pages = testing::ReadPdfWords(pdf);
  ASSERT_EQ(pages.size(), 1u);

  testing::TestApp app;
  StartUp(app.ctx, 1);
  QFile file(QString::fromStdString(puzzle));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  ASSERT_TRUE(ReadPuzzleFile(app.ctx, puzzle, file.readAll().toStdString()));
  {
    QPdfWriter writer(QString::fromStdString(Path("here.pdf")));
    writer.setResolution(1200);
    writer.setPageSize(QPageSize(QPageSize::Letter));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QtSurface page(&writer);
    DrawPrinterPage(app.ctx, page);
  }
  testing::ExpectPageMatchesLayout(app.ctx, pages[0]);
}

TEST_F(PageCommand, BuildAddsTheAnswerKeyAndWritesPngAndSvgPages) {
  const std::string pdf = Path("key.pdf");
  CliRun run = Cli("build " + kAnimals + " --seed 7 --json --pdf " + pdf + " --answer-key");
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

  run = Cli("build " + kAnimals + " --seed 3 --png " + Path("page.png") + " --answer-key --outline --no-word-list " +
            "--title-align left --puzzle-position bottom --margins 0.5,0.5,.75,.75");
  ASSERT_EQ(run.code, 0) << run.out;
  for (const std::string& png : {Path("page.png"), Path("page-key.png")}) {
    EXPECT_EQ(QImage(QString::fromStdString(png)).size(), QSize(2550, 3300)) << png;  // 300 dots per inch
  }
  ASSERT_EQ(Cli("build " + kAnimals + " --seed 3 --svg " + Path("page.svg")).code, 0);
  QFile svg(QString::fromStdString(Path("page.svg")));
  ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
  EXPECT_TRUE(svg.readAll().contains(">Animals<"));
}

TEST_F(PageCommand, BadPageOptionsExitWithTwo) {
  const std::string pdf = Path("bad.pdf");
  struct Case {
    std::string args, says;
  };
  for (const Case& c : std::vector<Case>{
           {"build " + kAnimals + " --pdf " + pdf + " --png " + pdf, "only one of --pdf, --png and --svg"},
           {"build " + kAnimals + " --pdf " + pdf + " --margins 1,1,1", "--margins takes four numbers"},
           {"build " + kAnimals + " --pdf " + pdf + " --margins 1,1,-1,1", "--margins takes four numbers"},
           {"build " + kAnimals + " --pdf " + pdf + " --title-align top", "--title-align takes"},
           {"build " + kAnimals + " --pdf " + pdf + " --puzzle-position left", "--puzzle-position takes"},
           {"build " + kAnimals + " --outline", "need an output file"},
           {"build " + kAnimals + " --pdf " + pdf + " --count 2", "cannot go with --count"},
           {"build " + kAnimals + " --pdf /no/such/folder/page.pdf", "cannot write"},
           {"print " + kAnimals + " --pdf " + pdf, "File does not contain a Kivrel puzzle"},
           {"print " + kAnimals, "print needs an output file"}}) {
    CliRun run = Cli(c.args);
    EXPECT_EQ(run.code, 2) << c.args;
    EXPECT_NE(run.out.find(c.says), std::string::npos) << c.args << ": " << run.out;
  }
}

}  // namespace
}  // namespace kivrel
