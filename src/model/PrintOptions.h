#pragma once
// The print options of the print options dialog, and the results of the last page
// layout. The dialog's controls mirror PrintOptions; every page layout reads the options
// as they stand when it starts and writes PageLayout, which the dialog's thumbnail reads.
#include <array>
#include <string>
#include <string_view>

#include "model/Forms.h"
#include "model/PuzzleState.h"
#include "platform/Paper.h"

namespace kivrel {

/// A horizontal place: the title, the instructions, the puzzle across the page.
enum class Align { Left, Center, Right };
/// The puzzle's place down the page.
enum class VerticalPlace { Top, Middle, Bottom };

/// Indices of PrintOptions::Margins, as the margin boxes txtMargin_0..3 are numbered.
constexpr int kTopMargin = 0;
constexpr int kBottomMargin = 1;
constexpr int kLeftMargin = 2;
constexpr int kRightMargin = 3;

/// The inch mark that ends a margin text.
inline constexpr std::string_view kInchMark = "\"";

/// The margins must leave at least this much of the paper each way (2 inches).
inline constexpr int kSmallestPrintableTwips = 2880;

/// The options with their defaults: a centred title and centred instructions, the grid
/// at the top and centred, the word list below it, no outlines, one-inch margins.
/// Check box values are 0 or 1, as the boxes hold them.
struct PrintOptions {
  Align TitleAlign = Align::Center;                   // radTitleLeft / Center / Right
  i16 PrintInstructions = 1;                          // chkPrintInstructions
  Align InstructionsAlign = Align::Center;            // radInstrLeft / Center / Right
  VerticalPlace PuzzleVertical = VerticalPlace::Top;  // radPuzzleTop / Middle / Bottom
  Align PuzzleHorizontal = Align::Center;             // radPuzzleLeft / Center / Right
  i16 PrintWordList = 1;                              // chkPrintWordList
  i16 Above = 0;                                      // chkAbove: the list above the puzzle
  i16 Below = 1;                                      // chkBelow
  i16 Left = 0;                                       // chkLeft: the list beside the puzzle
  i16 Right = 0;                                      // chkRight: kept, read by nothing
  i16 OutlineWords = 0;                               // chkOutlineWords
  /// The margin boxes' texts, by kTopMargin .. kRightMargin: inches and the inch mark.
  std::array<std::string, 4> Margins{"1\"", "1\"", "1\"", "1\""};
  /// chkFillPage: the grid grows from its font's size to the largest the page holds,
  /// leaving the title, the instructions and the word list their room.
  i16 FillPage = 0;
  /// The paper the page is laid out on: the printer's or the locale's in the window,
  /// --paper in kivrel-cli. (A printer prints on its own printable area.)
  PaperSize Paper = kLetterPaper;

  bool operator==(const PrintOptions&) const = default;
};

/// Sets the word list's place to follow the puzzle's: below a grid at the top or in the
/// middle, above one at the bottom (and then never beside it), never beside a grid at
/// the left. (Above and Below are never the user's to choose; Left is, elsewhere.)
void FollowPuzzlePlace(PrintOptions& o);

/// A margin text in twips: its leading number of inches x 1440, rounded (halves to even).
/// "1.25\"" gives 1800, ".5\"" 720; a text that starts with no number gives 0.
int MarginTwips(std::string_view text);

/// Why margins (in twips, by kTopMargin .. kRightMargin) leave too little of the paper:
/// less than kSmallestPrintableTwips across or down. Names the margins, what they leave
/// and the paper's side: "The left and right margins (4.2" and 4.2") leave .1" of the
/// paper's 8.5" width; at least 2" must remain." Empty when they leave enough.
std::string MarginsRefusal(const std::array<int, 4>& twips, const PaperSize& paper);

/// What the last page layout computed, in twips. A run overwrites the values it reaches
/// and leaves the others as an earlier run stored them.
struct PageLayout {
  i16 LeftMargin = 0;
  i16 RightMargin = 0;
  i16 TopMargin = 0;
  i16 BottomMargin = 0;
  i16 PrintableWidth = 0;   // page width less the left and right margins
  i16 PrintableHeight = 0;  // page height less the top and bottom margins
  i16 TitleX = 0;
  i16 TitleWidth = 0;  // the sum of the title's character widths
  i16 TitleHeight = 0;
  i16 InstructionsLeft = 0;  // the band the instructions are wrapped in
  i16 InstructionsRight = 0;
  i16 InstructionsTop = 0;
  i16 InstructionsHeight = 0;  // InstructionsTop to HeaderBottom
  i16 HeaderBottom = 0;        // below the title, or the instructions and a blank line
  i16 PuzzleLeft = 0;
  i16 PuzzleRight = 0;
  i16 PuzzleTop = 0;
  i16 PuzzleBottom = 0;
  i16 GridWidth = 0;
  i16 GridHeight = 0;
  i16 ListColumnWidth = 0;  // the widest entry plus one list line height
  i16 SideListX = 0;
  i16 ColumnListTop = 0;
  i16 ColumnListHeight = 0;  // rows of the column list x list line height

  bool operator==(const PageLayout&) const = default;
};

/// One block of the printed page: its rectangle in twips, or Shown false when the last
/// layout printed no such block.
struct PageBlock {
  bool Shown = false;
  Rect Bounds;
  bool operator==(const PageBlock&) const = default;
};

/// What the last page layout printed, every field written by every run: the blocks the
/// dialog's thumbnail shows, and the font sizes the page was drawn in. Those sizes may
/// be smaller than the sizes the user chose, which stay in the font table.
struct PagePrinted {
  PageBlock Title;
  PageBlock Instructions;
  PageBlock Puzzle;
  PageBlock SideList;    // the header and the entries beside the puzzle
  PageBlock ColumnList;  // the entries in columns, with the header when it stands above them
  double TitleSize = 0;  // points, as the surface drew them
  double PuzzleSize = 0;
  double ListSize = 0;
  /// False when the word list does not fit between its top and the bottom margin even
  /// at the smallest list size, with the grid as small as it may be made for it: the
  /// list is then left off the page.
  bool ListFits = true;
  bool operator==(const PagePrinted&) const = default;
};

/// The smallest size the page's word list is shrunk to, in points (or the size chosen
/// for it, when that is smaller): below it a list is hard to read.
inline constexpr double kSmallestListSize = 8;
/// The smallest size the grid's font is shrunk to to make room for the word list (or
/// the size chosen for it, when that is smaller). A grid too large for the page at any
/// larger size is drawn at the size the page allows, and makes no more room.
inline constexpr double kSmallestGridSize = 6;

}  // namespace kivrel
