#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>
#include <QTimer>
#include <QToolButton>

#include "RunningProgram.h"
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

TEST_F(Road, FromANewListToHighlightedWords) {
  p.Action("mnuNewList")->trigger();
  ASSERT_TRUE(ListWindow() && ListWindow()->isVisible());
  p.Activate(ListWindow());
  EXPECT_FALSE(p.Action("mnuBuild")->isEnabled());

  for (const char* word : {"lion", "alligator", "zebra", "cat", "okapi"}) {
    TypeEntry(word);
    EXPECT_TRUE(p.In<QPushButton>(ListWindow(), "cmdAdd")->isDefault());
    QTest::keyClick(Box()->edit(), Qt::Key_Return);  // Enter presses Add
  }
  EXPECT_EQ(Entries(), (QStringList{"LION", "ALLIGATOR", "ZEBRA", "CAT", "OKAPI"}));
  EXPECT_EQ(p.In<QLabel>(ListWindow(), "lblWordCount")->text(), "5");
  EXPECT_TRUE(p.Action("mnuBuild")->isEnabled());

  PickEntry(3);  // CAT
  EXPECT_EQ(Box()->edit()->text(), "CAT");
  EXPECT_TRUE(p.In<QPushButton>(ListWindow(), "cmdReplace")->isDefault());
  TypeEntry("cow");
  p.ClickIn(ListWindow(), "cmdReplace");
  EXPECT_EQ(Entries()[3], "COW");
  PickEntry(4);  // OKAPI
  p.ClickIn(ListWindow(), "cmdRemove");
  EXPECT_EQ(Entries(), (QStringList{"LION", "ALLIGATOR", "ZEBRA", "COW"}));
  p.ClickIn(ListWindow(), "cmdSort");
  EXPECT_EQ(Entries(), (QStringList{"ALLIGATOR", "COW", "LION", "ZEBRA"}));

  // Attributes: too narrow a width is refused with its message; the spin button and
  // Default Dimensions change it.
  p.dialogs.ExpectMessage(MessageAnswer::Ok, "Too narrow - longest word is 9 characters long");
  bool checked = false;
  WhileModal([&] {
    QWidget* dialog = AttributesWindow();
    ASSERT_TRUE(dialog && dialog->isVisible());
    p.Activate(dialog);
    auto* width = p.In<QLineEdit>(dialog, "txtPuzWidth");
    width->setFocus();
    width->selectAll();
    QTest::keyClicks(width, "4x");  // the letter is dropped
    EXPECT_EQ(width->text(), "4");
    p.In<QLineEdit>(dialog, "txtPuzName")->setFocus();  // leaving the box checks it
    EXPECT_EQ(width->text(), "9");
    p.In<SpinButton>(dialog, "spnPuzWidth")->upArrow()->click();
    EXPECT_EQ(width->text(), "10");
    p.ClickIn(dialog, "cmdDefaultDimensions");
    EXPECT_EQ(width->text(), "9");
    QTest::keyClicks(p.In<QLineEdit>(dialog, "txtPuzName"), "Safari");
    p.ClickIn(dialog, "cmdOK");
    checked = true;
  });
  p.Click("cmdAttributes");
  EXPECT_TRUE(checked);
  EXPECT_FALSE(AttributesWindow()->isVisible());
  EXPECT_EQ(p.ctx().state.PuzzleTitle + "/" + std::to_string(p.ctx().state.PuzzleWidth), "Safari/9");

  p.Click("cmdBuild");
  ASSERT_NE(p.ctx().state.PuzzleBuilt, 0);
  EXPECT_EQ(p.ctx().state.InsertedCount, 4);

  // Show Word paints the word red on the puzzle; Hide All makes it black again.
  PickEntry(2);  // LION: record 3 of the word table
  const WordRecord& lion = p.ctx().state.Words[3];
  ASSERT_EQ(lion.Text, "LION");
  p.ClickIn(ListWindow(), "cmdShowWord");
  QRect first = p.CellRect(lion.StartRow, lion.StartCol);
  EXPECT_GT(p.Count(first, IsRed), 3);
  p.ClickIn(ListWindow(), "cmdHideAll");
  EXPECT_EQ(p.Count(first, IsRed), 0);
  EXPECT_GT(p.Count(first, IsBlack), 3);

  // The close box hides the window and keeps the list; View List brings it back.
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

}  // namespace
}  // namespace kivrel
