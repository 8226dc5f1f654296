#pragma once
// The words a build left out of the puzzle, named where the user looks for them: the
// word list window marks their entries, and the Rejected count's tooltip lists them.
#include <string>
#include <vector>

#include "program/AppContext.h"

namespace kivrel {

/// The entries (as typed) of the records with a word that the puzzle does not hold:
/// rejected, or never tried because a stop rule ended the build. In table order; empty
/// when no puzzle is built.
std::vector<std::string> LeftOutEntries(const PuzzleState& state);

/// The Rejected count's tooltip: "Not placed: LION, TIGER", or "" when none was left out.
std::string LeftOutToolTip(const std::vector<std::string>& entries);

/// After a build or an opened puzzle: marks the left-out entries in the word list and
/// lists them in the tooltip of lblRejectedCount.
void ShowLeftOutWords(AppContext& ctx);

/// No puzzle (or a build starting): no marks and no tooltip.
void ClearLeftOutWords(AppContext& ctx);

}  // namespace kivrel
