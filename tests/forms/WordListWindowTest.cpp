#include <gtest/gtest.h>

#include <functional>

#include "../engine/BuildHelpers.h"
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
using testing::TestApp;

struct WordListFixture : ::testing::Test {
  TestApp app;
  WordListWindow window{app.ctx};
  Form& list_form = app.ctx.WordListForm();
  Control focused;  // where the window last put the focus

  WordListFixture() {
    list_form.Subscribe([this](Control control, Property property) {
      if (property == Property::Focus) focused = control;
    });
    StartUp(app.ctx, 5);
    app.ctx.MainForm().SetChecked(frmKV_Puzzle::mnuUpperCase, true);
    app.ctx.MainForm().SetChecked(frmKV_Puzzle::mnuSound, true);
    SetEmptyListState(app.ctx);
  }
  void Type(const std::string& text) { app.ctx.list.SetEditText(text); }
  void Add(const std::string& text) {
    Type(text);
    window.cmdAdd_Click();
  }
  std::vector<std::string> Entries() const { return app.ctx.list.Entries(); }
};

TEST_F(WordListFixture, AddTurnsEntriesToUpperCaseAndRefusesDuplicates) {
  Type("apple");
  EXPECT_TRUE(list_form.State(cmdAdd).Default);
  window.cmdAdd_Click();
  EXPECT_EQ(Entries(), std::vector<std::string>{"APPLE"});
  EXPECT_EQ(app.ctx.list.EditText(), "");
  EXPECT_NE(app.ctx.state.WordListChanged, 0);
  EXPECT_TRUE(app.ctx.MainForm().Enabled(frmKV_Puzzle::mnuBuild));  // the list is ready
  EXPECT_EQ(focused, cboWordList);

  app.dialogs.ExpectMessage(MessageAnswer::Ok, "Duplicate word");
  Add("Apple");
  EXPECT_EQ(Entries(), std::vector<std::string>{"APPLE"});
  EXPECT_EQ(app.ctx.list.EditText(), "APPLE");  // upper-cased, and kept for editing

  app.ctx.MainForm().SetChecked(frmKV_Puzzle::mnuUpperCase, false);
  Add("pear");
  EXPECT_EQ(Entries(), (std::vector<std::string>{"APPLE", "pear"}));
  EXPECT_TRUE(list_form.Enabled(cmdClear) && !list_form.Enabled(cmdReplace));
}

TEST_F(WordListFixture, SelectingAnEntryMovesTheDefaultToReplace) {
  Add("CAT");
  Add("DOG");
  window.SelectEntry(1);
  EXPECT_EQ(app.ctx.list.EditText(), "DOG");
  EXPECT_EQ(app.ctx.state.EditIndex, 1);
  EXPECT_TRUE(list_form.State(cmdReplace).Default);
  EXPECT_TRUE(list_form.Enabled(cmdRemove) && !list_form.Enabled(cmdShowWord));  // no puzzle yet
  Type("DOGS");  // a typed change keeps the entry being edited
  EXPECT_EQ(app.ctx.state.EditIndex, 1);
  EXPECT_TRUE(list_form.State(cmdReplace).Default);
  Type("");  // emptying the field returns to a new entry
  EXPECT_EQ(app.ctx.state.EditIndex, -1);
  EXPECT_EQ(app.ctx.list.ListIndex(), -1);
  EXPECT_TRUE(list_form.State(cmdAdd).Default);
  EXPECT_FALSE(list_form.Enabled(cmdReplace));
}

TEST_F(WordListFixture, ReplaceRefusesAnotherEntrysTextButTakesACaseChange) {
  app.ctx.MainForm().SetChecked(frmKV_Puzzle::mnuUpperCase, false);
  Add("cat");
  Add("dog");
  app.ctx.state.WordListChanged = kFalse;
  window.SelectEntry(0);
  window.cmdReplace_Click();  // unchanged text: nothing happens
  EXPECT_EQ(app.ctx.state.WordListChanged, 0);

  Type("DOG");
  app.dialogs.ExpectMessage(MessageAnswer::Ok, "Duplicate word");
  window.cmdReplace_Click();
  EXPECT_EQ(Entries(), (std::vector<std::string>{"cat", "dog"}));

  Type("Cat");
  window.cmdReplace_Click();
  EXPECT_EQ(Entries(), (std::vector<std::string>{"Cat", "dog"}));
  EXPECT_EQ(app.ctx.list.ListIndex(), 0);
  EXPECT_TRUE(app.ctx.state.WordListChanged && app.ctx.state.WordTableStale);
}

