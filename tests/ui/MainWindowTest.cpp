#include <gtest/gtest.h>

#include <QDialog>
#include <QGroupBox>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

#include "RunningProgram.h"
#include "display/GridViews.h"
#include "model/CommandStates.h"

namespace kivrel {
namespace {

using testing::IsBlack;
using testing::IsGrey;
using testing::IsInk;
using testing::IsRed;
using testing::RunningProgram;

// The text of a caption without its access key mark.
QString Plain(QString caption) { return caption.remove('&'); }

// A 6 x 6 puzzle made by hand: CAT across row 2, MAP down column 2, crossing at (2, 2).
void MakeSmallPuzzle(AppContext& ctx) {
  PuzzleState& s = ctx.state;
  s.PuzzleWidth = 6;
  s.PuzzleHeight = 6;
  ctx.SizePuzzleDisplay();
  s.Grid.Create(6, 6);
  auto place = [&](const char* text, int row, int col, int direction) {
    WordRecord word;
    word.Text = text;
    word.Length = 3;
    word.StartRow = static_cast<i16>(row);
    word.StartCol = static_cast<i16>(col);
    word.Direction = static_cast<i16>(direction);
    word.Status = kStatusPlaced;
    s.Words.push_back(word);
    for (int i = 0; i < 3; ++i) {
      CellRecord& cell = s.Grid.At(row + s.RowStep[direction] * i, col + s.ColStep[direction] * i);
      cell.Letter = std::string(1, text[i]);
      cell.WordRefs[static_cast<std::size_t>(++cell.UseCount)] = static_cast<i16>(s.Words.size() - 1);
    }
  };
  place("CAT", 2, 1, 1);
  place("MAP", 1, 2, 3);
  s.WordCount = 2;
  RepaintGrid(ctx);
  s.PuzzleBuilt = kTrue;
  SetPuzzleReadyState(ctx);
}

TEST(MainWindow, OpensWithItsDesign) {
  RunningProgram p;
  QMainWindow* w = p.window();
  ASSERT_TRUE(w);
  EXPECT_TRUE(w->isVisible());
  EXPECT_EQ(w->objectName(), "frmKV_Puzzle");
  EXPECT_EQ(w->windowTitle(), "Kivrel Puzzle Maker - (untitled)");

  const char* buttons[][2] = {{"cmdAttributes", "&Attrib"},      {"cmdBuild", "&Build"},
                              {"cmdFillinBlanks", "F&illin"},    {"cmdOutlineWords", "&Outline"},
                              {"cmdViewMatches", " &Junctions"}, {"cmdPrint", "&Print"},
                              {"cmdViewList", "&List"},          {"cmdSavePuzzle", "&Save Puzzle"},
                              {"cmdCancel", "&Cancel"},          {"cmdExit", "E&xit"}};
  int right = 0;
  for (auto [name, caption] : buttons) {
    QPushButton* b = p.Button(name);
    ASSERT_TRUE(b) << name;
    EXPECT_EQ(b->text(), caption);
    EXPECT_EQ(b->isEnabled(), std::string(name) == "cmdExit") << name;
    EXPECT_EQ(b->y(), 0);
    EXPECT_EQ(b->x(), right) << name << ": the buttons stand side by side";
    right = b->geometry().right() + 1;
    // The caption must not be clipped in the Linux face.
    EXPECT_LT(b->fontMetrics().horizontalAdvance(Plain(b->text())) + 6, b->width()) << name;
  }

  // The menus, with the hidden quotation items in the File menu.
  QStringList captions;
  for (QAction* top : w->menuBar()->actions()) {
    captions << top->objectName() + "=" + top->text();
    for (QAction* item : top->menu()->actions()) {
      captions << item->objectName() + "=" + (item->isSeparator() ? "-" : item->text()) +
                      (item->isVisible() ? "" : " hidden") + (!item->isVisible() || item->isEnabled() ? "" : " off") +
                      (item->isChecked() ? " checked" : "");
    }
  }
  EXPECT_EQ(captions.join(" | ").toStdString(),
            "mnuFile=&File | mnuNewList=&New List | mnuOpenList=&Open List... | mnuSaveList=&Save List off | "
            "mnuSaveListAs=Save List &As... off | mnuSep1=- | mnuNewQuotation=&New Quotation hidden | "
            "mnuOpenQuotation=Open &Quotation... hidden | mnuSaveQuotation=Save Qu&otation hidden | "
            "mnuSaveQuotationAs=Save Quo&tation As... hidden | mnuSepQuotation=- hidden | "
            "mnuOpenPuzzle=O&pen Puzzle... | mnuSavePuzzle=Sa&ve Puzzle off | "
            "mnuSavePuzzleAs=Save Pu&zzle As... off | mnuSep2=- | mnuPrint=&Print... off | mnuSep3=- | "
            "mnuExit=E&xit | mnuPuzzle=&Puzzle | mnuAttributes=&Attributes off | mnuBuild=&Build off | "
            "mnuFillinBlanks=F&ill in Blanks off | mnuOutlineWords=&Outline Words off | "
            "mnuViewMatches=Show &Junctions off | mnuViewList=View &List off | mnuViewPuzzle=View &Puzzle off | "
            "mnuOptions=&Options | mnuSound=&Sound checked | mnuUpperCase=&Upper case word list checked | "
            "mnuHelp=&Help | mnuAbout=&About...");
  EXPECT_TRUE(p.form().Checked("mnuSound"));
  EXPECT_TRUE(p.form().Checked("mnuUpperCase"));

  // Statistics: caption and value labels in the frame, none clipped.
  auto* stats = p.Widget<QGroupBox>("fraStats");
  ASSERT_TRUE(stats);
  EXPECT_EQ(stats->title(), "Statistics");
  const char* stat_captions[][2] = {
      {"lblWordCountLabel", "Word Count:"}, {"Label1", "Inserted:"}, {"Label2", "Rejected:"},
      {"lblNbrLettersLabel", "Letters:"}, {"lblNbrSpacesLabel", "Spaces:"},
      {"lblLettersRemainingLabel", "Letters Remaining:"}, {"lblRemainingLabel", "Spaces Remaining:"},
      {"Label3", "Junctions:"}, {"Label4", "Directions:"}, {"lblDirectionLabel_0", "Right"},
      {"lblDirectionLabel_4", "Down-Right"}, {"lblDirectionLabel_7", "Down-Left"}};
  for (auto [name, caption] : stat_captions) {
    QLabel* label = p.Label(name);
    ASSERT_TRUE(label) << name;
    EXPECT_EQ(label->text(), caption);
    EXPECT_EQ(label->parentWidget(), stats);
    EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width()) << name;
  }
  for (const char* value : {"lblWordCount", "lblInsertedCount", "lblMatches", "lblDirection_7"}) {
    ASSERT_TRUE(p.Label(value)) << value;
    EXPECT_EQ(p.Label(value)->x(), 1620 / 15);
  }

