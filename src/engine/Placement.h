#pragma once
// Writing words into the grid: the random place of the first word, inserting a word at
// the place the search found, and the walk over a word's cells that inserts, shows or
// hides it on the puzzle picture.
#include "program/AppContext.h"

namespace kivrel {

/// What a walk over a word's cells does to each cell.
enum class WriteMode {
  Insert,  // write the letter, count it, record the word in the cell
  Show,    // highlight: ShowCount + 1, draw the letter
  Hide,    // ShowCount - 1, draw the letter when no shown word covers the cell any more
};

/// Chooses CurrentRow and CurrentCol at random so that a word of CurrentWordLength
/// letters in CurrentDirection lies inside the grid (two draws, the coordinate the
/// direction moves along last).
void PlaceFirstWord(AppContext& ctx);

/// Writes the current word (CurrentWordIndex) at CurrentRow, CurrentCol in
/// CurrentDirection in black, marks it placed, and counts it: DirectionWordCount,
/// InsertedCount, JunctionCount + BestCrossings. The build shows the counts on the
/// statistics panel (ShowBuildCounters) whenever the window can show them.
void InsertWord(AppContext& ctx);

/// Walks the current word's cells from CurrentRow, CurrentCol in CurrentDirection and
/// applies the mode to each. Drawing uses the picture's current fore colour.
void WriteWord(AppContext& ctx, WriteMode mode);

/// Shows or hides the placed word of the entry selected in the word list (its record,
/// SelectedWordIndex): loads its placement into the current-word fields and walks it. The caller sets
/// the fore colour: red before Show, black before Hide. Nothing happens when the entry
/// has no placed word inside the grid.
void ShowSelectedWord(AppContext& ctx, WriteMode mode);

}  // namespace kivrel
