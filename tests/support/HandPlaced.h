#pragma once
// Puzzles made by hand for tests that need a built grid without running a build: words
// are written into the grid where the test says, as a build would leave them.
#include <string>

#include "program/AppContext.h"

namespace kivrel::testing {

/// An empty grid of width x height (PuzzleWidth and PuzzleHeight follow) with no words.
void MakeGrid(AppContext& ctx, int width, int height);

/// Adds the entry to the word table as placed at (row, col) reading in direction dir,
/// writing its letters into the grid; WordCount and InsertedCount grow by one.
/// Returns the word's index.
int PlaceWord(AppContext& ctx, const std::string& entry, int row, int col, int dir);

/// Adds the entry to the word table as not placed.
int AddUnplacedWord(AppContext& ctx, const std::string& entry);

/// A 10 x 10 puzzle titled "Sea Creatures" with instructions, six placed words (one
/// entry with a note) and every other cell holding a fill letter (BlanksFilled set).
void MakeSeaPuzzle(AppContext& ctx);

/// Sets the puzzle title (and the attributes dialog's title box, which the page prints).
void SetTitle(AppContext& ctx, const std::string& title);

}  // namespace kivrel::testing
