#include <gtest/gtest.h>

#include <QDialog>
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

}  // namespace
}  // namespace kivrel
