#pragma once
// The puzzle's title where the windows show it.
#include "program/AppContext.h"

namespace kivrel {

/// Shows PuzzleTitle in the main window's caption and the attributes dialog's title box.
void SetWindowTitle(AppContext& ctx);

}  // namespace kivrel
