// The word list window's own widgets: the marks of the words a build left out, the
// word just added kept in view, and a long path shortened so its file name shows.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>

#include "RunningProgram.h"
#include "TempDir.h"
#include "ui/PathLabel.h"
#include "ui/WordListBox.h"

namespace kivrel {
namespace {

TEST(WordListRoad, MarksOfTheWordsLeftOutTheLastWordInViewAndTheFileName) {
  testing::RunningProgram p;
  // Four words of three letters in a 3 x 3 grid, across and down only: one is left out.
  testing::TempDir dir;
  p.OpenList(dir.Write("tight.kvl", "1\tTight\t3\t3\t0\t1\tFind them.\r\nABC\r\nDEF\r\nGHI\r\nJKL\r\n"));
  p.Click("cmdBuild");
  QApplication::processEvents();
  ASSERT_EQ(p.ctx().state.RejectedCount, 1);
  std::string left_out;
  for (const WordRecord& word : p.ctx().state.Words) {
    if (word.Length > 0 && word.Status == kStatusRejected) left_out = word.DisplayText;
  }
  EXPECT_EQ(p.Label("lblRejectedCount")->toolTip().toStdString(), "Not placed: " + left_out);
  p.Action("mnuViewList")->trigger();
  QWidget* window = p.Window(frmWordList::kWindow);
  auto* box = p.In<WordListBox>(window, "cboWordList");
  QListWidget* list = box->list();
  const QColor normal = list->palette().color(QPalette::Text);
  for (int row = 0; row < list->count(); ++row) {
    const bool marked = list->item(row)->text().toStdString() == left_out;
    EXPECT_EQ(list->item(row)->foreground().color() != normal, marked) << row;
    EXPECT_EQ(list->item(row)->font().italic(), marked) << row;
  }
  // A new build with room for every word takes the marks away.
  p.ctx().state.PuzzleWidth = p.ctx().state.PuzzleHeight = 6;
  p.Click("cmdBuild");
  QApplication::processEvents();
  ASSERT_EQ(p.ctx().state.RejectedCount, 0);
  EXPECT_TRUE(p.Label("lblRejectedCount")->toolTip().isEmpty());
  for (int row = 0; row < list->count(); ++row) EXPECT_FALSE(list->item(row)->font().italic()) << row;

  // Words typed into a new list, each with Enter: the last stays in view.
  p.Action("mnuNewList")->trigger();
  p.Activate(window);
  for (int i = 0; i < 60; ++i) {
    box->edit()->setFocus();
    box->edit()->selectAll();
    QTest::keyClicks(box->edit(), QString("word%1").arg(i));
    QTest::keyClick(box->edit(), Qt::Key_Return);
  }
  ASSERT_EQ(list->count(), 60);
  EXPECT_TRUE(list->viewport()->rect().contains(list->visualItemRect(list->item(59)))) << "WORD59 is out of view";

  p.ctx().WordListForm().SetText(frmWordList::lblFileName, "/home/teacher/" + std::string(200, 'x') + "/animals.kvl");
  const QString shown = p.In<PathLabel>(window, "lblFileName")->ShownText();
  EXPECT_TRUE(shown.startsWith("/home/") && shown.endsWith("/animals.kvl")) << shown.toStdString();
}

}  // namespace
}  // namespace kivrel
