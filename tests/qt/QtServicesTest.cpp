// Qt's services to the core: its printer and print dialog, and its event pump.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPrintDialog>
#include <QPrinter>
#include <QTimer>

#include "HandPlaced.h"
#include "PdfWords.h"
#include "TempDir.h"
#include "TestApp.h"
#include "commands/PrintCommands.h"
#include "qt/QtPrinterDevice.h"
#include "qt/QtServices.h"
#include "program/StartUp.h"

namespace kivrel {
namespace {

// Qt's printer (here its own PDF printer): the page it prints is the page as laid out,
// and a printer that cannot start a job is reported, the program left as it was.
TEST(QtPrinterDevice, PrintsThePageAsLaidOutOrReportsAPrinterThatCannotStart) {
  testing::TestApp app;
  StartUp(app.ctx, 2);
  testing::MakeSeaPuzzle(app.ctx);
  testing::TempDir dir;
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFileName(QString::fromStdString(dir.File("sea.pdf")));
  printer.setPageMargins(QMarginsF(0, 0, 0, 0));  // the page's twips are the sheet's
  QtPrinterDevice device(printer);
  app.ctx.printer = &device;
  app.dialogs.ExpectPrinter(PrintChoice{1, {}});
  PrintPuzzle(app.ctx);
  const auto pages = testing::ReadPdfWords(dir.File("sea.pdf"));
  ASSERT_EQ(pages.size(), 1u);
  testing::ExpectPageMatchesLayout(app.ctx, pages[0]);

  printer.setOutputFileName(QString::fromStdString(dir.File("no-such-folder/copy.pdf")));
  app.dialogs.ExpectPrinter(PrintChoice{2, {}})
      .ExpectMessage(MessageAnswer::Ok,
                     std::string("Error while printing puzzle: the printer could not start the print job"));
  PrintPuzzle(app.ctx);
  EXPECT_TRUE(app.dialogs.Done());
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
