#include <gtest/gtest.h>

#include <QGroupBox>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

#include "RunningProgram.h"

namespace kivrel {
namespace {

using testing::RunningProgram;

// The text of a caption without its access key mark.
QString Plain(QString caption) { return caption.remove('&'); }

TEST(MainWindow, OpensWithItsDesign) {
  RunningProgram p;
  QMainWindow* w = p.window();
  ASSERT_TRUE(w && w->isVisible());
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

  // Statistics: the caption labels in the frame, none clipped.
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

  // The picture: 15 x 15 cells, and the frame 225 twips from the edge.
  QWidget* picture = p.Widget("picPuzzle");
  ASSERT_TRUE(picture && picture->isVisible());
  EXPECT_EQ(picture->size(), p.Picture().size());
  EXPECT_NEAR(picture->width(), 15 * p.ctx().display.CellSize / 15.0, 1);
  EXPECT_EQ(picture->pos(), QPoint(3, 33));
  EXPECT_EQ(stats->x(), (p.form().Geometry().Width - 2220 - 225) / 15);
}

TEST(MainWindow, ExitOffersToSaveAChangedListThenAsksAndTheCloseBoxAsksToo) {
  RunningProgram p;
  p.ctx().state.WordListChanged = kTrue;
  p.dialogs.ExpectMessage(MessageAnswer::Cancel, "Do you want to save the current list?");
  p.Click("cmdExit");
  EXPECT_TRUE(p.window()->isVisible());
  p.dialogs.ExpectMessage(MessageAnswer::No, "Do you want to save the current list?")
      .ExpectMessage(MessageAnswer::Cancel, "Are you sure you want to exit Kivrel?");
  p.Click("cmdExit");
  EXPECT_TRUE(p.window()->isVisible());

  p.dialogs.ExpectMessage(MessageAnswer::Cancel, "Are you sure you want to exit Kivrel?");
  EXPECT_FALSE(p.window()->close());
  EXPECT_TRUE(p.window()->isVisible());
  p.dialogs.ExpectMessage(MessageAnswer::Ok);
  EXPECT_TRUE(p.window()->close());
  EXPECT_FALSE(p.window()->isVisible());
}

TEST(MainWindow, TheAboutBoxIsModalAndEnterClosesIt) {
  RunningProgram p;
  bool looked = false;
  QTimer::singleShot(0, [&] {
    QWidget* about = p.Window(kAboutForm);
    ASSERT_TRUE(about && about->isVisible() && about->isModal());
    EXPECT_EQ(about->windowTitle(), "About Kivrel");
    EXPECT_EQ(p.In<QLabel>(about, "Label1")->text(), "Kivrel Puzzle Builder");
    EXPECT_EQ(p.In<QLabel>(about, "Label2")->text(), "Version 1.0");
    EXPECT_TRUE(p.In<QPushButton>(about, "cmdOK")->isDefault());
    looked = true;
    QTest::keyClick(about, Qt::Key_Return);
  });
  QTimer::singleShot(3000, p.window(), [&] {  // never leave the test waiting on a box that stayed up
    if (QWidget* about = p.Window(kAboutForm); about && about->isVisible()) about->close();
  });
  p.Action("mnuAbout")->trigger();  // returns when the box is closed
  EXPECT_TRUE(looked);
  EXPECT_FALSE(p.Window(kAboutForm)->isVisible());

  // A second time, OK clicked with the mouse.
  QTimer::singleShot(0, [&] { p.ClickIn(p.Window(kAboutForm), "cmdOK"); });
  p.Action("mnuAbout")->trigger();
  EXPECT_FALSE(p.Window(kAboutForm)->isVisible());
}

}  // namespace
}  // namespace kivrel
