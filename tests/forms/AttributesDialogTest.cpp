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

using testing::TestApp;

struct AttributesFixture : ::testing::Test {
  TestApp app;
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
  void Open() {
    form.Show();
    form.Raise({}, Event::Activate);
  }
  std::string Texts(std::initializer_list<Control> boxes) {
    std::string texts;
    for (Control box : boxes) texts += form.Text(box) + "/";
    return texts;
  }
};

TEST_F(AttributesFixture, LoadsTheStateAndRaisesASizeBelowTheLongestWord) {
  List({"ELEPHANT", "CAT"}, 0, 0);
  app.ctx.state.PuzzleTitle = "Zoo";
  app.ctx.state.StopRemainingCount = 0;
  app.ctx.state.IncludeDiagonals = kTrue;  // -1 shows as a checked box
  Open();
  // The size is the default one for the list.
  EXPECT_EQ(Texts({txtPuzName, txtPuzWidth, txtPuzHeight, txtStopRem}), "Zoo/8/8/0/");
  EXPECT_EQ(form.Value(chkIncludeDiagonals), 1);
  EXPECT_EQ(form.Value(chkBackwardsWords), 1);
  EXPECT_TRUE(form.Enabled(chkRestartOnReject));

  app.ctx.state.PuzzleWidth = 5;  // smaller than the longest word
  app.ctx.state.PuzzleHeight = 12;
  app.ctx.state.StopRemainingCount = -1;
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
  app.dialogs.ExpectMessage(MessageAnswer::Ok, "Too narrow - longest word is 9 characters long");
  form.Raise(cmdOK, Event::Click);
  EXPECT_EQ(app.ctx.state.PuzzleWidth, 12);
  EXPECT_TRUE(form.Visible());
  EXPECT_EQ(focused, txtPuzWidth);

  form.SetText(txtPuzHeight, "3");
  app.dialogs.ExpectMessage(MessageAnswer::Ok, "Too shallow - longest word is  9 characters long");
  form.Raise(txtPuzHeight, Event::LostFocus);
  EXPECT_EQ(form.Text(txtPuzHeight), "9");
  EXPECT_EQ(focused, txtPuzHeight);
  form.SetText(txtPuzWidth, "10");
  form.Raise(txtPuzWidth, Event::LostFocus);  // large enough: no message
}

TEST_F(AttributesFixture, NumericBoxesTakeOnlyDigitsAndTheStopBoxMustHoldANumber) {
  EXPECT_EQ(form.RaiseKeyPress(txtPuzWidth, '7'), '7');
  EXPECT_EQ(form.RaiseKeyPress(txtPuzHeight, 8), 8);
  EXPECT_EQ(form.RaiseKeyPress(txtStopRem, 13), 13);
  EXPECT_EQ(app.beeper.beeps, 0);
  EXPECT_EQ(form.RaiseKeyPress(txtPuzWidth, 'x'), 0);
  EXPECT_EQ(form.RaiseKeyPress(txtStopRem, '-'), 0);
  EXPECT_EQ(app.beeper.beeps, 2);

  // A pasted text gets past the keys.
  List({"CAT"}, 5, 5);
  Open();
  form.SetText(txtStopRem, "1x");
  app.dialogs.ExpectMessage(MessageAnswer::Ok, "Must be numeric");
  form.Raise(txtStopRem, Event::LostFocus);
  EXPECT_EQ(app.ctx.state.StopRemainingCount, -1);
  form.SetText(txtStopRem, "7");
  form.Raise(txtStopRem, Event::LostFocus);
  EXPECT_EQ(app.ctx.state.StopRemainingCount, 7);  // at once, before OK
}

TEST_F(AttributesFixture, SpinButtonsStepTheBoxesAndNeverGoBelowZero) {
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
  EXPECT_EQ(seen, "1//0//1/16/");  // 0 shows as an empty box, and an empty box steps down to "0"
}