TEST_F(WordListFixture, SortEmptiesTheField) {
  Add("PEAR");
  Add("APPLE");
  Type("typing");
  window.cmdSort_Click();
  EXPECT_EQ(Entries(), (std::vector<std::string>{"APPLE", "PEAR"}));
  EXPECT_EQ(app.ctx.list.EditText(), "");
}

// Every change of the list is one step: Undo puts the list back as it was, Redo as the
// edit left it, and neither touches a file. The puzzle on screen stays as built, but for
// Clear, which discards it: Undo then brings back the list and its size, and the
// emptied list counts as changed, so that Exit offers to save it.
TEST_F(WordListFixture, EveryChangeOfTheListIsOneStepThatCanBeUndone) {
  testing::RecordedEdits edits;
  AttachEditHistory(app.ctx, edits);
  TempDir dir;
  const std::string zoo = "1\tZoo\t 12\t 12\t 1\t 1\t\r\nZEBRA\r\nLION\r\nGIRAFFE\r\n";
  const std::string path = dir.Write("zoo.kvl", zoo);
  app.dialogs.ExpectFile(path);
  OpenList(app.ctx);
  BuildPuzzle(app.ctx);
  ASSERT_NE(app.ctx.state.PuzzleBuilt, 0);
  const std::pair<const char*, std::function<void()>> steps[] = {
      {"Add", [&] { Add("EMU"); }},
      {"Replace",
       [&] {
         window.SelectEntry(0);
         Type("ZEBU");
         window.cmdReplace_Click();
       }},
      {"Remove",
       [&] {
         window.SelectEntry(1);
         window.cmdRemove_Click();
       }},
      {"Sort", [&] { window.cmdSort_Click(); }},
      {"Clear", [&] { window.cmdClear_Click(); }},
  };
  for (const auto& [name, edit] : steps) {
    SCOPED_TRACE(name);
    const std::vector<std::string> before = Entries();
    app.ctx.state.WordListChanged = kFalse;
    edit();
    const std::vector<std::string> after = Entries();
    ASSERT_NE(after, before);
    EXPECT_NE(app.ctx.state.WordListChanged, 0);
    EXPECT_EQ(list_form.ToolTip(cmdUndo), "Undo " + std::string(name));
    EXPECT_EQ(app.ctx.state.PuzzleBuilt != 0, std::string(name) != "Clear");
    UndoEdit(app.ctx);
    EXPECT_EQ(Entries(), before);
    RedoEdit(app.ctx);
    EXPECT_EQ(Entries(), after);
  }
  UndoEdit(app.ctx);
  EXPECT_EQ(app.ctx.state.PuzzleWidth, 12);
  EXPECT_TRUE(app.ctx.MainForm().Enabled(frmKV_Puzzle::mnuBuild)) << "the list is ready again";
  EXPECT_EQ(TempDir::Read(path), zoo) << "undo never writes a file";

  // What changes nothing is no step; another list is another start.
  app.dialogs.ExpectMessage(MessageAnswer::Ok, "Duplicate word");
  Add("emu");
  EXPECT_EQ(edits.NextUndo(), "Sort");
  app.dialogs.ExpectMessage(MessageAnswer::No);
  window.mnuNewList_Click();
  EXPECT_FALSE(edits.NextUndo() || edits.NextRedo());
}

// Hide Word belongs to the word highlighted: it goes with the entry removed, and with
// the list when another takes its place.
TEST_F(WordListFixture, RemovingAHighlightedWordTakesItsHighlight) {
  testing::SetUpPuzzle(app, {"CAT", "HORSE", "ELEPHANT"}, 10, 10, 11);
  BuildPuzzle(app.ctx);
  const PuzzleState& s = app.ctx.state;
  auto lit = [&] {
    int cells = 0;
    for (int r = 1; r <= s.Grid.Height(); ++r) {
      for (int c = 1; c <= s.Grid.Width(); ++c) cells += s.Grid.At(r, c).ShowCount;
    }
    return cells;
  };
  window.SelectEntry(1);
  window.cmdShowWord_Click();
  ASSERT_EQ(lit(), 5);
  window.cmdRemove_Click();
  EXPECT_EQ(lit(), 0);
  EXPECT_EQ(list_form.Text(cmdShowWord), "Show &Word");
  EXPECT_FALSE(list_form.Enabled(cmdShowWord));

  window.SelectEntry(0);
  window.cmdShowWord_Click();
  ASSERT_EQ(list_form.Text(cmdShowWord), "Hide &Word");
  app.dialogs.ExpectMessage(MessageAnswer::No);
  window.mnuNewList_Click();
  EXPECT_EQ(list_form.Text(cmdShowWord), "Show &Word");
  EXPECT_FALSE(list_form.Enabled(cmdShowWord));
}

