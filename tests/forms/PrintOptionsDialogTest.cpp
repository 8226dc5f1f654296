// The print options dialog and the preview window on the recording surface (a text is
// FontSize x 20 twips high, a character FontSize x 10 wide; see RecordingSurface.h).
// The wheel over the preview is tested on an X server (tests/x11).
#include <gtest/gtest.h>

#include "HandPlaced.h"
#include "TestApp.h"
#include "forms/PrintOptionsDialog.h"
#include "forms/PrintPreview.h"
#include "print/PageDrawing.h"
#include "program/StartUp.h"

namespace kivrel {
namespace {

using namespace frmPrintOptions;

// Both windows loaded as the program loads them: the dialog loads the preview.
struct PrintWindows : ::testing::Test {
  PrintWindows() {
    StartUp(ctx, 1);
    ctx.preview = &page;
    testing::MakeSeaPuzzle(ctx);
    preview_form.Subscribe([this](Control control, Property p) {
      if (control.IsWindow() && p == Property::Load) preview_form.Raise({}, Event::Load);
    });
    form.Raise({}, Event::Load);
    form.Show();
    form.Raise({}, Event::Activate);
  }

  std::size_t Layouts() const { return page.OfKind(testing::DrawOp::Kind::Cls).size(); }
  void Set(std::initializer_list<Control> options) {
    for (Control option : options) form.SetValue(option, 1);
  }

