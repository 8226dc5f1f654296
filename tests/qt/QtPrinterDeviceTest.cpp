#include <gtest/gtest.h>

#include <QPrinter>
#include <QTemporaryDir>

#include "HandPlaced.h"
#include "TestApp.h"
#include "commands/PrintCommands.h"
#include "qt/QtPrinterDevice.h"
#include "program/StartUp.h"

namespace kivrel {
namespace {

// Qt's printer (here its own PDF printer) that cannot start a job: the print command
// says so and leaves the program as it was.
TEST(QtPrinterDevice, APrinterThatCannotStartIsReported) {
  testing::TestApp app;
  StartUp(app.ctx, 2);
  testing::MakeSeaPuzzle(app.ctx);
  QTemporaryDir dir;
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFileName(dir.filePath("no-such-folder/copy.pdf"));
  QtPrinterDevice device(printer);
  app.ctx.printer = &device;
  app.dialogs.ExpectPrinter(PrintChoice{2}).ExpectMessage(
      MessageAnswer::Ok, std::string("Error while printing puzzle: the printer could not start the print job"));
  PrintPuzzle(app.ctx);
  EXPECT_EQ(app.ctx.state.PrintingInProgress, kFalse);
  EXPECT_EQ(app.ctx.MainForm().MousePointer(), kPointerDefault);
}

}  // namespace
}  // namespace kivrel
