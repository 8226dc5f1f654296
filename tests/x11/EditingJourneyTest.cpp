// A teacher's editing on a real X server, with real keys and Qt's own dialogs: words
// typed into a new list, a list cleared by its access key and brought back, a title set
// in the attributes dialog and offered for saving at Exit, and the file dialogs finding
// their folder again, /proc included.
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <filesystem>
#include <gtest/gtest.h>

#include "RealDialogs.h"
#include "commands/OpenGivenFile.h"

namespace kivrel::testing {
namespace {

constexpr int kPatience = 10000;

// Types a path into the name box of Qt's file dialog and enters it.
void EnterPath(XInput& input, QDialog* dialog, const std::string& path) {
  auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
  ASSERT_TRUE(name && WaitFor([&] { return QApplication::focusWidget() == name; }, kPatience));
  input.Key(XK_a, {XK_Control_L});
  input.Type(path);
  input.Key(XK_Return);
  // An Enter while the name box offers names that start alike closes that offer only.
  if (dialog->isVisible()) input.Key(XK_Return);
}

// The main window made the active one again, as a click on it does.
void BackToMainWindow(XInput& input, QMainWindow* main) {
  input.Click(main, QPoint(main->width() / 2, main->height() - 20));
  ASSERT_TRUE(WaitForKeys(main, kPatience));
}

TEST(EditingJourney, TypedWordsAClearedListBroughtBackAndSavedWhole) {
  TempDir dir;
  const std::string path = dir.File("zoo.kvl");
  RealProgram program;
  QMainWindow* main = program.app.mainWindow();
  ASSERT_TRUE(Ready(main));
  XInput input;

  input.Key(XK_n, {XK_Control_L});  // New List
  ASSERT_TRUE(WaitFor([&] { return program.WordListWindow() != nullptr; }, kPatience));
  QWidget* window = program.WordListWindow();
  ASSERT_TRUE(Ready(window) && WaitForKeys(window, kPatience));
  input.Type("lion");
  input.Key(XK_Return);
  input.Type("tiger");
  input.Key(XK_Return);
  ASSERT_TRUE(WaitFor([&] { return program.ctx().list.ListCount() == 2; }));
  EXPECT_EQ(program.ctx().list.Entries(), (std::vector<std::string>{"LION", "TIGER"}));

  BoxAnswers boxes(input);
  boxes.ThenDo([&](QDialog* dialog) { EnterPath(input, dialog, path); });
  input.Key(XK_s, {XK_Alt_L});  // Save List, which asks for a name
  ASSERT_TRUE(WaitFor([&] { return boxes.Done() && !QApplication::activeModalWidget(); }, kPatience));
  EXPECT_EQ(boxes.seen, std::vector<std::string>{"Save Word List As"});
  ASSERT_EQ(EntriesIn(path), (std::vector<std::string>{"LION", "TIGER"}));

  ASSERT_TRUE(WaitForKeys(window, kPatience));
  input.Key(XK_l, {XK_Alt_L});  // Clear
  ASSERT_TRUE(WaitFor([&] { return program.ctx().list.ListCount() == 0; }));
  input.Key(XK_z, {XK_Control_L});
  ASSERT_TRUE(WaitFor([&] { return program.ctx().list.ListCount() == 2; })) << "Ctrl+Z did not bring the list back";
  EXPECT_EQ(program.ctx().list.Entries(), (std::vector<std::string>{"LION", "TIGER"}));
  EXPECT_NE(program.ctx().state.WordListChanged, 0);

  // The Edit menu names the steps either way.
  BackToMainWindow(input, main);
  input.Key(XK_e, {XK_Alt_L});
  ASSERT_TRUE(WaitFor([] { return QApplication::activePopupWidget() != nullptr; }, kPatience));
  EXPECT_EQ(RunningProgram::In<QAction>(main, "mnuUndo")->text(), "&Undo Add");
  EXPECT_EQ(RunningProgram::In<QAction>(main, "mnuRedo")->text(), "&Redo Clear");
  SaveScreen("edit-menu");
  input.Key(XK_Escape);
  ASSERT_TRUE(WaitFor([] { return QApplication::activePopupWidget() == nullptr; }));

  input.Key(XK_l, {XK_Alt_L});  // View List
  ASSERT_TRUE(WaitForKeys(window, kPatience));
  SaveScreen("word-list");
  input.Key(XK_s, {XK_Alt_L});  // Save List, into the file it has
  ASSERT_TRUE(WaitFor([&] { return program.ctx().state.WordListChanged == 0; }));
  EXPECT_EQ(EntriesIn(path), (std::vector<std::string>{"LION", "TIGER"}));
}

TEST(EditingJourney, ATitleTypedIntoAttributesIsOfferedForSavingAtExit) {
  TempDir dir;
  const std::string path = dir.Write("zoo.kvl", "LION\r\nTIGER\r\n");
  RealProgram program;
  program.ctx().state.WordListFileName = path;
  program.ShowList(path);
  QMainWindow* main = program.app.mainWindow();
  XInput input;
  BackToMainWindow(input, main);

  BoxAnswers boxes(input);
  boxes.ThenDo([&](QDialog*) {
    input.Type("Big cats");
    input.Key(XK_Return);
  });
  input.Key(XK_a, {XK_Alt_L});  // Attributes
  ASSERT_TRUE(WaitFor([&] { return boxes.Done() && !QApplication::activeModalWidget(); }, kPatience));
  EXPECT_EQ(program.ctx().state.PuzzleTitle, "Big cats");

  BackToMainWindow(input, main);
  boxes.Then(XK_y, true).Then(XK_Escape);  // save the list, then stay
  input.Key(XK_q, {XK_Control_L});         // Exit
  ASSERT_TRUE(WaitFor([&] { return boxes.Done() && !QApplication::activeModalWidget(); }, kPatience));
  EXPECT_EQ(boxes.seen, (std::vector<std::string>{"Set Puzzle Attributes", "Do you want to save the current list?",
                                                  "Are you sure you want to exit Kivrel?"}));
  const auto saved = ParseWordList(TempDir::Read(path));
  ASSERT_TRUE(saved && saved->Header);
  EXPECT_EQ(saved->Header->Title, "Big cats");
  EXPECT_EQ(saved->Entries, (std::vector<std::string>{"LION", "TIGER"}));
  EXPECT_TRUE(main->isVisible());
}

// Open List after a list was opened from another folder starts there. Save List As into
// /proc fails and brings the dialog back there: it lists /proc without reading its files
// (reading /proc/kmsg would wait for ever), Cancel leaves the list its name, and the
// program goes on answering.
TEST(EditingJourney, FileDialogsFindTheirFolderAgainAndNoFolderHangsThem) {
  TempDir dir;
  std::filesystem::create_directory(dir.File("lists"));
  const std::string path = dir.Write("lists/zoo.kvl", "LION\r\nTIGER\r\n");
  RealProgram program;
  QMainWindow* main = program.app.mainWindow();
  ASSERT_TRUE(Ready(main));
  XInput input;

  OpenGivenFile(program.ctx(), path);  // as `kivrel FILE` opens it
  ASSERT_EQ(program.ctx().state.WordListFileName, path);

  BackToMainWindow(input, main);
  BoxAnswers boxes(input);
  std::vector<std::string> folders;  // where each dialog opened
  const auto note_folder = [&](QDialog* dialog) {
    folders.push_back(static_cast<QFileDialog*>(dialog)->directory().absolutePath().toStdString());
  };
  boxes.ThenDo([&](QDialog* dialog) {
    note_folder(dialog);
    input.Key(XK_Escape);
  });
  input.Key(XK_o, {XK_Control_L});
  ASSERT_TRUE(WaitFor([&] { return boxes.Done() && !QApplication::activeModalWidget(); }, kPatience));

  BackToMainWindow(input, main);
  boxes
      .ThenDo([&](QDialog* dialog) {
        note_folder(dialog);
        EnterPath(input, dialog, "/proc/zoo.kvl");
      })
      .Then(XK_Return)  // the error
      .ThenDo([&](QDialog* dialog) {
        note_folder(dialog);
        input.Key(XK_Escape);
      });
  input.Key(XK_f, {XK_Alt_L});
  ASSERT_TRUE(WaitFor([] { return QApplication::activePopupWidget() != nullptr; }, kPatience));
  input.Key(XK_a);  // Save List As...
  ASSERT_TRUE(WaitFor([&] { return boxes.Done() && !QApplication::activeModalWidget(); }, kPatience));
  ASSERT_EQ(boxes.seen.size(), 4u);
  EXPECT_EQ(boxes.seen[2].substr(0, 28), "Error while saving word list");
  const std::string lists = dir.File("lists");
  EXPECT_EQ(folders, (std::vector<std::string>{lists, lists, "/proc"}));
  EXPECT_EQ(program.ctx().state.WordListFileName, path);
  EXPECT_EQ(RunningProgram::In<QLabel>(program.WordListWindow(), "lblFileName")->text().toStdString(), path);

  // Still answering: the keys reach the main window.
  BackToMainWindow(input, main);
  input.Key(XK_l, {XK_Alt_L});  // View List
  EXPECT_TRUE(WaitForKeys(program.WordListWindow(), kPatience));
}

}  // namespace
}  // namespace kivrel::testing
