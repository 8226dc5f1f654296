#pragma once
// A puzzle as plain text: the title, the grid (a blank cell as ".") and the statistics.
// Texts from the puzzle are shown with their control characters escaped.
#include <iosfwd>
#include <optional>

#include "PuzzleJson.h"
#include "model/PuzzleState.h"

namespace kivrel::cli {

void WritePuzzleText(std::ostream& out, const PuzzleState& state, const std::optional<BuildRunInfo>& run);

}  // namespace kivrel::cli