TEST_F(WordListFixture, NewListAsksToSaveAChangedListAndCancelKeepsIt) {
  Add("CAT");
  app.dialogs.ExpectMessage(MessageAnswer::Cancel, "Do you want to save the current list?");
  window.mnuNewList_Click();
  EXPECT_EQ(Entries(), std::vector<std::string>{"CAT"});

  app.dialogs.ExpectMessage(MessageAnswer::No);
  app.ctx.state.WordListFileName = "/tmp/old.kvl";
  app.ctx.state.StopRemainingCount = 5;
  window.mnuNewList_Click();
  EXPECT_EQ(app.ctx.list.ListCount(), 0);
  EXPECT_EQ(app.ctx.state.WordListFileName + "/" + list_form.Text(lblFileName) + "/" + list_form.Text(lblWordCount),
            "/untitled/");
  EXPECT_TRUE(list_form.Visible());
  EXPECT_EQ(app.ctx.state.StopRemainingCount, -1);
  EXPECT_TRUE(list_form.Enabled(cmdAdd) && !app.ctx.MainForm().Enabled(frmKV_Puzzle::mnuBuild));
  // The new list has nothing to save, whatever the answer was: no second question.
  window.mnuNewList_Click();
  EXPECT_TRUE(ConfirmDiscardList(app.ctx));
  EXPECT_TRUE(app.dialogs.Done());
}

TEST_F(WordListFixture, NewListDuringABuildWaitsForTheBuildToEnd) {
  testing::SetUpPuzzle(app, {"ELEPHANT", "GIRAFFE", "ZEBRA", "LION"}, 12, 12, 4);
  app.ctx.state.WordListChanged = kFalse;
  bool pressed = false;
  app.pump.on_yield = [&] {
    if (!pressed && BuildRunning(app.ctx)) {
      pressed = true;
      window.mnuNewList_Click();
      EXPECT_EQ(app.ctx.list.ListCount(), 4);  // nothing yet: the build is still running
    }
  };
  BuildPuzzle(app.ctx);
  EXPECT_TRUE(pressed && !BuildRunning(app.ctx));
  EXPECT_EQ(app.ctx.list.ListCount(), 0);
  EXPECT_EQ(app.ctx.state.PuzzleBuilt, 0);
  EXPECT_FALSE(app.ctx.MainForm().Enabled(frmKV_Puzzle::mnuBuild));
}

// Every change of the whole list leaves nothing selected: Enter then adds the typed
// word to the new list instead of overwriting the entry picked in the old one.
TEST_F(WordListFixture, AWholeNewListKeepsNoPickFromTheOldOne) {
  TempDir dir;
  const std::string other = dir.Write("b.kvl", "LION\r\nTIGER\r\nBEAR\r\n");
  const std::pair<const char*, std::function<void()>> changes[] = {
      {"Open List",
       [&] {
         app.dialogs.ExpectFile(other);
         OpenList(app.ctx);
       }},
      {"Sort", [&] { window.cmdSort_Click(); }},
      {"Clear", [&] { window.cmdClear_Click(); }},
      {"New List", [&] { window.mnuNewList_Click(); }},
  };
  const char* typed[] = {"EELS", "GNUS", "KOI", "YAKS"};
  for (int i = 0; i < 4; ++i) {
    const auto& [name, change] = changes[i];
    if (app.ctx.list.ListCount() == 0) {
      Add("PUMA");
      Add("OTTER");
    }
    app.ctx.state.WordListChanged = kFalse;
    window.SelectEntry(0);
    change();
    SCOPED_TRACE(name);
    EXPECT_EQ(std::make_tuple(app.ctx.list.ListIndex(), app.ctx.state.EditIndex, app.ctx.state.SelectedWordIndex),
              std::make_tuple(-1, i16{-1}, i16{0}));
    EXPECT_EQ(app.ctx.list.EditText(), "");
    EXPECT_TRUE(list_form.State(cmdAdd).Default);
    const std::vector<std::string> before = Entries();
    Add(typed[i]);
    std::vector<std::string> want = before;
    want.push_back(typed[i]);
    EXPECT_EQ(Entries(), want);
  }
  // Text typed for a new entry was no pick: it stays for the new list.
  Type("HERON");
  window.cmdSort_Click();  // Sort itself empties the field; Open List does not
  Type("HERON");
  app.dialogs.ExpectMessage(MessageAnswer::No).ExpectFile(other);
  OpenList(app.ctx);
  EXPECT_EQ(app.ctx.list.EditText(), "HERON");
}

