// The print options dialog and the preview window on the recording surface (a text is
// FontSize x 20 twips high, a character FontSize x 10 wide; see RecordingSurface.h).
#include <gtest/gtest.h>

#include <algorithm>

#include "HandPlaced.h"
#include "TestApp.h"
#include "forms/PrintOptionsDialog.h"
#include "forms/PrintPreview.h"
#include "print/PageDrawing.h"
#include "program/StartUp.h"

namespace kivrel {
namespace {

using namespace frmPrintOptions;

using testing::DrawOp;
using testing::RecordingSurface;

// Both windows loaded as the program loads them: the dialog loads the preview, whose
// window is then made (here: its vertical bar 255 twips wide, inner area 10725 x 7710).
struct PrintWindows : ::testing::Test {
  PrintWindows() {
    StartUp(ctx, 1);
    ctx.preview = &page;
    testing::MakeSeaPuzzle(ctx);
    preview_form.Define(frmPrintPreview::VScrollBar, [](ControlState& c) { c.Bounds = {10470, 0, 255, 7710}; });
    preview_form.UpdateGeometry({0, 0, 10845, 8190, 10725, 7710});
    preview_form.Subscribe([this](Control control, Property p) {
      if (control.IsWindow() && p == Property::Load) preview_form.Raise({}, Event::Load);
    });
    dialog_form.Raise({}, Event::Load);
    dialog_form.Show();
    dialog_form.Raise({}, Event::Activate);
  }

  std::size_t Layouts() const { return page.OfKind(DrawOp::Kind::Cls).size(); }
  // The user types into a margin box (which has the focus) and presses Enter.
  void TypeMargin(int side, const std::string& text) {
    dialog_form.Raise(txtMargin[side], Event::GotFocus);
    dialog_form.SetText(txtMargin[side], text);
    EXPECT_EQ(dialog_form.RaiseKeyPress(txtMargin[side], 13), 13) << "Enter is not consumed";
  }
  const Rect& Bounds(Control control) { return dialog_form.Bounds(control); }

