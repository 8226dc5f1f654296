// The print options dialog and the preview window on the recording surface (a text is
// FontSize x 20 twips high, a character FontSize x 10 wide; see RecordingSurface.h).
#include <gtest/gtest.h>

#include "HandPlaced.h"
#include "TestApp.h"
#include "forms/PrintOptionsDialog.h"
#include "forms/PrintPreview.h"
#include "model/StartUp.h"
#include "print/PageDrawing.h"

namespace kivrel {
namespace {

using testing::DrawOp;
using testing::RecordingSurface;

// Both windows loaded as the program loads them: the dialog loads the preview, whose
// window is then made (here: its vertical bar 255 twips wide, inner area 10725 x 7710).
struct PrintWindows : ::testing::Test {
  PrintWindows() {
    StartUp(ctx, 1);
    ctx.preview = &page;
    testing::MakeSeaPuzzle(ctx);
    preview_form.Define(kVerticalBar, [](ControlState& c) { c.Bounds = {10470, 0, 255, 7710}; });
    preview_form.UpdateGeometry({0, 0, 10845, 8190, 10725, 7710});
    preview_form.Subscribe([this](std::string_view control, Property p) {
      if (control.empty() && p == Property::Load) preview_form.Raise({}, Event::Load);
    });
    dialog_form.Raise({}, Event::Load);
    dialog_form.Show();
    dialog_form.Raise({}, Event::Activate);
  }

  int Layouts() const {
    int n = 0;
    for (const DrawOp& op : page.ops) n += op.kind == DrawOp::Kind::Cls ? 1 : 0;
    return n;
  }
  // The user types into a margin box (which has the focus) and presses Enter.
  void TypeMargin(int side, const std::string& text) {
    dialog_form.Raise(MarginBox(side), Event::GotFocus);
    dialog_form.SetText(MarginBox(side), text);
    EXPECT_EQ(dialog_form.RaiseKeyPress(MarginBox(side), 13), 13) << "Enter is not consumed";
  }
  const Rect& Bounds(std::string_view control) { return dialog_form.Bounds(control); }

