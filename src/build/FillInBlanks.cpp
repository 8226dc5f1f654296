#include "build/FillInBlanks.h"

#include <string>

#include "display/GridDisplay.h"

namespace kivrel {

void FillInBlanks(AppContext& ctx) {
  static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  PuzzleState& s = ctx.state;
  const bool filling = s.BlanksFilled == 0;
  s.BlanksFilled = Flag(filling);
  ctx.picture->SetForeColor(filling ? kBlack : kWhite);
  // The grid's own bounds: they are what the cells are, whatever the size fields say.
  for (int row = 1; row <= s.Grid.Height(); ++row) {
    for (int col = 1; col <= s.Grid.Width(); ++col) {
      CellRecord& cell = s.Grid.At(row, col);
      if (cell.UseCount != 0) continue;
      if (filling) {
        cell.Letter.assign(1, kAlphabet[ctx.rng.Below(26)]);
        DrawCellLetter(ctx, row, col, cell.Letter);
      } else {
        std::string old = std::move(cell.Letter);
        cell.Letter = " ";
        DrawCellLetter(ctx, row, col, old);
      }
    }
  }
}

}  // namespace kivrel
