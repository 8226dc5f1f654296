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

TEST(PrintedPdf, TitleLettersAndListStandWhereTheLayoutPutThem) {
  testing::TestApp app;
  AppContext& ctx = app.ctx;
  StartUp(ctx, 5);
  testing::MakeSeaPuzzle(ctx);

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
