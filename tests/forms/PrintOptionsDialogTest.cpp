// The print options dialog and the preview window on the recording surface (a text is
// FontSize x 20 twips high, a character FontSize x 10 wide; see RecordingSurface.h).
#include <gtest/gtest.h>

#include "HandPlaced.h"
#include "TestApp.h"
#include "forms/PrintOptionsDialog.h"
#include "forms/PrintPreview.h"
#include "print/PageDrawing.h"
#include "program/StartUp.h"

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

  std::size_t Layouts() const { return page.OfKind(DrawOp::Kind::Cls).size(); }
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

TEST_F(PrintWindows, LeftClearedByTheLayoutClearsTheBoxWithOneNestedRelayout) {
  dialog_form.SetValue("radPuzzleRight", 1);
  dialog_form.SetValue("chkLeft", 1);
  const PageLayout& p = ctx.page;
  EXPECT_EQ(Bounds("lblSideList"), (Rect{1440, p.PuzzleTop, p.ListColumnWidth, Max(p.ColumnListTop - p.PuzzleTop, 0)}));

  // At the left margin there is no room beside the grid (Middle leaves Left enabled).
  dialog_form.SetValue("radPuzzleLeft", 1);
  dialog_form.SetValue("radPuzzleMiddle", 1);
  auto before = Layouts();
  dialog_form.SetValue("chkLeft", 1);
  EXPECT_EQ(dialog_form.Value("chkLeft"), 0);
  EXPECT_FALSE(dialog_form.IsVisible("lblSideList"));
  EXPECT_EQ(Layouts(), before + 2);

  // While the printer draws, the box is cleared but the preview is left alone.
  dialog_form.Define("chkLeft", [](ControlState& c) { c.Value = 1; });
  ctx.print.Left = 1;
  before = Layouts();
  RecordingSurface printer;
  DrawPrinterPage(ctx, printer);
  EXPECT_EQ(dialog_form.Value("chkLeft"), 0);
  EXPECT_EQ(Layouts(), before);
}

TEST_F(PrintWindows, MarginTextsWithoutAUsableNumberAreNormalised) {
  for (auto [side, typed, shown] :
       {std::tuple{kLeftMargin, "wide", ".0\""}, {kRightMargin, "-2", ".0\""}, {kTopMargin, "1e9", "22.75\""}}) {
    TypeMargin(side, typed);
    EXPECT_EQ(dialog_form.Text(MarginBox(side)), shown) << typed;
  }
  EXPECT_EQ(Bounds(kMarginRectangle), (Rect{0, 32760, 12240, 0})) << "never a negative height";

  // Enter without typing leaves the box as it is.
  dialog_form.Raise(MarginBox(kTopMargin), Event::GotFocus);
  dialog_form.Define(MarginBox(kTopMargin), [](ControlState& c) { c.Text = "3"; });
  dialog_form.RaiseKeyPress(MarginBox(kTopMargin), 13);
  EXPECT_EQ(dialog_form.Text(MarginBox(kTopMargin)), "3");
}

TEST_F(PrintWindows, WordListBoxReappliesThePositionRulesWithOneLayout) {
  dialog_form.SetValue("radPuzzleBottom", 1);
  dialog_form.SetValue("chkPrintWordList", 0);
  EXPECT_FALSE(dialog_form.Enabled("lblRelative"));
  EXPECT_FALSE(dialog_form.IsVisible("lblColumnList"));
  dialog_form.SetValue("radPuzzleTop", 1);

  const auto before = Layouts();
  dialog_form.SetValue("chkPrintWordList", 1);
  EXPECT_EQ(Layouts(), before + 1) << "the rules' relayouts draw nothing";
  EXPECT_NE(ctx.state.LayoutEnabled, 0);
  EXPECT_TRUE(dialog_form.Enabled("lblRelative"));
  EXPECT_EQ(dialog_form.Value("chkBelow"), 1);
  EXPECT_EQ(ctx.print.Above, 0);
  EXPECT_TRUE(dialog_form.IsVisible("lblColumnList"));
}