  testing::TestApp app;
  AppContext& ctx = app.ctx;
  RecordingSurface page;
  PrintPreview preview{ctx};
  PrintOptionsDialog dialog{ctx};
  Form& dialog_form = ctx.forms.Get(frmPrintOptions::kWindow);
  Form& preview_form = ctx.forms.Get(frmPrintPreview::kWindow);
};

// With no room beside the grid the layout clears Left and the dialog's box with it;
// while the printer draws, the box is cleared but the preview is left alone.
TEST_F(PrintWindows, LeftClearedByTheLayoutClearsTheBox) {
  dialog_form.SetValue(radPuzzleRight, 1);
  dialog_form.SetValue(chkLeft, 1);
  // All six entries fit beside the grid: the header and six lines of 240, no columns.
  EXPECT_EQ(Bounds(lblSideList), (Rect{1440, ctx.page.PuzzleTop, ctx.page.ListColumnWidth, 7 * 240}));
  EXPECT_FALSE(dialog_form.IsVisible(lblColumnList));
  // At the left margin (the box is not offered there, but a program may still set it).
  dialog_form.SetValue(radPuzzleLeft, 1);
  dialog_form.SetValue(radPuzzleMiddle, 1);
  dialog_form.SetValue(chkLeft, 1);
  EXPECT_EQ(dialog_form.Value(chkLeft), 0);
  EXPECT_FALSE(dialog_form.IsVisible(lblSideList));

  dialog_form.Define(chkLeft, [](ControlState& c) { c.Value = 1; });
  ctx.print.Left = 1;
  const auto before = Layouts();
  RecordingSurface printer;
  DrawPrinterPage(ctx, printer);
  EXPECT_EQ(dialog_form.Value(chkLeft), 0);
  EXPECT_EQ(Layouts(), before);
}

// For every place of the puzzle, with and without the list beside it: each block of
// the thumbnail is a block the page printed, where it printed it, and everything the
// page drew lies in a block. No list block covers the puzzle.
TEST_F(PrintWindows, ThumbnailShowsExactlyTheBlocksOfThePage) {
  auto inside = [](const Rect& r, double x1, double y1, double x2, double y2) {
    return x1 >= r.Left && y1 >= r.Top && x2 <= r.Left + r.Width && y2 <= r.Top + r.Height;
  };
  auto check = [&](const std::string& where) {
    const Rect& grid = Bounds(lblPuzzle);
    std::vector<Rect> shown;
    for (Control label : {lblTitle, lblInstructions, lblPuzzle, lblSideList, lblColumnList}) {
      if (!dialog_form.IsVisible(label)) continue;
      const Rect& b = shown.emplace_back(Bounds(label));
      EXPECT_TRUE(label == lblPuzzle || b.Width == 0 || b.Left >= grid.Left + grid.Width ||
                  b.Left + b.Width <= grid.Left || b.Top >= grid.Top + grid.Height || b.Top + b.Height <= grid.Top)
          << where << ": " << label << " over the puzzle";
    }
    std::vector<int> used(shown.size());
    const auto cls =
        std::find_if(page.ops.rbegin(), page.ops.rend(), [](const DrawOp& op) { return op.kind == DrawOp::Kind::Cls; });
    for (auto op = cls.base(); op != page.ops.end(); ++op) {
      double x2 = op->x2, y2 = op->y2;
      if (op->kind == DrawOp::Kind::Text) {
        page.SetFontName(op->font.Name);
        page.SetFontSize(op->font.Size);
        x2 = op->x + page.TextWidth(op->text);
        y2 = op->y + page.TextHeight(op->text);
      }
      std::size_t b = 0;
      while (b < shown.size() && !inside(shown[b], op->x, op->y, x2, y2)) ++b;
      EXPECT_LT(b, shown.size()) << where << ": \"" << op->text << "\" at " << op->x << ", " << op->y
                                 << " is in no block";
      if (b < shown.size()) ++used[b];
    }
    EXPECT_EQ(std::count(used.begin(), used.end(), 0), 0) << where << ": an empty block";
  };
  for (Control vertical : {radPuzzleTop, radPuzzleMiddle, radPuzzleBottom}) {
    for (Control across : {radPuzzleLeft, radPuzzleCenter, radPuzzleRight}) {
      for (int left : {0, 1}) {
        dialog_form.SetValue(vertical, 1);
        dialog_form.SetValue(across, 1);
        if (dialog_form.Enabled(chkLeft)) dialog_form.SetValue(chkLeft, left);
        check(std::string(vertical.Name()) + "/" + std::string(across.Name()) + "/" + std::to_string(left));
      }
    }
  }
  // A larger list font after a side list: the blocks follow the new page.
  dialog_form.SetValue(radPuzzleTop, 1);
  dialog_form.SetValue(radPuzzleRight, 1);
  dialog_form.SetValue(chkLeft, 1);
  app.dialogs.ExpectFont(FontSpec{"Arial", 20, true, false});
  dialog_form.Raise(cmdWordListFont, Event::Click);
  check("20-point list");
  // No word placed: the header " 0  words" beside the puzzle, and no list without it.
  for (int i = 1; i <= ctx.state.WordCount; ++i) ctx.state.Words[static_cast<std::size_t>(i)].Status = 0;
  dialog_form.SetValue(radPuzzleCenter, 1);
  EXPECT_FALSE(dialog_form.IsVisible(lblColumnList));
  EXPECT_EQ(Bounds(lblSideList).Height, ctx.page.ListColumnWidth) << "one line: no entry is as wide as a line";
  check("no words, the list beside");
  dialog_form.SetValue(chkLeft, 0);
  EXPECT_FALSE(dialog_form.IsVisible(lblColumnList) || dialog_form.IsVisible(lblSideList));
  check("no words");
}

TEST_F(PrintWindows, LeftIsNeverOfferedWhereThePageCannotPrintIt) {
  const std::tuple<Control, Control, bool> steps[] = {{radPuzzleBottom, radPuzzleCenter, false},
                                                      {radPuzzleBottom, radPuzzleRight, false},
                                                      {radPuzzleLeft, radPuzzleMiddle, false},
                                                      {radPuzzleMiddle, radPuzzleCenter, true}};
  for (auto [first, then, offered] : steps) {
    dialog_form.SetValue(first, 1);
    dialog_form.SetValue(then, 1);
    EXPECT_EQ(dialog_form.Enabled(chkLeft), offered) << first << ", then " << then;
  }
  dialog_form.SetValue(chkPrintWordList, 0);
  dialog_form.SetValue(radPuzzleRight, 1);
  EXPECT_FALSE(dialog_form.Enabled(chkLeft)) << "no word list";
}

TEST_F(PrintWindows, AListThatCannotFitIsSaidOnTheDialog) {
  EXPECT_FALSE(dialog_form.IsVisible(lblListTooLong));
  dialog_form.SetText(txtMargin[kTopMargin], "8");
  dialog.CommitMarginText(kTopMargin);  // two inches: no room for the list under the grid
  EXPECT_TRUE(dialog_form.IsVisible(lblListTooLong) && !dialog_form.IsVisible(lblColumnList));
  dialog_form.SetValue(chkPrintWordList, 0);
  EXPECT_FALSE(dialog_form.IsVisible(lblListTooLong));
}

// Margin texts are normalised; margins that would leave less than two inches of the
// paper either way are refused, saying which, and the box shows the margin it had.
TEST_F(PrintWindows, MarginTextsAreNormalisedAndMarginsLeavingTooLittleAreRefused) {
  const std::string rest = " At least 2.0\" must remain across and down.";
  const std::tuple<int, const char*, const char*, std::string> cases[] = {
      {kLeftMargin, "wide", ".0\"", ""},
      {kRightMargin, "-2", ".0\"", ""},
      {kTopMargin, "1.25", "1.25\"", ""},
      {kLeftMargin, "6.5", "6.5\"", ""},
      {kRightMargin, "1", ".0\"",
       "The left and right margins (6.5\" and 1.0\") leave 1.0\" of the paper's 8.5\" width." + rest},
      {kTopMargin, "1e9", "1.25\"",
       "The top and bottom margins (22.75\" and 1.0\") leave nothing of the paper's 11.0\" height." + rest}};
  for (const auto& [side, typed, shown, refusal] : cases) {
    if (!refusal.empty()) app.dialogs.ExpectMessage(MessageAnswer::Ok, refusal);
    TypeMargin(side, typed);
    EXPECT_EQ(dialog_form.Text(txtMargin[side]), shown) << typed;
  }
  EXPECT_EQ(Bounds(shpMargins), (Rect{9360, 1800, 2880, 12600}));
  EXPECT_EQ(ctx.page.TopMargin, 1800);
  // Enter without typing leaves the box as it is.
  dialog_form.Raise(txtMargin[kTopMargin], Event::GotFocus);
  dialog_form.Define(txtMargin[kTopMargin], [](ControlState& c) { c.Text = "3"; });
  dialog_form.RaiseKeyPress(txtMargin[kTopMargin], 13);
  EXPECT_EQ(dialog_form.Text(txtMargin[kTopMargin]), "3");
}

TEST_F(PrintWindows, WordListBoxReappliesThePositionRulesWithOneLayout) {
  dialog_form.SetValue(radPuzzleBottom, 1);
  dialog_form.SetValue(chkPrintWordList, 0);
  EXPECT_FALSE(dialog_form.Enabled(lblRelative) || dialog_form.IsVisible(lblColumnList));
  dialog_form.SetValue(radPuzzleTop, 1);
  const auto before = Layouts();
  dialog_form.SetValue(chkPrintWordList, 1);
  EXPECT_EQ(Layouts(), before + 1) << "the rules' relayouts draw nothing";
  EXPECT_NE(ctx.state.LayoutEnabled, 0);
  EXPECT_TRUE(dialog_form.Enabled(lblRelative) && dialog_form.IsVisible(lblColumnList));
  EXPECT_EQ(std::make_pair(dialog_form.Value(chkBelow), ctx.print.Above), std::make_pair(1, i16{0}));
}

// A font chosen starts from its slot and is kept in whole points (24.5 to the even 24);
// a cancelled choice keeps the slot. Print takes the controls as they stand.
TEST_F(PrintWindows, ChosenFontSizeIsKeptInWholePointsAndPrintTakesTheControls) {
  app.dialogs.ExpectFont(FontSpec{"Liberation Serif", 24.5, false, true}).ExpectFont(std::nullopt);
  dialog_form.Raise(cmdTitleFont, Event::Click);
  dialog_form.Raise(cmdPuzzleFont, Event::Click);
  EXPECT_EQ(app.dialogs.fonts.at(0), (FontSpec{"Times New Roman", 18, true, true}));
  EXPECT_EQ(ctx.fonts(kTitleFont), (FontRecord{"Title", "Liberation Serif", 24, kFalse, kTrue}));
  EXPECT_EQ(dialog_form.Font(cmdTitleFont), (FontSpec{"Liberation Serif", 24, false, true}));
  EXPECT_EQ(ctx.fonts(kPuzzleFont), (FontRecord{"Puzzle", "Arial", 16, kFalse, kFalse}));

  dialog_form.SetText(txtMargin[kLeftMargin], "2");  // typed, not yet committed
  app.dialogs.ExpectPrinter(std::nullopt);
  dialog_form.Raise(cmdPrint, Event::Click);
  EXPECT_EQ(ctx.print.Margins[kLeftMargin], "2");
}

// Coming back from the preview lays nothing out again (a later activation does); the
// title bar's close box hides both windows, like Close, and keeps them.
TEST_F(PrintWindows, ReturningFromThePreviewDoesNotLayThePageOutAgain) {
  dialog_form.Raise(cmdPreview, Event::Click);
  EXPECT_TRUE(preview_form.Visible());
  const auto before = Layouts();
  preview_form.Raise({}, Event::Deactivate);
  dialog_form.Raise({}, Event::Activate);
  EXPECT_EQ(Layouts(), before);
  dialog_form.Raise({}, Event::Activate);
  EXPECT_EQ(Layouts(), before + 1);
  EXPECT_FALSE(dialog_form.Unload());
  EXPECT_FALSE(dialog_form.Visible() || preview_form.Visible());
}

// The preview's bars follow the window: a position past the new end is brought back,
// a bar hidden and shown again starts where the page stands, the wheel moves three
// small steps a notch (Shift across) and never past the ends, and a window smaller
// than the bars gives them no negative size.
TEST_F(PrintWindows, PreviewBarsFollowTheWindowAndNeverGoNegative) {
  const ControlState& across = preview_form.State(frmPrintPreview::HScrollBar);
  const ControlState& down = preview_form.State(frmPrintPreview::VScrollBar);
  const Rect& page = preview_form.Bounds(frmPrintPreview::picPrintPreview);
  auto resize = [&](int width, int height) {
    FormGeometry g = preview_form.Geometry();
    g.ScaleWidth = width;
    g.ScaleHeight = height;
    preview_form.UpdateGeometry(g);
    preview_form.Raise({}, Event::Resize);
    return std::make_tuple(across.Max, across.LargeChange, across.SmallChange, across.Value, page.Left);
  };
  // 8000 - 255 - 12240 = -4495: half of 4495 is 2247.5, to the even 2248; 4495 / 20 = 224.75.
  EXPECT_EQ(resize(8000, 7710), std::make_tuple(4495, 2248, 225, 0, 0));
  preview_form.SetScrollValue(frmPrintPreview::HScrollBar, 4495);
  EXPECT_EQ(page.Left + page.Width, preview_form.Bounds(frmPrintPreview::VScrollBar).Left);
  EXPECT_EQ(resize(9000, 7710), std::make_tuple(3495, 1748, 175, 3495, -3495));
  resize(13000, 7710);
  EXPECT_FALSE(preview_form.IsVisible(frmPrintPreview::HScrollBar));
  EXPECT_EQ(page.Left, 0);
  EXPECT_EQ(resize(8000, 7710), std::make_tuple(4495, 2248, 225, 0, 0));

  preview.Wheel(2, false);
  EXPECT_EQ(down.Value, 6 * down.SmallChange);
  EXPECT_EQ(page.Top, kPreviewStripTwips - down.Value) << "the page below the strip that holds Close";
  preview.Wheel(-100, false);
  EXPECT_EQ(down.Value, 0);
  preview.Wheel(100, true);
  EXPECT_EQ(std::make_pair(across.Value, page.Left), std::make_pair(across.Max, -across.Max));

  resize(100, 100);
  EXPECT_EQ(preview_form.Bounds(frmPrintPreview::HScrollBar).Width, 0);
  EXPECT_EQ(preview_form.Bounds(frmPrintPreview::VScrollBar).Height, 0);
  EXPECT_EQ(std::make_pair(across.Max, across.LargeChange), std::make_pair(12240, 1));
}

}  // namespace
}  // namespace kivrel
