// The print options dialog and the preview on a real X server: the wheel turned over the
// previewed page, and Enter after a click on a margin's spin arrow.
#include <QApplication>
#include <QLineEdit>
#include <QPrinter>
#include <QRadioButton>
#include <QScrollBar>
#include <QToolButton>
#include <gtest/gtest.h>

#include "HandPlaced.h"
#include "PdfWords.h"
#include "RealDialogs.h"
#include "forms/PrintOptionsDialog.h"
#include "forms/PrintPreview.h"
#include "qt/QtPrinterDevice.h"
#include "ui/SpinButton.h"

namespace kivrel::testing {
namespace {

// The program with a puzzle built and the print options dialog open, placed and active.
struct PrintOnDesktop : RunningProgram {
  PrintOnDesktop() {
    MakeSeaPuzzle(ctx());
    SetPuzzleReadyState(ctx());
    EXPECT_TRUE(Ready(window()));
    XInput().Click(Button("cmdPrint"));
    EXPECT_TRUE(WaitFor([this] { return Options() && Options()->isVisible(); }));
    EXPECT_TRUE(Ready(Options()));
  }
  QWidget* Options() { return Window(frmPrintOptions::kWindow); }
  template <typename T = QWidget>
  T* O(std::string_view name) {
    return In<T>(Options(), name);
  }
};

TEST(PrintWindowsDesktop, TheWheelScrollsThePageAndShiftWheelAcross) {
  PrintOnDesktop p;
  XInput input;
  input.Click(p.O("cmdPreview"));
  QWidget* preview = p.Window(frmPrintPreview::kWindow);
  ASSERT_TRUE(preview && WaitFor([&] { return preview->isVisible(); }));
  ASSERT_TRUE(Ready(preview));
  QWidget* page = RunningProgram::In(preview, frmPrintPreview::picPrintPreview);
  auto* down = RunningProgram::In<QScrollBar>(preview, frmPrintPreview::VScrollBar);
  auto* across = RunningProgram::In<QScrollBar>(preview, frmPrintPreview::HScrollBar);
  ASSERT_TRUE(page && down && across);
  ASSERT_TRUE(down->isVisible() && across->isVisible()) << "the page fits: nothing to scroll";
  ASSERT_EQ(down->value(), 0);
  ASSERT_EQ(across->value(), 0);
  // A point of the page that shows in the window.
  const QRect shown = page->geometry().intersected(preview->rect());
  const QPoint over = preview->mapToGlobal(shown.center());
  const int top = page->y();

  input.Wheel(over, -1);  // towards the user: further down the page
  EXPECT_TRUE(WaitFor([&] { return down->value() > 0; })) << "the wheel did not scroll";
  EXPECT_LT(page->y(), top);
  EXPECT_EQ(across->value(), 0);
  const int one_notch = down->value();
  input.Wheel(over, -1);
  EXPECT_TRUE(WaitFor([&] { return down->value() == std::min(2 * one_notch, down->maximum()); }));
  input.Wheel(over, 2);
  EXPECT_TRUE(WaitFor([&] { return down->value() == 0; }));
  EXPECT_EQ(page->y(), top);

  input.Wheel(over, -1, {XK_Shift_L});
  EXPECT_TRUE(WaitFor([&] { return across->value() > 0; })) << "Shift+wheel did not scroll across";
  EXPECT_EQ(down->value(), 0);
  input.Wheel(over, 1, {XK_Shift_L});
  EXPECT_TRUE(WaitFor([&] { return across->value() == 0; }));
}

TEST(PrintWindowsDesktop, EnterPrintsAfterAMarginSpinArrowWasClicked) {
  TempDir dir;
  PrintOnDesktop p;
  AppContext& ctx = p.ctx();
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFileName(QString::fromStdString(dir.File("sea.pdf")));
  printer.setPageMargins(QMarginsF(0, 0, 0, 0));  // the page's twips are the sheet's
  QtPrinterDevice device(printer);
  ctx.printer = &device;

  XInput input;
  input.Click(p.O<QRadioButton>("radTitleLeft"));  // the focus outside the margin boxes
  auto* top = p.O<QLineEdit>(frmPrintOptions::txtMargin[kTopMargin].Name());
  const QString before = top->text();
  input.Click(p.O<SpinButton>(frmPrintOptions::spnMargin[kTopMargin].Name())->upArrow());
  ASSERT_TRUE(WaitFor([&] { return top->text() != before; })) << "the spin arrow changed nothing";
  EXPECT_EQ(top->text(), "1.25\"");

  p.dialogs.ExpectPrinter(PrintChoice{1, {}});
  input.Key(XK_Return);
  ASSERT_TRUE(WaitFor([&] { return p.dialogs.Done(); }, 10000)) << "Enter did not print";
  Settle(300);
  const auto pages = ReadPdfWords(dir.File("sea.pdf"));
  ASSERT_EQ(pages.size(), 1u);
  EXPECT_EQ(ctx.page.TopMargin, 1800);  // 1.25 inches
  ExpectPageMatchesLayout(ctx, pages[0]);
}

}  // namespace
}  // namespace kivrel::testing
