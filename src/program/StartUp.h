#pragma once
// The start of the program, before any window takes events.
#include <cstdint>
#include <optional>
#include <string_view>

#include "program/AppContext.h"

namespace kivrel {

/// Seeds the random source (from the clock, to the nanosecond, unless a seed is given),
/// makes the constants, sets the first build option and the print flags, sizes the
/// puzzle display, fills the direction table, shows the main window and gives the print
/// fonts their defaults. The No Duplicate Words mark is set.
void StartUp(AppContext& ctx, std::optional<std::uint64_t> seed = std::nullopt);

/// The seed of an unseeded start: the clock's time in nanoseconds.
std::uint64_t ClockSeed();

}  // namespace kivrel
