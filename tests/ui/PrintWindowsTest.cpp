// The print options dialog and the preview in the running program, driven by
// objectName with the mouse and the keyboard.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLocale>
#include <QLineEdit>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QWheelEvent>
#include <QToolButton>
#include <cmath>

#include "HandPlaced.h"
#include "RunningProgram.h"
#include "forms/PrintOptionsDialog.h"
#include "forms/PrintPreview.h"
#include "ui/SpinButton.h"

namespace kivrel {
namespace {

// One page twip is a third of a twip on the thumbnail: 45 of them to a pixel.
constexpr int kThumbnailTwipsPerPixel = 45;

struct PrintProgram : testing::RunningProgram {
  PrintProgram() {
    testing::MakeSeaPuzzle(ctx());
    SetPuzzleReadyState(ctx());
    Click("cmdPrint");
    Activate(Dialog());
  }
  QWidget* Dialog() { return Window(frmPrintOptions::kWindow); }
  QWidget* Preview() { return Window(frmPrintPreview::kWindow); }
  template <typename T = QWidget>
  T* D(std::string_view name) {
    return In<T>(Dialog(), name);
  }
  void ClickIn(std::string_view name) { RunningProgram::ClickIn(Dialog(), name); }
};

TEST(PrintWindows, PrintOpensTheDialogWithItsFontsAndThumbnail) {
  PrintProgram p;
  QWidget* dialog = p.Dialog();
  ASSERT_TRUE(dialog && dialog->isVisible());
  EXPECT_FALSE(dialog->isModal());
  ASSERT_TRUE(p.Preview()) << "the preview is made with the dialog";
  EXPECT_FALSE(p.Preview()->isVisible());
  EXPECT_TRUE(p.D<QPushButton>("cmdPrint")->isDefault());
  // The title's font shows on its button, and so does a font chosen for it.
  QFont title = p.D("cmdTitleFont")->font();
  EXPECT_TRUE(title.pointSizeF() == 18 && title.bold() && title.italic());
  p.dialogs.ExpectFont(FontSpec{"Liberation Serif", 24, true, false});
  p.ClickIn("cmdTitleFont");
  title = p.D("cmdTitleFont")->font();
  EXPECT_TRUE(title.pointSizeF() == 24 && !title.italic());

  // The thumbnail's blocks stand where the layout put the page's, at a third of the size.
  const PageLayout& page = p.ctx().page;
  auto px = [](int page_twips) { return static_cast<int>(std::lround(page_twips / double(kThumbnailTwipsPerPixel))); };
  QWidget* puzzle = p.D("lblPuzzle");
  EXPECT_TRUE(puzzle->isVisible() && puzzle->parentWidget() == p.D("picLayout"));
  EXPECT_EQ(puzzle->geometry(),
            QRect(px(page.PuzzleLeft), px(page.PuzzleTop), px(page.GridWidth), px(page.GridHeight)));
  EXPECT_EQ(p.D("shpMargins")->geometry(), QRect(32, 32, 208, 288));
}

TEST(PrintWindows, PuzzlePositionsSetTheWordListBoxes) {
  PrintProgram p;
  auto* above = p.D<QCheckBox>("chkAbove");
  auto* below = p.D<QCheckBox>("chkBelow");
  auto* left = p.D<QCheckBox>("chkLeft");
  p.ClickIn("radPuzzleBottom");
  EXPECT_TRUE(above->isChecked());
  EXPECT_FALSE(below->isChecked() || left->isChecked());
  for (const char* box : {"chkAbove", "chkBelow", "chkLeft", "chkRight"}) EXPECT_FALSE(p.D(box)->isEnabled()) << box;

  p.ClickIn("radPuzzleTop");
  EXPECT_TRUE(below->isChecked());
  EXPECT_FALSE(above->isChecked());
  EXPECT_TRUE(left->isEnabled());

  p.ClickIn("chkLeft");
  p.ClickIn("radPuzzleLeft");
  EXPECT_FALSE(left->isChecked());
  EXPECT_FALSE(left->isEnabled());

  // Without instructions the grid moves up and the instructions' block goes.
  const int grid_top = p.D("lblPuzzle")->y();
  p.ClickIn("chkPrintInstructions");
  EXPECT_FALSE(p.D("lblInstructions")->isVisible());
  EXPECT_FALSE(p.D("radInstrLeft")->isEnabled());
  EXPECT_LT(p.D("lblPuzzle")->y(), grid_top);
}

TEST(PrintWindows, MarginBoxesTakeTypedAndSpunValues) {
  PrintProgram p;
  auto* top = p.D<QLineEdit>("txtMargin_0");
  QTest::mouseClick(top, Qt::LeftButton);
  top->selectAll();
  QTest::keyClicks(top, "1.5");
  EXPECT_FALSE(p.D<QPushButton>("cmdPrint")->isDefault()) << "Enter now belongs to the box";
  QTest::keyClick(top, Qt::Key_Return);  // an unexpected print dialog would fail the test
  EXPECT_EQ(top->text(), "1.5\"");
  EXPECT_EQ(p.D("shpMargins")->y(), 2160 / kThumbnailTwipsPerPixel);
  EXPECT_EQ(p.ctx().page.TopMargin, 2160);

  auto* left = p.D<QLineEdit>("txtMargin_2");
  QTest::mouseClick(left, Qt::LeftButton);
  EXPECT_TRUE(p.D<QPushButton>("cmdPrint")->isDefault()) << "leaving the box gives Enter back to Print";
  left->selectAll();
  QTest::keyClicks(left, ".25\"");
  auto* spin = p.D<SpinButton>("spnMargin_2");
  spin->downArrow()->click();
  EXPECT_EQ(left->text(), ".0\"");
  spin->downArrow()->click();
  EXPECT_EQ(left->text(), ".0\"");
  EXPECT_EQ(p.D("shpMargins")->x(), 0);
}

TEST(PrintWindows, PreviewScrollsThePageAndCloseHidesBothWindows) {
  PrintProgram p;
  p.ClickIn("cmdPreview");
  QWidget* preview = p.Preview();
  ASSERT_TRUE(preview->isVisible());
  auto* across = p.In<QScrollBar>(preview, frmPrintPreview::HScrollBar);
  auto* down = p.In<QScrollBar>(preview, frmPrintPreview::VScrollBar);
  QWidget* page = p.In(preview, frmPrintPreview::picPrintPreview);
  EXPECT_TRUE(across->isVisible() && down->isVisible());
  EXPECT_EQ(page->size(), QSize(816, 1056));
  EXPECT_EQ(down->width(), 255 / 15);

  // The user makes the window narrower and drags the bar to its end: the page's right
  // edge meets the vertical bar.
  preview->resize(534, 400);
  QApplication::processEvents();
  EXPECT_EQ(across->width(), 534 - 17);
  const ControlState& bar = p.ctx().forms.Get(frmPrintPreview::kWindow).State(frmPrintPreview::HScrollBar);
  EXPECT_GT(bar.Max, 0);
  EXPECT_EQ(std::make_tuple(across->maximum(), across->pageStep(), across->singleStep()),
            std::make_tuple(bar.Max, bar.LargeChange, bar.SmallChange));
  across->setValue(across->maximum());
  EXPECT_EQ(page->geometry().right() + 1, down->x());
  down->setValue(150);
  EXPECT_EQ(page->y(), 495 / 15 - 10) << "the page below the strip that holds Close";
  EXPECT_LE(p.In(preview, frmPrintPreview::Close)->geometry().bottom(), 495 / 15) << "Close is never over the page";

  // Back to the dialog, then Escape: both windows go, keeping their settings.
  p.Activate(p.Dialog());
  p.ClickIn("radTitleRight");
  QTest::keyClick(p.Dialog(), Qt::Key_Escape);
  EXPECT_FALSE(p.Dialog()->isVisible());
  EXPECT_FALSE(preview->isVisible());
  p.Click("cmdPrint");
  EXPECT_TRUE(p.Dialog()->isVisible());
  EXPECT_TRUE(p.D<QRadioButton>("radTitleRight")->isChecked());
}

// The page is laid out on the locale's paper until a printer is chosen, then on the
// printer's: the preview shows that paper, and the thumbnail fits it into its place.
// "Fill the page" makes the grid as large as the page holds.
TEST(PrintWindows, ThePreviewAndTheThumbnailShowThePaperAndFillThePageGrowsTheGrid) {
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  {
    testing::RunningProgram german;
    EXPECT_EQ(german.ctx().print.Paper, kA4Paper);
  }
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  PrintProgram p;
  QWidget* page = p.In(p.Preview(), frmPrintPreview::picPrintPreview);
  EXPECT_EQ(page->size(), QSize(816, 1056));  // Letter at 15 twips a pixel
  EXPECT_EQ(p.D("picLayout")->size(), QSize(272, 352));

  p.dialogs.ExpectPrinter(PrintChoice{1, kLegalPaper});
  p.ClickIn("cmdPrinter");
  EXPECT_EQ(page->size(), QSize(816, 1344));
  EXPECT_EQ(p.app.preview().Image().size(), QSize(816, 1344) * p.app.preview().DevicePixelRatio());
  EXPECT_EQ(p.ctx().page.PrintableHeight, 20160 - 2 * 1440);
  // 8.5 x 14 inches in the place of 8.5 x 11: 11/14 of a third.
  EXPECT_EQ(p.D("picLayout")->size(), QSize(214, 352));
  EXPECT_EQ(p.D("shpMargins")->geometry(), QRect(25, 25, 163, 302));

  const int grid_width = p.D("lblPuzzle")->width();
  p.ClickIn("chkFillPage");
  EXPECT_EQ(p.ctx().print.FillPage, 1);
  EXPECT_GT(p.D("lblPuzzle")->width(), 2 * grid_width);
}

// Opening Print leaves the main window's outlines and their flag alone: the next
// Outline press takes them away.
TEST(PrintWindows, OpeningPrintKeepsTheMainWindowsOutlines) {
  testing::RunningProgram p;
  testing::MakeSeaPuzzle(p.ctx());
  SetPuzzleReadyState(p.ctx());
  p.Click("cmdOutlineWords");
  ASSERT_NE(p.ctx().state.OutlinesShown, 0);
  p.Click("cmdPrint");
  EXPECT_NE(p.ctx().state.OutlinesShown, 0);
  p.Click("cmdOutlineWords");
  EXPECT_EQ(p.ctx().state.OutlinesShown, 0);
}

// The preview shows the page as it is now after a change made while it was closed. (The
// wheel and Enter after a spin arrow are tested on the X server, with real input.)
TEST(PrintWindows, PreviewShowsTheCurrentPageAfterAChangeWhileItWasClosed) {
  PrintProgram p;
  p.ClickIn("cmdPreview");
  QWidget* preview = p.Preview();
  testing::RunningProgram::ClickIn(preview, "Close");
  ASSERT_FALSE(preview->isVisible());
  p.Activate(p.Dialog());
  p.dialogs.ExpectFont(FontSpec{"Arial", 30, true, false});
  p.ClickIn("cmdPuzzleFont");
  p.ClickIn("cmdPreview");
  ASSERT_TRUE(preview->isVisible());
  QApplication::processEvents();
  // What the window shows is the page image as it is now.
  QWidget* page = p.In(preview, frmPrintPreview::picPrintPreview);
  const QImage shown = preview->screen()->grabWindow(preview->winId()).toImage();
  const QImage& now = p.app.preview().Image();
  const QRect visible = QRect(QPoint(0, 0), preview->size()).intersected(page->geometry()).adjusted(0, 0, -40, -40);
  int differ = 0;
  for (int y = visible.top(); y <= visible.bottom(); ++y) {
    for (int x = std::max(visible.left(), 200); x <= visible.right(); ++x) {  // past the Close button
      differ += shown.pixel(x, y) != now.pixel(x - page->x(), y - page->y());
    }
  }
  EXPECT_EQ(differ, 0);
}

}  // namespace
}  // namespace kivrel
