#include "display/FillLetters.h"

#include <string>
#include <utility>
#include <vector>

#include "display/GridDisplay.h"
#include "program/Statistics.h"

namespace kivrel {

FillReport FillInBlanks(AppContext& ctx, FillProgress* progress) {
  PuzzleState& s = ctx.state;
  const bool filling = s.BlanksFilled == 0;
  const std::vector<std::pair<int, int>> cells = UnusedCells(s.Grid);
  // Clearing erases the letters by drawing them again in white: they are noted first.
  std::vector<std::string> erased;
  if (!filling) {
    for (auto [row, col] : cells) erased.push_back(s.Grid.At(row, col).Letter);
  }
  const FillReport report =
      ToggleFill(s, ctx.rng, {ctx.MainForm().Checked(frmKV_Puzzle::mnuNoDuplicates), ctx.AvoidWords, progress});
  ctx.picture->SetForeColor(filling ? kBlack : kWhite);
  for (std::size_t i = 0; i < cells.size(); ++i) {
    const auto [row, col] = cells[i];
    DrawCellLetter(ctx, row, col, filling ? s.Grid.At(row, col).Letter : erased[i]);
  }
  if (filling) {
    ShowStatistic(ctx, frmKV_Puzzle::lblRedrawnCount, report.Redrawn, kCountPicture);
  } else {
    ctx.MainForm().SetText(frmKV_Puzzle::lblRedrawnCount, "");
  }
  return report;
}

}  // namespace kivrel