TEST_F(PrintWindows, ChosenFontSizeIsKeptInWholePointsAndCancelKeepsTheSlot) {
  app.dialogs.ExpectFont(FontSpec{"Liberation Serif", 24.5, false, true});
  dialog_form.Raise("cmdTitleFont", Event::Click);
  EXPECT_EQ(app.dialogs.fonts.at(0), (FontSpec{"Times New Roman", 18, true, true})) << "it starts from the slot";
  EXPECT_EQ(ctx.fonts(kTitleFont), (FontRecord{"Title", "Liberation Serif", 24, kFalse, kTrue})) << "24.5 to the even 24";
  EXPECT_EQ(dialog_form.Font("cmdTitleFont"), (FontSpec{"Liberation Serif", 24, false, true}));

  app.dialogs.ExpectFont(std::nullopt);
  dialog_form.Raise("cmdPuzzleFont", Event::Click);
  EXPECT_EQ(ctx.fonts(kPuzzleFont), (FontRecord{"Puzzle", "Arial", 16, kFalse, kFalse}));
}

TEST_F(PrintWindows, ReturningFromThePreviewDoesNotLayThePageOutAgain) {
  dialog_form.Raise("cmdPreview", Event::Click);
  EXPECT_TRUE(preview_form.Visible());
  const auto before = Layouts();
  preview_form.Raise({}, Event::Deactivate);
  dialog_form.Raise({}, Event::Activate);
  EXPECT_EQ(Layouts(), before);
  dialog_form.Raise({}, Event::Activate);
  EXPECT_EQ(Layouts(), before + 1);

  // The title bar's close box hides both windows, like Close, and keeps them.
  EXPECT_FALSE(dialog_form.Unload());
  EXPECT_FALSE(dialog_form.Visible());
  EXPECT_FALSE(preview_form.Visible());
}

TEST_F(PrintWindows, PrintTakesTheControlsAsTheyStand) {
  dialog_form.SetText(MarginBox(kLeftMargin), "2");  // typed, not yet committed
  app.dialogs.ExpectPrinter(std::nullopt);
  dialog_form.Raise("cmdPrint", Event::Click);
  EXPECT_EQ(ctx.print.Margins[kLeftMargin], "2");
}

TEST_F(PrintWindows, PreviewBarsFollowTheWindowAndNeverGoNegative) {
  auto resize = [this](int width, int height) {
    FormGeometry g = preview_form.Geometry();
    g.ScaleWidth = width;
    g.ScaleHeight = height;
    preview_form.UpdateGeometry(g);
    preview_form.Raise({}, Event::Resize);
  };
  const ControlState& across = preview_form.Control(kHorizontalBar);
  const Rect& page = preview_form.Bounds(kPreviewPicture);
  resize(8000, 7710);
  // 8000 - 255 - 12240 = -4495: half of 4495 is 2247.5, to the even 2248; 4495 / 20 = 224.75.
  EXPECT_EQ(std::make_tuple(across.Max, across.LargeChange, across.SmallChange), std::make_tuple(4495, 2248, 225));
  preview_form.SetScrollValue(kHorizontalBar, 4495);
  EXPECT_EQ(page.Left + page.Width, preview_form.Bounds(kVerticalBar).Left) << "the page's right edge meets the bar";

  resize(9000, 7710);
  EXPECT_EQ(across.Value, 3495) << "a position past the new end is brought back";
  EXPECT_EQ(page.Left, -3495);

  resize(13000, 7710);
  EXPECT_FALSE(preview_form.IsVisible(kHorizontalBar));
  EXPECT_EQ(page.Left, 0);
  resize(8000, 7710);
  EXPECT_EQ(across.Value, 0) << "the bar comes back where the page stands";

  resize(100, 100);  // smaller than the bars themselves
  EXPECT_EQ(preview_form.Bounds(kHorizontalBar).Width, 0);
  EXPECT_EQ(preview_form.Bounds(kVerticalBar).Height, 0);
  EXPECT_EQ(across.Max, 12240);
  EXPECT_EQ(across.LargeChange, 1);
}

}  // namespace
}  // namespace kivrel