// After a build the records are the puzzle: Sort and later edits reorder or change the
// list only (the page prints the records).
TEST_F(WordListFixture, SortAndEditsAfterABuildKeepThePuzzlesWords) {
  testing::SetUpPuzzle(app, {"[Section A]", "ZEBRA", "ant [insect]", "MOUSE", "yak"}, 9, 9, 3);
  BuildPuzzle(app.ctx);
  ASSERT_NE(app.ctx.state.PuzzleBuilt, 0);
  auto placements = [&] {
    std::string out;
    for (const WordRecord& w : app.ctx.state.Words) {
      out += w.DisplayText + "|" + std::to_string(w.Status) + "|" + std::to_string(w.StartRow) + "," +
             std::to_string(w.StartCol) + "," + std::to_string(w.Direction) + "\n";
    }
    return out;
  };
  const std::string table = placements();
  window.cmdSort_Click();
  EXPECT_EQ(Entries(), (std::vector<std::string>{"[Section A]", "ant [insect]", "MOUSE", "yak", "ZEBRA"}));
  EXPECT_EQ(app.ctx.state.Words[1].SortPosition, 5);  // ZEBRA's entry is now last
  EXPECT_EQ(placements(), table);

  window.SelectEntry(4);  // ZEBRA, the last entry
  window.cmdRemove_Click();
  window.SelectEntry(0);
  window.cmdRemove_Click();
  Add("GNU");
  window.SelectEntry(1);
  Type("BEE");
  window.cmdReplace_Click();
  EXPECT_EQ(placements(), table) << "the puzzle on screen still holds every word it placed";
  EXPECT_NE(app.ctx.state.PuzzleBuilt, 0);
}

TEST_F(WordListFixture, ShowWordLightsTheSelectedEntrysOwnWord) {
  testing::SetUpPuzzle(app, {"[Section A]", "CAT", "!!", "HORSE", "ELEPHANT"}, 10, 10, 11);
  BuildPuzzle(app.ctx);
  const PuzzleState& s = app.ctx.state;
  ASSERT_EQ(s.InsertedCount, 3);
  for (int p : {0, 2}) {  // a note alone, punctuation alone: no word to show
    window.SelectEntry(p);
    EXPECT_FALSE(list_form.Enabled(cmdShowWord)) << p;
    EXPECT_TRUE(list_form.Enabled(cmdHideAll));
  }
  auto shown = [&] {
    std::string words;
    for (const WordRecord& w : s.Words) words += w.Shown ? w.Text + " " : "";
    return words;
  };
  window.SelectEntry(3);
  ASSERT_TRUE(list_form.Enabled(cmdShowWord));
  window.cmdShowWord_Click();
  EXPECT_EQ(shown(), "HORSE ");
  const WordRecord& horse = s.Words[2];
  EXPECT_EQ(s.Grid.At(horse.StartRow, horse.StartCol).ShowCount, 1);

  // Sorted, HORSE stands elsewhere; its entry still shows its own state, and the
  // button that hides it stays usable while it is red.
  window.cmdSort_Click();
  EXPECT_EQ(Entries(), (std::vector<std::string>{"[Section A]", "!!", "CAT", "ELEPHANT", "HORSE"}));
  EXPECT_TRUE(list_form.Enabled(cmdHideAll));
  window.SelectEntry(4);
  EXPECT_EQ(list_form.Text(cmdShowWord), "Hide &Word");
  window.cmdShowWord_Click();  // pressed again: hidden
  EXPECT_EQ(shown(), "");
  EXPECT_EQ(s.Grid.At(horse.StartRow, horse.StartCol).ShowCount, 0);
  window.cmdShowWord_Click();
  window.SelectEntry(2);
  EXPECT_EQ(list_form.Text(cmdShowWord), "Show &Word");
  window.cmdShowWord_Click();
  EXPECT_EQ(shown(), "CAT HORSE ");
  window.cmdHideAll_Click();
  EXPECT_EQ(shown(), "");
}

TEST_F(WordListFixture, ARefusedAddChangesNeitherTheListNorTheCommands) {
  testing::SetUpPuzzle(app, {"CAT"}, 5, 5, 3);
  BuildPuzzle(app.ctx);
  ASSERT_NE(app.ctx.state.PuzzleBuilt, 0);
  app.ctx.state.WordListChanged = kFalse;
  app.dialogs.ExpectMessage(MessageAnswer::Ok, "Duplicate word");
  Add("cat");
  Add("   ");
  for (Control command : {frmKV_Puzzle::mnuSavePuzzle, frmKV_Puzzle::mnuPrint, frmKV_Puzzle::mnuFillinBlanks,
                          frmKV_Puzzle::mnuOutlineWords}) {
    EXPECT_TRUE(app.ctx.MainForm().Enabled(command)) << command;
  }
  EXPECT_EQ(app.ctx.state.WordListChanged, 0);
}

}  // namespace
}  // namespace kivrel
