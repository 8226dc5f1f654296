#pragma once
// Printing the puzzle: the print options dialog's Print and Printer... commands, and one
// printed copy. Each copy is a print job of its own with one page.
#include <string>

#include "program/AppContext.h"

namespace kivrel {

/// The message shown when a copy could not be printed (title "Kivrel Error").
inline constexpr const char* kPrintErrorMessage = "Error while printing puzzle";

/// Print: asks for the printer and the number of copies (the print dialog); on Cancel
/// nothing happens. Otherwise prints each copy as its own job with the hourglass
/// pointer on the main window. A copy that fails stops the printing and is reported
/// in a message box. The pages are laid out on the printer's paper from then on:
/// returns whether that paper is another than before.
bool PrintPuzzle(AppContext& ctx);

/// Printer...: the printer set-up dialog, which chooses the printer the next print
/// goes to, and the paper pages are laid out on. Cancel changes nothing. Returns whether
/// the paper changed.
bool ChoosePrinter(AppContext& ctx);

/// One copy: fills the blanks first when they are not filled (the main window then
/// shows the filled grid, and later copies print the same letters), then draws the page
/// on the printer and ends the job. Returns false with `error` set (the text for the
/// user) when the printer failed.
bool PrintPuzzleCopy(AppContext& ctx, std::string& error);

}  // namespace kivrel
