#pragma once
// A puzzle as plain text: the title, the grid (a blank cell as ".") and the statistics.
// Texts from the puzzle are shown with their control characters escaped.
#include <iosfwd>
#include <optional>

#include "PuzzleJson.h"
#include "program/AppContext.h"

namespace kivrel::cli {

/// The puzzle of ctx, its letters in the case they are shown in.
void WritePuzzleText(std::ostream& out, AppContext& ctx, const std::optional<BuildRunInfo>& run);

}  // namespace kivrel::cli
