#include "program/StartUp.h"

#include <chrono>
#include <cmath>
#include <ctime>

namespace kivrel {

std::uint64_t SecondsSinceMidnight() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return static_cast<std::uint64_t>(local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec);
}

void StartUp(AppContext& ctx, std::optional<std::uint64_t> seed) {
  PuzzleState& s = ctx.state;
  ctx.rng.Seed(seed ? *seed : SecondsSinceMidnight());
  s.Pi = 4.0f * std::atan(1.0f);
  s.BalanceDirections = 1;
  s.PrintingInProgress = kFalse;
  s.LayoutEnabled = kTrue;
  s.TabChar = '\t';
  s.QuoteChar = '"';
  ctx.SizePuzzleDisplay();
  s.FillDirectionTable();
  ctx.MainForm().SetChecked(kNoDuplicatesMark, true);
  ctx.MainForm().Show(false);
  ctx.fonts.SetDefaults();
}

}  // namespace kivrel
