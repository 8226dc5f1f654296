// The print options dialog and the preview in the running program, driven by
// objectName with the mouse and the keyboard: what only the widgets show.
#include <gtest/gtest.h>

#include <QCheckBox>
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

// The puzzle's places tick and free the word list's boxes on the dialog itself.
TEST(PrintWindows, ThePuzzlesPlaceSetsTheWordListBoxes) {
  PrintProgram p;
  ASSERT_TRUE(p.Dialog()->isVisible() && !p.Dialog()->isModal());
  struct Case {
    const char* click;
    const char* checked;  // of Above, Below and Left
    bool left_enabled;
  };
  for (const Case& c : {Case{"radPuzzleBottom", "chkAbove", false}, Case{"radPuzzleTop", "chkBelow", true},
                        Case{"chkLeft", "chkBelow chkLeft", true}, Case{"radPuzzleLeft", "chkBelow", false}}) {
    p.ClickIn(c.click);
    std::string checked;
    for (const char* box : {"chkAbove", "chkBelow", "chkLeft"}) {
      if (p.D<QCheckBox>(box)->isChecked()) checked += std::string(checked.empty() ? "" : " ") + box;
    }
    EXPECT_EQ(checked, c.checked) << c.click;
    EXPECT_EQ(p.D("chkLeft")->isEnabled(), c.left_enabled) << c.click;
  }
}

// Enter belongs to a margin box while it has the focus, and to Print again after it.
TEST(PrintWindows, EnterInAMarginBoxCommitsItAndLeavingGivesEnterBackToPrint) {
  PrintProgram p;
  auto* top = p.D<QLineEdit>("txtMargin_0");
  QTest::mouseClick(top, Qt::LeftButton);
  top->selectAll();
  QTest::keyClicks(top, "1.5");
  EXPECT_FALSE(p.D<QPushButton>("cmdPrint")->isDefault());
  QTest::keyClick(top, Qt::Key_Return);  // an unexpected print dialog would fail the test
  EXPECT_EQ(top->text(), "1.5\"");
  EXPECT_EQ(p.ctx().page.TopMargin, 2160);
  QTest::mouseClick(p.D("txtMargin_2"), Qt::LeftButton);
  EXPECT_TRUE(p.D<QPushButton>("cmdPrint")->isDefault());
}

// Escape on the dialog hides it and the preview, keeping their settings; the window
// shows the page image as it is now after a change made while it was closed.
TEST(PrintWindows, EscapeHidesBothWindowsAndThePreviewShowsThePageAsItIsNow) {
  PrintProgram p;
  p.ClickIn("cmdPreview");
  QWidget* preview = p.Preview();
  ASSERT_TRUE(preview->isVisible());
  QApplication::processEvents();
  p.Activate(p.Dialog());
  p.ClickIn("radTitleRight");
  QTest::keyClick(p.Dialog(), Qt::Key_Escape);
  EXPECT_FALSE(p.Dialog()->isVisible());
  EXPECT_FALSE(preview->isVisible());
  p.Click("cmdPrint");
  EXPECT_TRUE(p.Dialog()->isVisible());
  EXPECT_TRUE(p.D<QRadioButton>("radTitleRight")->isChecked());

  p.Activate(p.Dialog());
  p.dialogs.ExpectFont(FontSpec{"Arial", 30, true, false});
  p.ClickIn("cmdPuzzleFont");
  p.ClickIn("cmdPreview");
  ASSERT_TRUE(preview->isVisible());
  QApplication::processEvents();
  QWidget* page = p.In(preview, frmPrintPreview::picPrintPreview);
  QRect visible = QRect(QPoint(0, 0), preview->size()).intersected(page->geometry()).adjusted(0, 0, -40, -40);
  visible.setLeft(std::max(visible.left(), 200));  // past the Close button
  const QImage shown = preview->screen()->grabWindow(preview->winId()).toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_TRUE(shown.copy(visible) ==
              p.app.preview().Image().convertToFormat(QImage::Format_RGB32).copy(visible.translated(-page->pos())));
}

// The page is laid out on the locale's paper until a printer is chosen, then on the
// printer's, and the preview's image is that paper.
TEST(PrintWindows, ThePaperIsTheLocalesUntilAPrinterIsChosen) {
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  {
    testing::RunningProgram german;
    EXPECT_EQ(german.ctx().print.Paper, kA4Paper);
  }
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  PrintProgram p;
  EXPECT_EQ(p.ctx().print.Paper, kLetterPaper);
  p.dialogs.ExpectPrinter(PrintChoice{1, kLegalPaper});
  p.ClickIn("cmdPrinter");
  EXPECT_EQ(p.In(p.Preview(), frmPrintPreview::picPrintPreview)->size(), QSize(816, 1344));
  EXPECT_EQ(p.app.preview().Image().size(), QSize(816, 1344) * p.app.preview().DevicePixelRatio());
}

// Opening Print leaves the main window's outlines and their flag alone: the next
// Outline press takes them away.
TEST(PrintWindows, OpeningPrintKeepsTheMainWindowsOutlines) {
  testing::RunningProgram p;
  testing::MakeSeaPuzzle(p.ctx());
  SetPuzzleReadyState(p.ctx());
  p.Click("cmdOutlineWords");
  p.Click("cmdPrint");
  EXPECT_NE(p.ctx().state.OutlinesShown, 0);
  p.Click("cmdOutlineWords");
  EXPECT_EQ(p.ctx().state.OutlinesShown, 0);
}

}  // namespace
}  // namespace kivrel
