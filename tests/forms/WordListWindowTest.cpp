#include <gtest/gtest.h>

#include "../build/BuildHelpers.h"
#include "TestApp.h"
#include "build/BuildPuzzle.h"
#include "forms/WordListWindow.h"
#include "program/CommandStates.h"
#include "program/StartUp.h"

namespace kivrel {
namespace {

using testing::DrawOp;
using testing::TestApp;

struct WordListFixture : ::testing::Test {
  TestApp app;
  WordListWindow window{app.ctx};
  Form& list_form = app.ctx.WordListForm();

  WordListFixture() {
    StartUp(app.ctx, 5);
    app.ctx.MainForm().SetChecked("mnuUpperCase", true);
    app.ctx.MainForm().SetChecked("mnuSound", true);
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
  EXPECT_EQ(list_form.DefaultButton(), "cmdAdd");
  window.cmdAdd_Click();
  EXPECT_EQ(Entries(), std::vector<std::string>{"APPLE"});
  EXPECT_EQ(app.ctx.list.EditText(), "");
  EXPECT_NE(app.ctx.state.WordListChanged, 0);
  EXPECT_TRUE(app.ctx.MainForm().Enabled("mnuBuild"));  // the list is ready
  EXPECT_EQ(list_form.FocusedControl(), "cboWordList");

  app.dialogs.ExpectMessage(MessageAnswer::Ok, "Duplicate word");
  Add("Apple");
  EXPECT_EQ(Entries(), std::vector<std::string>{"APPLE"});
  EXPECT_EQ(app.ctx.list.EditText(), "APPLE");  // upper-cased, and kept for editing

  app.ctx.MainForm().SetChecked("mnuUpperCase", false);
  Add("pear");
  EXPECT_EQ(Entries(), (std::vector<std::string>{"APPLE", "pear"}));
  EXPECT_TRUE(list_form.Enabled("cmdClear") && !list_form.Enabled("cmdReplace"));
}

TEST_F(WordListFixture, SelectingAnEntryMovesTheDefaultToReplace) {
  Add("CAT");
  Add("DOG");
  window.SelectEntry(1);
  EXPECT_EQ(app.ctx.list.EditText(), "DOG");
  EXPECT_EQ(app.ctx.state.EditIndex, 1);
  EXPECT_EQ(list_form.DefaultButton(), "cmdReplace");
  EXPECT_TRUE(list_form.Enabled("cmdRemove") && !list_form.Enabled("cmdShowWord"));  // no puzzle yet
  Type("DOGS");  // a typed change keeps the entry being edited
  EXPECT_EQ(app.ctx.state.EditIndex, 1);
  EXPECT_EQ(list_form.DefaultButton(), "cmdReplace");
  Type("");  // emptying the field returns to a new entry
  EXPECT_EQ(app.ctx.state.EditIndex, -1);
  EXPECT_EQ(app.ctx.list.ListIndex(), -1);
  EXPECT_EQ(list_form.DefaultButton(), "cmdAdd");
  EXPECT_FALSE(list_form.Enabled("cmdReplace"));
}

TEST_F(WordListFixture, ReplaceRefusesAnotherEntrysTextButTakesACaseChange) {
  app.ctx.MainForm().SetChecked("mnuUpperCase", false);
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

TEST_F(WordListFixture, RemovingTheLastEntryDiscardsThePuzzle) {
  testing::SetUpPuzzle(app, {"CAT"}, 5, 5, 3);
  BuildPuzzle(app.ctx);
  ASSERT_NE(app.ctx.state.PuzzleBuilt, 0);
  window.SelectEntry(0);
  window.cmdRemove_Click();
  EXPECT_EQ(app.ctx.list.ListCount(), 0);
  EXPECT_EQ(std::tie(app.ctx.state.PuzzleBuilt, app.ctx.state.WordCount), std::make_tuple(i16{0}, i16{0}));
  EXPECT_TRUE(!app.ctx.MainForm().Enabled("mnuBuild") && list_form.Enabled("cmdAdd"));  // the empty-list state
}

TEST_F(WordListFixture, ShowWordTurnsItsLettersRedAndHideAllTurnsThemBlack) {
  testing::SetUpPuzzle(app, {"ELEPHANT", "CAT", "HORSE"}, 10, 10, 11);
  BuildPuzzle(app.ctx);
  const WordRecord& word = app.ctx.state.Words[2];
  ASSERT_EQ(word.Status, kStatusPlaced);
  const CellRecord& first = app.ctx.state.Grid.At(word.StartRow, word.StartCol);
  // Presses a button and returns how many letters it drew, all in the given colour.
  auto press = [&](void (WordListWindow::*button)(), Rgb colour) {
    app.picture.ops.clear();
    (window.*button)();
    const auto texts = app.picture.OfKind(DrawOp::Kind::Text);
    for (const DrawOp& op : texts) EXPECT_EQ(op.color, colour);
    return texts.size();
  };
  window.SelectEntry(1);
  EXPECT_TRUE(list_form.Enabled("cmdShowWord"));
  EXPECT_EQ(press(&WordListWindow::cmdShowWord_Click, kRed), 3u);
  EXPECT_EQ(std::tie(word.Shown, first.ShowCount), std::make_tuple(i16{1}, i16{1}));
  EXPECT_EQ(list_form.Text("cmdShowWord"), "Hide &Word");

  EXPECT_GT(press(&WordListWindow::cmdHideAll_Click, kBlack), 0u);
  EXPECT_EQ(first.ShowCount, 0);
  EXPECT_EQ(list_form.Text("cmdShowWord"), "Show &Word");

  window.cmdShowWord_Click();
  EXPECT_EQ(press(&WordListWindow::cmdShowWord_Click, kBlack), 3u) << "pressed again: hidden";
  EXPECT_EQ(word.Shown, 0);
}

TEST_F(WordListFixture, SortEmptiesTheFieldAndClearNeedsNoConfirmation) {
  Add("PEAR");
  Add("APPLE");
  Type("typing");
  window.cmdSort_Click();
  EXPECT_EQ(Entries(), (std::vector<std::string>{"APPLE", "PEAR"}));
  EXPECT_EQ(app.ctx.list.EditText(), "");
  window.cmdClear_Click();
  EXPECT_EQ(app.ctx.list.ListCount(), 0);
  EXPECT_EQ(app.ctx.state.WordListChanged, 0);
  EXPECT_EQ(app.ctx.state.LongestWordLength, 0);
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
  EXPECT_EQ(app.ctx.state.WordListFileName + "/" + list_form.Text("lblFileName") + "/" + list_form.Text("lblWordCount"),
            "/untitled/");
  EXPECT_TRUE(list_form.Visible());
  EXPECT_EQ(app.ctx.state.StopRemainingCount, -1);
  EXPECT_TRUE(list_form.Enabled("cmdAdd") && !app.ctx.MainForm().Enabled("mnuBuild"));
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
  EXPECT_FALSE(app.ctx.MainForm().Enabled("mnuBuild"));
}

}  // namespace
}  // namespace kivrel
