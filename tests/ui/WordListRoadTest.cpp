#include <gtest/gtest.h>

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>

#include "RunningProgram.h"
#include "TempDir.h"
#include "ui/SpinButton.h"
#include "ui/WordListBox.h"

#include <QCheckBox>
#include <QToolButton>

namespace kivrel {
namespace {

using testing::IsBlack;
using testing::IsRed;
using testing::RunningProgram;

struct Road : ::testing::Test {
  RunningProgram p;

  QWidget* ListWindow() { return p.app.window(kWordListForm); }
  QWidget* AttributesWindow() { return p.app.window(kAttributesForm); }
  template <typename T>
  T* In(QWidget* window, const char* name) {
    return window ? window->findChild<T*>(QString::fromLatin1(name)) : nullptr;
  }
  WordListBox* Box() { return In<WordListBox>(ListWindow(), "cboWordList"); }
  void ClickIn(QWidget* window, const char* name) {
    QPushButton* button = In<QPushButton>(window, name);
    ASSERT_TRUE(button) << name;
    ASSERT_TRUE(button->isEnabled()) << name;
    QTest::mouseClick(button, Qt::LeftButton);
  }
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
  // The offscreen platform activates no window by itself; a window manager would.
  static void Activate(QWidget* window) {
    QApplication::setActiveWindow(window);
    QApplication::processEvents();
  }
  // Runs `steps` inside the modal dialog the next command opens.
  void WhileModal(std::function<void()> steps) { QTimer::singleShot(0, std::move(steps)); }
};

TEST_F(Road, FromANewListToHighlightedWords) {
  p.Action("mnuNewList")->trigger();
  ASSERT_TRUE(ListWindow());
  Activate(ListWindow());
  EXPECT_TRUE(ListWindow()->isVisible());
  EXPECT_EQ(ListWindow()->windowTitle(), "Word List");
  EXPECT_EQ(In<QLabel>(ListWindow(), "lblFileName")->text(), "untitled");
  EXPECT_FALSE(p.Action("mnuBuild")->isEnabled());

  for (const char* word : {"lion", "alligator", "zebra", "cat", "okapi"}) {
    TypeEntry(word);
    EXPECT_TRUE(In<QPushButton>(ListWindow(), "cmdAdd")->isDefault());
    QTest::keyClick(Box()->edit(), Qt::Key_Return);  // Enter presses Add
  }
  EXPECT_EQ(Entries(), (QStringList{"LION", "ALLIGATOR", "ZEBRA", "CAT", "OKAPI"}));
  EXPECT_EQ(In<QLabel>(ListWindow(), "lblWordCount")->text(), "5");
  EXPECT_EQ(p.Label("lblWordCount")->text(), "5");
  EXPECT_TRUE(p.Action("mnuBuild")->isEnabled());

  p.dialogs.ExpectMessage(MessageAnswer::Ok, "Duplicate word");
  TypeEntry("Zebra");
  QTest::keyClick(Box()->edit(), Qt::Key_Return);
  EXPECT_EQ(Entries().size(), 5);

  PickEntry(3);  // CAT
  EXPECT_EQ(Box()->edit()->text(), "CAT");
  EXPECT_TRUE(In<QPushButton>(ListWindow(), "cmdReplace")->isDefault());
  TypeEntry("cow");
  ClickIn(ListWindow(), "cmdReplace");
  EXPECT_EQ(Entries()[3], "COW");
  PickEntry(4);  // OKAPI
  ClickIn(ListWindow(), "cmdRemove");
  EXPECT_EQ(Entries(), (QStringList{"LION", "ALLIGATOR", "ZEBRA", "COW"}));
  ClickIn(ListWindow(), "cmdSort");
  EXPECT_EQ(Entries(), (QStringList{"ALLIGATOR", "COW", "LION", "ZEBRA"}));

  // Attributes: too narrow a width is refused with its message, then Default Dimensions.
  p.dialogs.ExpectMessage(MessageAnswer::Ok, "Too narrow - longest word is 9 characters long");
  bool checked = false;
  WhileModal([&] {
    QWidget* dialog = AttributesWindow();
    ASSERT_TRUE(dialog && dialog->isVisible());
    Activate(dialog);
    auto* width = In<QLineEdit>(dialog, "txtPuzWidth");
    width->setFocus();
    width->selectAll();
    QTest::keyClicks(width, "4x");  // the letter is dropped
    EXPECT_EQ(width->text(), "4");
    In<QLineEdit>(dialog, "txtPuzName")->setFocus();  // leaving the box checks it
    EXPECT_EQ(width->text(), "9");
    ClickIn(dialog, "cmdDefaultDimensions");
    EXPECT_EQ(width->text(), "9");
    QTest::keyClicks(In<QLineEdit>(dialog, "txtPuzName"), "Safari");
    ClickIn(dialog, "cmdOK");
    checked = true;
  });
  p.Click("cmdAttributes");
  EXPECT_TRUE(checked);
  EXPECT_FALSE(AttributesWindow()->isVisible());
  EXPECT_EQ(p.window()->windowTitle(), "Kivrel Puzzle Maker - Safari");
  EXPECT_EQ(p.ctx().state.PuzzleWidth, 9);

  p.Click("cmdBuild");
  ASSERT_NE(p.ctx().state.PuzzleBuilt, 0);
  EXPECT_EQ(p.ctx().state.InsertedCount, 4);

  // Show Word paints the word red on the puzzle; Hide All makes it black again.
  PickEntry(2);  // LION: record 3 of the word table
  const WordRecord& lion = p.ctx().state.Words[3];
  ASSERT_EQ(lion.Text, "LION");
  ClickIn(ListWindow(), "cmdShowWord");
  EXPECT_EQ(In<QPushButton>(ListWindow(), "cmdShowWord")->text(), "Hide &Word");
  QRect first = p.CellRect(lion.StartRow, lion.StartCol);
  EXPECT_GT(p.Count(first, IsRed), 3);
  ClickIn(ListWindow(), "cmdHideAll");
  EXPECT_EQ(p.Count(first, IsRed), 0);
  EXPECT_GT(p.Count(first, IsBlack), 3);
  EXPECT_EQ(In<QPushButton>(ListWindow(), "cmdShowWord")->text(), "Show &Word");

  // The close box hides the window and keeps the list; View List brings it back.
  ListWindow()->close();
  EXPECT_FALSE(ListWindow()->isVisible());
  p.Click("cmdViewList");
  EXPECT_TRUE(ListWindow()->isVisible());
  EXPECT_EQ(Entries().size(), 4);
}

TEST_F(Road, AGridTooSmallWaitsInTheAttributesDialog) {
  p.OpenList(KIVREL_EXAMPLES_DIR "/animals.kvl");
  p.ctx().state.PuzzleWidth = 7;  // ANTELOPE has 8 letters
  p.ctx().state.PuzzleHeight = 10;
  p.Click("cmdBuild");
  QWidget* dialog = AttributesWindow();
  ASSERT_TRUE(dialog);
  EXPECT_TRUE(dialog->isVisible());
  Activate(dialog);
  EXPECT_EQ(p.ctx().state.PuzzleBuilt, 0);
  EXPECT_EQ(In<QLineEdit>(dialog, "txtPuzWidth")->text(), "8");  // raised to the longest word

  Activate(p.window());  // the focus moves away: the build runs
  EXPECT_NE(p.ctx().state.PuzzleBuilt, 0);
  EXPECT_EQ(p.ctx().state.PuzzleWidth, 8);
  EXPECT_EQ(p.ctx().state.InsertedCount + p.ctx().state.RejectedCount, 25);
}

TEST_F(Road, TheAttributesDialogLaysOutItsDesign) {
  p.OpenList(KIVREL_EXAMPLES_DIR "/animals.kvl");
  WhileModal([&] {
    QWidget* dialog = AttributesWindow();
    Activate(dialog);
    EXPECT_EQ(dialog->windowTitle(), "Set Puzzle Attributes");
    auto* op = In<QComboBox>(dialog, "cbxStopRemOp");
    ASSERT_EQ(op->count(), 3);
    EXPECT_EQ(op->itemText(2), "less than or equal to");
    EXPECT_FALSE(In<QCheckBox>(dialog, "chkFastBuild")->isEnabled());
    EXPECT_TRUE(In<QCheckBox>(dialog, "chkFastBuild")->isChecked());
    EXPECT_FALSE(In<QWidget>(dialog, "txtMysteryQuote")->isEnabled());
    EXPECT_EQ(In<QLineEdit>(dialog, "txtPuzWidth")->text(), "15");
    auto* spin = In<SpinButton>(dialog, "spnPuzWidth");
    spin->downArrow()->click();
    EXPECT_EQ(In<QLineEdit>(dialog, "txtPuzWidth")->text(), "14");
    QTest::keyClick(dialog, Qt::Key_Escape);  // Cancel
  });
  p.Click("cmdAttributes");
  EXPECT_FALSE(AttributesWindow()->isVisible());
  EXPECT_EQ(p.ctx().state.PuzzleWidth, 15);  // nothing committed
}

TEST_F(Road, TheFileMenuFromEndToEnd) {
  testing::TempDir dir;
  const std::string puzzle = dir.File("safari.kvp");
  const std::string list = dir.File("safari.kvl");
  std::string animals = RunningProgram::ReadBytes(KIVREL_EXAMPLES_DIR "/animals.kvl");

  p.dialogs.ExpectFile(dir.Write("animals.txt", animals));
  p.Action("mnuOpenList")->trigger();
  ASSERT_EQ(p.dialogs.files.size(), 1u);
  EXPECT_EQ(p.dialogs.files[0].DialogTitle, "Open Word List");
  EXPECT_EQ(p.dialogs.files[0].FilterIndex, 2);
  EXPECT_TRUE(ListWindow() && ListWindow()->isVisible());
  EXPECT_EQ(p.ctx().state.WordCount, 25);
  EXPECT_TRUE(p.Action("mnuSaveListAs")->isEnabled());

  p.Click("cmdBuild");
  ASSERT_NE(p.ctx().state.PuzzleBuilt, 0);
  const LetterGrid built = p.ctx().state.Grid;
  p.dialogs.ExpectFile(puzzle);
  p.Click("cmdSavePuzzle");  // no name yet: Save Puzzle As asks for one
  EXPECT_EQ(p.dialogs.files.back().DialogTitle, "Save Puzzle As");
  EXPECT_EQ(p.dialogs.files.back().FileName, dir.File("animals.kvp"));  // named after the list
  ASSERT_TRUE(std::filesystem::exists(puzzle));

  p.dialogs.ExpectFile(list);
  p.Action("mnuSaveListAs")->trigger();
  EXPECT_EQ(p.dialogs.files.back().DialogTitle, "Save Word List As");
  EXPECT_TRUE(std::filesystem::exists(list));

  // A changed list is offered for saving before another puzzle replaces it.
  TypeEntry("tapir");
  QTest::keyClick(Box()->edit(), Qt::Key_Return);
  p.dialogs.ExpectMessage(MessageAnswer::No, "Do you want to save the current list?");
  p.dialogs.ExpectFile(puzzle);
  p.Action("mnuOpenPuzzle")->trigger();
  EXPECT_EQ(p.dialogs.files.back().DialogTitle, "Open Puzzle");
  EXPECT_EQ(p.ctx().state.Grid, built);
  EXPECT_EQ(p.ctx().state.WordCount, 25);
  EXPECT_TRUE(p.Action("mnuFillinBlanks")->isEnabled());
  EXPECT_EQ(p.Label("lblInsertedCount")->text(), "25");

  // Exit: a changed list is offered for saving; Cancel there keeps the program running.
  p.ctx().state.WordListChanged = kTrue;
  p.dialogs.ExpectMessage(MessageAnswer::Cancel, "Do you want to save the current list?");
  p.Click("cmdExit");
  QApplication::processEvents();
  EXPECT_TRUE(p.window()->isVisible());
}

}  // namespace
}  // namespace kivrel
