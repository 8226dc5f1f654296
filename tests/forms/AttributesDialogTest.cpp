#include <gtest/gtest.h>

#include <chrono>

#include "RecordedEdits.h"
#include "TestApp.h"
#include "commands/BuildCommands.h"
#include "commands/ListEdits.h"
#include "display/GridDisplay.h"
#include "display/GridViews.h"
#include "files/PuzzleFile.h"
#include "forms/AttributesDialog.h"
#include "print/PageDrawing.h"

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
  void Build(const std::vector<std::string>& words, int width, int height, bool build = true) {
    app.SetUpPuzzle(words, width, height, 9);
    if (build) BuildPuzzle(app.ctx);
  }
  void Open() {
    form.Show();
    form.Raise({}, Event::Activate);
  }
  void Ok() { form.Raise(cmdOK, Event::Click); }
  // Opens the dialog, types the texts into their boxes and presses OK.
  void Submit(std::initializer_list<std::pair<Control, std::string>> texts) {
    Open();
    for (const auto& [box, text] : texts) form.SetText(box, text);
    Ok();
  }
  void Leave(Control box, const std::string& text) {
    form.SetText(box, text);
    form.Raise(box, Event::LostFocus);
  }
};

// The dialog shows the state, a size at least the longest word's; the number boxes take
// digits only (other keys beep) and the spin buttons step them. Too small a size is
// refused on leaving the box and by OK (Enter in a box presses OK without leaving it);
// the box is raised to the longest word and keeps the focus. A stop count that is no
// number is refused on leaving the box.
TEST_F(AttributesFixture, LoadsTheStateAndRefusesWhatMakesNoPuzzle) {
  Build({"ALLIGATOR", "CAT"}, 5, 12, false);
  s.PuzzleTitle = "Zoo";
  s.StopRemainingCount = i16{-1};
  s.IncludeDiagonals = kTrue;
  Open();
  EXPECT_EQ(
      std::make_tuple(form.Text(txtPuzName), form.Text(txtPuzWidth), form.Text(txtPuzHeight), form.Text(txtStopRem)),
      std::make_tuple("Zoo", "9", "12", ""));
  EXPECT_EQ(std::make_pair(form.Value(chkIncludeDiagonals), form.Value(chkBackwardsWords)), std::make_pair(1, 1));
  // The digits pass, from '0' to '9'; the characters beside them do not, and beep.
  EXPECT_EQ(std::make_tuple(form.RaiseKeyPress(txtPuzWidth, '0'), form.RaiseKeyPress(txtPuzWidth, '9'),
                            form.RaiseKeyPress(txtStopRem, '/'), form.RaiseKeyPress(txtStopRem, ':')),
            std::make_tuple(int{'0'}, int{'9'}, 0, 0));
  EXPECT_EQ(app.beeper.beeps, 2);
  form.SetText(txtStopRem, "pasted");  // no number counts as 0
  form.Raise(spnStopRem, Event::SpinUp);
  EXPECT_EQ(form.Text(txtStopRem), "1");

  form.SetText(txtPuzWidth, "4");
  app.dialogs.ExpectMessage(MessageAnswer::Ok, "Too narrow - longest word is 9 characters long")
      .ExpectMessage(MessageAnswer::Ok, "Too shallow - longest word is  9 characters long")
      .ExpectMessage(MessageAnswer::Ok, "Must be numeric");
  Ok();
  EXPECT_EQ(std::make_tuple(s.PuzzleWidth, form.Visible(), focused), std::make_tuple(i16{5}, true, txtPuzWidth));
  Leave(txtPuzHeight, "3");
  EXPECT_EQ(std::make_pair(form.Text(txtPuzHeight), focused), std::make_pair(std::string("9"), txtPuzHeight));
  Leave(txtPuzWidth, "10");  // large enough: no message
  Leave(txtStopRem, "1x");
  EXPECT_EQ(s.StopRemainingCount, -1);
  // A spaces count typed needs an operator; one the puzzle already has serves, and a
  // count the dialog was opened with (from a file, say) is not the user's to explain.
  // (had, chosen, typed, count had, refused, operator, count)
  const std::tuple<const char*, const char*, const char*, i16, bool, const char*, i16> cases[] = {
      {"", "", "5", -1, true, "", -1},
      {"", "less than", "5", -1, false, "<", 5},
      {"", "", "0", 0, false, "", 0},
      {"<", "", "7", 0, false, "<", 7}};
  for (const auto& [had, chosen, typed, count_had, refused, op, count] : cases) {
    SCOPED_TRACE(typed);
    s.StopRemainingOperator = had;
    s.StopRemainingCount = count_had;
    if (refused) app.dialogs.ExpectMessage(MessageAnswer::Ok, kChooseStopOperatorMessage);
    Submit({{cbxStopRemOp, chosen}, {txtStopRem, typed}});
    EXPECT_EQ(std::make_pair(form.Visible(), focused == cbxStopRemOp), std::make_pair(refused, refused));
    EXPECT_EQ(std::tie(s.StopRemainingOperator, s.StopRemainingCount), std::make_tuple(std::string(op), count));
  }
}

