#include <gtest/gtest.h>

#include <QPrinter>
#include <QTemporaryDir>

#include "HandPlaced.h"
#include "PdfWords.h"
#include "TestApp.h"
#include "model/StartUp.h"
#include "platform/qt/QtPrinterDevice.h"
#include "print/Printing.h"

namespace kivrel {
namespace {

TEST(QtPrinterDevice, PrintsOnePagePerJobAndReportsAPrinterThatCannotStart) {
  testing::TestApp app;
  StartUp(app.ctx, 2);
  testing::MakeSeaPuzzle(app.ctx);
  QTemporaryDir dir;
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFileName(dir.filePath("copy.pdf"));  // Qt's own PDF printer
  QtPrinterDevice device(printer);
  app.ctx.printer = &device;

  std::string error;
  ASSERT_TRUE(PrintPuzzleCopy(app.ctx, error)) << error;
  auto pages = testing::ReadPdfWords(dir.filePath("copy.pdf").toStdString());
  ASSERT_EQ(pages.size(), 1u);
  EXPECT_FALSE(pages[0].empty());

  printer.setOutputFileName(dir.filePath("no-such-folder/copy.pdf"));
  app.dialogs.ExpectPrinter(PrintChoice{2}).ExpectMessage(
      MessageAnswer::Ok, std::string("Error while printing puzzle: the printer could not start the print job"));
  cmdPrint_Click(app.ctx);
  EXPECT_EQ(app.ctx.state.PrintingInProgress, kFalse);
  EXPECT_EQ(app.ctx.MainForm().MousePointer(), kPointerDefault);
}

}  // namespace
}  // namespace kivrel