TEST_F(AttributesFixture, TheRejectOptionsExcludeEachOther) {
  form.SetValue(chkFastBuild, 1);
  form.SetValue(chkStopOnReject, 1);
  form.SetValue(chkRestartOnReject, 1);
  EXPECT_EQ(form.Value(chkStopOnReject), 0);
  form.SetValue(chkStopOnReject, 1);
  EXPECT_EQ(form.Value(chkRestartOnReject), 0);
  form.SetValue(chkFastBuild, 0);
  EXPECT_FALSE(form.Enabled(chkStopOnReject));
  EXPECT_EQ(form.Value(chkStopOnReject), 0);
}

TEST_F(AttributesFixture, AGridTooSmallOpensTheDialogAndLeavingItBuildsUnlessCancelled) {
  List({"ALLIGATOR", "CAT", "DOG"}, 8, 10);
  BuildPuzzle(app.ctx);
  form.Raise(cmdCancel, Event::Click);
  form.Raise({}, Event::Deactivate);
  EXPECT_EQ(app.ctx.state.PuzzleBuilt, 0);
  EXPECT_FALSE(form.Visible());

  EXPECT_EQ(BuildPuzzle(app.ctx).End, BuildEnd::NotStarted);
  EXPECT_NE(app.ctx.state.AttributesForBuild, 0);
  EXPECT_TRUE(form.Visible());
  EXPECT_FALSE(form.ShownModal());
  form.Raise({}, Event::Activate);
  EXPECT_EQ(form.Text(txtPuzWidth), "9");  // raised to the longest word on loading
  bool open_during_build = false;
  app.pump.on_yield = [&] { open_during_build = open_during_build || form.Visible(); };
  form.Raise({}, Event::Deactivate);
  EXPECT_FALSE(open_during_build) << "it closes first: its buttons could change the size under the build";
  EXPECT_NE(app.ctx.state.PuzzleBuilt, 0);
  EXPECT_TRUE(app.ctx.MainForm().Enabled(frmKV_Puzzle::mnuAttributes) &&
              app.ctx.MainForm().Enabled(frmKV_Puzzle::mnuPrint));
  EXPECT_EQ(std::tie(app.ctx.state.PuzzleWidth, app.ctx.state.InsertedCount, app.ctx.state.AttributesForBuild),
            std::make_tuple(i16{9}, i16{3}, i16{0}));
  form.Raise({}, Event::Deactivate);  // leaving again builds nothing more
  EXPECT_EQ(app.ctx.state.AttributesForBuild, 0);
}

TEST_F(AttributesFixture, TheAttributesCommandOpensItModalForEditing) {
  app.ctx.state.AttributesForBuild = kTrue;
  app.ctx.MainForm().Raise(frmKV_Puzzle::mnuAttributes, Event::Click);
  EXPECT_EQ(app.ctx.state.AttributesForBuild, 0);
  EXPECT_TRUE(form.ShownModal());

  // Still open from a build: it closes and comes back modal (a window system makes a
  // window modal only as it shows it).
  form.Hide();
  List({"ALLIGATOR", "CAT", "DOG"}, 8, 10);
  BuildPuzzle(app.ctx);
  ASSERT_TRUE(form.Visible() && !form.ShownModal());
  std::vector<Property> seen;
  form.Subscribe([&](Control control, Property property) {
    if (control.IsWindow()) seen.push_back(property);
  });
  app.ctx.MainForm().Raise(frmKV_Puzzle::mnuAttributes, Event::Click);
  EXPECT_EQ(seen, (std::vector<Property>{Property::Hidden, Property::Shown}));
  EXPECT_TRUE(form.ShownModal());
  EXPECT_EQ(app.ctx.state.PuzzleBuilt, 0);  // hiding it is no leaving that builds
}

