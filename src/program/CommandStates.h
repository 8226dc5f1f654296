#pragma once
// The four command states of the main window and the word list window, and the
// discarding of the puzzle as a whole, which leaves the list ready.
#include "program/AppContext.h"

namespace kivrel {

void SetBuildingState(AppContext& ctx);
void SetPuzzleReadyState(AppContext& ctx);
void SetListReadyState(AppContext& ctx);
void SetEmptyListState(AppContext& ctx);

/// Discards the puzzle: size 0 x 0, picture hidden and cleared, ListReady, statistics
/// emptied, PuzzleBuilt cleared.
void ClearPuzzle(AppContext& ctx);

}  // namespace kivrel
