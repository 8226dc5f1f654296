#include <gtest/gtest.h>

#include <QListWidget>

#include "RunningProgram.h"
#include "TempDir.h"
#include "ui/WordListBox.h"

namespace kivrel {
namespace {

using testing::RunningProgram;

TEST(LeftOutOnScreen, TheWordListMarksAndTheRejectedCountNamesTheWordLeftOut) {
  // Four words of three letters in a 3 x 3 grid, across and down only: one is left out.
  testing::TempDir dir;
  RunningProgram p;
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
  auto* box = p.In<WordListBox>(p.Window(frmWordList::kWindow), "cboWordList");
  ASSERT_TRUE(box);
  const QColor normal = box->list()->palette().color(QPalette::Text);
  for (int row = 0; row < box->list()->count(); ++row) {
    QListWidgetItem* item = box->list()->item(row);
    const bool marked = item->text().toStdString() == left_out;
    EXPECT_EQ(item->foreground().color() != normal, marked) << item->text().toStdString();
    EXPECT_EQ(item->font().italic(), marked) << item->text().toStdString();
  }

  // A new build with room for every word takes the marks away.
  p.ctx().state.PuzzleWidth = p.ctx().state.PuzzleHeight = 6;
  p.Click("cmdBuild");
  QApplication::processEvents();
  ASSERT_EQ(p.ctx().state.RejectedCount, 0);
  EXPECT_TRUE(p.Label("lblRejectedCount")->toolTip().isEmpty());
  for (int row = 0; row < box->list()->count(); ++row) EXPECT_FALSE(box->list()->item(row)->font().italic());
}

}  // namespace
}  // namespace kivrel
