#include <gtest/gtest.h>

#include <QApplication>
#include <QPrintDialog>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTimer>

#include "HandPlaced.h"
#include "TestApp.h"
#include "commands/PrintCommands.h"
#include "qt/QtPrinterDevice.h"
#include "qt/QtServices.h"
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
  app.dialogs.ExpectPrinter(PrintChoice{2, {}})
      .ExpectMessage(MessageAnswer::Ok,
                     std::string("Error while printing puzzle: the printer could not start the print job"));
  PrintPuzzle(app.ctx);
  EXPECT_EQ(app.ctx.state.PrintingInProgress, kFalse);
  EXPECT_EQ(app.ctx.MainForm().MousePointer(), kPointerDefault);
}

// A puzzle prints on one page, each copy a job of its own: the print dialog offers no
// range of pages (Qt's dialog shows one whatever it is told) and no collating.
TEST(QtPrinterDevice, ThePrintDialogOffersNoPageRange) {
  QPrinter printer(QPrinter::HighResolution);
  QtDialogs dialogs(printer);
  bool looked = false;
  QTimer user;
  QObject::connect(&user, &QTimer::timeout, [&] {
    auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
    if (!dialog) return;
    user.stop();
    for (const char* part : {"printAll", "printRange", "pagesRadioButton", "collate"}) {
      const QWidget* widget = dialog->findChild<QWidget*>(part);
      looked = looked || widget;
      EXPECT_FALSE(widget && widget->isVisibleTo(dialog)) << part;
    }
    dialog->reject();
  });
  user.start(20);
  EXPECT_FALSE(dialogs.Printer(kPrintDialogFlags));
  EXPECT_TRUE(looked) << "the dialog showed, with the parts this test knows";
}

}  // namespace
}  // namespace kivrel
