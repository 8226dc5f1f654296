#include <gtest/gtest.h>

#include "../engine/BuildHelpers.h"
#include "RecordedEdits.h"
#include "TestApp.h"
#include "commands/BuildCommands.h"
#include "commands/ListEdits.h"
#include "display/GridDisplay.h"
#include "display/GridViews.h"
#include "files/PuzzleFile.h"
#include "forms/AttributesDialog.h"
#include "print/PageDrawing.h"
#include "program/CommandStates.h"
#include "program/WordTable.h"

namespace kivrel {
namespace {

using namespace frmAttributes;

struct AttributesFixture : ::testing::Test {
  testing::TestApp app;
  PuzzleState& s = app.ctx.state;
  AttributesDialog dialog{app.ctx};
  Form& form = app.ctx.AttributesForm();
  Control focused;  // where the dialog last put the focus

  AttributesFixture() {
    form.Subscribe([this](Control control, Property property) {
      if (property == Property::Focus) focused = control;
    });
  }
  void List(const std::vector<std::string>& words, int width, int height) {
    testing::SetUpPuzzle(app, words, width, height, 9);
    UpdateWordCount(app.ctx);
    BuildWordTable(app.ctx);
  }
  void Build(const std::vector<std::string>& words, int width, int height) {
    List(words, width, height);
    BuildPuzzle(app.ctx);
  }
  void Open() {
    form.Show();
    form.Raise({}, Event::Activate);
  }
  void Ok() { form.Raise(cmdOK, Event::Click); }
  // Opens the dialog, types the texts into their boxes and presses OK.
  void Submit(std::initializer_list<std::pair<Control, std::string>> texts, bool open = true) {
    if (open) Open();
    for (const auto& [box, text] : texts) form.SetText(box, text);
    Ok();
  }
  void Leave(Control box, const std::string& text) {
    form.SetText(box, text);
    form.Raise(box, Event::LostFocus);
  }
  std::string Texts(std::initializer_list<Control> boxes) {
    std::string texts;
    for (Control box : boxes) texts += form.Text(box) + "/";
    return texts;
  }
};

TEST_F(AttributesFixture, LoadsTheStateAndRaisesASizeBelowTheLongestWord) {
  List({"ELEPHANT", "CAT"}, 0, 0);
  s.PuzzleTitle = "Zoo";
  s.StopRemainingCount = 0;
  s.IncludeDiagonals = kTrue;  // -1 shows as a checked box
  Open();
  // The size is the default one for the list.
  EXPECT_EQ(Texts({txtPuzName, txtPuzWidth, txtPuzHeight, txtStopRem}), "Zoo/8/8/0/");
  EXPECT_EQ(std::make_pair(form.Value(chkIncludeDiagonals), form.Value(chkBackwardsWords)), std::make_pair(1, 1));
  EXPECT_TRUE(form.Enabled(chkRestartOnReject));
  s.PuzzleWidth = 5;  // smaller than the longest word
  s.PuzzleHeight = 12;
  s.StopRemainingCount = -1;
  Open();
  EXPECT_EQ(Texts({txtPuzWidth, txtPuzHeight, txtStopRem}), "8/12//");
}

// Too small a size is refused on leaving the box, and by OK (Enter in a box presses OK
// without leaving it); the box is raised to the longest word and keeps the focus.
TEST_F(AttributesFixture, TooSmallASizeIsRefusedOnLeavingAndByOK) {
  List({"ALLIGATOR", "CAT"}, 12, 12);
  Open();
  EXPECT_TRUE(form.State(cmdOK).Default);
  form.SetText(txtPuzWidth, "4");
  app.dialogs.ExpectMessage(MessageAnswer::Ok, "Too narrow - longest word is 9 characters long")
      .ExpectMessage(MessageAnswer::Ok, "Too shallow - longest word is  9 characters long");
  Ok();
  EXPECT_EQ(s.PuzzleWidth, 12);
  EXPECT_TRUE(form.Visible());
  EXPECT_EQ(focused, txtPuzWidth);
  Leave(txtPuzHeight, "3");
  EXPECT_EQ(form.Text(txtPuzHeight), "9");
  EXPECT_EQ(focused, txtPuzHeight);
  Leave(txtPuzWidth, "10");  // large enough: no message
}

// Keys other than digits are refused with a beep; a pasted text gets past the keys, and
// the stop box then says it must be numeric. A good count is taken at once, before OK.
TEST_F(AttributesFixture, NumericBoxesTakeOnlyDigitsAndTheStopBoxMustHoldANumber) {
  for (auto [box, key, taken] : {std::tuple{txtPuzWidth, '7', true},
                                 {txtPuzHeight, '\b', true},
                                 {txtStopRem, '\r', true},
                                 {txtPuzWidth, 'x', false},
                                 {txtStopRem, '-', false}}) {
    EXPECT_EQ(form.RaiseKeyPress(box, key), taken ? key : 0) << key;
  }
  EXPECT_EQ(app.beeper.beeps, 2);
  List({"CAT"}, 5, 5);
  Open();
  app.dialogs.ExpectMessage(MessageAnswer::Ok, "Must be numeric");
  Leave(txtStopRem, "1x");
  EXPECT_EQ(s.StopRemainingCount, -1);
  Leave(txtStopRem, "7");
  EXPECT_EQ(s.StopRemainingCount, 7);
}

// The spin buttons step the boxes and never go below zero; 0 shows as an empty box,
// and an empty box steps down to "0". The reject options exclude each other.
TEST_F(AttributesFixture, SpinButtonsStepTheBoxesAndTheRejectOptionsExcludeEachOther) {
  std::string seen;
  auto spin = [&](Control spinner, Control box, Event event) {
    form.Raise(spinner, event);
    seen += form.Text(box) + "/";
  };
  form.SetText(txtPuzWidth, "2");
  for (int i = 0; i < 4; ++i) spin(spnPuzWidth, txtPuzWidth, Event::SpinDown);
  form.SetText(txtStopRem, "pasted");  // no number counts as 0
  spin(spnStopRem, txtStopRem, Event::SpinUp);
  form.SetText(txtPuzHeight, "15");
  spin(spnPuzHeight, txtPuzHeight, Event::SpinUp);
  EXPECT_EQ(seen, "1//0//1/16/");

  form.SetValue(chkFastBuild, 1);
  form.SetValue(chkStopOnReject, 1);
  form.SetValue(chkRestartOnReject, 1);
  EXPECT_EQ(form.Value(chkStopOnReject), 0);
  form.SetValue(chkStopOnReject, 1);
  EXPECT_EQ(form.Value(chkRestartOnReject), 0);
  form.SetValue(chkFastBuild, 0);
  EXPECT_FALSE(form.Enabled(chkStopOnReject) || form.Value(chkStopOnReject));
}

// A build with too small a grid opens the dialog modeless; leaving it closes it and then
// builds (its buttons could change the size under the build), unless it was cancelled.
TEST_F(AttributesFixture, AGridTooSmallOpensTheDialogAndLeavingItBuildsUnlessCancelled) {
  Build({"ALLIGATOR", "CAT", "DOG"}, 8, 10);
  form.Raise(cmdCancel, Event::Click);
  form.Raise({}, Event::Deactivate);
  EXPECT_EQ(s.PuzzleBuilt, 0);
  EXPECT_FALSE(form.Visible());

  EXPECT_EQ(BuildPuzzle(app.ctx).End, BuildEnd::NotStarted);
  EXPECT_NE(s.AttributesForBuild, 0);
  EXPECT_TRUE(form.Visible() && !form.ShownModal());
  form.Raise({}, Event::Activate);
  EXPECT_EQ(form.Text(txtPuzWidth), "9");  // raised to the longest word on loading
  app.pump.on_yield = [&] { EXPECT_FALSE(form.Visible()) << "open during the build"; };
  form.Raise({}, Event::Deactivate);
  EXPECT_NE(s.PuzzleBuilt, 0);
  EXPECT_TRUE(app.ctx.MainForm().Enabled(frmKV_Puzzle::mnuAttributes) &&
              app.ctx.MainForm().Enabled(frmKV_Puzzle::mnuPrint));
  EXPECT_EQ(std::tie(s.PuzzleWidth, s.InsertedCount, s.AttributesForBuild), std::make_tuple(i16{9}, i16{3}, i16{0}));
  form.Raise({}, Event::Deactivate);  // leaving again builds nothing more
  EXPECT_EQ(s.AttributesForBuild, 0);
}

TEST_F(AttributesFixture, TheAttributesCommandOpensItModalForEditing) {
  s.AttributesForBuild = kTrue;
  app.ctx.MainForm().Raise(frmKV_Puzzle::mnuAttributes, Event::Click);
  EXPECT_EQ(s.AttributesForBuild, 0);
  EXPECT_TRUE(form.ShownModal());

  // Still open from a build: it closes and comes back modal (a window system makes a
  // window modal only as it shows it).
  form.Hide();
  Build({"ALLIGATOR", "CAT", "DOG"}, 8, 10);
  ASSERT_TRUE(form.Visible() && !form.ShownModal());
  std::vector<Property> seen;
  form.Subscribe([&](Control control, Property property) {
    if (control.IsWindow()) seen.push_back(property);
  });
  app.ctx.MainForm().Raise(frmKV_Puzzle::mnuAttributes, Event::Click);
  EXPECT_EQ(seen, (std::vector<Property>{Property::Hidden, Property::Shown}));
  EXPECT_TRUE(form.ShownModal());
  EXPECT_EQ(s.PuzzleBuilt, 0);  // hiding it is no leaving that builds
}

// A spaces count typed needs an operator; one the puzzle already has serves, and a count
// the dialog was opened with (from a file, say) is not the user's to explain.
TEST_F(AttributesFixture, ASpacesCountNeedsAnOperator) {
  List({"ALLIGATOR", "CAT", "DOG"}, 12, 12);
  const struct {
    const char *had, *chosen, *typed;
    i16 count_had;
    bool refused;
    const char* op;
    i16 count;
  } cases[] = {{"", "", "5", -1, true, "", -1},
               {"", "less than", "5", -1, false, "<", 5},
               {"", "", "0", 0, false, "", 0},
               {"<", "", "7", 0, false, "<", 7}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    s.StopRemainingOperator = c.had;
    s.StopRemainingCount = c.count_had;
    if (c.refused) app.dialogs.ExpectMessage(MessageAnswer::Ok, kChooseStopOperatorMessage);
    Submit({{cbxStopRemOp, c.chosen}, {txtStopRem, c.typed}});
    EXPECT_EQ(form.Visible(), c.refused);
    EXPECT_EQ(focused == cbxStopRemOp, c.refused);
    EXPECT_EQ(std::tie(s.StopRemainingOperator, s.StopRemainingCount), std::make_tuple(std::string(c.op), c.count));
  }
}

TEST_F(AttributesFixture, TheQuoteCountsTheLettersTheFillWritesAgainstTheSpacesLeft) {
  List({"ÉCLAIR", "CRÊPE", "TARTE", "MOUSSE", "FLAN"}, 7, 7);
  Open();
  // É and Ê are letters of the words, so the fill writes them; À and punctuation it skips.
  const std::string quote = "Voilà, c'est prêt! Écoute.";
  form.SetText(txtMysteryQuote, quote);
  EXPECT_EQ(form.Text(lblLetterCount), "18 letters, 49 spaces remaining");
  Ok();
  EXPECT_EQ(s.MysteryQuote, quote);
  BuildPuzzle(app.ctx);
  Open();  // the quote comes back from the puzzle, against the spaces the build left
  EXPECT_EQ(form.Text(txtMysteryQuote), quote);
  EXPECT_EQ(form.Text(lblLetterCount), "18 letters, " + std::to_string(s.SpacesRemaining) + " spaces remaining");

  // A new quote for a filled puzzle fills it again, so that its letters spell it.
  FillInBlanks(app.ctx);
  form.SetText(txtMysteryQuote, "Bon appétit");
  Ok();
  std::string read;
  for (auto [r, c] : UnusedCells(s.Grid)) read += s.Grid.At(r, c).Letter;
  EXPECT_EQ(read.substr(0, 11), "BONAPPÉTIT");
  EXPECT_NE(s.BlanksFilled, 0);

  // Default Dimensions makes room for the quote and asks the build to leave its cells.
  Open();
  form.Raise(cmdDefaultDimensions, Event::Click);
  EXPECT_EQ(Texts({txtPuzWidth, txtPuzHeight, cbxStopRemOp, txtStopRem}), "6/6/equal to/10/");
  Ok();
  EXPECT_EQ(std::tie(s.StopRemainingOperator, s.StopRemainingCount), std::make_tuple(std::string("="), i16{10}));
}

// Default Dimensions changes the size at once and Cancel keeps it, so the grid on screen
// may be larger or smaller than PuzzleWidth x PuzzleHeight: what draws, marks, fills,
// prints or saves the grid must keep to the grid's own bounds.
TEST_F(AttributesFixture, EverythingKeepsToTheGridAfterDefaultDimensionsAndCancel) {
  const std::vector<std::string> few = {"ALLIGATOR", "ELEPHANT", "GIRAFFE", "ZEBRA", "LION", "CAT", "DOG", "EMU"};
  const std::vector<std::string> many(20, "ALLIGATOR");
  // A grid larger than the default size (9 x 9), then, with twenty more words in the
  // list, one smaller than it (13 x 13).
  for (auto [words, built_side, default_side] : {std::tuple{few, 30, 9}, std::tuple{many, 9, 13}}) {
    SCOPED_TRACE(built_side);
    Build(words, built_side, built_side);
    ASSERT_NE(s.PuzzleBuilt, 0);
    Open();
    form.Raise(cmdDefaultDimensions, Event::Click);
    form.Raise(cmdCancel, Event::Click);
    ASSERT_EQ(s.PuzzleWidth, default_side) << "Cancel does not undo Default Dimensions";
    ASSERT_EQ(s.Grid.Width(), built_side);
    SizePuzzleDisplay(app.ctx);  // the window is resized: the picture still shows the whole grid
    EXPECT_EQ(app.ctx.MainForm().Bounds(frmKV_Puzzle::picPuzzle).Width, built_side * app.ctx.display.CellSize);
    FillInBlanks(app.ctx);
    ToggleOutlines(app.ctx);
    ToggleJunctions(app.ctx);
    s.SelectedWordIndex = 1;
    ShowSelectedWord(app.ctx, WriteMode::Show);
    ClearHighlights(app.ctx);
    testing::RecordingSurface page;
    app.ctx.preview = &page;
    DrawPreviewPage(app.ctx);
    app.ctx.preview = nullptr;
    auto bytes = EncodePuzzleFile(PuzzleFileFromState(s));
    ASSERT_TRUE(bytes) << bytes.Error().Reason;
    EXPECT_TRUE(ParsePuzzleFile(*bytes));  // what is saved reads back as a puzzle
  }
}

// Each OK is one step. What the list file's header holds (title, instructions, size,
// options, quote) counts as a change of the list; the build rules do not.
TEST_F(AttributesFixture, EachOKIsOneStepAndTheHeaderIsPartOfTheList) {
  testing::RecordedEdits edits;
  AttachEditHistory(app.ctx, edits);
  Build({"ELEPHANT", "CAT", "HORSE"}, 10, 10);
  ASSERT_NE(s.PuzzleBuilt, 0);
  s.WordListChanged = kFalse;
  Open();
  EXPECT_EQ(focused, txtPuzName);  // the title is typed first
  form.SetValue(chkIncludeDiagonals, 0);
  form.SetValue(chkBackwardsWords, 0);
  Submit({{txtPuzName, "Zoo"}, {txtInstructions, "Find them all."}, {txtStopRem, ""}}, false);
  EXPECT_FALSE(form.Visible());
  EXPECT_EQ(app.ctx.MainForm().Caption(), "Kivrel Puzzle Maker - Zoo");
  EXPECT_EQ(std::tie(s.PuzzleInstructions, s.StopRemainingCount, s.IncludeDiagonals, s.BackwardsWords),
            std::make_tuple(std::string("Find them all."), i16{-1}, i16{0}, i16{0}));
  EXPECT_NE(s.WordListChanged, 0);
  EXPECT_EQ(edits.NextUndo(), "Attributes");
  EXPECT_NE(s.PuzzleBuilt, 0) << "the same size keeps the puzzle";

  Open();
  form.SetText(txtPuzName, "Typed, then cancelled");
  form.Raise(cmdCancel, Event::Click);
  s.WordListChanged = kFalse;
  Submit({{cbxStopRemOp, "less than"}, {txtStopRem, "5"}});
  EXPECT_EQ(s.WordListChanged, 0) << "no list file holds the build rules";
  app.dialogs.ExpectMessage(MessageAnswer::Ok, kPuzzleTooLargeMessage);
  Submit({{txtPuzWidth, "500"}});  // no page holds it: refused, and no step
  EXPECT_TRUE(form.Visible());
  EXPECT_EQ(s.PuzzleWidth, 10);
  form.SetText(txtPuzWidth, "12");
  Ok();
  EXPECT_EQ(s.PuzzleBuilt, 0);

  UndoEdit(app.ctx);
  EXPECT_EQ(std::tie(s.PuzzleWidth, s.StopRemainingCount), std::make_tuple(i16{10}, i16{5}));
  UndoEdit(app.ctx);
  EXPECT_EQ(s.StopRemainingCount, -1);
  UndoEdit(app.ctx);
  EXPECT_EQ(std::tie(s.PuzzleTitle, s.PuzzleInstructions, s.BackwardsWords),
            std::make_tuple(std::string(), std::string(), i16{1}));
  EXPECT_EQ(app.ctx.MainForm().Caption(), "Kivrel Puzzle Maker - ");
  EXPECT_FALSE(edits.NextUndo()) << "Cancel made no step";
  RedoEdit(app.ctx);
  EXPECT_EQ(std::tie(s.PuzzleTitle, s.BackwardsWords), std::make_tuple(std::string("Zoo"), i16{0}));
}

// The table of a puzzle on screen holds its placements: the dialog reads the longest
// word from it and leaves it whole, however the list was edited since the build.
TEST_F(AttributesFixture, TheTableOfAShownPuzzleIsNeverRebuilt) {
  Build({"ELEPHANT", "CAT", "HORSE"}, 10, 10);
  ASSERT_NE(s.PuzzleBuilt, 0);
  const std::vector<WordRecord> puzzle = s.Words;
  ASSERT_TRUE(AddEntry(app.ctx, "GNU"));  // as the word list window adds it
  UpdateWordCount(app.ctx);
  s.WordTableStale = kTrue;
  Open();
  form.Raise(cmdCancel, Event::Click);
  EXPECT_EQ(s.Words, puzzle);
  EXPECT_NE(s.PuzzleBuilt, 0);
  ClearPuzzle(app.ctx);  // no puzzle: the dialog reads the list again
  Open();
  EXPECT_EQ(s.Words[4].Text, "GNU");
}

}  // namespace
}  // namespace kivrel