TEST_F(AttributesFixture, ASpacesCountNeedsAnOperator) {
  List({"ALLIGATOR", "CAT", "DOG"}, 12, 12);
  Open();
  form.SetText(txtStopRem, "5");
  app.dialogs.ExpectMessage(MessageAnswer::Ok, kChooseStopOperatorMessage);
  form.Raise(cmdOK, Event::Click);
  EXPECT_TRUE(form.Visible());
  EXPECT_EQ(app.ctx.state.StopRemainingCount, -1);
  EXPECT_EQ(focused, cbxStopRemOp);

  form.SetText(cbxStopRemOp, "less than");
  form.Raise(cmdOK, Event::Click);
  EXPECT_FALSE(form.Visible());
  EXPECT_EQ(std::tie(app.ctx.state.StopRemainingOperator, app.ctx.state.StopRemainingCount),
            std::make_tuple(std::string("<"), i16{5}));

  // A count the dialog was opened with (from a file, say) is not the user's to explain.
  app.ctx.state.StopRemainingOperator.clear();
  app.ctx.state.StopRemainingCount = 0;
  Open();
  form.SetText(cbxStopRemOp, "");
  form.Raise(cmdOK, Event::Click);
  EXPECT_FALSE(form.Visible());

  // An operator the puzzle already has serves when none is chosen.
  app.ctx.state.StopRemainingOperator = "<";
  Open();
  form.SetText(cbxStopRemOp, "");
  form.SetText(txtStopRem, "7");
  form.Raise(cmdOK, Event::Click);
  EXPECT_EQ(std::tie(app.ctx.state.StopRemainingOperator, app.ctx.state.StopRemainingCount),
            std::make_tuple(std::string("<"), i16{7}));
}

TEST_F(AttributesFixture, TheQuoteCountsTheLettersTheFillWritesAgainstTheSpacesLeft) {
  List({"ÉCLAIR", "CRÊPE", "TARTE", "MOUSSE", "FLAN"}, 7, 7);
  Open();
  // É and Ê are letters of the words, so the fill writes them; À and punctuation it skips.
  const std::string quote = "Voilà, c'est prêt! Écoute.";
  form.SetText(txtMysteryQuote, quote);
  EXPECT_EQ(form.Text(lblLetterCount), "18 letters, 49 spaces remaining");
  form.Raise(cmdOK, Event::Click);
  EXPECT_EQ(app.ctx.state.MysteryQuote, quote);
  BuildPuzzle(app.ctx);
  Open();  // the quote comes back from the puzzle, against the spaces the build left
  EXPECT_EQ(form.Text(txtMysteryQuote), quote);
  EXPECT_EQ(form.Text(lblLetterCount),
            "18 letters, " + std::to_string(app.ctx.state.SpacesRemaining) + " spaces remaining");

  // A new quote for a filled puzzle fills it again, so that its letters spell it.
  FillInBlanks(app.ctx);
  form.SetText(txtMysteryQuote, "Bon appétit");
  form.Raise(cmdOK, Event::Click);
  std::string read;
  for (auto [r, c] : UnusedCells(app.ctx.state.Grid)) read += app.ctx.state.Grid.At(r, c).Letter;
  EXPECT_EQ(read.substr(0, 11), "BONAPPÉTIT");
  EXPECT_NE(app.ctx.state.BlanksFilled, 0);
  Open();

  // Default Dimensions makes room for the quote and asks the build to leave its cells.
  form.Raise(cmdDefaultDimensions, Event::Click);
  EXPECT_EQ(Texts({txtPuzWidth, txtPuzHeight, cbxStopRemOp, txtStopRem}), "6/6/equal to/10/");
  form.Raise(cmdOK, Event::Click);
  EXPECT_EQ(std::tie(app.ctx.state.StopRemainingOperator, app.ctx.state.StopRemainingCount),
            std::make_tuple(std::string("="), i16{10}));
}

