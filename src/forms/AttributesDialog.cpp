#include "forms/AttributesDialog.h"

#include <algorithm>
#include <string>

#include "commands/BuildCommands.h"
#include "commands/ListEdits.h"
#include "commands/WordListCommands.h"
#include "forms/WindowPlacement.h"
#include "model/Numbers.h"
#include "model/Text.h"
#include "program/CommandStates.h"
#include "program/WindowTitle.h"
#include "program/WordTable.h"

namespace kivrel {

using namespace frmAttributes;

namespace {

constexpr std::string_view kSizePicture = "##";

int CheckValue(long long flag) { return flag != 0 ? 1 : 0; }

// The operator of a choice of the operator box (column 0), or a known operator itself
// (column 1); empty for anything else.
std::string_view StopOperator(std::string_view text, int column = 0) {
  for (const auto& choice : kStopOperatorChoices) {
    if (text == choice[column]) return choice[1];
  }
  return {};
}

}  // namespace

AttributesDialog::AttributesDialog(AppContext& ctx) : ctx_(ctx) {
  Form& f = form();
  f.On({}, Event::Load, [this] { Form_Load(); });
  f.On({}, Event::Activate, [this] { Form_Activate(); });
  f.On({}, Event::Deactivate, [this] { Form_LostFocus(); });
  f.OnQueryUnload([this] { return Form_QueryUnload(); });
  f.On(cmdOK, Event::Click, [this] { cmdOK_Click(); });
  f.On(cmdSaveList, Event::Click, [this] { cmdSaveList_Click(); });
  f.On(cmdCancel, Event::Click, [this] { cmdCancel_Click(); });
  f.On(cmdDefaultDimensions, Event::Click, [this] { cmdDefaultDimensions_Click(); });
  f.On(chkFastBuild, Event::Click, [this] { chkFastBuild_Click(); });
  f.On(chkStopOnReject, Event::Click, [this] { chkStopOnReject_Click(); });
  f.On(chkRestartOnReject, Event::Click, [this] { chkRestartOnReject_Click(); });
  for (Control box : {txtPuzWidth, txtPuzHeight, txtStopRem}) {
    f.OnKeyPress(box, [this](int key) { return NumericBox_KeyPress(key); });
    f.On(box, Event::GotFocus, [this, box] { NumericBox_GotFocus(box); });
  }
  f.On(txtPuzName, Event::GotFocus, [this] { txtPuzName_GotFocus(); });
  f.On(txtPuzWidth, Event::LostFocus, [this] { txtPuzWidth_LostFocus(); });
  f.On(txtPuzHeight, Event::LostFocus, [this] { txtPuzHeight_LostFocus(); });
  f.On(txtStopRem, Event::LostFocus, [this] { txtStopRem_LostFocus(); });
  f.On(txtMysteryQuote, Event::Change, [this] { txtMysteryQuote_Change(); });
  const std::pair<Control, Control> spins[] = {
      {spnPuzWidth, txtPuzWidth}, {spnPuzHeight, txtPuzHeight}, {spnStopRem, txtStopRem}};
  for (auto [spin, box] : spins) {
    f.On(spin, Event::SpinUp, [this, box = box] { SpinTextBox(box, spin_step_); });
    f.On(spin, Event::SpinDown, [this, box = box] { SpinTextBox(box, -spin_step_); });
  }
  ctx_.MainForm().On(frmKV_Puzzle::mnuAttributes, Event::Click, [this] { mnuAttributes_Click(); });
}

int AttributesDialog::BoxNumber(Control box) { return std::clamp(Nearest(Val(form().Text(box))), -32768, 32767); }

void AttributesDialog::Form_Load() {
  spin_step_ = 1;
  CenterForm(ctx_, form());
}

// The dialog opens for the title to be typed over; Enter in a box of one line is OK.
void AttributesDialog::Form_Activate() {
  Form_GotFocus();
  form().SetDefault(cmdOK, true);
  form().SetFocus(txtPuzName);
  form().SelectAllText(txtPuzName);
}

void AttributesDialog::Form_GotFocus() { LoadAttributesDialog(); }

void AttributesDialog::Form_LostFocus() {
  if (ctx_.state.AttributesForBuild == 0) return;
  // The dialog was opened by a build that found the grid too small: leaving it takes
  // the size typed and builds again, once (a grid still too small opens it again). It
  // closes first, so nothing in it can change the size under the build.
  if (!CommitAttributes()) return;
  ctx_.state.AttributesForBuild = kFalse;
  form().Hide();
  BuildPuzzle(ctx_);
}

bool AttributesDialog::Form_QueryUnload() {
  // The close box gives up a build's wait for a larger grid, as Cancel does.
  ctx_.state.AttributesForBuild = kFalse;
  return false;
}

void AttributesDialog::LoadAttributesDialog() {
  PuzzleState& s = ctx_.state;
  Form& f = form();
  if (WordTableOutOfDate(s)) BuildWordTable(ctx_);
  if (s.PuzzleHeight == 0 || s.PuzzleWidth == 0) ComputeTrialDimensions(s, ctx_.list, 0);
  height_at_open_ = s.PuzzleHeight;
  width_at_open_ = s.PuzzleWidth;
  SetWindowTitle(ctx_);
  f.SetText(txtPuzWidth, FormatPicture(s.PuzzleWidth, kSizePicture));
  f.SetText(txtPuzHeight, FormatPicture(s.PuzzleHeight, kSizePicture));
  f.SetText(txtInstructions, s.PuzzleInstructions);
  f.SetText(txtMysteryQuote, s.MysteryQuote);
  txtMysteryQuote_Change();  // the spaces remaining may have changed since
  f.SetValue(chkBalanceDirections, CheckValue(s.BalanceDirections));
  f.SetValue(chkIncludeDiagonals, CheckValue(s.IncludeDiagonals));
  f.SetValue(chkFastBuild, CheckValue(s.FastBuild));
  f.SetValue(chkBackwardsWords, CheckValue(s.BackwardsWords));
  // A count of 0 is a real setting, so the stop box shows it rather than blank.
  f.SetText(txtStopRem, s.StopRemainingCount >= 0 ? std::to_string(s.StopRemainingCount) : "");
  stop_at_open_ = f.Text(txtStopRem);
  if (s.FastBuild != 0) {
    f.SetEnabled(chkStopOnReject, true);
    f.SetEnabled(chkRestartOnReject, true);
  } else {
    f.SetEnabled(chkStopOnReject, false);
    f.SetEnabled(chkRestartOnReject, false);
    f.SetValue(chkStopOnReject, 0);
    f.SetValue(chkRestartOnReject, 0);
  }
  f.SetValue(chkStopOnReject, CheckValue(s.StopOnFirstReject));
  f.SetValue(chkRestartOnReject, CheckValue(s.RestartOnFirstReject));
  if (s.LongestWordLength > 0) {
    std::string longest = FormatPicture(s.LongestWordLength, kSizePicture);
    for (Control box : {txtPuzWidth, txtPuzHeight}) {
      if (Trim(f.Text(box)).empty() || BoxNumber(box) < s.LongestWordLength) f.SetText(box, longest);
    }
  }
  at_open_ = TakeListSnapshot(ctx_);
}

ListSnapshot AttributesDialog::StepStart() const { return at_open_ ? *at_open_ : TakeListSnapshot(ctx_); }

bool AttributesDialog::CommitAttributes() {
  PuzzleState& s = ctx_.state;
  Form& f = form();
  const ListSnapshot before = StepStart();
  const int w = BoxNumber(txtPuzWidth);
  const int h = BoxNumber(txtPuzHeight);
  if (w < 0 || h < 0 || w > kLargestSide || h > kLargestSide) {
    ShowMessage(ctx_.dialogs, kPuzzleTooLargeMessage, kMessageTitle, MessageIcon::Exclamation);
    return false;
  }
  // A count of spaces is a rule only with a way to compare: a count the user typed
  // needs one chosen (or there from before), rather than being silently dropped.
  if (!f.Text(txtStopRem).empty() && f.Text(txtStopRem) != stop_at_open_ &&
      StopOperator(f.Text(cbxStopRemOp)).empty() && StopOperator(s.StopRemainingOperator, 1).empty()) {
    ShowMessage(ctx_.dialogs, kChooseStopOperatorMessage, kMessageTitle, MessageIcon::Exclamation);
    f.SetFocus(cbxStopRemOp);
    return false;
  }
  s.PuzzleTitle = f.Text(txtPuzName);
  SetWindowTitle(ctx_);
  s.PuzzleInstructions = f.Text(txtInstructions);
  const bool quote_changed = s.MysteryQuote != f.Text(txtMysteryQuote);
  s.MysteryQuote = f.Text(txtMysteryQuote);
  s.IncludeDiagonals = static_cast<i16>(f.Value(chkIncludeDiagonals));
  s.BalanceDirections = static_cast<i16>(f.Value(chkBalanceDirections));
  s.BackwardsWords = static_cast<i16>(f.Value(chkBackwardsWords));
  s.FastBuild = 1;
  s.StopOnFirstReject = static_cast<i16>(f.Value(chkStopOnReject));
  s.RestartOnFirstReject = static_cast<i16>(f.Value(chkRestartOnReject));
  if (!f.Text(txtStopRem).empty()) {
    s.StopRemainingCount = static_cast<i16>(std::max(-32768, BoxNumber(txtStopRem)));
    if (std::string_view op = StopOperator(f.Text(cbxStopRemOp)); !op.empty()) s.StopRemainingOperator = op;
  } else {
    s.StopRemainingCount = -1;
  }
  if ((height_at_open_ >= 1 && h != height_at_open_) || (width_at_open_ >= 1 && w != width_at_open_)) {
    ClearPuzzle(ctx_);
  }
  s.PuzzleWidth = static_cast<i16>(w);
  s.PuzzleHeight = static_cast<i16>(h);
  if (quote_changed) FillAgainForQuote(ctx_);
  // Everything changed since the dialog opened is one step.
  RecordEdit(ctx_, "Attributes", before);
  at_open_.reset();
  return true;
}

bool AttributesDialog::SizeHoldsLongestWord() {
  return CheckAgainstLongestWord(txtPuzWidth, WidthMessage()) && CheckAgainstLongestWord(txtPuzHeight, HeightMessage());
}

// Enter presses OK without leaving the box: the size is checked here too.
void AttributesDialog::cmdOK_Click() {
  if (SizeHoldsLongestWord() && CommitAttributes()) form().Hide();
}

void AttributesDialog::cmdSaveList_Click() {
  if (CommitAttributes()) SaveWordList(ctx_);
}

void AttributesDialog::cmdCancel_Click() {
  // Cancel also ends a build's wait for a larger grid, so the dialog does not come back.
  ctx_.state.AttributesForBuild = kFalse;
  form().Hide();
}

void AttributesDialog::cmdDefaultDimensions_Click() {
  PuzzleState& s = ctx_.state;
  Form& f = form();
  // A quote needs cells of its own, and the build must stop with exactly that many
  // left empty: the size makes room for them and the stop rule asks for them.
  const int quote = static_cast<int>(QuoteLetters(s, f.Text(txtMysteryQuote)).size());
  // The trials build with the options the boxes show.
  PuzzleState options = s;
  options.IncludeDiagonals = static_cast<i16>(f.Value(chkIncludeDiagonals));
  options.BalanceDirections = static_cast<i16>(f.Value(chkBalanceDirections));
  options.BackwardsWords = static_cast<i16>(f.Value(chkBackwardsWords));
  f.SetMousePointer(kPointerHourglass);  // a list of a thousand words takes a moment
  const ListSnapshot before = StepStart();
  ComputeTrialDimensions(options, ctx_.list, quote);
  f.SetMousePointer(kPointerDefault);
  // The size takes effect at once, as its own step.
  s.PuzzleWidth = options.PuzzleWidth;
  s.PuzzleHeight = options.PuzzleHeight;
  RecordEdit(ctx_, "Default Dimensions", before);
  at_open_.reset();
  if (s.PuzzleWidth > 0) {
    f.SetText(txtPuzWidth, FormatPicture(s.PuzzleWidth, kSizePicture));
    f.SetText(txtPuzHeight, FormatPicture(s.PuzzleHeight, kSizePicture));
  }
  if (quote > 0) {
    f.SetText(cbxStopRemOp, std::string(kStopOperatorChoices[0][0]));
    f.SetText(txtStopRem, std::to_string(quote));
  }
}

void AttributesDialog::chkFastBuild_Click() {
  Form& f = form();
  bool on = f.Value(chkFastBuild) != 0;
  f.SetEnabled(chkStopOnReject, on);
  f.SetEnabled(chkRestartOnReject, on);
  if (!on) {
    f.SetValue(chkStopOnReject, 0);
    f.SetValue(chkRestartOnReject, 0);
  }
}

void AttributesDialog::chkStopOnReject_Click() {
  Form& f = form();
  if (f.Value(chkStopOnReject) != 0 && f.Value(chkRestartOnReject) != 0) f.SetValue(chkRestartOnReject, 0);
}

void AttributesDialog::chkRestartOnReject_Click() {
  Form& f = form();
  if (f.Value(chkRestartOnReject) != 0 && f.Value(chkStopOnReject) != 0) f.SetValue(chkStopOnReject, 0);
}

int AttributesDialog::NumericBox_KeyPress(int key) {
  if (key == 8 || key == 13 || (key >= '0' && key <= '9')) return key;
  ctx_.beeper.Beep();
  return 0;
}

void AttributesDialog::NumericBox_GotFocus(Control box) {
  if (!Trim(form().Text(box)).empty()) form().SelectAllText(box);
}

void AttributesDialog::txtPuzName_GotFocus() {
  if (!ctx_.state.PuzzleTitle.empty()) form().SelectAllText(txtPuzName);
}

bool AttributesDialog::CheckAgainstLongestWord(Control box, const std::string& message) {
  PuzzleState& s = ctx_.state;
  if (s.WordCount <= 0) return true;
  if (WordTableOutOfDate(s)) BuildWordTable(ctx_);
  if (BoxNumber(box) >= s.LongestWordLength) return true;
  ShowMessage(ctx_.dialogs, message, kMessageTitle, MessageIcon::Exclamation);
  form().SetText(box, FormatPicture(s.LongestWordLength, kSizePicture));
  form().SetFocus(box);
  return false;
}

std::string AttributesDialog::WidthMessage() const {
  return kTooNarrowMessage + FormatPicture(ctx_.state.LongestWordLength, kSizePicture) + kCharactersLong;
}

std::string AttributesDialog::HeightMessage() const {
  return kTooShallowMessage + SignedNumberText(ctx_.state.LongestWordLength) + kCharactersLong;
}

void AttributesDialog::txtPuzWidth_LostFocus() { CheckAgainstLongestWord(txtPuzWidth, WidthMessage()); }

void AttributesDialog::txtPuzHeight_LostFocus() { CheckAgainstLongestWord(txtPuzHeight, HeightMessage()); }

void AttributesDialog::txtStopRem_LostFocus() {
  Form& f = form();
  const std::string& text = f.Text(txtStopRem);
  if (text.empty()) return;
  if (!IsNumeric(text)) {
    ShowMessage(ctx_.dialogs, kMustBeNumericMessage, kMessageTitle, MessageIcon::Exclamation);
    f.SetFocus(txtStopRem);
    return;
  }
  ctx_.state.StopRemainingCount = static_cast<i16>(std::max(-32768, BoxNumber(txtStopRem)));
}

void AttributesDialog::txtMysteryQuote_Change() {
  // The letters the fill will write, against the cells a build left for them.
  const auto letters = QuoteLetters(ctx_.state, form().Text(txtMysteryQuote)).size();
  form().SetText(lblLetterCount, std::to_string(letters) + " letters, " +
                                     std::to_string(Max(ctx_.state.SpacesRemaining, 0)) + " spaces remaining");
}

void AttributesDialog::SpinTextBox(Control box, int delta) {
  Form& f = form();
  if (f.Text(box).empty()) {
    f.SetText(box, "0");
    return;
  }
  double value = Val(Trim(f.Text(box))) + delta;
  int n = std::clamp(Nearest(value), 0, 32767);
  f.SetText(box, FormatPicture(n, kSizePicture));
}

void AttributesDialog::mnuAttributes_Click() {
  ctx_.state.AttributesForBuild = kFalse;
  // Still open from a build: it is shown again, modal this time.
  form().Hide();
  form().Show(true);
}

}  // namespace kivrel
