// The main window as it opens, its menu of example lists and its about box, and every
// window's widgets against the controls its form declares.
#include <gtest/gtest.h>

#include <QGroupBox>
#include <QMenu>
#include <QTimer>
#include <map>

#include "RunningProgram.h"
#include "controls/Windows.h"
#include "files/ThemeLists.h"
#include "ui/FormBinder.h"

namespace kivrel {
namespace {

TEST(MainWindow, OpensWithItsDesignOffersTheExampleListsAndAModalAboutBox) {
  testing::RunningProgram p;
  ASSERT_TRUE(p.window()->isVisible());
  // The command buttons side by side; no caption clipped in the Linux face.
  int right = 0;
  for (const char* name : {"cmdAttributes", "cmdBuild", "cmdFillinBlanks", "cmdOutlineWords", "cmdViewMatches",
                           "cmdPrint", "cmdViewList", "cmdSavePuzzle", "cmdCancel", "cmdExit"}) {
    QPushButton* b = p.Button(name);
    EXPECT_EQ(b->pos(), QPoint(right, 0)) << name;
    right = b->geometry().right() + 1;
    EXPECT_LT(b->fontMetrics().horizontalAdvance(b->text().remove('&')) + 6, b->width()) << name;
  }
  auto* stats = p.Widget<QGroupBox>("fraStats");
  const QList<QLabel*> labels = stats->findChildren<QLabel*>();
  EXPECT_GT(labels.size(), 20);
  for (QLabel* label : labels) {
    EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width())
        << label->objectName().toStdString();
  }
  // The picture: 15 x 15 cells, and the statistics frame 225 twips from the edge.
  QWidget* picture = p.Widget("picPuzzle");
  EXPECT_TRUE(picture->isVisible());
  EXPECT_EQ(picture->size(), p.Picture().size());
  EXPECT_NEAR(picture->width(), 15 * p.ctx().display.CellSize / 15.0, 1);
  EXPECT_EQ(stats->x(), (p.form().Geometry().Width - 2220 - 225) / 15);

  // File > Open Example List offers the themed lists by title and opens the one chosen.
  QMenu* examples = p.Action("mnuOpenExampleList")->menu();
  QStringList offered, titles;
  for (QAction* item : examples->actions()) offered << item->text();
  for (const ThemeList& list : TitledThemeLists(ThemeFolder())) titles << QString::fromStdString(list.Title);
  EXPECT_EQ(offered, titles);
  ASSERT_TRUE(offered.contains("Under the Sea"));
  examples->actions()[offered.indexOf("Under the Sea")]->trigger();
  EXPECT_EQ(p.ctx().state.PuzzleTitle, "Under the Sea");

  // The about box is modal, and Enter closes it.
  bool modal = false;
  QTimer::singleShot(0, [&] {
    QWidget* about = p.Window(frmAbout::kWindow);
    modal = about->isVisible() && about->isModal();
    QTest::keyClick(about, Qt::Key_Return);
  });
  p.Action("mnuAbout")->trigger();  // returns when the box is closed
  EXPECT_TRUE(modal);
  EXPECT_FALSE(p.Window(frmAbout::kWindow)->isVisible());
}

// What the core sets on a control reaches exactly one widget, and no widget waits for a
// control the core cannot name.
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
    for (const auto& [name, count] : carried) ADD_FAILURE() << declared->Name() << " has the stray widget " << name;
  }
}

}  // namespace
}  // namespace kivrel
