#pragma once
// Where the windows go on the screen: in the middle of the part windows may take, or the
// word list window beside the main window, out of the way of the puzzle picture.
#include "program/AppContext.h"

namespace kivrel {

/// Places a window in the middle of the screen's available area, first cutting it down
/// to that area when it is larger.
void CenterForm(AppContext& ctx, Form& form);

/// Places a window beside the main window, on the right where there is room, else on
/// the left, at the main window's height as far as the screen allows. Returns false,
/// leaving the window where it is, when neither side has room.
bool PlaceBesideMainWindow(AppContext& ctx, Form& form);

/// SizePuzzleDisplay; when that grew the main window over the visible word list window
/// (opened beside it), the list moves aside where there is room. Dragging the main
/// window over the list moves nothing.
void SizePuzzleWindow(AppContext& ctx);

}  // namespace kivrel
