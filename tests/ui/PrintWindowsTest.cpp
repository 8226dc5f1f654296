// The print options dialog and the preview in the running program, driven with the
// mouse and the keyboard: what only the widgets show.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QLocale>
#include <QRadioButton>
#include <QScreen>

#include "HandPlaced.h"
#include "RunningProgram.h"
#include "forms/PrintOptionsDialog.h"
#include "forms/PrintPreview.h"

namespace kivrel {
namespace {

// A built puzzle, its print options open; the program's paper is the locale's until a
// printer is chosen (the US locale here: Letter).
struct PrintProgram : testing::RunningProgram {
  QWidget* dialog;
  PrintProgram() {
    testing::MakeSeaPuzzle(ctx());
    SetPuzzleReadyState(ctx());
    Click("cmdPrint");
    dialog = Window(frmPrintOptions::kWindow);
    Activate(dialog);
  }
  QWidget* Preview() { return Window(frmPrintPreview::kWindow); }
  QWidget* D(std::string_view name) { return In(dialog, name); }
};

// Enter belongs to a margin box while it has the focus, and to Print again after it.
// Escape hides the dialog and the preview, keeping their settings, and the preview
// shows the page as it is after a change made while it was closed.
TEST(PrintWindows, EnterInAMarginBoxEscapeAndThePreviewOfThePageAsItIsNow) {
  PrintProgram p;
  auto* top = static_cast<QLineEdit*>(p.D("txtMargin_0"));
  QTest::mouseClick(top, Qt::LeftButton);
  top->selectAll();
  QTest::keyClicks(top, "1.5");
  EXPECT_FALSE(static_cast<QPushButton*>(p.D("cmdPrint"))->isDefault());
  QTest::keyClick(top, Qt::Key_Return);  // an unexpected print dialog would fail the test
  EXPECT_EQ(top->text(), "1.5\"");
  EXPECT_EQ(p.ctx().page.TopMargin, 2160);
  QTest::mouseClick(p.D("txtMargin_2"), Qt::LeftButton);
  EXPECT_TRUE(static_cast<QPushButton*>(p.D("cmdPrint"))->isDefault());

  p.ClickIn(p.dialog, "cmdPreview");
  QWidget* preview = p.Preview();
  ASSERT_TRUE(preview->isVisible());
  QApplication::processEvents();
  p.Activate(p.dialog);
  p.ClickIn(p.dialog, "radTitleRight");
  QTest::keyClick(p.dialog, Qt::Key_Escape);
  EXPECT_FALSE(p.dialog->isVisible() || preview->isVisible());
  p.Click("cmdPrint");
  EXPECT_TRUE(p.dialog->isVisible() && static_cast<QRadioButton*>(p.D("radTitleRight"))->isChecked());

  p.Activate(p.dialog);
  p.dialogs.ExpectFont(FontSpec{"Arial", 30, true, false});
  p.ClickIn(p.dialog, "cmdPuzzleFont");
  p.ClickIn(p.dialog, "cmdPreview");
  ASSERT_TRUE(preview->isVisible());
  QApplication::processEvents();
  QWidget* page = p.In(preview, frmPrintPreview::picPrintPreview);
  QRect visible = QRect(QPoint(0, 0), preview->size()).intersected(page->geometry()).adjusted(0, 0, -40, -40);
  visible.setLeft(std::max(visible.left(), 200));  // past the Close button
  const QImage shown = preview->screen()->grabWindow(preview->winId()).toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_TRUE(shown.copy(visible) ==
              p.app.preview().Image().convertToFormat(QImage::Format_RGB32).copy(visible.translated(-page->pos())));

  // A printer chosen: its paper, on the page and in the preview.
  EXPECT_EQ(p.ctx().print.Paper, kLetterPaper);
  p.dialogs.ExpectPrinter(PrintChoice{1, kLegalPaper});
  p.ClickIn(p.dialog, "cmdPrinter");
  EXPECT_EQ(page->size(), QSize(816, 1344));
  EXPECT_EQ(p.app.preview().Image().size(), QSize(816, 1344) * p.app.preview().DevicePixelRatio());
}

TEST(PrintWindows, AProgramInAMetricLocalePrintsOnA4) {
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  testing::RunningProgram german;
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  EXPECT_EQ(german.ctx().print.Paper, kA4Paper);
}

}  // namespace
}  // namespace kivrel
