#include "program/StartUp.h"

#include <chrono>
#include <cmath>

namespace kivrel {

std::uint64_t ClockSeed() {
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count());
}

void StartUp(AppContext& ctx, std::optional<std::uint64_t> seed) {
  PuzzleState& s = ctx.state;
  // Not the seconds of the day alone: two starts within one second must differ.
  ctx.rng.Seed(seed ? *seed : ClockSeed());
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
