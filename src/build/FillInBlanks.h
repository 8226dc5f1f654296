#pragma once
// Filling the cells no word uses with random letters, and taking them away again.
#include "program/AppContext.h"

namespace kivrel {

/// Toggles BlanksFilled. Filling gives every cell with UseCount 0, in reading order, a
/// random letter A-Z drawn in black; clearing sets those cells to " " and draws their
/// old letters in white, which erases them. The picture's fore colour is left white
/// after clearing and black after filling. No counter changes.
void FillInBlanks(AppContext& ctx);

}  // namespace kivrel