// A build with too small a grid opens the dialog modeless; leaving it closes it and then
// builds (its buttons could change the size under the build), unless it was cancelled.
// The Attributes command opens it modal: from a build's dialog it closes and comes back
// modal (a window system makes a window modal only as it shows it), building nothing.
TEST_F(AttributesFixture, AGridTooSmallOpensTheDialogAndLeavingItBuildsUnlessCancelled) {
  Build({"ALLIGATOR", "CAT", "DOG"}, 8, 10);
  form.Raise(cmdCancel, Event::Click);
  form.Raise({}, Event::Deactivate);
  EXPECT_EQ(std::make_pair(s.PuzzleBuilt, form.Visible()), std::make_pair(i16{0}, false));

  EXPECT_EQ(BuildPuzzle(app.ctx).End, BuildEnd::NotStarted);
  EXPECT_TRUE(s.AttributesForBuild && form.Visible() && !form.ShownModal());
  std::vector<Property> seen;
  form.Subscribe([&](Control control, Property property) {
    if (control.IsWindow() && (property == Property::Hidden || property == Property::Shown)) seen.push_back(property);
  });
  app.ctx.MainForm().Raise(frmKV_Puzzle::mnuAttributes, Event::Click);
  EXPECT_EQ(seen, (std::vector<Property>{Property::Hidden, Property::Shown}));
  EXPECT_TRUE(form.ShownModal() && !s.AttributesForBuild && !s.PuzzleBuilt);

  form.Hide();
  BuildPuzzle(app.ctx);
  form.Raise({}, Event::Activate);
  app.pump.on_yield = [&] { EXPECT_FALSE(form.Visible()) << "open during the build"; };
  form.Raise({}, Event::Deactivate);
  EXPECT_EQ(std::tie(s.PuzzleWidth, s.InsertedCount, s.AttributesForBuild), std::make_tuple(i16{9}, i16{3}, i16{0}));
}

// The quote's letters (those the fill writes: letters of the words, not À) are counted
// against the spaces left; a new quote for a filled puzzle fills it again, and Default
// Dimensions makes room for it and asks the build to leave its cells.
TEST_F(AttributesFixture, TheQuoteCountsTheLettersTheFillWritesAgainstTheSpacesLeft) {
  Build({"ÉCLAIR", "CRÊPE", "TARTE", "MOUSSE", "FLAN"}, 7, 7, false);
  const std::string quote = "Voilà, c'est prêt! Écoute.";
  Submit({{txtMysteryQuote, quote}});
  EXPECT_EQ(std::make_pair(form.Text(lblLetterCount), s.MysteryQuote),
            std::make_pair(std::string("18 letters, 49 spaces remaining"), quote));
  BuildPuzzle(app.ctx);
  Open();  // the quote comes back from the puzzle, against the spaces the build left
  EXPECT_EQ(form.Text(lblLetterCount), "18 letters, " + std::to_string(s.SpacesRemaining) + " spaces remaining");

  FillInBlanks(app.ctx);
  form.SetText(txtMysteryQuote, "Bon appétit");
  Ok();
  std::string read;
  for (auto [r, c] : UnusedCells(s.Grid)) read += s.Grid.At(r, c).Letter;
  EXPECT_EQ(read.substr(0, 11), "BONAPPÉTIT");

  Open();
  form.Raise(cmdDefaultDimensions, Event::Click);
  EXPECT_EQ(
      std::make_tuple(form.Text(txtPuzWidth), form.Text(txtPuzHeight), form.Text(cbxStopRemOp), form.Text(txtStopRem)),
      std::make_tuple("6", "6", "equal to", "10"));
  Ok();
  EXPECT_EQ(std::tie(s.StopRemainingOperator, s.StopRemainingCount), std::make_tuple(std::string("="), i16{10}));
}

