#include "program/StartUp.h"

#include <cmath>

namespace kivrel {

void StartUp(AppContext& ctx, std::optional<std::uint64_t> seed) {
  PuzzleState& s = ctx.state;
  ctx.rng.Seed(seed ? *seed : FreshSeed());
  s.Pi = 4.0f * std::atan(1.0f);
  s.BalanceDirections = 1;
  s.PrintingInProgress = kFalse;
  s.LayoutEnabled = kTrue;
  ctx.SizePuzzleDisplay();
  s.FillDirectionTable();
  ctx.MainForm().SetChecked(frmKV_Puzzle::mnuNoDuplicates, true);
  ctx.MainForm().Show(false);
  ctx.fonts.SetDefaults();
}

}  // namespace kivrel
