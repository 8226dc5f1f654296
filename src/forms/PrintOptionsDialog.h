#pragma once
// What the print options dialog frmPrintOptions does: the user sets where the blocks
// of the page go, chooses the four print fonts and edits the four margins, and every
// change lays the page out again on the preview page and moves the blocks of the
// dialog's one-third-scale thumbnail. Print, Printer... and Preview start from here.
//
// Where the options live: the dialog's controls (its Form) are what the user changes,
// and ctx.print is what a page layout reads. Every relayout, and Print, first copies
// the controls into ctx.print, so a layout sees them as they stand when it starts. The
// one change that goes the other way is the layout clearing "Left" when the list has
// no room beside the puzzle: the dialog clears chkLeft to match, which counts as a
// click on it and asks for a nested relayout (ignored while the printer draws).
//
// The thumbnail picLayout has the page's coordinates: its labels, and the margin
// rectangle shpMargins, are placed in page twips, three of them to one twip of the
// thumbnail on screen. Paper taller or wider than Letter is shown smaller, to fit the
// thumbnail's place: its twips are scaled by ThumbnailShare first. The thumbnail shows
// exactly the blocks the last layout printed (ctx.printed), and lblListTooLong says so
// when the word list did not fit.
#include <optional>
#include <string>
#include <string_view>

#include "controls/PrintOptionsControls.h"
#include "program/AppContext.h"

namespace kivrel {

/// The largest margin in inches: 32760 twips, within what a page layout can hold.
inline constexpr double kLargestMarginInches = 22.75;

/// The thumbnail's place in the dialog, in page twips at a third: a Letter page.
inline constexpr PaperSize kThumbnailPaper = kLetterPaper;

/// The share of its size a page of `paper` is shown at on the thumbnail, in page twips:
/// 1 for Letter, less for paper that would not fit the thumbnail's place.
double ThumbnailShare(const PaperSize& paper);

class PrintOptionsDialog {
 public:
  /// Shows the options of ctx.print on the dialog's controls as their design values,
  /// registers the handlers and wires the layout's change of "Left" to chkLeft.
  explicit PrintOptionsDialog(AppContext& ctx);
  PrintOptionsDialog(const PrintOptionsDialog&) = delete;
  PrintOptionsDialog& operator=(const PrintOptionsDialog&) = delete;
  ~PrintOptionsDialog();

  /// Takes the margins from the rectangle as designed, gives the font buttons their
  /// sections' fonts, centres the window and loads the preview window (hidden).
  void Form_Load();
  /// Lays the page out, except right after the preview window was left.
  void Form_Activate();

  /// Copies the controls into ctx.print, lays the page out on the preview page and
  /// places the thumbnail's blocks from the result. Does nothing while the printer draws.
  void RefreshLayout();
  /// Copies the controls into ctx.print.
  void ReadOptions();

  /// The font dialog for a font button's section; the chosen font goes into the font
  /// table (size in whole points) and onto the button. Cancel changes nothing.
  void ChooseFont(Control button);
  /// Moves one side of the margin rectangle to `inches` and lays the page out.
  void SetMargin(int side, double inches);
  /// Normalises a margin box: its leading number (none reads as 0), never below 0,
  /// written back as "#.0#" and the inch mark; then SetMargin. Margins that would leave
  /// less than 2 inches of the paper across or down are refused with a message naming
  /// them, and the box goes back to the margin the page has.
  void CommitMarginText(int side);
  /// As CommitMarginText, a quarter inch up or down first.
  void StepMargin(int side, bool down);

  /// A puzzle position button: when it is selected, its rule sets the word list boxes;
  /// then the page is laid out.
  void PuzzlePosition_Click(Control button);
  void chkPrintInstructions_Click();
  void chkPrintWordList_Click();
  void txtMargin_Change();
  void txtMargin_GotFocus();
  /// Enter after typing commits the box; the key goes on either way.
  int txtMargin_KeyPress(int side, int key);
  void txtMargin_LostFocus(int side);
  void cmdPreview_Click();
  /// Close: hides the dialog and the preview; both keep their settings.
  void cmdCancel_Click();
  /// Print: the page as the controls stand now, through the print dialog.
  void PrintPuzzle();
  /// Printer...: the printer set-up dialog; the page is laid out again on the paper of
  /// the printer chosen.
  void ChoosePrinter();

 private:
  Form& form() { return ctx_.forms.Get(frmPrintOptions::kWindow); }
  void ShowOptions(const PrintOptions& o);
  void ApplyPuzzleRule();
  void PlaceThumbnail();
  /// The thumbnail and the preview on the paper of the print options.
  void ShowPaper();
  void PlaceMarginRectangle();
  /// Writes a margin value back to its box and moves the rectangle.
  void FinishMargin(int side, double inches);

  AppContext& ctx_;
  std::optional<PaperSize> shown_paper_;  // the paper the thumbnail and the preview show
  int thumb_top_ = 0;
  int thumb_bottom_ = 0;
  int thumb_left_ = 0;
  int thumb_right_ = 0;
  bool margin_edited_ = false;
  bool margin_focused_ = false;  // a margin box has the keyboard focus
  int font_slot_ = 0;
};

}  // namespace kivrel
