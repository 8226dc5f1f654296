#include "program/StartUp.h"

#include <atomic>
#include <chrono>
#include <cmath>
#include <exception>
#include <random>

namespace kivrel {

std::uint64_t FreshSeed() {
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  return FreshSeed(static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
}

std::uint64_t FreshSeed(std::uint64_t clock_ns) {
  // The clock alone is not enough: a coarse clock gives two starts close together the
  // same time, and with it the same puzzle. The system's random source and a count of the
  // starts in this process make every start's seed its own.
  static std::atomic<std::uint64_t> starts{0};
  std::uint64_t seed = clock_ns ^ ((starts.fetch_add(1) + 1) * 0x9E3779B97F4A7C15ULL);
  try {
    std::random_device device;
    seed ^= (static_cast<std::uint64_t>(device()) << 32) ^ device();
  } catch (const std::exception&) {
    // No random source on this system: the clock and the count still differ per start.
  }
  return seed;
}

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