// Default Dimensions changes the size at once and Cancel keeps it, so the grid on screen
// may be larger or smaller than PuzzleWidth x PuzzleHeight: everything that draws,
// fills, prints or saves the grid must keep to the grid's own bounds.
TEST_F(AttributesFixture, EverythingKeepsToTheGridAfterDefaultDimensionsAndCancel) {
  const std::vector<std::string> few = {"ALLIGATOR", "ELEPHANT", "GIRAFFE", "ZEBRA", "LION", "CAT", "DOG", "EMU"};
  const std::vector<std::string> many(20, "ALLIGATOR");
  // A grid larger than the default size (9 x 9), then, with twenty more words in the
  // list, one smaller than it (13 x 13).
  for (auto [words, built_side, default_side] : {std::tuple{few, 30, 9}, std::tuple{many, 9, 13}}) {
    SCOPED_TRACE(built_side);
    List(words, built_side, built_side);
    BuildPuzzle(app.ctx);
    ASSERT_NE(app.ctx.state.PuzzleBuilt, 0);
    Open();
    form.Raise(cmdDefaultDimensions, Event::Click);
    EXPECT_EQ(form.Text(txtPuzWidth), std::to_string(default_side));
    form.Raise(cmdCancel, Event::Click);
    ASSERT_EQ(app.ctx.state.PuzzleWidth, default_side) << "Cancel does not undo Default Dimensions";
    ASSERT_EQ(app.ctx.state.Grid.Width(), built_side);
    SizePuzzleDisplay(app.ctx);  // the window is resized: the picture still shows the whole grid
    EXPECT_EQ(app.ctx.MainForm().Bounds(frmKV_Puzzle::picPuzzle).Width, built_side * app.ctx.display.CellSize);

    FillInBlanks(app.ctx);
    ToggleOutlines(app.ctx);
    ToggleJunctions(app.ctx);
    ToggleJunctions(app.ctx);
    app.ctx.state.SelectedWordIndex = 1;
    ShowSelectedWord(app.ctx, WriteMode::Show);
    ClearHighlights(app.ctx);
    testing::RecordingSurface page;
    app.ctx.preview = &page;
    DrawPreviewPage(app.ctx);
    app.ctx.preview = nullptr;

    auto bytes = EncodePuzzleFile(PuzzleFileFromState(app.ctx.state));
    ASSERT_TRUE(bytes) << bytes.Error().Reason;
    auto read = ParsePuzzleFile(*bytes);
    ASSERT_TRUE(read) << read.Error().Reason;  // what is saved reads back as a puzzle
  }
}

// Each OK is one step. What the list file's header holds (title, instructions, size,
// options, quote) counts as a change of the list; the build rules do not.
TEST_F(AttributesFixture, EachOKIsOneStepAndTheHeaderIsPartOfTheList) {
  testing::RecordedEdits edits;
  AttachEditHistory(app.ctx, edits);
  List({"ELEPHANT", "CAT", "HORSE"}, 10, 10);
  BuildPuzzle(app.ctx);
  ASSERT_NE(app.ctx.state.PuzzleBuilt, 0);
  PuzzleState& s = app.ctx.state;
  s.WordListChanged = kFalse;
  Open();
  EXPECT_EQ(focused, txtPuzName);  // the title is typed first
  form.SetText(txtPuzName, "Zoo");
  form.SetText(txtInstructions, "Find them all.");
  form.SetText(txtStopRem, "");
  form.SetValue(chkIncludeDiagonals, 0);
  form.SetValue(chkBackwardsWords, 0);
  form.Raise(cmdOK, Event::Click);
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
  Open();
  form.SetText(cbxStopRemOp, "less than");
  form.SetText(txtStopRem, "5");
  s.WordListChanged = kFalse;
  form.Raise(cmdOK, Event::Click);
  EXPECT_EQ(s.WordListChanged, 0) << "no list file holds the build rules";
  Open();
  form.SetText(txtPuzWidth, "500");  // no page holds it: refused, and no step
  app.dialogs.ExpectMessage(MessageAnswer::Ok, kPuzzleTooLargeMessage);
  form.Raise(cmdOK, Event::Click);
  EXPECT_TRUE(form.Visible());
  EXPECT_EQ(s.PuzzleWidth, 10);
  form.SetText(txtPuzWidth, "12");
  form.Raise(cmdOK, Event::Click);
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
  List({"ELEPHANT", "CAT", "HORSE"}, 10, 10);
  BuildPuzzle(app.ctx);
  ASSERT_NE(app.ctx.state.PuzzleBuilt, 0);
  const std::vector<WordRecord> puzzle = app.ctx.state.Words;
  ASSERT_TRUE(AddEntry(app.ctx, "GNU"));  // as the word list window adds it
  UpdateWordCount(app.ctx);
  app.ctx.state.WordTableStale = kTrue;
  Open();
  form.Raise(cmdCancel, Event::Click);
  EXPECT_EQ(app.ctx.state.Words, puzzle);
  EXPECT_NE(app.ctx.state.PuzzleBuilt, 0);

  ClearPuzzle(app.ctx);  // no puzzle: the dialog reads the list again
  Open();
  EXPECT_EQ(app.ctx.state.Words[4].Text, "GNU");
}

}  // namespace
}  // namespace kivrel
