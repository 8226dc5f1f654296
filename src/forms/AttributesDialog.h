#pragma once
// What the attributes dialog frmAttributes does: it shows the puzzle's title, size,
// instructions and build options, checks the size against the longest word, offers a
// default size, and commits the values on OK or Save List. The main window's
// Attributes command shows it modal; a build that finds the grid too small shows it
// modeless and builds again when it loses the focus.
#include <optional>
#include <string>
#include <string_view>

#include "commands/ListEdits.h"
#include "program/AppContext.h"

namespace kivrel {

inline constexpr const char* kTooNarrowMessage = "Too narrow - longest word is ";
inline constexpr const char* kTooShallowMessage = "Too shallow - longest word is ";
inline constexpr const char* kCharactersLong = " characters long";
inline constexpr const char* kMustBeNumericMessage = "Must be numeric";
inline constexpr const char* kChooseStopOperatorMessage =
    "Choose \"equal to\", \"less than\" or \"less than or equal to\" for Stop when spaces remaining";
inline constexpr const char* kPuzzleTooLargeMessage = "Puzzle too large - the largest puzzle is 99 x 99 letters";

/// The operator box's choices and the operators they stand for.
inline constexpr std::string_view kStopOperatorChoices[3][2] = {
    {"equal to", "="}, {"less than", "<"}, {"less than or equal to", "<="}};

class AttributesDialog {
 public:
  /// Registers the handlers on the dialog's form and the main window's Attributes item.
  explicit AttributesDialog(AppContext& ctx);
  AttributesDialog(const AttributesDialog&) = delete;
  AttributesDialog& operator=(const AttributesDialog&) = delete;

  void Form_Load();
  void Form_Activate();
  void Form_GotFocus();
  /// Leaving the dialog that a build opened for a larger grid commits it, closes it and
  /// builds.
  void Form_LostFocus();
  /// The close box: like Cancel, it ends a build's wait for a larger grid.
  bool Form_QueryUnload();

  /// Fills the boxes from the puzzle state (every activation).
  void LoadAttributesDialog();
  /// Takes the boxes into the puzzle state. Returns false, with a message, when the size
  /// is more than the puzzle's 16-bit counts can carry; nothing is committed then. A
  /// new quote for a filled puzzle fills its blanks again. What changed since the dialog
  /// opened (or since its last step) becomes one step that can be undone.
  bool CommitAttributes();

  /// Checks the size against the longest word (Enter presses OK from inside a box), then
  /// commits and closes.
  void cmdOK_Click();
  void cmdSaveList_Click();
  void cmdCancel_Click();
  /// The size trial builds find room at for every word and the quote (see
  /// ComputeTrialDimensions), shown in the boxes and taken at once, as a step of its own.
  void cmdDefaultDimensions_Click();
  void chkFastBuild_Click();
  void chkStopOnReject_Click();
  void chkRestartOnReject_Click();
  /// Digits, Backspace and Enter pass; any other key is dropped with a beep.
  int NumericBox_KeyPress(int key);
  void NumericBox_GotFocus(Control box);
  void txtPuzName_GotFocus();
  void txtPuzWidth_LostFocus();
  void txtPuzHeight_LostFocus();
  void txtStopRem_LostFocus();
  void txtMysteryQuote_Change();
  /// One step of a spin button: an empty box becomes "0", otherwise its number plus
  /// delta, never below 0 (a box that holds no number counts as 0).
  void SpinTextBox(Control box, int delta);

  /// Puzzle > Attributes: the dialog, modal, for editing (not for a build).
  void mnuAttributes_Click();

 private:
  Form& form() { return ctx_.AttributesForm(); }
  /// The number in a box: its leading number, rounded, kept inside 16 bits.
  int BoxNumber(Control box);
  /// False, with the message, the longest word's length in the box and the focus there,
  /// when the box's number is below the longest word's length.
  bool CheckAgainstLongestWord(Control box, const std::string& message);
  bool SizeHoldsLongestWord();
  std::string WidthMessage() const;
  std::string HeightMessage() const;
  /// What the dialog's next step starts from: the state as the dialog loaded it, or as
  /// its last step left it.
  ListSnapshot StepStart() const;

  AppContext& ctx_;
  int spin_step_ = 1;
  int width_at_open_ = 0;
  int height_at_open_ = 0;
  std::string stop_at_open_;  // the stop box as loaded
  // The list and attributes as the dialog loaded them, until its first step: the stop
  // box's count and a default size take effect before OK.
  std::optional<ListSnapshot> at_open_;
};

}  // namespace kivrel
