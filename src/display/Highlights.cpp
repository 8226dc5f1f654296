#include "display/Highlights.h"

#include "display/GridDisplay.h"

namespace kivrel {

void ClearHighlights(AppContext& ctx) {
  PuzzleState& s = ctx.state;
  ctx.picture->SetForeColor(kBlack);
  for (int row = 1; row <= s.Grid.Height(); ++row) {
    for (int col = 1; col <= s.Grid.Width(); ++col) {
      CellRecord& cell = s.Grid.At(row, col);
      if (!cell.IsEmpty()) DrawCellLetter(ctx, row, col, cell.Letter);
      cell.ShowCount = 0;
    }
  }
  for (std::size_t k = 1; k < s.Words.size(); ++k) s.Words[k].Shown = 0;
}

}  // namespace kivrel
