#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>
#include <QTimer>
#include <QToolButton>

#include "RunningProgram.h"
#include "TempDir.h"
#include "ui/PathLabel.h"
#include "ui/SpinButton.h"
#include "ui/WordListBox.h"

namespace kivrel {
namespace {

using testing::IsBlack;
using testing::IsRed;
using testing::RunningProgram;

struct Road : ::testing::Test {
  RunningProgram p;

  QWidget* ListWindow() { return p.Window(frmWordList::kWindow); }
  QWidget* AttributesWindow() { return p.Window(frmAttributes::kWindow); }
  WordListBox* Box() { return p.In<WordListBox>(ListWindow(), "cboWordList"); }
  void TypeEntry(const char* text) {
    QLineEdit* edit = Box()->edit();
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
  }
  void PickEntry(int row) {
    QListWidget* list = Box()->list();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
  }
  QStringList Entries() {
    QStringList entries;
    for (int i = 0; i < Box()->list()->count(); ++i) entries << Box()->list()->item(i)->text();
    return entries;
  }
  // Runs `steps` inside the modal dialog the next command opens.
  void WhileModal(std::function<void()> steps) { QTimer::singleShot(0, std::move(steps)); }
};

// Enter presses Add, the mouse picks an entry, Show Word paints the word red on the
// puzzle and Hide All black again; the close box hides the window, keeping the list.
TEST_F(Road, FromANewListToHighlightedWords) {
  p.Action("mnuNewList")->trigger();
  ASSERT_TRUE(ListWindow() && ListWindow()->isVisible());
  p.Activate(ListWindow());
  for (const char* word : {"lion", "zebra", "cat", "okapi"}) {
    TypeEntry(word);
    QTest::keyClick(Box()->edit(), Qt::Key_Return);
  }
  EXPECT_EQ(Entries(), (QStringList{"LION", "ZEBRA", "CAT", "OKAPI"}));
  PickEntry(2);
  EXPECT_EQ(Box()->edit()->text(), "CAT");

  p.ctx().state.PuzzleWidth = p.ctx().state.PuzzleHeight = 8;
  p.Click("cmdBuild");
  ASSERT_EQ(p.ctx().state.InsertedCount, 4);
  PickEntry(0);  // LION: record 1 of the word table
  const WordRecord& lion = p.ctx().state.Words[1];
  ASSERT_EQ(lion.Text, "LION");
  p.ClickIn(ListWindow(), "cmdShowWord");
  const QRect first = p.CellRect(lion.StartRow, lion.StartCol);
  EXPECT_GT(p.Count(first, IsRed), 3);
  p.ClickIn(ListWindow(), "cmdHideAll");
  EXPECT_EQ(p.Count(first, IsRed), 0);
  EXPECT_GT(p.Count(first, IsBlack), 3);

  ListWindow()->close();
  EXPECT_FALSE(ListWindow()->isVisible());
  p.Click("cmdViewList");
  EXPECT_TRUE(ListWindow()->isVisible());
  EXPECT_EQ(Entries().size(), 4);
}

TEST_F(Road, EscapeCancelsTheAttributesDialog) {
  p.OpenList(KIVREL_EXAMPLES_DIR "/animals.kvl");
  WhileModal([&] {
    QWidget* dialog = AttributesWindow();
    p.Activate(dialog);
    p.In<SpinButton>(dialog, "spnPuzWidth")->downArrow()->click();
    EXPECT_EQ(p.In<QLineEdit>(dialog, "txtPuzWidth")->text(), "14");
    QTest::keyClick(dialog, Qt::Key_Escape);
  });
  p.Click("cmdAttributes");
  EXPECT_FALSE(AttributesWindow()->isVisible());
  EXPECT_EQ(p.ctx().state.PuzzleWidth, 15);  // nothing committed
}

// A long list keeps the word just added in view, and a long path its file name.
TEST_F(Road, TheLastWordAddedAndTheFileNameStayInView) {
  p.Action("mnuNewList")->trigger();
  p.Activate(ListWindow());
  for (int i = 0; i < 60; ++i) {
    TypeEntry(("word" + std::to_string(i)).c_str());
    QTest::keyClick(Box()->edit(), Qt::Key_Return);
  }
  QListWidget* list = Box()->list();
  ASSERT_EQ(list->count(), 60);
  EXPECT_TRUE(list->viewport()->rect().contains(list->visualItemRect(list->item(59)))) << "WORD59 is out of view";

  const std::string path = "/home/teacher/" + std::string(200, 'x') + "/animals.kvl";
  p.ctx().WordListForm().SetText(frmWordList::lblFileName, path);
  auto* label = p.In<PathLabel>(ListWindow(), "lblFileName");
  EXPECT_TRUE(label->ShownText().endsWith(QStringLiteral("/animals.kvl"))) << label->ShownText().toStdString();
  EXPECT_TRUE(label->ShownText().startsWith(QStringLiteral("/home/")));
}

TEST_F(Road, TheWordListMarksAndTheRejectedCountNamesTheWordLeftOut) {
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
  WordListBox* box = Box();
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
