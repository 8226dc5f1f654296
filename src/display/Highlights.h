#pragma once
// Taking the word list window's highlights off the puzzle picture.
#include "model/AppContext.h"

namespace kivrel {

/// Draws every cell that holds a letter in black, over whatever colour it had (the
/// picture is not cleared, so outlines and junction marks stay), and sets every cell's
/// ShowCount and every word's Shown to 0. Walks the grid's own bounds and the word
/// table's, whatever PuzzleWidth, PuzzleHeight and WordCount say.
void ClearHighlights(AppContext& ctx);

}  // namespace kivrel
