// The printer run drawn into a real PDF page and read back with pdftotext -bbox: the
// title, every grid letter and every list entry must stand where the layout put them.
#include <gtest/gtest.h>

#include <QPdfWriter>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include "HandPlaced.h"
#include "PdfWords.h"
#include "TestApp.h"
#include "model/StartUp.h"
#include "platform/qt/QtSurface.h"
#include "print/PageDrawing.h"

namespace kivrel {
namespace {

using testing::PdfWord;

// A 10 x 10 puzzle with every cell filled and a list that has a note.
void MakeSeaPuzzle(AppContext& ctx) {
  testing::MakeGrid(ctx, 10, 10);
  testing::SetTitle(ctx, "Sea Creatures");
  ctx.state.PuzzleInstructions = "Find every creature of the sea hidden in the grid.";
  testing::PlaceWord(ctx, "OCTOPUS", 1, 1, 1);
  testing::PlaceWord(ctx, "SQUID", 2, 10, 3);
  testing::PlaceWord(ctx, "CRAB [shell]", 10, 1, 7);
  testing::PlaceWord(ctx, "EEL", 9, 9, 2);
  testing::PlaceWord(ctx, "WHALE", 4, 2, 5);
  testing::PlaceWord(ctx, "SHARK", 8, 1, 1);
  for (int r = 1; r <= 10; ++r) {
    for (int c = 1; c <= 10; ++c) {
      CellRecord& cell = ctx.state.Grid.At(r, c);
      if (cell.UseCount == 0) cell.Letter = std::string(1, static_cast<char>('A' + (r * 7 + c * 3) % 26));
    }
  }
  ctx.state.BlanksFilled = kTrue;
}

TEST(PrintedPdf, TitleLettersAndListStandWhereTheLayoutPutThem) {
  testing::TestApp app;
  AppContext& ctx = app.ctx;
  StartUp(ctx, 5);
  MakeSeaPuzzle(ctx);

  QTemporaryDir dir;
  const QString path = dir.filePath("page.pdf");
  {
    QPdfWriter writer(path);
    writer.setResolution(1200);
    writer.setPageSize(QPageSize(QPageSize::Letter));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QtSurface surface(&writer);
    DrawPrinterPage(ctx, surface);
  }
  std::vector<std::vector<PdfWord>> pages = testing::ReadPdfWords(path.toStdString());
  ASSERT_EQ(pages.size(), 1u);
  const std::vector<PdfWord>& words = pages[0];
  ASSERT_FALSE(words.empty());
  testing::ExpectPageMatchesLayout(ctx, words);
}

}  // namespace
}  // namespace kivrel
