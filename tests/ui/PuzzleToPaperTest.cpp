// The whole road of a puzzle in one run of the program, as a user takes it: a list
// opened and edited, a build with the blanks filled and the words outlined, saving
// and opening the puzzle, the print options, the preview, and a printed copy whose
// letters are the grid on the screen.
#include <gtest/gtest.h>

#include <QPrinter>

#include "PdfWords.h"
#include "RunningProgram.h"
#include "TempDir.h"
#include "forms/PrintPreview.h"
#include "qt/QtPrinterDevice.h"

namespace kivrel {
namespace {

using testing::RunningProgram;

TEST(PuzzleToPaper, FromAnOpenedListToAPrintedPage) {
  RunningProgram p;
  AppContext& ctx = p.ctx();
  testing::TempDir dir;

  p.dialogs.ExpectFile(dir.Write("animals.txt", testing::TempDir::Read(KIVREL_EXAMPLES_DIR "/animals.kvl")));
  p.Action("mnuOpenList")->trigger();
  ASSERT_TRUE(p.Window(frmWordList::kWindow) && p.Window(frmWordList::kWindow)->isVisible());
  ASSERT_EQ(ctx.list.ListCount(), 25);
  ctx.state.WordListChanged = kTrue;  // as an edit would leave it

  p.Click("cmdBuild");
  ASSERT_NE(ctx.state.PuzzleBuilt, 0);
  p.Click("cmdFillinBlanks");
  p.Click("cmdOutlineWords");
  ASSERT_NE(ctx.state.BlanksFilled, 0);
  const LetterGrid built = ctx.state.Grid;

  // The puzzle has no name yet: Save Puzzle asks for one, suggesting the list's. Opening
  // it again first offers to save the changed list.
  const std::string puzzle = dir.File("safari.kvp");
  p.dialogs.ExpectFile(puzzle);
  p.Click("cmdSavePuzzle");
  EXPECT_EQ(p.dialogs.files.back().FileName, dir.File("animals.kvp"));
  p.dialogs.ExpectMessage(MessageAnswer::No, "Do you want to save the current list?").ExpectFile(puzzle);
  p.Action("mnuOpenPuzzle")->trigger();
  ASSERT_TRUE(p.dialogs.Done());
  ASSERT_EQ(ctx.state.Grid, built);
  p.dialogs.ExpectFile(dir.File("safari.kvl"));
  p.Action("mnuSaveListAs")->trigger();
  EXPECT_TRUE(std::filesystem::exists(dir.File("safari.kvl")));

  // Print options: the title to the left and the words outlined, seen in the preview.
  p.Click("cmdPrint");
  QWidget* options = p.Window(frmPrintOptions::kWindow);
  ASSERT_TRUE(options && options->isVisible());
  p.Activate(options);
  p.ClickIn(options, "radTitleLeft");
  p.ClickIn(options, "chkOutlineWords");
  p.ClickIn(options, "cmdPreview");
  QWidget* preview = p.Window(frmPrintPreview::kWindow);
  ASSERT_TRUE(preview && preview->isVisible());
  const QImage& page = p.app.preview().Image();
  const QRect title_area(1440 / 15, ctx.page.TopMargin / 15, ctx.page.TitleWidth / 15, ctx.page.TitleHeight / 15);
  EXPECT_GT(testing::CountWhere(page, title_area, testing::IsInk), 50)
      << "the title stands at the left margin of the previewed page";

  // Print to a PDF through Qt's printer, as the print dialog would with one copy.
  p.Activate(options);
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFileName(QString::fromStdString(dir.File("safari.pdf")));
  printer.setPageMargins(QMarginsF(0, 0, 0, 0));  // the page's twips are the sheet's
  QtPrinterDevice device(printer);
  ctx.printer = &device;
  p.dialogs.ExpectPrinter(PrintChoice{1, {}});
  p.ClickIn(options, "cmdPrint");
  ASSERT_TRUE(p.dialogs.Done());

  auto pages = testing::ReadPdfWords(dir.File("safari.pdf"));
  ASSERT_EQ(pages.size(), 1u);
  EXPECT_EQ(ctx.state.Grid, built) << "the blanks were filled already";
  EXPECT_EQ(ctx.page.TitleX, ctx.page.LeftMargin);
  testing::ExpectPageMatchesLayout(ctx, pages[0]);
  // Every cell of the grid on screen shows its letter.
  p.EachCell([&](int r, int c, const CellRecord&) {
    EXPECT_GT(p.Count(p.CellRect(r, c), testing::IsInk), 3) << "row " << r << ", column " << c;
  });
}

}  // namespace
}  // namespace kivrel