// Default Dimensions changes the size at once and Cancel keeps it, so the grid on screen
// may be larger or smaller than PuzzleWidth x PuzzleHeight: what draws, marks, fills,
// prints or saves the grid must keep to the grid's own bounds.
TEST_F(AttributesFixture, EverythingKeepsToTheGridAfterDefaultDimensionsAndCancel) {
  const std::vector<std::string> few = {"ALLIGATOR", "ELEPHANT", "GIRAFFE", "ZEBRA", "LION", "CAT", "DOG", "EMU"};
  // A grid larger than the default size (9 x 9), then one smaller than it (13 x 13).
  for (auto [words, built_side, default_side] :
       {std::tuple{few, 30, 9}, std::tuple{std::vector<std::string>(20, "ALLIGATOR"), 9, 13}}) {
    SCOPED_TRACE(built_side);
    Build(words, built_side, built_side);
    Open();
    form.Raise(cmdDefaultDimensions, Event::Click);
    form.Raise(cmdCancel, Event::Click);
    ASSERT_EQ(std::make_pair(int(s.PuzzleWidth), s.Grid.Width()), std::make_pair(default_side, built_side));
    SizePuzzleDisplay(app.ctx);  // the window is resized: the picture still shows the whole grid
    EXPECT_EQ(app.ctx.MainForm().Bounds(frmKV_Puzzle::picPuzzle).Width, built_side * app.ctx.display.CellSize);
    FillInBlanks(app.ctx);
    ToggleOutlines(app.ctx);
    ToggleJunctions(app.ctx);
    s.SelectedWordIndex = 1;
    ShowSelectedWord(app.ctx, WriteMode::Show);
    testing::RecordingSurface page;
    app.ctx.preview = &page;
    DrawPreviewPage(app.ctx);
    auto bytes = EncodePuzzleFile(PuzzleFileFromState(s));
    ASSERT_TRUE(bytes) << bytes.Error().Reason;
    EXPECT_TRUE(ParsePuzzleFile(*bytes));  // what is saved reads back as a puzzle
  }
}

// Each OK is one step. What the list file's header holds (title, instructions, size,
// options, quote) counts as a change of the list; the build rules do not. The table of
// a puzzle on screen holds its placements: the dialog leaves it whole, however the list
// was edited since the build, and reads the list again only without a puzzle. Undoing
// a size puts away a puzzle of the size undone.
TEST_F(AttributesFixture, EachOKIsOneStepAndThePuzzlesTableIsKept) {
  testing::RecordedEdits edits;
  AttachEditHistory(app.ctx, edits);
  Build({"ELEPHANT", "CAT", "HORSE"}, 10, 10);
  const std::vector<WordRecord> puzzle = s.Words;
  ASSERT_TRUE(AddEntry(app.ctx, "GNU"));  // as the word list window adds it
  UpdateWordCount(app.ctx);
  s.WordTableStale = kTrue;
  s.WordListChanged = kFalse;
  Open();
  form.SetValue(chkBackwardsWords, 0);
  form.SetText(txtPuzName, "Zoo");
  form.SetText(txtStopRem, "");
  Ok();
  EXPECT_EQ(s.Words, puzzle);
  EXPECT_EQ(app.ctx.MainForm().Caption(), "Kivrel Puzzle Maker - Zoo");
  EXPECT_EQ(std::make_tuple(s.StopRemainingCount, s.BackwardsWords, edits.NextUndo()),
            std::make_tuple(i16{-1}, i16{0}, std::optional<std::string>("Attributes")));
  EXPECT_TRUE(s.WordListChanged && s.PuzzleBuilt) << "the same size keeps the puzzle";

  Open();
  form.SetText(txtPuzName, "Typed, then cancelled");
  form.Raise(cmdCancel, Event::Click);
  s.WordListChanged = kFalse;
  Submit({{cbxStopRemOp, "less than"}, {txtStopRem, "5"}});
  EXPECT_EQ(s.WordListChanged, 0) << "no list file holds the build rules";
  app.dialogs.ExpectMessage(MessageAnswer::Ok, kPuzzleTooLargeMessage);
  Submit({{txtPuzWidth, "500"}});  // no page holds it: refused, and no step
  EXPECT_TRUE(form.Visible() && s.PuzzleWidth == 10);
  form.SetText(txtPuzWidth, "10");
  form.SetText(txtPuzHeight, "12");
  Ok();
  EXPECT_EQ(s.PuzzleBuilt, 0);
  Open();  // no puzzle: the dialog reads the list again
  form.Raise(cmdCancel, Event::Click);
  EXPECT_EQ(s.Words[4].Text, "GNU");

  // 10 x 12, which the size put back no longer fits (one attempt: no build meets the rule)
  BuildPuzzle(app.ctx, {.Deadline = std::chrono::steady_clock::now()});
  UndoEdit(app.ctx);
  EXPECT_EQ(std::tie(s.PuzzleHeight, s.StopRemainingCount, s.PuzzleBuilt), std::make_tuple(i16{10}, i16{5}, i16{0}));
  UndoEdit(app.ctx);
  UndoEdit(app.ctx);
  EXPECT_EQ(std::tie(s.PuzzleTitle, s.StopRemainingCount, s.BackwardsWords),
            std::make_tuple(std::string(), i16{-1}, i16{1}));
  EXPECT_EQ(app.ctx.MainForm().Caption(), "Kivrel Puzzle Maker - ");
  EXPECT_FALSE(edits.NextUndo()) << "Cancel made no step";
  RedoEdit(app.ctx);
  EXPECT_EQ(std::tie(s.PuzzleTitle, s.BackwardsWords), std::make_tuple(std::string("Zoo"), i16{0}));
}

}  // namespace
}  // namespace kivrel
