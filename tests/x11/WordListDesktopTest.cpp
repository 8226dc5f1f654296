// The word list window on a real X server: what the user picks, types and answers reaches
// the list through real keys and clicks, with the window manager moving the focus.
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QPushButton>
#include <gtest/gtest.h>

#include "RealDialogs.h"

namespace kivrel::testing {
namespace {

QLineEdit* EditOf(QWidget* window) {
  return RunningProgram::In<QWidget>(window, "cboWordList")->findChild<QLineEdit*>();
}
QListWidget* ListOf(QWidget* window) {
  return RunningProgram::In<QWidget>(window, "cboWordList")->findChild<QListWidget*>();
}

TEST(WordListDesktop, AWordTypedAfterOpeningAnotherListGoesIntoThatList) {
  TempDir dir;
  const std::string a = dir.Write("a.kvl", "LION\r\nPUMA\r\nOTTER\r\n");
  const std::string b = dir.Write("b.kvl", "ANT\r\nBEE\r\nWASP\r\n");
  RunningProgram program;
  ASSERT_TRUE(Ready(program.window()));
  program.dialogs.ExpectFile(a);
  program.form().Raise(frmKV_Puzzle::mnuOpenList, Event::Click);
  QWidget* window = program.Window(frmWordList::kWindow);
  ASSERT_TRUE(Ready(window));
  QListWidget* list = ListOf(window);
  QLineEdit* edit = EditOf(window);

  XInput input;
  input.Click(list->viewport(), list->visualItemRect(list->item(1)).center());
  ASSERT_TRUE(WaitFor([&] { return edit->text() == "PUMA"; })) << "the click picks PUMA";

  program.dialogs.ExpectFile(b);
  program.form().Raise(frmKV_Puzzle::mnuOpenList, Event::Click);
  ASSERT_TRUE(Ready(window));
  EXPECT_EQ(edit->text(), "");
  EXPECT_TRUE(list->selectedItems().isEmpty());
  input.Click(edit);
  input.Type("eels");
  input.Key(XK_Return);
  input.Click(RunningProgram::In<QPushButton>(window, "cmdSave"));
  Settle();
  EXPECT_EQ(EntriesIn(b), (std::vector<std::string>{"ANT", "BEE", "WASP", "EELS"}));
  EXPECT_EQ(EntriesIn(a), (std::vector<std::string>{"LION", "PUMA", "OTTER"}));
}

TEST(WordListDesktop, FocusComingBackToTheEntryBoxPicksNothing) {
  TempDir dir;
  RunningProgram program;
  ASSERT_TRUE(Ready(program.window()));
  program.OpenList(dir.Write("a.kvl", "LION\r\nPUMA\r\nOTTER\r\n"));
  program.form().Raise(frmKV_Puzzle::mnuViewList, Event::Click);
  QWidget* window = program.Window(frmWordList::kWindow);
  ASSERT_TRUE(Ready(window));
  QLineEdit* edit = EditOf(window);
  QListWidget* list = ListOf(window);

  XInput input;
  input.Click(edit);
  input.Type("heron");
  input.Key(XK_Tab);  // into the list of entries
  ASSERT_EQ(QApplication::focusWidget(), list);
  input.Key(XK_Tab, {XK_Shift_L});
  ASSERT_EQ(QApplication::focusWidget(), edit);
  EXPECT_EQ(edit->text(), "heron");

  // Another window activated, then this one again by a click in its edit field.
  input.Click(program.window(), QPoint(program.window()->width() / 2, program.window()->height() - 20));
  ASSERT_TRUE(WaitActive(program.window()));
  input.Click(edit);
  ASSERT_TRUE(Ready(window));
  EXPECT_EQ(edit->text(), "heron");
  EXPECT_EQ(program.ctx().list.ListIndex(), -1);

  input.Key(XK_Return);
  EXPECT_EQ(program.ctx().list.Entries(), (std::vector<std::string>{"LION", "PUMA", "OTTER", "HERON"}));

  // The arrow keys in the list are the user's own pick.
  input.Key(XK_Tab);
  input.Key(XK_Down);
  EXPECT_EQ(program.ctx().list.ListIndex(), 0);
  EXPECT_EQ(edit->text(), "LION");
}

TEST(WordListDesktop, AfterAMessageBoxTheKeysGoBackToTheEntryBox) {
  TempDir dir;
  RealProgram program;
  program.ShowList(dir.Write("a.kvl", "LION\r\nPUMA\r\n"));
  QWidget* window = program.WordListWindow();
  ASSERT_TRUE(Ready(window));
  QLineEdit* edit = EditOf(window);

  XInput input;
  input.Click(edit);
  input.Type("puma");
  BoxAnswers boxes(input);
  boxes.Then(XK_Return);
  input.Key(XK_Return);  // Add: the word is there already
  ASSERT_TRUE(WaitFor([&] { return boxes.Done() && !QApplication::activeModalWidget(); }))
      << "no box came up, or it stayed";

  ASSERT_TRUE(WaitActive(window)) << "the focus went back to another window";
  EXPECT_EQ(QApplication::focusWidget(), edit);
  input.Type("s");
  EXPECT_EQ(edit->text(), "PUMAs");
  input.Key(XK_Escape);  // Close
  EXPECT_TRUE(WaitFor([&] { return !window->isVisible(); }));
}

TEST(WordListDesktop, TheCloseBoxOffersToSaveAChangedList) {
  RealProgram program;
  program.ctx().list.SetEditText("CAT");
  program.ctx().WordListForm().Raise(frmWordList::cmdAdd, Event::Click);
  ASSERT_NE(program.ctx().state.WordListChanged, 0);
  QMainWindow* main = program.app.mainWindow();
  ASSERT_TRUE(Ready(main));

  XInput input;
  BoxAnswers boxes(input);
  boxes.Then(XK_Escape);         // Cancel: nothing closes
  input.Key(XK_F4, {XK_Alt_L});  // the window manager's close
  ASSERT_TRUE(WaitFor([&] { return boxes.Done() && !QApplication::activeModalWidget(); }));
  EXPECT_EQ(boxes.seen, std::vector<std::string>{"Do you want to save the current list?"});
  EXPECT_TRUE(main->isVisible());

  ASSERT_TRUE(Ready(main));
  boxes.Then(XK_n, true).Then(XK_Return);  // No, then OK to the exit question
  input.Key(XK_F4, {XK_Alt_L});
  ASSERT_TRUE(WaitFor([&] { return boxes.Done() && !main->isVisible(); }));
  EXPECT_EQ(boxes.seen,
            (std::vector<std::string>{"Do you want to save the current list?", "Do you want to save the current list?",
                                      "Are you sure you want to exit Kivrel?"}));
}

TEST(WordListDesktop, AfterTheFontDialogTheKeysGoBackToThePrintOptions) {
  TempDir dir;
  RealProgram program;
  program.ShowList(dir.Write("a.kvl", "1\tZoo\t8\t8\t0\t1\t\r\nLION\r\nPUMA\r\n"));
  program.ctx().MainForm().Raise(frmKV_Puzzle::mnuBuild, Event::Click);
  ASSERT_NE(program.ctx().state.PuzzleBuilt, 0);
  program.ctx().MainForm().Raise(frmKV_Puzzle::mnuPrint, Event::Click);
  QWidget* options = program.app.window(frmPrintOptions::kWindow);
  ASSERT_TRUE(Ready(options));
  auto* title_font = RunningProgram::In<QPushButton>(options, "cmdTitleFont");

  XInput input;
  BoxAnswers boxes(input);
  boxes.Then(XK_Escape);
  input.Click(title_font);
  ASSERT_TRUE(WaitFor([&] { return boxes.Done() && !QApplication::activeModalWidget(); }));
  EXPECT_EQ(boxes.seen, std::vector<std::string>{"Font"});
  ASSERT_TRUE(WaitActive(options)) << "the focus went back to another window";
  EXPECT_EQ(QApplication::focusWidget(), title_font);
  input.Key(XK_Escape);  // Close
  EXPECT_TRUE(WaitFor([&] { return !options->isVisible(); }));
}

}  // namespace
}  // namespace kivrel::testing
