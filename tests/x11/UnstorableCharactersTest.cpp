// Saving a word list that holds characters its file cannot store, on a real X server:
// the question comes up as a real message box, and the key that answers it decides
// whether the file is written.
#include <QApplication>
#include <QPushButton>
#include <gtest/gtest.h>

#include "RealDialogs.h"

namespace kivrel::testing {
namespace {

TEST(UnstorableCharacters, EscapeKeepsTheOldFileAndEnterSaves) {
  TempDir dir;
  const std::string path = dir.Write("cities.kvl", "LIMA\r\nOSLO\r\n");
  const std::string before = TempDir::Read(path);
  RealProgram program;
  program.ShowList(path);
  AppContext& ctx = program.ctx();
  ctx.state.WordListFileName = path;  // as opened
  ctx.list.SetEditText("Łódź");
  ctx.WordListForm().Raise(frmWordList::cmdAdd, Event::Click);
  ASSERT_EQ(ctx.list.Entries().size(), 3u);
  const std::string added = ctx.list.Entries().back();
  QWidget* window = program.WordListWindow();
  ASSERT_TRUE(Ready(window));
  auto* save = RunningProgram::In<QPushButton>(window, "cmdSave");
  ASSERT_TRUE(save && save->isEnabled());

  XInput input;
  BoxAnswers boxes(input);
  boxes.Then(XK_Escape);  // Cancel
  input.Click(save);
  ASSERT_TRUE(WaitFor([&] { return boxes.Done() && !QApplication::activeModalWidget(); }, 10000));
  ASSERT_EQ(boxes.seen.size(), 1u);
  EXPECT_NE(boxes.seen[0].find("cannot hold these characters"), std::string::npos) << boxes.seen[0];
  Settle(300);
  EXPECT_EQ(TempDir::Read(path), before) << "the file changed although the save was cancelled";
  EXPECT_NE(ctx.state.WordListChanged, 0);

  ASSERT_TRUE(Ready(window));
  boxes.Then(XK_Return);  // OK
  input.Click(save);
  ASSERT_TRUE(WaitFor([&] { return boxes.Done() && !QApplication::activeModalWidget(); }, 10000));
  EXPECT_EQ(boxes.seen.size(), 2u);
  ASSERT_TRUE(WaitFor([&] { return ctx.state.WordListChanged == 0; }, 10000)) << "the list was not saved";
  // What the file could not hold comes back as "?"; the rest is as it was.
  std::string stored = added;
  for (const char* letter : {"Ł", "Ź", "ł", "ź"}) {
    for (std::size_t at; (at = stored.find(letter)) != std::string::npos;) stored.replace(at, 2, "?");
  }
  EXPECT_EQ(EntriesIn(path), (std::vector<std::string>{"LIMA", "OSLO", stored}));
}

}  // namespace
}  // namespace kivrel::testing
