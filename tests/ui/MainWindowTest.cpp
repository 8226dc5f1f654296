#include <gtest/gtest.h>

#include <QGroupBox>
#include <QMenu>
#include <QTimer>
#include <map>

#include "RunningProgram.h"
#include "files/ThemeLists.h"
#include "controls/Windows.h"
#include "ui/FormBinder.h"

namespace kivrel {
namespace {

using testing::RunningProgram;

// The text of a caption without its access key mark.
QString Plain(QString caption) { return caption.remove('&'); }

TEST(MainWindow, OpensWithItsDesign) {
  RunningProgram p;
  QMainWindow* w = p.window();
  ASSERT_TRUE(w && w->isVisible());

  // The command buttons stand side by side, none clipped.
  int right = 0;
  for (const char* name : {"cmdAttributes", "cmdBuild", "cmdFillinBlanks", "cmdOutlineWords", "cmdViewMatches",
                           "cmdPrint", "cmdViewList", "cmdSavePuzzle", "cmdCancel", "cmdExit"}) {
    QPushButton* b = p.Button(name);
    ASSERT_TRUE(b) << name;
    EXPECT_EQ(b->y(), 0);
    EXPECT_EQ(b->x(), right) << name;
    right = b->geometry().right() + 1;
    // The caption must not be clipped in the Linux face.
    EXPECT_LT(b->fontMetrics().horizontalAdvance(Plain(b->text())) + 6, b->width()) << name;
  }

  // The statistics captions in their frame, none clipped.
  auto* stats = p.Widget<QGroupBox>("fraStats");
  ASSERT_TRUE(stats);
  const QList<QLabel*> labels = stats->findChildren<QLabel*>();
  EXPECT_GT(labels.size(), 20);
  for (QLabel* label : labels) {
    EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width())
        << label->objectName().toStdString();
  }

  // The picture: 15 x 15 cells, and the frame 225 twips from the edge.
  QWidget* picture = p.Widget("picPuzzle");
  ASSERT_TRUE(picture && picture->isVisible());
  EXPECT_EQ(picture->size(), p.Picture().size());
  EXPECT_NEAR(picture->width(), 15 * p.ctx().display.CellSize / 15.0, 1);
  EXPECT_EQ(stats->x(), (p.form().Geometry().Width - 2220 - 225) / 15);
}

TEST(MainWindow, FileOpenExampleListOffersTheThemedListsByTitleAndOpensTheOneChosen) {
  RunningProgram p;
  auto* examples = p.Widget<QAction>("mnuOpenExampleList");
  ASSERT_TRUE(examples && examples->menu() && examples->isEnabled());
  QStringList offered;
  QAction* sea = nullptr;
  for (QAction* item : examples->menu()->actions()) {
    offered << item->text();
    if (item->text() == "Under the Sea") sea = item;
  }
  QStringList titles;
  for (const ThemeList& list : TitledThemeLists(ThemeFolder())) titles << QString::fromStdString(list.Title);
  EXPECT_EQ(offered, titles);
  ASSERT_TRUE(sea);
  sea->trigger();
  EXPECT_EQ(p.ctx().state.PuzzleTitle, "Under the Sea");
}

// The close box asks as Exit does (which the forms test), and a Cancel keeps the window.
TEST(MainWindow, TheCloseBoxAsksAndCancelKeepsTheWindow) {
  RunningProgram p;
  p.ctx().state.WordListChanged = kTrue;
  p.dialogs.ExpectMessage(MessageAnswer::No, "Do you want to save the current list?")
      .ExpectMessage(MessageAnswer::Cancel, "Are you sure you want to exit Kivrel?");
  EXPECT_FALSE(p.window()->close());
  EXPECT_TRUE(p.window()->isVisible());
  EXPECT_TRUE(p.dialogs.Done());
}

// The about box is modal, and Enter closes it.
TEST(MainWindow, TheAboutBoxIsModalAndEnterClosesIt) {
  RunningProgram p;
  bool looked = false;
  QTimer::singleShot(0, [&] {
    QWidget* about = p.Window(frmAbout::kWindow);
    ASSERT_TRUE(about && about->isVisible() && about->isModal());
    looked = true;
    QTest::keyClick(about, Qt::Key_Return);
  });
  QTimer::singleShot(3000, p.window(), [&] {  // never leave the test waiting on a box that stayed up
    if (QWidget* about = p.Window(frmAbout::kWindow); about && about->isVisible()) about->close();
  });
  p.Action("mnuAbout")->trigger();  // returns when the box is closed
  EXPECT_TRUE(looked);
  EXPECT_FALSE(p.Window(frmAbout::kWindow)->isVisible());
}

// The windows' widgets and their forms' declarations name the same controls: what the
// core sets on a control reaches a widget, and no widget waits for a control that the
// core cannot name.
TEST(DeclaredControls, EachWindowCarriesExactlyTheControlsItDeclares) {
  testing::RunningProgram program;
  for (const Window* declared : kWindows) {
    program.ctx().forms.Get(*declared).Load();
    QWidget* window = program.Window(*declared);
    ASSERT_NE(window, nullptr) << declared->Name();
    EXPECT_EQ(window->objectName().toStdString(), declared->Name());
    std::map<std::string, int> carried;
    for (QObject* object : FormBinder::NamedObjects(window)) ++carried[object->objectName().toStdString()];
    for (int i = 0; i < declared->Size(); ++i) {
      const std::string name(declared->At(i).Name());
      EXPECT_EQ(carried[name], 1) << declared->Name() << " has " << carried[name] << " widgets for " << name;
      carried.erase(name);
    }
    for (const auto& [name, count] : carried) {
      ADD_FAILURE() << declared->Name() << " has the widget " << name << ", which is none of its controls";
    }
  }
}

}  // namespace
}  // namespace kivrel