  testing::TestApp app;
  AppContext& ctx = app.ctx;
  RecordingSurface page;
  PrintPreview preview{ctx};
  PrintOptionsDialog dialog{ctx};
  Form& dialog_form = ctx.forms.Get(kPrintOptionsForm);
  Form& preview_form = ctx.forms.Get(kPrintPreviewForm);
};

TEST_F(PrintWindows, LoadingDrawsTheDefaultPageAndPlacesTheThumbnail) {
  EXPECT_EQ(Layouts(), 1) << "the first activation lays the page out";
  EXPECT_EQ(ctx.print, PrintOptions{});
  EXPECT_EQ(dialog_form.DefaultButton(), "cmdPrint");
  EXPECT_FALSE(dialog_form.Enabled("chkAbove"));
  EXPECT_FALSE(dialog_form.IsVisible("chkRight"));
  EXPECT_EQ(dialog_form.Font("cmdTitleFont"), (FontSpec{"Times New Roman", 18, true, true}));
  EXPECT_EQ(dialog_form.Font("cmdWordListFont"), (FontSpec{"Arial", 12, true, false}));

  const PageLayout& p = ctx.page;
  EXPECT_EQ(Bounds("lblTitle"), (Rect{p.TitleX, 1440, p.TitleWidth, p.TitleHeight}));
  EXPECT_EQ(Bounds("lblInstructions"), (Rect{p.InstructionsLeft, 1440 + p.TitleHeight,
                                             p.InstructionsRight - p.InstructionsLeft, p.InstructionsHeight}));
  EXPECT_EQ(Bounds("lblPuzzle"), (Rect{p.PuzzleLeft, p.PuzzleTop, p.GridWidth, p.GridHeight}));
  EXPECT_EQ(Bounds("lblColumnList"), (Rect{1440, p.ColumnListTop, 9360, p.ColumnListHeight}));
  EXPECT_FALSE(dialog_form.IsVisible("lblSideList"));
  EXPECT_EQ(Bounds(kMarginRectangle), (Rect{1440, 1440, 9360, 12960}));
  EXPECT_EQ(dialog.ThumbRight(), 1440);
  EXPECT_EQ(dialog.ThumbBottom(), 1440);

  EXPECT_TRUE(preview_form.IsVisible(kVerticalBar)) << "the preview was loaded with the dialog";
  EXPECT_FALSE(preview_form.Visible());
}

TEST_F(PrintWindows, PuzzlePositionRulesSetTheWordListBoxes) {
  dialog_form.SetValue("radPuzzleRight", 1);  // room for the list beside the puzzle
  dialog_form.SetValue("chkLeft", 1);
  ASSERT_EQ(ctx.print.Left, 1);
  dialog_form.SetValue("radPuzzleBottom", 1);
  EXPECT_EQ(dialog_form.Value("chkAbove"), 1);
  for (const char* box : {"chkBelow", "chkLeft", "chkRight"}) EXPECT_EQ(dialog_form.Value(box), 0) << box;
  for (const char* box : {"chkAbove", "chkBelow", "chkLeft", "chkRight"}) EXPECT_FALSE(dialog_form.Enabled(box));
  // The layout saw the boxes as the rules left them: the list stands above the puzzle.
  EXPECT_EQ(ctx.print.Above, 1);
  EXPECT_LT(ctx.page.ColumnListTop, ctx.page.PuzzleTop);

  dialog_form.SetValue("radPuzzleTop", 1);
  EXPECT_EQ(dialog_form.Value("chkBelow"), 1);
  EXPECT_EQ(dialog_form.Value("chkAbove"), 0);
  EXPECT_TRUE(dialog_form.Enabled("chkLeft"));
  EXPECT_GT(ctx.page.ColumnListTop, ctx.page.PuzzleBottom);

  dialog_form.SetValue("chkLeft", 1);
  dialog_form.SetValue("radPuzzleLeft", 1);
  EXPECT_EQ(dialog_form.Value("chkLeft"), 0);
  EXPECT_FALSE(dialog_form.Enabled("chkLeft"));
  dialog_form.SetValue("radPuzzleTop", 0);
  dialog_form.SetValue("radPuzzleTop", 1);
  EXPECT_FALSE(dialog_form.Enabled("chkLeft")) << "Top keeps Left off while the puzzle is at the left";
  dialog_form.SetValue("radPuzzleRight", 1);
  EXPECT_TRUE(dialog_form.Enabled("chkLeft"));
}

TEST_F(PrintWindows, SideListShowsOnTheThumbnailOrIsClearedWhenThereIsNoRoom) {
  dialog_form.SetValue("radPuzzleRight", 1);
  dialog_form.SetValue("chkLeft", 1);
  const PageLayout& p = ctx.page;
  EXPECT_TRUE(dialog_form.IsVisible("lblSideList"));
  EXPECT_EQ(Bounds("lblSideList"), (Rect{1440, p.PuzzleTop, p.ListColumnWidth, Max(p.ColumnListTop - p.PuzzleTop, 0)}));

  // At the left margin there is no room beside the grid (Middle leaves Left enabled
  // there): the layout clears Left, and the box follows with one nested relayout.
  dialog_form.SetValue("radPuzzleLeft", 1);
  dialog_form.SetValue("radPuzzleMiddle", 1);
  int before = Layouts();
  dialog_form.SetValue("chkLeft", 1);
  EXPECT_EQ(dialog_form.Value("chkLeft"), 0);
  EXPECT_EQ(ctx.print.Left, 0);
  EXPECT_FALSE(dialog_form.IsVisible("lblSideList"));
  EXPECT_EQ(Layouts(), before + 2);

  // While the printer draws, the box is cleared but nothing is laid out on the preview.
  dialog_form.Define("chkLeft", [](ControlState& c) { c.Value = 1; });
  ctx.print.Left = 1;
  before = Layouts();
  RecordingSurface printer;
  DrawPrinterPage(ctx, printer);
  EXPECT_EQ(dialog_form.Value("chkLeft"), 0);
  EXPECT_EQ(Layouts(), before);
}

TEST_F(PrintWindows, TypedMarginIsNormalisedOnEnterAndMovesTheRectangle) {
  const int before = Layouts();
  TypeMargin(kTopMargin, " 1.5 ");
  EXPECT_EQ(dialog_form.Text(MarginBox(kTopMargin)), "1.5\"");
  EXPECT_EQ(Bounds(kMarginRectangle), (Rect{1440, 2160, 9360, 12240}));
  EXPECT_EQ(ctx.page.TopMargin, 2160);
  EXPECT_EQ(Bounds("lblTitle").Top, 2160);
  EXPECT_GT(Layouts(), before);
  EXPECT_NE(dialog_form.DefaultButton(), "cmdPrint") << "typing takes Enter from Print";
  dialog_form.Raise(MarginBox(kTopMargin), Event::LostFocus);
  EXPECT_EQ(dialog_form.DefaultButton(), "cmdPrint");

  // Texts that hold no number, or a negative or impossible one.
  TypeMargin(kLeftMargin, "wide");
  EXPECT_EQ(dialog_form.Text(MarginBox(kLeftMargin)), ".0\"");
  TypeMargin(kRightMargin, "-2");
  EXPECT_EQ(dialog_form.Text(MarginBox(kRightMargin)), ".0\"");
  TypeMargin(kBottomMargin, "1e9");
  EXPECT_EQ(dialog_form.Text(MarginBox(kBottomMargin)), "22.75\"");
  EXPECT_EQ(Bounds(kMarginRectangle), (Rect{0, 2160, 12240, 0})) << "no negative height";

  // Enter without typing leaves the box as it is.
  dialog_form.Raise(MarginBox(kTopMargin), Event::GotFocus);
  dialog_form.Define(MarginBox(kTopMargin), [](ControlState& c) { c.Text = "3"; });
  dialog_form.RaiseKeyPress(MarginBox(kTopMargin), 13);
  EXPECT_EQ(dialog_form.Text(MarginBox(kTopMargin)), "3");
}

TEST_F(PrintWindows, SpinStepsAQuarterInchAndStopsAtZero) {
  dialog_form.SetText(MarginBox(kLeftMargin), ".25\"");
  dialog_form.Raise(MarginSpin(kLeftMargin), Event::SpinDown);
  EXPECT_EQ(dialog_form.Text(MarginBox(kLeftMargin)), ".0\"");
  EXPECT_EQ(Bounds(kMarginRectangle).Left, 0);
  dialog_form.Raise(MarginSpin(kLeftMargin), Event::SpinDown);
  EXPECT_EQ(dialog_form.Text(MarginBox(kLeftMargin)), ".0\"");
  dialog_form.Raise(MarginSpin(kRightMargin), Event::SpinUp);
  EXPECT_EQ(dialog_form.Text(MarginBox(kRightMargin)), "1.25\"");
  EXPECT_EQ(Bounds(kMarginRectangle), (Rect{0, 1440, 12240 - 1800, 12960}));
  EXPECT_EQ(ctx.page.RightMargin, 1800);
}

TEST_F(PrintWindows, ClearingPrintInstructionsHidesTheirBlockAndRaisesTheGrid) {
  const int top = ctx.page.PuzzleTop;
  dialog_form.SetValue("chkPrintInstructions", 0);
  EXPECT_FALSE(dialog_form.Enabled("fraInstructions"));
  for (const char* button : {"radInstrLeft", "radInstrCenter", "radInstrRight"}) {
    EXPECT_FALSE(dialog_form.Enabled(button));
  }
  EXPECT_FALSE(dialog_form.IsVisible("lblInstructions"));
  EXPECT_LT(ctx.page.PuzzleTop, top);
  EXPECT_EQ(Bounds("lblPuzzle").Top, ctx.page.PuzzleTop);
}

TEST_F(PrintWindows, WordListBoxReappliesThePositionRulesWithOneLayout) {
  dialog_form.SetValue("radPuzzleLeft", 1);
  dialog_form.SetValue("radPuzzleMiddle", 1);
  dialog_form.SetValue("chkPrintWordList", 0);
  for (const char* control : {"fraWordList", "chkAbove", "chkLeft", "chkBelow", "lblRelative"}) {
    EXPECT_FALSE(dialog_form.Enabled(control)) << control;
  }
  EXPECT_FALSE(dialog_form.IsVisible("lblColumnList"));

  const int before = Layouts();
  dialog_form.SetValue("chkPrintWordList", 1);
  EXPECT_EQ(Layouts(), before + 1) << "the rules' relayouts draw nothing";
  EXPECT_NE(ctx.state.LayoutEnabled, 0);
  EXPECT_TRUE(dialog_form.Enabled("fraWordList"));
  EXPECT_TRUE(dialog_form.Enabled("lblRelative"));
  EXPECT_EQ(dialog_form.Value("chkBelow"), 1);
  EXPECT_FALSE(dialog_form.Enabled("chkBelow"));
  EXPECT_TRUE(dialog_form.IsVisible("lblColumnList"));
}

TEST_F(PrintWindows, ChosenFontGoesToTheTableAndTheButtonAndShrinksWithTheTitle) {
  app.dialogs.ExpectFont(FontSpec{"Liberation Serif", 24.5, false, true});
  dialog_form.Raise("cmdTitleFont", Event::Click);
  ASSERT_EQ(app.dialogs.fonts.size(), 1u);
  EXPECT_EQ(app.dialogs.fonts[0], (FontSpec{"Times New Roman", 18, true, true})) << "the dialog starts from the slot";
  EXPECT_EQ(ctx.fonts(kTitleFont).Size, 24) << "24.5 rounds to the even 24";
  EXPECT_EQ(ctx.fonts(kTitleFont).FontName, "Liberation Serif");
  EXPECT_EQ(dialog_form.Font("cmdTitleFont"), (FontSpec{"Liberation Serif", 24, false, true}));

  // A title of 60 characters is 14400 twips at 24 points: it shrinks to 15 points.
  testing::SetTitle(ctx, std::string(60, 'A'));
  dialog.RefreshLayout();
  EXPECT_EQ(ctx.fonts(kTitleFont).Size, 15);
  EXPECT_EQ(dialog_form.Font("cmdTitleFont").Size, 15);

  app.dialogs.ExpectFont(std::nullopt);
  dialog_form.Raise("cmdPuzzleFont", Event::Click);
  EXPECT_EQ(ctx.fonts(kPuzzleFont), (FontRecord{"Puzzle", "Arial", 16, kFalse, kFalse})) << "Cancel keeps the slot";
}

TEST_F(PrintWindows, ReturningFromThePreviewDoesNotLayThePageOutAgain) {
  dialog_form.Raise("cmdPreview", Event::Click);
  EXPECT_TRUE(preview_form.Visible());
  EXPECT_FALSE(preview_form.ShownModal());
  const int before = Layouts();
  preview_form.Raise({}, Event::Deactivate);
  dialog_form.Raise({}, Event::Activate);
  EXPECT_EQ(Layouts(), before);
  EXPECT_EQ(ctx.state.SkipActivateRelayout, kFalse);
  dialog_form.Raise({}, Event::Activate);
  EXPECT_EQ(Layouts(), before + 1);

  // Close, or the title bar's close box, hides both windows and keeps them.
  dialog_form.SetValue("radTitleLeft", 1);
  dialog_form.Raise("cmdCancel", Event::Click);
  EXPECT_FALSE(dialog_form.Visible());
  EXPECT_FALSE(preview_form.Visible());
  dialog_form.Show();
  preview_form.Show();
  EXPECT_FALSE(dialog_form.Unload());
  EXPECT_FALSE(dialog_form.Visible());
  EXPECT_FALSE(preview_form.Visible());
  EXPECT_EQ(dialog_form.Value("radTitleLeft"), 1);
}

TEST_F(PrintWindows, PrintTakesTheControlsAsTheyStand) {
  dialog_form.SetText(MarginBox(kLeftMargin), "2");  // typed, not yet committed
  app.dialogs.ExpectPrinter(std::nullopt);
  dialog_form.Raise("cmdPrint", Event::Click);
  EXPECT_EQ(ctx.print.Margins[kLeftMargin], "2");
  app.dialogs.ExpectPrinter(std::nullopt);
  dialog_form.Raise("cmdPrinter", Event::Click);
  EXPECT_EQ(app.dialogs.printer_flags, (std::vector<int>{kPrintDialogFlags, kPrintSetupFlag}));
}

// --- the preview window

TEST_F(PrintWindows, PreviewLoadsWithBothBarsAndCentred) {
  EXPECT_EQ(preview.ScrollBarThickness(), 255);
  EXPECT_EQ(preview_form.Bounds(kPreviewPicture), (Rect{0, 0, 12240, 15840}));
  EXPECT_EQ(preview_form.Bounds(kHorizontalBar), (Rect{0, 7710 - 255, 10725 - 255, 255}));
  EXPECT_EQ(preview_form.Bounds(kVerticalBar), (Rect{10725 - 255, 0, 255, 7710 - 255}));
  EXPECT_EQ(preview_form.Geometry().Left, (app.metrics.ScreenWidth() - 10845) / 2);
}

TEST_F(PrintWindows, PreviewBarsFollowTheWindowWidth) {
  auto resize = [this](int width, int height) {
    FormGeometry g = preview_form.Geometry();
    g.ScaleWidth = width;
    g.ScaleHeight = height;
    preview_form.UpdateGeometry(g);
    preview_form.Raise({}, Event::Resize);
  };
  const ControlState& across = preview_form.Control(kHorizontalBar);
  resize(8000, 7710);
  // 8000 - 255 - 12240 = -4495: half of 4495 is 2247.5, to the even 2248; 4495 / 20 = 224.75.
  EXPECT_EQ(across.Max, 4495);
  EXPECT_EQ(across.LargeChange, 2248);
  EXPECT_EQ(across.SmallChange, 225);
  preview_form.SetScrollValue(kHorizontalBar, 4495);
  const Rect& pic = preview_form.Bounds(kPreviewPicture);
  EXPECT_EQ(pic.Left + pic.Width, preview_form.Bounds(kVerticalBar).Left) << "the page's right edge meets the bar";
  preview_form.SetScrollValue(kVerticalBar, 300);
  EXPECT_EQ(pic.Top, -300);

  resize(9000, 7710);
  EXPECT_EQ(across.Max, 3495);
  EXPECT_EQ(across.Value, 3495) << "a position past the new end is brought back";
  EXPECT_EQ(pic.Left, -3495);

  resize(13000, 16000);
  EXPECT_FALSE(preview_form.IsVisible(kHorizontalBar));
  EXPECT_FALSE(preview_form.IsVisible(kVerticalBar));
  EXPECT_EQ(pic.Left, 0);
  EXPECT_EQ(pic.Top, 0);
  resize(8000, 7710);
  EXPECT_EQ(across.Value, 0) << "the bar comes back where the page stands";

  resize(100, 100);  // smaller than the bars themselves
  EXPECT_EQ(preview_form.Bounds(kHorizontalBar).Width, 0);
  EXPECT_EQ(preview_form.Bounds(kVerticalBar).Height, 0);
  EXPECT_EQ(across.Max, 12240);
  EXPECT_GE(across.LargeChange, 1);

  preview_form.Show();
  preview_form.Raise("Close", Event::Click);
  EXPECT_FALSE(preview_form.Visible());
}

}  // namespace
}  // namespace kivrel
