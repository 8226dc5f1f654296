#include "forms/PrintOptionsDialog.h"

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

#include "commands/PrintCommands.h"
#include "forms/PrintPreview.h"
#include "forms/WindowPlacement.h"
#include "model/Numbers.h"
#include "model/Text.h"
#include "print/PageDrawing.h"

namespace kivrel {

using namespace frmPrintOptions;

namespace {

// Option buttons by the value they stand for.
constexpr Control kTitleButtons[] = {radTitleLeft, radTitleCenter, radTitleRight};
constexpr Control kInstructionButtons[] = {radInstrLeft, radInstrCenter, radInstrRight};
constexpr Control kVerticalButtons[] = {radPuzzleTop, radPuzzleMiddle, radPuzzleBottom};
constexpr Control kHorizontalButtons[] = {radPuzzleLeft, radPuzzleCenter, radPuzzleRight};

// The position buttons in the order the word list box runs their handlers.
constexpr Control kPositionButtons[] = {radPuzzleLeft, radPuzzleCenter, radPuzzleRight,
                                        radPuzzleTop,  radPuzzleMiddle, radPuzzleBottom};

// Check boxes whose click only asks for a relayout.
constexpr Control kRelayoutBoxes[] = {chkOutlineWords, chkAbove, chkBelow, chkLeft, chkFillPage};

struct FontButton {
  Control Button;
  int Slot;
};
constexpr FontButton kFontButtons[] = {{cmdTitleFont, kTitleFont},
                                       {cmdInstructionsFont, kInstructionsFont},
                                       {cmdPuzzleFont, kPuzzleFont},
                                       {cmdWordListFont, kWordListFont}};

constexpr double kMarginStep = 0.25;  // inches

std::vector<Control> Group(const Control (&buttons)[3]) { return {buttons, buttons + 3}; }

template <typename T>
T Selected(const Form& f, const Control (&buttons)[3], T left, T center, T right) {
  if (f.Value(buttons[0]) != 0) return left;
  if (f.Value(buttons[2]) != 0) return right;
  return center;
}

void Select(Form& f, const Control (&buttons)[3], int index) { f.SetValue(buttons[index], 1); }

int AlignIndex(Align a) { return a == Align::Left ? 0 : a == Align::Center ? 1 : 2; }

int CheckValue(i16 flag) { return flag != 0 ? 1 : 0; }

FontSpec SpecOf(const FontRecord& r) { return {r.FontName, static_cast<double>(r.Size), r.Bold != 0, r.Italic != 0}; }

Rect Scaled(const Rect& r, double share) {
  return {Nearest(r.Left * share), Nearest(r.Top * share), Nearest(r.Width * share), Nearest(r.Height * share)};
}

}  // namespace

double ThumbnailShare(const PaperSize& paper) {
  return std::min({1.0, static_cast<double>(kThumbnailPaper.Width) / std::max(paper.Width, 1),
                   static_cast<double>(kThumbnailPaper.Height) / std::max(paper.Height, 1)});
}

PrintOptionsDialog::PrintOptionsDialog(AppContext& ctx) : ctx_(ctx) {
  Form& f = form();
  for (const auto* group : {&kTitleButtons, &kInstructionButtons, &kVerticalButtons, &kHorizontalButtons}) {
    f.SetOptionGroup(Group(*group));
  }
  ShowOptions(ctx_.print);
  // The margin rectangle as designed: one inch inside the page on every side.
  f.SetBounds(shpMargins, {1440, 1440, kThumbnailPaper.Width - 2 * 1440, kThumbnailPaper.Height - 2 * 1440});
  f.SetDefault(cmdPrint, true);

  f.On({}, Event::Load, [this] { Form_Load(); });
  f.On({}, Event::Activate, [this] { Form_Activate(); });
  f.On({}, Event::Resize, [this] { RefreshLayout(); });
  // The title bar's close box closes like Close: the settings stay.
  f.OnQueryUnload([this] {
    cmdCancel_Click();
    return true;
  });
  for (const auto* group : {&kTitleButtons, &kInstructionButtons}) {
    for (Control button : *group) f.On(button, Event::Click, [this] { RefreshLayout(); });
  }
  for (Control box : kRelayoutBoxes) f.On(box, Event::Click, [this] { RefreshLayout(); });
  for (Control button : kPositionButtons) {
    f.On(button, Event::Click, [this, button] { PuzzlePosition_Click(button); });
  }
  f.On(chkPrintInstructions, Event::Click, [this] { chkPrintInstructions_Click(); });
  f.On(chkPrintWordList, Event::Click, [this] { chkPrintWordList_Click(); });
  for (const FontButton& font : kFontButtons) {
    f.On(font.Button, Event::Click, [this, button = font.Button] {
      ChooseFont(button);
      RefreshLayout();
    });
  }
  for (int side = kTopMargin; side <= kRightMargin; ++side) {
    const Control box = txtMargin[side];
    f.On(box, Event::Change, [this] { txtMargin_Change(); });
    f.On(box, Event::GotFocus, [this] { txtMargin_GotFocus(); });
    f.OnKeyPress(box, [this, side](int key) { return txtMargin_KeyPress(side, key); });
    f.On(box, Event::LostFocus, [this, side] { txtMargin_LostFocus(side); });
    f.On(spnMargin[side], Event::SpinDown, [this, side] { StepMargin(side, true); });
    f.On(spnMargin[side], Event::SpinUp, [this, side] { StepMargin(side, false); });
  }
  f.On(cmdPreview, Event::Click, [this] { cmdPreview_Click(); });
  f.On(cmdPrint, Event::Click, [this] { PrintPuzzle(); });
  f.On(cmdPrinter, Event::Click, [this] { ChoosePrinter(); });
  f.On(cmdCancel, Event::Click, [this] { cmdCancel_Click(); });

  ctx_.PrintOptionChangedByLayout = [this](Control control) {
    if (control == chkLeft) form().SetValue(chkLeft, CheckValue(ctx_.print.Left));
  };
}

PrintOptionsDialog::~PrintOptionsDialog() {
  ctx_.PrintOptionChangedByLayout = [](Control) {};
}

void PrintOptionsDialog::ShowOptions(const PrintOptions& o) {
  Form& f = form();
  Select(f, kTitleButtons, AlignIndex(o.TitleAlign));
  Select(f, kInstructionButtons, AlignIndex(o.InstructionsAlign));
  Select(f, kVerticalButtons, static_cast<int>(o.PuzzleVertical));
  Select(f, kHorizontalButtons, AlignIndex(o.PuzzleHorizontal));
  f.SetValue(chkPrintInstructions, CheckValue(o.PrintInstructions));
  f.SetValue(chkPrintWordList, CheckValue(o.PrintWordList));
  f.SetValue(chkAbove, CheckValue(o.Above));
  f.SetValue(chkBelow, CheckValue(o.Below));
  f.SetValue(chkLeft, CheckValue(o.Left));
  f.SetValue(chkRight, CheckValue(o.Right));
  f.SetValue(chkOutlineWords, CheckValue(o.OutlineWords));
  f.SetValue(chkFillPage, CheckValue(o.FillPage));
  for (int side = kTopMargin; side <= kRightMargin; ++side) {
    f.SetText(txtMargin[side], o.Margins[static_cast<std::size_t>(side)]);
  }
  // Above and Below follow the puzzle's place; Right is kept but never offered.
  f.SetEnabled(chkAbove, false);
  f.SetEnabled(chkBelow, false);
  f.SetEnabled(chkRight, false);
  f.SetVisible(chkRight, false);
  f.SetEnabled(chkLeft,
               o.PrintWordList != 0 && o.PuzzleVertical != VerticalPlace::Bottom && o.PuzzleHorizontal != Align::Left);
  const bool instructions = o.PrintInstructions != 0;
  f.SetEnabled(fraInstructions, instructions);
  for (Control button : kInstructionButtons) f.SetEnabled(button, instructions);
  f.SetEnabled(fraWordList, o.PrintWordList != 0);
  f.SetEnabled(lblRelative, o.PrintWordList != 0);
  f.SetVisible(lblListTooLong, false);
}

void PrintOptionsDialog::ReadOptions() {
  const Form& f = form();
  PrintOptions& o = ctx_.print;
  o.TitleAlign = Selected(f, kTitleButtons, Align::Left, Align::Center, Align::Right);
  o.InstructionsAlign = Selected(f, kInstructionButtons, Align::Left, Align::Center, Align::Right);
  o.PuzzleVertical = Selected(f, kVerticalButtons, VerticalPlace::Top, VerticalPlace::Middle, VerticalPlace::Bottom);
  o.PuzzleHorizontal = Selected(f, kHorizontalButtons, Align::Left, Align::Center, Align::Right);
  auto check = [&f](Control box) { return static_cast<i16>(f.Value(box) != 0 ? 1 : 0); };
  o.PrintInstructions = check(chkPrintInstructions);
  o.PrintWordList = check(chkPrintWordList);
  o.Above = check(chkAbove);
  o.Below = check(chkBelow);
  o.Left = check(chkLeft);
  o.Right = check(chkRight);
  o.OutlineWords = check(chkOutlineWords);
  o.FillPage = check(chkFillPage);
  for (int side = kTopMargin; side <= kRightMargin; ++side) {
    o.Margins[static_cast<std::size_t>(side)] = f.Text(txtMargin[side]);
  }
}

void PrintOptionsDialog::Form_Load() {
  Form& f = form();
  const Rect& margins = f.Bounds(shpMargins);
  thumb_top_ = margins.Top;
  thumb_left_ = margins.Left;
  thumb_right_ = kThumbnailPaper.Width - margins.Width - margins.Left;
  thumb_bottom_ = kThumbnailPaper.Height - margins.Height - margins.Top;
  // Each font button shows its section's font.
  for (const FontButton& font : kFontButtons) f.SetFont(font.Button, SpecOf(ctx_.fonts(font.Slot)));
  PlaceNear(ctx_, f, ctx_.MainForm());
  ctx_.forms.Get(frmPrintPreview::kWindow).Load();
  ctx_.state.SkipActivateRelayout = kFalse;
}

void PrintOptionsDialog::Form_Activate() {
  if (ctx_.state.SkipActivateRelayout != 0) {
    ctx_.state.SkipActivateRelayout = kFalse;
  } else {
    RefreshLayout();
  }
}

void PrintOptionsDialog::RefreshLayout() {
  if (ctx_.state.PrintingInProgress != 0) return;
  ReadOptions();
  ShowPaper();
  DrawPreviewPage(ctx_);
  PlaceThumbnail();
}

void PrintOptionsDialog::ShowPaper() {
  const PaperSize& paper = ctx_.print.Paper;
  if (shown_paper_ == paper) return;
  shown_paper_ = paper;
  // The preview's page takes the paper's size as it fits itself to its window.
  ctx_.forms.Get(frmPrintPreview::kWindow).Raise({}, Event::Resize);
  Form& f = form();
  const double share = ThumbnailShare(paper);
  Rect thumbnail = f.Bounds(picLayout);
  thumbnail.Width = Nearest(paper.Width * share / 3);
  thumbnail.Height = Nearest(paper.Height * share / 3);
  f.SetBounds(picLayout, thumbnail);
  PlaceMarginRectangle();
}

void PrintOptionsDialog::PlaceThumbnail() {
  Form& f = form();
  const PagePrinted& printed = ctx_.printed;
  const double share = ThumbnailShare(ctx_.print.Paper);
  // Exactly the blocks the page printed, where it printed them.
  const std::pair<Control, const PageBlock*> blocks[] = {{lblTitle, &printed.Title},
                                                         {lblInstructions, &printed.Instructions},
                                                         {lblPuzzle, &printed.Puzzle},
                                                         {lblSideList, &printed.SideList},
                                                         {lblColumnList, &printed.ColumnList}};
  for (const auto& [label, block] : blocks) {
    if (block->Shown) f.SetBounds(label, Scaled(block->Bounds, share));
    f.SetVisible(label, block->Shown);
  }
  f.SetVisible(lblListTooLong, f.Value(chkPrintWordList) != 0 && !printed.ListFits);
}

void PrintOptionsDialog::ChooseFont(Control button) {
  for (const FontButton& font : kFontButtons) {
    if (font.Button == button) font_slot_ = font.Slot;
  }
  if (font_slot_ == 0) return;
  FontRecord& record = ctx_.fonts(font_slot_);
  std::optional<FontSpec> chosen = ctx_.dialogs.ChooseFont(SpecOf(record), kFontDialogFlags);
  if (!chosen) return;
  record.FontName = chosen->Name;
  record.Size = static_cast<i16>(std::clamp(Nearest(chosen->Size), 1, 32767));
  record.Bold = Flag(chosen->Bold);
  record.Italic = Flag(chosen->Italic);
  form().SetFont(button, *chosen);
}

void PrintOptionsDialog::SetMargin(int side, double inches) {
  const int twips = Nearest(inches * 1440.0);
  switch (side) {
    case kTopMargin:
      thumb_top_ = twips;
      break;
    case kBottomMargin:
      thumb_bottom_ = twips;
      break;
    case kLeftMargin:
      thumb_left_ = twips;
      break;
    case kRightMargin:
      thumb_right_ = twips;
      break;
    default:
      break;
  }
  PlaceMarginRectangle();
  RefreshLayout();
}

void PrintOptionsDialog::PlaceMarginRectangle() {
  // Margins wider than the page leave an empty rectangle, not a negative one.
  const PaperSize& paper = ctx_.print.Paper;
  const Rect inside{thumb_left_, thumb_top_, Max(paper.Width - thumb_right_ - thumb_left_, 0),
                    Max(paper.Height - thumb_bottom_ - thumb_top_, 0)};
  form().SetBounds(shpMargins, Scaled(inside, ThumbnailShare(paper)));
}

void PrintOptionsDialog::CommitMarginText(int side) {
  Form& f = form();
  const Control box = txtMargin[side];
  f.SetText(box, Trim(f.Text(box)));
  FinishMargin(side, Val(f.Text(box)));
}

void PrintOptionsDialog::StepMargin(int side, bool down) {
  Form& f = form();
  const Control box = txtMargin[side];
  f.SetText(box, Trim(f.Text(box)));
  FinishMargin(side, Val(f.Text(box)) + (down ? -kMarginStep : kMarginStep));
}

void PrintOptionsDialog::FinishMargin(int side, double inches) {
  Form& f = form();
  // Below 0 is no margin; beyond what a layout can hold is the most it can.
  inches = std::clamp(inches, 0.0, kLargestMarginInches);
  std::array<int, 4> twips{};
  for (int other = kTopMargin; other <= kRightMargin; ++other) {
    twips[static_cast<std::size_t>(other)] = MarginTwips(ctx_.print.Margins[static_cast<std::size_t>(other)]);
  }
  twips[static_cast<std::size_t>(side)] = Nearest(inches * 1440.0);
  if (const std::string refusal = MarginsRefusal(twips, ctx_.print.Paper); !refusal.empty()) {
    // The box shows the margin the page has again; nothing is left to commit when the
    // message takes the focus away from it.
    f.SetText(txtMargin[side], ctx_.print.Margins[static_cast<std::size_t>(side)]);
    margin_edited_ = false;
    ShowMessage(ctx_.dialogs, refusal, kMessageTitle, MessageIcon::Exclamation);
    return;
  }
  f.SetText(txtMargin[side], FormatMargin(inches) + std::string(kInchMark));
  SetMargin(side, inches);
}

void PrintOptionsDialog::ApplyPuzzleRule() {
  Form& f = form();
  // The word list boxes follow the place selected, as on every page laid out; setting a
  // box counts as a click on it when its value changes.
  PrintOptions o;
  o.PuzzleVertical = Selected(f, kVerticalButtons, VerticalPlace::Top, VerticalPlace::Middle, VerticalPlace::Bottom);
  o.PuzzleHorizontal = Selected(f, kHorizontalButtons, Align::Left, Align::Center, Align::Right);
  o.Left = static_cast<i16>(f.Value(chkLeft));
  o.Right = static_cast<i16>(f.Value(chkRight));
  FollowPuzzlePlace(o);
  const std::pair<Control, i16> boxes[] = {
      {chkAbove, o.Above}, {chkBelow, o.Below}, {chkLeft, o.Left}, {chkRight, o.Right}};
  // The box that comes on first, so that the list is never asked to go nowhere.
  for (int pass : {1, 0}) {
    for (const auto& [box, value] : boxes) {
      if (value == pass && f.Value(box) != value) f.SetValue(box, value);
    }
  }
  f.SetEnabled(chkAbove, false);
  f.SetEnabled(chkBelow, false);
  f.SetEnabled(chkRight, false);
  // "Left" is offered only where the page can print a list beside the puzzle: not with
  // the puzzle at the left, nor at the bottom, whatever was selected before.
  f.SetEnabled(chkLeft, f.Value(chkPrintWordList) != 0 && f.Value(radPuzzleBottom) == 0 && f.Value(radPuzzleLeft) == 0);
}

void PrintOptionsDialog::PuzzlePosition_Click(Control button) {
  if (form().Value(button) != 0) ApplyPuzzleRule();
  RefreshLayout();
}

void PrintOptionsDialog::chkPrintInstructions_Click() {
  Form& f = form();
  const bool on = f.Value(chkPrintInstructions) != 0;
  f.SetEnabled(fraInstructions, on);
  for (Control button : kInstructionButtons) f.SetEnabled(button, on);
  RefreshLayout();
}

void PrintOptionsDialog::chkPrintWordList_Click() {
  Form& f = form();
  if (f.Value(chkPrintWordList) != 0) {
    f.SetEnabled(fraWordList, true);
    // The rules of the two selected positions set the boxes again; the relayouts they
    // ask for meanwhile draw nothing.
    ctx_.state.LayoutEnabled = kFalse;
    for (Control button : kPositionButtons) PuzzlePosition_Click(button);
    f.SetEnabled(lblRelative, true);
    ctx_.state.LayoutEnabled = kTrue;
  } else {
    for (Control control : {fraWordList, chkAbove, chkLeft, chkBelow, lblRelative}) {
      f.SetEnabled(control, false);
    }
  }
  RefreshLayout();
}

void PrintOptionsDialog::txtMargin_Change() {
  // Only typing in the box that has the focus holds Enter for the box; a spin arrow
  // clicked while no margin box has the focus changes the text but leaves Enter to Print.
  if (!margin_focused_) return;
  form().SetDefault(cmdPrint, false);
  margin_edited_ = true;
}

void PrintOptionsDialog::txtMargin_GotFocus() {
  margin_focused_ = true;
  margin_edited_ = false;
}

int PrintOptionsDialog::txtMargin_KeyPress(int side, int key) {
  if (key == 13 && margin_edited_) CommitMarginText(side);
  return key;
}

void PrintOptionsDialog::txtMargin_LostFocus(int side) {
  margin_focused_ = false;
  form().SetDefault(cmdPrint, true);
  if (margin_edited_) CommitMarginText(side);
}

void PrintOptionsDialog::cmdPreview_Click() { ctx_.forms.Get(frmPrintPreview::kWindow).Show(false); }

void PrintOptionsDialog::cmdCancel_Click() {
  form().Hide();
  ctx_.forms.Get(frmPrintPreview::kWindow).Hide();
}

void PrintOptionsDialog::PrintPuzzle() {
  ReadOptions();
  if (kivrel::PrintPuzzle(ctx_)) RefreshLayout();
}

void PrintOptionsDialog::ChoosePrinter() {
  if (kivrel::ChoosePrinter(ctx_)) RefreshLayout();
}

}  // namespace kivrel
