#pragma once
// The start of the program, before any window takes events.
#include <cstdint>
#include <optional>
#include <string_view>

#include "program/AppContext.h"

namespace kivrel {

/// Seeds the random source (with a fresh seed unless one is given), makes the constants,
/// sets the first build option and the print flags, sizes the puzzle display, fills the
/// direction table, shows the main window and gives the print fonts their defaults. The
/// No Duplicate Words mark is set.
void StartUp(AppContext& ctx, std::optional<std::uint64_t> seed = std::nullopt);

}  // namespace kivrel
