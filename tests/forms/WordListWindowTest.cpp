#include <gtest/gtest.h>

#include <functional>

#include "RecordedEdits.h"
#include "TempDir.h"
#include "TestApp.h"
#include "commands/BuildCommands.h"
#include "commands/ListEdits.h"
#include "commands/WordListCommands.h"
#include "forms/WordListWindow.h"
#include "program/CommandStates.h"
#include "program/StartUp.h"

namespace kivrel {
namespace {

using namespace frmWordList;

using testing::TempDir;
using Entries = std::vector<std::string>;

struct WordListFixture : ::testing::Test {
  testing::TestApp app;
  PuzzleState& s = app.ctx.state;
  WordListWindow window{app.ctx};
  Form& list_form = app.ctx.WordListForm();

  WordListFixture() {
    StartUp(app.ctx, 5);
    app.ctx.MainForm().SetChecked(frmKV_Puzzle::mnuUpperCase, true);
    SetEmptyListState(app.ctx);
  }
  void Type(const std::string& text) { app.ctx.list.SetEditText(text); }
  void Add(const std::string& text) {
    Type(text);
    window.cmdAdd_Click();
  }
  void Replace(int index, const std::string& text) {
    window.SelectEntry(index);
    Type(text);
    window.cmdReplace_Click();
  }
  void Remove(int index) {
    window.SelectEntry(index);
    window.cmdRemove_Click();
  }
  Entries List() const { return app.ctx.list.Entries(); }
  bool AddIsDefault() const { return list_form.State(cmdAdd).Default; }
  std::string ShowWord() const { return list_form.Text(cmdShowWord) + (list_form.Enabled(cmdShowWord) ? "" : " off"); }
};

// Add takes the entry in the chosen case. Picking an entry makes Replace the default
// until the field is emptied; Replace takes a change of case but not another entry's
// text, and unchanged text changes nothing.
TEST_F(WordListFixture, AddTakesTheChosenCaseAndAPickMovesTheDefaultToReplace) {
  Add("apple");
  EXPECT_EQ(std::make_tuple(List(), app.ctx.list.EditText(), s.WordListChanged),
            std::make_tuple(Entries{"APPLE"}, std::string(), kTrue));
  EXPECT_TRUE(app.ctx.MainForm().Enabled(frmKV_Puzzle::mnuBuild));  // the list is ready
  app.ctx.MainForm().SetChecked(frmKV_Puzzle::mnuUpperCase, false);
  Add("dog");
  window.SelectEntry(1);
  EXPECT_EQ(std::tie(app.ctx.list.EditText(), s.EditIndex), std::make_tuple(std::string("dog"), i16{1}));
  EXPECT_TRUE(list_form.State(cmdReplace).Default && list_form.Enabled(cmdRemove) && !list_form.Enabled(cmdShowWord));
  Type("dogs");  // a typed change keeps the entry being edited
  EXPECT_EQ(s.EditIndex, 1);
  Type("");
  EXPECT_EQ(std::make_pair(s.EditIndex, app.ctx.list.ListIndex()), std::make_pair(i16{-1}, -1));
  EXPECT_TRUE(AddIsDefault() && !list_form.Enabled(cmdReplace));

  s.WordListChanged = kFalse;
  Replace(0, "APPLE");
  EXPECT_EQ(s.WordListChanged, 0);
  app.dialogs.ExpectMessage(MessageAnswer::Ok, "Duplicate word");
  Replace(0, "DOG");
  Replace(0, "Apple");
  EXPECT_EQ(std::make_pair(List(), app.ctx.list.ListIndex()), std::make_pair(Entries{"Apple", "dog"}, 0));
  EXPECT_TRUE(s.WordListChanged && s.WordTableStale);
}

// Every change of the list is one step: Undo puts the list back as it was, Redo as the
// edit left it, and neither touches a file. The list counts as changed unless it is back
// as it was opened or last saved. The puzzle on screen stays as built, but for Clear,
// which discards it: Undo then brings back the list and its size.
TEST_F(WordListFixture, EveryChangeOfTheListIsOneStepThatCanBeUndone) {
  testing::RecordedEdits edits;
  AttachEditHistory(app.ctx, edits);
  TempDir dir;
  const std::string zoo = "1\tZoo\t 12\t 12\t 1\t 1\t\r\nZEBRA\r\nLION\r\nGIRAFFE\r\n";
  const std::string path = dir.Write("zoo.kvl", zoo);
  app.dialogs.ExpectFile(path);
  OpenList(app.ctx);
  Remove(0);
  UndoEdit(app.ctx);
  EXPECT_EQ(s.WordListChanged, 0) << "back as opened";
  RedoEdit(app.ctx);
  EXPECT_NE(s.WordListChanged, 0);
  UndoEdit(app.ctx);
  BuildPuzzle(app.ctx);
  const std::pair<const char*, std::function<void()>> steps[] = {{"Add", [&] { Add("EMU"); }},
                                                                 {"Replace", [&] { Replace(0, "ZEBU"); }},
                                                                 {"Remove", [&] { Remove(1); }},
                                                                 {"Sort", [&] { window.cmdSort_Click(); }},
                                                                 {"Clear", [&] { window.cmdClear_Click(); }}};
  for (const auto& [name, edit] : steps) {
    SCOPED_TRACE(name);
    const Entries before = List();
    s.WordListChanged = kFalse;
    edit();
    const Entries after = List();
    ASSERT_NE(after, before);
    EXPECT_EQ(std::make_tuple(s.WordListChanged != 0, list_form.ToolTip(cmdUndo), s.PuzzleBuilt != 0),
              std::make_tuple(true, "Undo " + std::string(name), std::string(name) != "Clear"));
    MarkListUnchanged(app.ctx);  // saved: taking the edit back is a change again
    UndoEdit(app.ctx);
    EXPECT_EQ(std::make_pair(List(), s.WordListChanged != 0), std::make_pair(before, true));
    RedoEdit(app.ctx);
    EXPECT_EQ(std::make_pair(List(), s.WordListChanged != 0), std::make_pair(after, false));
  }
  UndoEdit(app.ctx);
  EXPECT_EQ(s.PuzzleWidth, 12);
  EXPECT_TRUE(app.ctx.MainForm().Enabled(frmKV_Puzzle::mnuBuild)) << "the list is ready again";
  EXPECT_EQ(TempDir::Read(path), zoo) << "undo never writes a file";

  // What changes nothing is no step; another list is another start.
  app.dialogs.ExpectMessage(MessageAnswer::Ok, "Duplicate word").ExpectMessage(MessageAnswer::No);
  Add("emu");
  EXPECT_EQ(edits.NextUndo(), "Sort");
  window.mnuNewList_Click();
  EXPECT_FALSE(edits.NextUndo() || edits.NextRedo());
}

// Show Word lights the selected entry's own word, wherever Sort puts the entry, and is
// off for an entry without one; Hide Word goes with the entry removed and with the list
// when another takes its place. After a build the records are the puzzle: Sort and later
// edits reorder or change the list only (the page prints the records), and a refused
// add changes no command.
TEST_F(WordListFixture, ShowWordAndEditsAfterABuildKeepThePuzzlesWords) {
  app.SetUpPuzzle({"[Section A]", "CAT", "!!", "HORSE", "ELEPHANT"}, 10, 10, 11);
  BuildPuzzle(app.ctx);
  auto press = [&](int entry) {
    window.SelectEntry(entry);
    if (list_form.Enabled(cmdShowWord)) window.cmdShowWord_Click();
    std::string words;
    for (const WordRecord& w : s.Words) words += w.Shown ? w.Text + " " : "";
    int cells = 0;
    for (int r = 1; r <= s.Grid.Height(); ++r) {
      for (int c = 1; c <= s.Grid.Width(); ++c) cells += s.Grid.At(r, c).ShowCount;
    }
    return ShowWord() + "/" + words + std::to_string(cells);
  };
  auto placements = [&] {
    std::vector<std::tuple<std::string, int, int, int, int>> all;
    for (const WordRecord& w : s.Words) all.emplace_back(w.DisplayText, w.Status, w.StartRow, w.StartCol, w.Direction);
    return all;
  };
  const auto table = placements();
  // A note alone, punctuation alone: no word to show. Sorted, HORSE stands elsewhere;
  // its entry still shows its own state.
  EXPECT_EQ((Entries{press(0), press(2), press(3)}), (Entries{" off/0", " off/0", "Hide &Word/HORSE 5"}));
  window.cmdSort_Click();
  EXPECT_EQ(s.Words[2].SortPosition, 5);  // HORSE's entry is now last
  EXPECT_EQ((Entries{press(4), press(4), press(2)}),
            (Entries{"Show &Word/0", "Hide &Word/HORSE 5", "Hide &Word/CAT HORSE 8"}));
  window.cmdHideAll_Click();
  EXPECT_EQ(press(0), "Show &Word off/0");

  s.WordListChanged = kFalse;
  app.dialogs.ExpectMessage(MessageAnswer::Ok, "Duplicate word");
  Add("horse");
  Add("   ");
  EXPECT_EQ(s.WordListChanged, 0);
  EXPECT_TRUE(app.ctx.MainForm().Enabled(frmKV_Puzzle::mnuPrint)) << "still the puzzle's commands";
  press(2);
  Remove(2);
  EXPECT_EQ(press(2), "Hide &Word/ELEPHANT 8");
  Remove(0);
  Add("GNU");
  Replace(1, "BEE");
  EXPECT_EQ(placements(), table) << "the puzzle on screen still holds every word it placed";
  EXPECT_NE(s.PuzzleBuilt, 0);
  app.dialogs.ExpectMessage(MessageAnswer::No);
  window.mnuNewList_Click();
  EXPECT_EQ(ShowWord(), "Show &Word off");
}

// New List asks to save a changed list (the answers are ConfirmDiscardList's), then
// starts an untitled list with the empty list's state; a new list has nothing to save.
TEST_F(WordListFixture, NewListAsksToSaveAChangedListThenStartsAnUntitledOne) {
  Add("CAT");
  app.dialogs.ExpectMessage(MessageAnswer::No, "Do you want to save the current list?");
  s.WordListFileName = "/tmp/old.kvl";
  s.StopRemainingCount = i16{5};
  window.mnuNewList_Click();
  EXPECT_EQ(std::make_tuple(app.ctx.list.ListCount(), s.StopRemainingCount), std::make_tuple(0, i16{-1}));
  EXPECT_EQ(s.WordListFileName + "/" + list_form.Text(lblFileName) + "/" + list_form.Text(lblWordCount), "/untitled/");
  EXPECT_TRUE(list_form.Visible() && list_form.Enabled(cmdAdd) && !app.ctx.MainForm().Enabled(frmKV_Puzzle::mnuBuild));
  window.mnuNewList_Click();  // no second question
}

// Every change of the whole list leaves nothing selected: Enter then adds the typed
// word to the new list instead of overwriting the entry picked in the old one.
TEST_F(WordListFixture, AWholeNewListKeepsNoPickFromTheOldOne) {
  const std::string other = std::string(KIVREL_TEST_DATA_DIR) + "/zoo.kvl";
  app.dialogs.ExpectFile(other);
  const std::tuple<const char*, const char*, std::function<void()>> changes[] = {
      {"Open List", "EELS", [&] { OpenList(app.ctx); }},
      {"Sort", "GNUS", [&] { window.cmdSort_Click(); }},
      {"Clear", "KOI", [&] { window.cmdClear_Click(); }},
      {"New List", "YAKS", [&] { window.mnuNewList_Click(); }}};
  for (const auto& [name, typed, change] : changes) {
    SCOPED_TRACE(name);
    if (app.ctx.list.ListCount() == 0) Add("PUMA");
    s.WordListChanged = kFalse;
    window.SelectEntry(0);
    change();
    EXPECT_EQ(std::make_tuple(app.ctx.list.ListIndex(), s.EditIndex, s.SelectedWordIndex, app.ctx.list.EditText()),
              std::make_tuple(-1, i16{-1}, i16{0}, std::string()));
    EXPECT_TRUE(AddIsDefault());
    Entries want = List();
    want.push_back(typed);
    Add(typed);
    EXPECT_EQ(List(), want);
  }
  // Text typed for a new entry was no pick: it stays for the new list.
  Type("HERON");
  app.dialogs.ExpectMessage(MessageAnswer::No).ExpectFile(other);
  OpenList(app.ctx);
  EXPECT_EQ(app.ctx.list.EditText(), "HERON");
}

}  // namespace
}  // namespace kivrel
