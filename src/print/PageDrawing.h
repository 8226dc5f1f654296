#pragma once
// The printed page: title, instructions, the letter grid with its frame and outlines,
// and the word list beside the grid and in columns. One algorithm lays out and draws
// the page on any Surface; the preview run and the printer run differ only where noted.
#include <string_view>

#include "program/AppContext.h"

namespace kivrel {

/// What stands before the mystery quote on an answer key (a page with the words
/// outlined), under the grid and the word list, in the quotation font.
inline constexpr std::string_view kHiddenMessageCaption = "Hidden message:";
/// What the program says when the word list does not fit on the page at any size.
inline constexpr std::string_view kListTooLongText = "The word list does not fit on the page";

/// Lays the page out on the preview page (ctx.preview), a sheet of the paper of the
/// print options, from the current print options: clears it and draws the whole page.
/// Does nothing while LayoutEnabled is false or when there is no preview page. Writes
/// ctx.page, ctx.printed and the list copy in Words, and shows the sizes the title, the
/// puzzle and the word list were drawn in on the dialog's font buttons.
///
/// A title too wide for a line goes onto two, and is then drawn smaller if need be; a
/// grid or list too large for the page is drawn smaller, a point at a time from the size
/// in ctx.fonts, which stays as the user chose it. The list is never drawn below
/// kSmallestListSize (or its own size, when smaller): the grid is made smaller for it
/// first, down to kSmallestGridSize, and when that does not help the list is left off.
/// With FillPage the grid grows as large as the page holds with a legible list. A
/// layout that clears "Left" (no room beside the puzzle) tells
/// ctx.PrintOptionChangedByLayout once the page is drawn.
void DrawPreviewPage(AppContext& ctx);

/// The same page on a printer's page surface, whose size is its printable area: the
/// page is measured in whole twips and the frame is drawn as four lines. The font
/// buttons are left alone.
/// PrintingInProgress is set while it runs.
void DrawPrinterPage(AppContext& ctx, Surface& printer);

/// The same page, as the printer draws it, on a whole sheet of the paper of the print
/// options (a page file's page): laid out on the paper's size, as the preview is,
/// whatever the device's dots make of that size.
void DrawPaperPage(AppContext& ctx, Surface& sheet);

/// Prints text word by word between x = left and x = right from the surface's current
/// y, starting a new line when a word would pass `right`; a word wider than the band
/// stands alone on its line. Words are separated by runs of blanks and tabs; a line
/// break starts a new line, and an empty line a new paragraph after a blank line.
/// Leaves CurrentY at the top of the last line.
void PrintWrappedText(Surface& page, int left, int right, std::string_view text);

/// Prints an entry of the word list (ListDisplayText of the list copy, as it is shown)
/// at the current position: in bold, except notes in square brackets, which print in the
/// regular weight without their brackets. Leaves the font bold.
void PrintListEntry(Surface& page, std::string_view text);

/// A text's width as the layout measures it: the sum of its characters' widths, rounded
/// after each character (brackets left out when skip_brackets).
int CharacterWidthSum(Surface& page, std::string_view text, bool skip_brackets = false);

/// The header line of the word list: " 12  words" for 12 words.
std::string WordListHeader(int count);

}  // namespace kivrel
