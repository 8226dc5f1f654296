#pragma once
// Drawing on the puzzle picture: one cell's letter, centred in the cell.
#include <string_view>

#include "model/AppContext.h"

namespace kivrel {

/// Prints text in the cell (row, column) in the picture's current fore colour, centred
/// on the width of its first character.
void DrawCellLetter(AppContext& ctx, int row, int col, std::string_view text);

}  // namespace kivrel