  testing::TestApp app;
  AppContext& ctx = app.ctx;
  testing::RecordingSurface page;
  PrintPreview preview{ctx};
  PrintOptionsDialog dialog{ctx};
  Form& form = ctx.forms.Get(frmPrintOptions::kWindow);
  Form& preview_form = ctx.forms.Get(frmPrintPreview::kWindow);
};

// For every place of the puzzle, with and without the list beside it, and after a
// larger list font: the thumbnail shows exactly the blocks the page printed, where it
// printed them (the Letter thumbnail is the page's own size). With no room beside the
// grid the layout clears Left and the box with it, and the page drawn again from inside
// is the one shown.
TEST_F(PrintWindows, ThumbnailShowsExactlyTheBlocksOfThePage) {
  auto check = [&](const std::string& where) {
    const PagePrinted& printed = ctx.printed;
    for (auto [label, block] : {std::pair{lblTitle, &printed.Title},
                                {lblInstructions, &printed.Instructions},
                                {lblPuzzle, &printed.Puzzle},
                                {lblSideList, &printed.SideList},
                                {lblColumnList, &printed.ColumnList}}) {
      EXPECT_EQ(form.IsVisible(label), block->Shown) << where << ": " << label;
      EXPECT_TRUE(!block->Shown || form.Bounds(label) == block->Bounds) << where << ": " << label;
    }
  };
  for (Control vertical : {radPuzzleTop, radPuzzleMiddle, radPuzzleBottom}) {
    for (Control across : {radPuzzleLeft, radPuzzleCenter, radPuzzleRight}) {
      for (int left : {0, 1}) {
        Set({vertical, across});
        if (form.Enabled(chkLeft)) form.SetValue(chkLeft, left);
        check(std::string(vertical.Name()) + "/" + std::string(across.Name()) + "/" + std::to_string(left));
      }
    }
  }
  Set({radPuzzleTop, radPuzzleRight, chkLeft});
  app.dialogs.ExpectFont(FontSpec{"Arial", 20, true, false});
  form.Raise(cmdWordListFont, Event::Click);
  check("20-point list");
  // At the left margin (the box is not offered there, but a program may still set it).
  Set({radPuzzleLeft, radPuzzleMiddle, chkLeft});
  EXPECT_EQ(std::make_pair(form.Value(chkLeft), form.IsVisible(lblSideList)), std::make_pair(0, false));
  check("Left cleared by the layout, which the dialog lays out again from inside");
  // The printer's layout clears the box too, and leaves the preview alone.
  form.Define(chkLeft, [](ControlState& c) { c.Value = 1; });
  ctx.print.Left = 1;
  const auto before = Layouts();
  testing::RecordingSurface printer;
  DrawPrinterPage(ctx, printer);
  EXPECT_EQ(std::make_pair(form.Value(chkLeft), Layouts()), std::make_pair(0, before));
}

// The word list box reapplies the position rules; a list that cannot fit is said on the
// dialog.
TEST_F(PrintWindows, LeftAndTheWordListFollowThePositionRules) {
  Set({radPuzzleBottom});
  form.SetValue(chkPrintWordList, 0);
  EXPECT_FALSE(form.Enabled(lblRelative) || form.IsVisible(lblColumnList) || form.Enabled(chkLeft)) << "no list";
  Set({radPuzzleTop});
  form.SetValue(chkPrintWordList, 1);
  EXPECT_TRUE(form.Enabled(lblRelative) && form.IsVisible(lblColumnList));
  EXPECT_EQ(std::make_pair(form.Value(chkBelow), ctx.print.Above), std::make_pair(1, i16{0}));

  EXPECT_FALSE(form.IsVisible(lblListTooLong));
  form.SetText(txtMargin[kTopMargin], "8");
  dialog.CommitMarginText(kTopMargin);  // two inches: no room for the list under the grid
  EXPECT_TRUE(form.IsVisible(lblListTooLong) && !form.IsVisible(lblColumnList));
  form.SetValue(chkPrintWordList, 0);
  EXPECT_FALSE(form.IsVisible(lblListTooLong));
}

// Margin texts are normalised; margins that would leave less than two inches of the
// paper either way are refused, saying which, and the box shows the margin it had.
TEST_F(PrintWindows, MarginTextsAreNormalisedAndMarginsLeavingTooLittleAreRefused) {
  const std::string rest = " At least 2.0\" must remain across and down.";
  const std::tuple<int, const char*, const char*, std::string> cases[] = {
      {kRightMargin, "-2", ".0\"", ""},
      {kTopMargin, "1.25", "1.25\"", ""},
      {kLeftMargin, "6.5", "6.5\"", ""},
      {kRightMargin, "1", ".0\"",
       "The left and right margins (6.5\" and 1.0\") leave 1.0\" of the paper's 8.5\" width." + rest},
      {kTopMargin, "1e9", "1.25\"",
       "The top and bottom margins (22.75\" and 1.0\") leave nothing of the paper's 11.0\" height." + rest}};
  for (const auto& [side, typed, shown, refusal] : cases) {
    if (!refusal.empty()) app.dialogs.ExpectMessage(MessageAnswer::Ok, refusal);
    form.Raise(txtMargin[side], Event::GotFocus);  // typed into the box, then Enter
    form.SetText(txtMargin[side], typed);
    EXPECT_EQ(form.RaiseKeyPress(txtMargin[side], 13), 13) << "Enter is not consumed";
    EXPECT_EQ(form.Text(txtMargin[side]), shown) << typed;
  }
  EXPECT_EQ(form.Bounds(shpMargins), (Rect{9360, 1800, 2880, 12600}));
  EXPECT_EQ(ctx.page.TopMargin, 1800);
  // Enter without typing leaves the box as it is.
  form.Raise(txtMargin[kTopMargin], Event::GotFocus);
  form.Define(txtMargin[kTopMargin], [](ControlState& c) { c.Text = "3"; });
  form.RaiseKeyPress(txtMargin[kTopMargin], 13);
  EXPECT_EQ(form.Text(txtMargin[kTopMargin]), "3");
}

// A font chosen starts from its slot and is kept in whole points (24.5 to the even 24);
// a cancelled choice keeps the slot. Print takes the controls as they stand. Coming back
// from the preview lays nothing out again (a later activation does); the close box hides
// both windows and keeps them.
TEST_F(PrintWindows, FontsInWholePointsPrintTakesTheControlsAndThePreviewComesAndGoes) {
  app.dialogs.ExpectFont(FontSpec{"Liberation Serif", 24.5, false, true}).ExpectFont(std::nullopt);
  form.Raise(cmdTitleFont, Event::Click);
  form.Raise(cmdPuzzleFont, Event::Click);
  EXPECT_EQ(app.dialogs.fonts.at(0), (FontSpec{"Times New Roman", 18, true, true}));
  EXPECT_EQ(ctx.fonts(kTitleFont), (FontRecord{"Title", "Liberation Serif", 24, kFalse, kTrue}));
  EXPECT_EQ(ctx.fonts(kPuzzleFont).Size, 16);
  form.SetText(txtMargin[kLeftMargin], "2");  // typed, not yet committed
  app.dialogs.ExpectPrinter(std::nullopt);
  form.Raise(cmdPrint, Event::Click);
  EXPECT_EQ(ctx.print.Margins[kLeftMargin], "2");

  form.Raise(cmdPreview, Event::Click);
  EXPECT_TRUE(preview_form.Visible());
  const auto before = Layouts();
  preview_form.Raise({}, Event::Deactivate);
  form.Raise({}, Event::Activate);
  EXPECT_EQ(Layouts(), before);
  form.Raise({}, Event::Activate);
  EXPECT_EQ(Layouts(), before + 1);
  EXPECT_FALSE(form.Unload());
  EXPECT_FALSE(form.Visible() || preview_form.Visible());
}

}  // namespace
}  // namespace kivrel
