#pragma once
// The puzzle picture of the main window: its measurements, its size and the size of
// the window around it, and the drawing of single cells.
#include <span>
#include <string_view>

#include "program/AppContext.h"

namespace kivrel {

/// The picture's face: bold, 12 points as designed; the sizing shrinks it.
inline constexpr std::string_view kPictureFontName = "MS Sans Serif";
inline constexpr int kPictureFontSize = 12;
/// The smallest size the sizing goes down to.
inline constexpr int kSmallestPictureFontSize = 5;
/// Cells shown across and down while there is no puzzle.
inline constexpr int kEmptyPictureCells = 15;
/// Gap between the statistics frame and the window's right edge, twips.
inline constexpr int kStatsRightGap = 225;

/// Gives the picture its design font ("MS Sans Serif", bold, 12 points).
void SetPictureDesignFont(Surface& picture);

/// Measures the cells and the characters at the largest size from 12 points down to
/// 5 at which the picture and the statistics frame fit the screen's available area,
/// sizes the picture for the grid (PuzzleWidth x PuzzleHeight cells while no puzzle is
/// built or being built; 15 x 15 for a size of 0), and grows a normal window to hold
/// it, never past the available area (never shrinks it; a minimised or maximised window
/// is left alone). Returns true when it grew the window.
/// Growing the window raises its resize event, which may run this again, nested; the
/// scratch values in ctx.display are shared with such a run.
bool SizePuzzleDisplay(AppContext& ctx);

/// Prints text in the cell (row, column) in the picture's current fore colour, in the
/// case letters are shown in, centred on the width of its first character.
void DrawCellLetter(AppContext& ctx, int row, int col, std::string_view text);

/// Draws every letter of the grid in black and takes every highlight away (ShowCount
/// of each cell and Shown of each word become 0). Outlines and junction marks on the
/// picture stay.
void ClearHighlights(AppContext& ctx);

/// What a walk over a placed word's cells does to each: a word highlighted by the word
/// list window is shown red until it is hidden again.
enum class WriteMode {
  Show,  // ShowCount + 1, draw the letter
  Hide,  // ShowCount - 1, draw the letter when no shown word covers the cell any more
};

/// Draws the letters of the Length cells of the placed words with these indexes of the
/// table, each cell once and row by row, in the picture's current fore colour.
void DrawWords(AppContext& ctx, std::span<const int> indexes);
/// Draws the letter of every filled cell of the grid the same way: what DrawWords draws
/// for every word placed on a grid that holds nothing else, without walking the words.
void DrawGridLetters(AppContext& ctx);

/// Shows or hides the placed word of the entry selected in the word list (its record,
/// SelectedWordIndex): loads its placement into the current-word fields and walks it. The
/// caller sets the fore colour: red before Show, black before Hide. Nothing happens when
/// the entry has no placed word inside the grid.
void ShowSelectedWord(AppContext& ctx, WriteMode mode);

}  // namespace kivrel
