#pragma once
// The fill letters on the puzzle picture: the engine's fill with the options the windows
// hold, its letters drawn or erased, and the count of letters re-drawn on the
// statistics panel.
#include "engine/FillInBlanks.h"
#include "program/AppContext.h"

namespace kivrel {

/// The Fill in command without its message: ToggleFill with the No Duplicate Words mark
/// and the words to avoid, drawn on the picture (the new letters in black; cleared ones
/// drawn again in white, which erases them), and the statistics panel's count of letters
/// re-drawn. The picture's fore colour is left black after filling and white after
/// clearing. `progress`, when given, hears of each round of re-drawing and may stop it.
FillReport FillInBlanks(AppContext& ctx, FillProgress* progress = nullptr);

}  // namespace kivrel