  // The picture: 15 x 15 white cells at 12 points, and the frame 225 twips from the edge.
  QWidget* picture = p.Widget("picPuzzle");
  ASSERT_TRUE(picture);
  EXPECT_TRUE(picture->isVisible());
  EXPECT_EQ(p.ctx().display.DisplayFontSize, 12);
  EXPECT_EQ(picture->size(), p.Picture().size());
  EXPECT_NEAR(picture->width(), 15 * p.ctx().display.CellSize / 15.0, 1);
  EXPECT_EQ(picture->pos(), QPoint(3, 33));
  EXPECT_EQ(p.form().Bounds("fraStats").Left, p.form().Geometry().Width - 2220 - 225);
  EXPECT_EQ(stats->x(), (p.form().Geometry().Width - 2220 - 225) / 15);
}

TEST(MainWindow, CommandStatesReachTheWidgets) {
  RunningProgram p;
  SetPuzzleReadyState(p.ctx());
  for (const char* name : {"cmdAttributes", "cmdBuild", "cmdFillinBlanks", "cmdOutlineWords", "cmdViewMatches",
                           "cmdPrint", "cmdViewList", "cmdSavePuzzle", "cmdExit"}) {
    EXPECT_TRUE(p.Button(name)->isEnabled()) << name;
  }
  EXPECT_FALSE(p.Button("cmdCancel")->isEnabled());
  EXPECT_TRUE(p.Action("mnuSavePuzzleAs")->isEnabled());
  SetBuildingState(p.ctx());
  EXPECT_FALSE(p.Button("cmdBuild")->isEnabled());
  EXPECT_FALSE(p.Action("mnuBuild")->isEnabled());
  EXPECT_TRUE(p.Button("cmdExit")->isEnabled());
  EXPECT_TRUE(p.Action("mnuNewList")->isEnabled());
  EXPECT_FALSE(p.Action("mnuViewPuzzle")->isEnabled());
  ShowStatistic(p.ctx(), kJunctionsLabel, 0, kJunctionPicture);
  EXPECT_EQ(p.Label("lblMatches")->text(), "0");
}

TEST(MainWindow, EscapePressesCancelOnlyWhileItIsEnabled) {
  RunningProgram p;
  int presses = 0;
  p.form().On("cmdCancel", Event::Click, [&] { ++presses; });
  QApplication::setActiveWindow(p.window());
  QTest::keyClick(p.window(), Qt::Key_Escape);
  EXPECT_EQ(presses, 0);
  p.form().SetEnabled("cmdCancel", true);
  QTest::keyClick(p.window(), Qt::Key_Escape);
  EXPECT_EQ(presses, 1);
}

TEST(MainWindow, TheOptionMarksToggleFromTheMenu) {
  RunningProgram p;
  p.Action("mnuSound")->trigger();
  EXPECT_FALSE(p.Action("mnuSound")->isChecked());
  EXPECT_FALSE(p.form().Checked("mnuSound"));
  EXPECT_TRUE(p.Action("mnuUpperCase")->isChecked());
  p.Action("mnuUpperCase")->trigger();
  p.Action("mnuSound")->trigger();
  EXPECT_TRUE(p.form().Checked("mnuSound"));
  EXPECT_FALSE(p.Action("mnuUpperCase")->isChecked());
}

TEST(MainWindow, ExitAsksFirstAndTheCloseBoxToo) {
  RunningProgram p;
  p.dialogs.ExpectMessage(MessageAnswer::Cancel, "Are you sure you want to exit Kivrel?");
  p.Click("cmdExit");
  EXPECT_TRUE(p.window()->isVisible());

  p.dialogs.ExpectMessage(MessageAnswer::Cancel);
  EXPECT_FALSE(p.window()->close());
  EXPECT_TRUE(p.window()->isVisible());

  p.dialogs.ExpectMessage(MessageAnswer::Ok);
  EXPECT_TRUE(p.window()->close());
  EXPECT_FALSE(p.window()->isVisible());
  EXPECT_EQ(p.dialogs.messages.back().Title, "Exit Kivrel");
}

TEST(MainWindow, TheAboutBoxIsModalAndEnterClosesIt) {
  RunningProgram p;
  QString title, label1, label2;
  bool modal = false, default_ok = false;
  auto look_and_press_enter = [&] {
    QWidget* about = p.app.window("frmAbout");
    ASSERT_TRUE(about);
    ASSERT_TRUE(about->isVisible());
    modal = about->isModal();
    title = about->windowTitle();
    label1 = about->findChild<QLabel*>("Label1")->text();
    label2 = about->findChild<QLabel*>("Label2")->text();
    default_ok = about->findChild<QPushButton*>("cmdOK")->isDefault();
    QTest::keyClick(about, Qt::Key_Return);
  };
  QTimer::singleShot(0, look_and_press_enter);
  QTimer::singleShot(3000, [&] {  // never leave the test waiting on a box that stayed up
    if (QWidget* about = p.app.window("frmAbout"); about && about->isVisible()) about->close();
  });
  p.Action("mnuAbout")->trigger();  // returns when the box is closed
  EXPECT_TRUE(modal);
  EXPECT_EQ(title, "About Kivrel");
  EXPECT_EQ(label1, "Kivrel Puzzle Builder");
  EXPECT_EQ(label2, "Version 1.0");
  EXPECT_TRUE(default_ok);
  EXPECT_FALSE(p.app.window("frmAbout")->isVisible());
  EXPECT_FALSE(p.ctx().forms.Get("frmAbout").Visible());

  // A second time, OK clicked with the mouse.
  QTimer::singleShot(0, [&] { QTest::mouseClick(p.app.window("frmAbout")->findChild<QPushButton*>("cmdOK"), Qt::LeftButton); });
  p.Action("mnuAbout")->trigger();
  EXPECT_FALSE(p.app.window("frmAbout")->isVisible());
}

TEST(MainWindow, OutlinesAndJunctionsAppearOnTheRetainedImage) {
  RunningProgram p;
  MakeSmallPuzzle(p.ctx());
  QApplication::processEvents();
  const double cell = p.ctx().display.CellSize / 15.0;  // pixels
  const double r = (p.ctx().display.WideCharWidth * 0.5 - 30) / 15.0;
  // CAT lies across row 2 from the centre of column 1 to the centre of column 3; the
  // upper line of its outline runs r above the centres. Of the pixel rows around it,
  // the best covered one is the line.
  const int x1 = static_cast<int>(0.5 * cell) + 1, x2 = static_cast<int>(2.5 * cell) - 1;
  const int line_y = static_cast<int>(1.5 * cell - r);
  auto line_cover = [&] {
    int best = 0;
    for (int y = line_y - 1; y <= line_y + 1; ++y) best = std::max(best, p.Count(QRect(x1, y, x2 - x1 + 1, 1), IsBlack));
    return best;
  };
  const int length = x2 - x1 + 1;
  ASSERT_GT(p.Count(p.CellRect(2, 1), IsBlack), 5) << "letters are drawn in black";
  ASSERT_LT(line_cover(), length / 2);
  const QRect empty_rows(0, static_cast<int>(3.2 * cell), p.Picture().width(), static_cast<int>(2.6 * cell));

  p.Click("cmdOutlineWords");
  EXPECT_EQ(p.ctx().state.OutlinesShown, kTrue);
  EXPECT_GE(line_cover(), length - 1) << "a line along the word";
  // The half circle closes the capsule left of C, at the height of the centre.
  EXPECT_GT(p.Count(QRect(static_cast<int>(0.5 * cell - r) - 1, static_cast<int>(1.5 * cell) - 1, 3, 3), IsBlack), 0);
  EXPECT_EQ(p.Count(empty_rows, IsInk), 0) << "no outline where no word lies";

  p.Click("cmdViewMatches");
  EXPECT_GT(p.Count(p.CellRect(2, 2), IsRed), 3) << "the count of words in red";
  EXPECT_GT(p.Count(p.CellRect(2, 2), IsGrey), 3) << "the letter turns grey";
  EXPECT_EQ(p.Count(p.CellRect(2, 3), IsRed), 0);
  EXPECT_EQ(p.ctx().MainForm().MousePointer(), kPointerDefault);

  p.Click("cmdViewMatches");  // junctions off: the plain grid with its outlines
  EXPECT_EQ(p.Count(p.CellRect(2, 2), IsRed), 0);
  EXPECT_GE(line_cover(), length - 1);
  p.Click("cmdOutlineWords");
  EXPECT_LT(line_cover(), length / 2);
  EXPECT_EQ(p.Count(empty_rows, IsInk), 0);
}

TEST(MainWindow, ResizingKeepsThePictureAndMovesTheFrame) {
  RunningProgram p;
  MakeSmallPuzzle(p.ctx());
  const QImage before = p.Picture().copy();
  QWidget* stats = p.Widget("fraStats");
  p.window()->resize(p.window()->width() + 150, p.window()->height() + 60);
  QApplication::processEvents();
  EXPECT_EQ(p.form().Bounds("fraStats").Left, p.form().Geometry().Width - 2220 - 225);
  EXPECT_EQ(stats->geometry().right() + 1, (p.form().Geometry().Width - 225) / 15);
  EXPECT_EQ(p.Widget("picPuzzle")->pos(), QPoint(3, 33));
  EXPECT_EQ(p.Picture(), before);

  p.window()->showMaximized();
  QApplication::processEvents();
  p.window()->showMinimized();
  QApplication::processEvents();
  p.window()->showNormal();
  QApplication::processEvents();
  EXPECT_EQ(p.Picture(), before);
  EXPECT_TRUE(p.Widget("picPuzzle")->isVisible());
}

TEST(MainWindow, AGridOf99By99ShrinksTheFontAndKeepsTheButtonsReachable) {
  RunningProgram p;
  PuzzleState& s = p.ctx().state;
  s.PuzzleWidth = 99;
  s.PuzzleHeight = 99;
  p.ctx().SizePuzzleDisplay();
  QApplication::processEvents();
  EXPECT_LT(p.ctx().display.DisplayFontSize, 12);
  EXPECT_GE(p.ctx().display.DisplayFontSize, 5);
  EXPECT_GT(p.ctx().display.CellSize, 0);
  const QSize picture = p.Picture().size();
  EXPECT_NEAR(picture.width(), 99 * p.ctx().display.CellSize / 15.0, 1);
  EXPECT_EQ(p.Widget("picPuzzle")->size(), picture);
  // The window grew to hold the picture beside the statistics, unless even 5 points
  // does not fit the screen.
  EXPECT_GE(p.window()->width(), 3 + picture.width() + 148);
  EXPECT_TRUE(p.Button("cmdExit")->isVisible());
  EXPECT_TRUE(p.window()->rect().contains(p.Button("cmdExit")->geometry()));
}

}  // namespace
}  // namespace kivrel
