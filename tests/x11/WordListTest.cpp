// Editing word lists on a real X server, with real keys, the window manager moving the
// focus and Qt's own dialogs: what the user picks, types and answers reaches the list,
// the file dialogs find their folder again, and changes are offered for saving.
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <filesystem>

#include "Desktop.h"
#include "commands/OpenGivenFile.h"

namespace kivrel::testing {
namespace {

using Entries = std::vector<std::string>;

struct WordListDesktop : Desktop {
  // The window made the active one again by a click on it (the main window: low on it).
  void ClickBack(QWidget* window, QWidget* on = nullptr) {
    input.Click(on ? on : window, on ? on->rect().center() : QPoint(window->width() / 2, window->height() - 20));
    ASSERT_TRUE(HasKeys(window));
  }
};

// New List, two words typed, Save List; Alt+L (Clear in this window) undone by Ctrl+Z,
// which leaves the list as saved; a title typed into the attributes and Enter; Exit and
// the close box offer the changes for saving. Alt+J, no access key in either window,
// pressed while typing a word and the title, types nothing.
TEST_F(WordListDesktop, WordsTypedAClearUndoneAndChangesOfferedAtExitAndTheCloseBox) {
  TempDir dir;
  const std::string path = dir.File("zoo.kvl");

  input.Key(XK_n, {XK_Control_L});  // New List
  QWidget* window = Shown(frmWordList::kWindow);
  ASSERT_TRUE(window);
  input.Type("li");
  input.Key(XK_j, {XK_Alt_L});
  input.Type("on\rtiger\r");
  ASSERT_TRUE(WaitFor([&] { return ctx.list.Entries() == Entries{"LION", "TIGER"}; }));
  boxes.ThenDo([&](QDialog* dialog) { EnterPath(input, dialog, path); });
  input.Key(XK_s, {XK_Alt_L});  // Save List, which asks for a name
  ASSERT_TRUE(WaitFor([&] { return boxes.Done() && input.HasKeys(window); }));
  input.Key(XK_l, {XK_Alt_L});  // Clear
  ASSERT_TRUE(WaitFor([&] { return ctx.list.ListCount() == 0; }));
  input.Key(XK_z, {XK_Control_L});
  ASSERT_TRUE(WaitFor([&] { return ctx.list.Entries() == Entries{"LION", "TIGER"}; })) << "Ctrl+Z did not undo";
  EXPECT_EQ(ctx.state.WordListChanged, 0) << "back as saved";
  EXPECT_EQ(EntriesIn(path), (Entries{"LION", "TIGER"}));

  ClickBack(main);
  boxes.ThenDo([&](QDialog*) {
    input.Type("Big");
    input.Key(XK_j, {XK_Alt_L});
    input.Type(" cats\r");
  });
  input.Key(XK_a, {XK_Alt_L});  // Attributes
  ASSERT_TRUE(WaitFor([&] { return boxes.Done(); }));
  EXPECT_EQ(ctx.state.PuzzleTitle, "Big cats");
  ClickBack(main);
  boxes.Then(XK_y, true).Then(XK_Escape);  // save the list, then stay
  input.Key(XK_q, {XK_Control_L});         // Exit
  ASSERT_TRUE(WaitFor([&] { return boxes.Done(); }));
  const auto saved = ParseWordList(TempDir::Read(path));
  ASSERT_TRUE(saved && saved->Header);
  EXPECT_EQ(saved->Header->Title, "Big cats");
  EXPECT_EQ(saved->Entries, (Entries{"LION", "TIGER"}));

  ctx.list.SetEditText("CAT");
  ctx.WordListForm().Raise(frmWordList::cmdAdd, Event::Click);
  ClickBack(main);
  boxes.Then(XK_Escape);         // Cancel: nothing closes
  input.Key(XK_F4, {XK_Alt_L});  // the window manager's close
  ASSERT_TRUE(WaitFor([&] { return boxes.Done() && input.HasKeys(main); }));
  boxes.Then(XK_n, true).Then(XK_Return);  // No, then OK to the exit question
  input.Key(XK_F4, {XK_Alt_L});
  ASSERT_TRUE(WaitFor([&] { return boxes.Done() && !main->isVisible(); }));
  const std::string save = "Do you want to save the current list?", exit = "Are you sure you want to exit Kivrel?";
  EXPECT_EQ(boxes.seen, (Entries{"Save Word List As", "Set Puzzle Attributes", save, exit, save, save, exit}));
  EXPECT_EQ(EntriesIn(path), (Entries{"LION", "TIGER"}));
}

// Picking, typing and Tab between the entry box and the list; another list opened while
// the window shows; a message box: the keys always end where the user expects. Open
// List starts in the folder of the list opened last. Save List As into /proc fails and
// brings the dialog back there: it lists /proc without reading its files (reading
// /proc/kmsg would wait for ever: the dialog shown there would not take its Escape), and
// Cancel leaves the list its name.
TEST_F(WordListDesktop, TheKeysGoWhereTheUserExpectsAndNoFolderHangsTheFileDialogs) {
  TempDir dir;
  std::filesystem::create_directory(dir.File("lists"));
  const std::string a = dir.Write("lists/a.kvl", "LION\r\nPUMA\r\nOTTER\r\n");
  const std::string b = dir.Write("b.kvl", "ANT\r\nBEE\r\n");
  OpenGivenFile(ctx, a);  // as `kivrel FILE` opens it
  QWidget* window = Shown(frmWordList::kWindow);
  ASSERT_TRUE(window);
  auto* edit = RunningProgram::In(window, "cboWordList")->findChild<QLineEdit*>();
  auto* list = RunningProgram::In(window, "cboWordList")->findChild<QListWidget*>();

  input.Click(list->viewport(), list->visualItemRect(list->item(1)).center());
  ASSERT_TRUE(WaitFor([&] { return edit->text() == "PUMA"; })) << "the click picks PUMA";
  // Another list opened: nothing is picked, and a word typed goes into it. The dialog
  // shows its folders with an icon, on a desktop with no icon theme too.
  bool folder_icon = false;
  boxes.ThenDo([&](QDialog* dialog) {
    if (auto* files = qobject_cast<QFileDialog*>(dialog); files && files->iconProvider()) {
      folder_icon = !files->iconProvider()->icon(QFileInfo(QString::fromStdString(dir.File("lists")))).isNull();
    }
    EnterPath(input, dialog, b);
  });
  ClickBack(main);
  input.Key(XK_o, {XK_Control_L});
  ASSERT_TRUE(WaitFor([&] { return boxes.Done() && ctx.state.WordListFileName == b; }));
  EXPECT_EQ(edit->text(), "");
  EXPECT_TRUE(list->selectedItems().isEmpty());
  EXPECT_TRUE(folder_icon);

  // Tab to the list and back; another window activated, then this one by a click in the
  // entry box: the text typed stays, nothing is picked.
  ClickBack(window, edit);
  input.Type("heron\t");
  ASSERT_TRUE(WaitFor([&] { return QApplication::focusWidget() == list; }));
  input.Key(XK_Tab, {XK_Shift_L});
  ASSERT_TRUE(WaitFor([&] { return QApplication::focusWidget() == edit; }));
  ClickBack(main);
  ClickBack(window, edit);
  EXPECT_EQ(edit->text(), "heron");
  EXPECT_EQ(ctx.list.ListIndex(), -1);
  input.Key(XK_Return);
  ASSERT_TRUE(WaitFor([&] { return ctx.list.Entries() == Entries{"ANT", "BEE", "HERON"}; }));
  // The arrow keys in the list are the user's own pick.
  input.Key(XK_Tab);
  input.Key(XK_Down);
  EXPECT_TRUE(WaitFor([&] { return ctx.list.ListIndex() == 0 && edit->text() == "ANT"; }));

  // A word that is there already: after the box, the keys are back in the entry box.
  ClickBack(window, edit);
  input.Key(XK_a, {XK_Control_L});
  input.Type("bee");
  boxes.Then(XK_Return);
  input.Key(XK_Return);  // Add
  ASSERT_TRUE(WaitFor([&] { return boxes.Done() && input.HasKeys(window); })) << "the keys went elsewhere";
  EXPECT_EQ(QApplication::focusWidget(), edit);
  input.Type("s");
  EXPECT_EQ(edit->text().toUpper(), "BEES");
  input.Click(RunningProgram::In(window, "cmdSave"));
  EXPECT_TRUE(WaitFor([&] { return ctx.state.WordListChanged == 0; }));
  EXPECT_EQ(EntriesIn(b), (Entries{"ANT", "BEE", "HERON"}));
  EXPECT_EQ(EntriesIn(a), (Entries{"LION", "PUMA", "OTTER"}));

  boxes.ThenDo([&](QDialog* dialog) { EnterPath(input, dialog, "/proc/zoo.kvl"); })
      .Then(XK_Return)  // the error
      .Then(XK_Escape);
  ClickBack(main);
  ASSERT_TRUE(OpenMenu(XK_f, "mnuFile"));
  input.Key(XK_a);  // Save List As...
  ASSERT_TRUE(WaitFor([&] { return boxes.Done(); }));
  ASSERT_EQ(boxes.seen.size(), 5u);
  EXPECT_EQ(boxes.seen[3].substr(0, 28), "Error while saving word list");
  EXPECT_EQ(boxes.folders, (Entries{dir.File("lists"), dir.Folder(), "/proc"}));
  EXPECT_EQ(ctx.state.WordListFileName, b);
}

}  // namespace
}  // namespace kivrel::testing
