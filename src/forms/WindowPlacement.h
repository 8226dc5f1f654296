#pragma once
// Where the windows go on the screen: in the middle of the part windows may take, or
// beside another window, out of the way of what the user looks at there.
#include "program/AppContext.h"

namespace kivrel {

/// Places a window in the middle of the screen's available area, first cutting it down
/// to that area when it is larger.
void CenterForm(AppContext& ctx, Form& form);

/// Places a window beside another, at its height as far as the screen allows: on a side
/// with room for the whole window, the right one unless only the left keeps clear of the
/// program's other shown windows. Returns false, leaving the window where it is, when
/// neither side has room.
bool PlaceBeside(AppContext& ctx, Form& form, const Form& other);

/// PlaceBeside; where neither side has room, the window goes against the screen's right
/// edge (the left one when the left has more than twice the room), covering as little of
/// the other as the screen allows.
void PlaceNear(AppContext& ctx, Form& form, const Form& other);

/// SizePuzzleDisplay; when that grew the main window over the visible word list window
/// (opened beside it), the list moves aside where there is room. Dragging the main
/// window over the list moves nothing.
void SizePuzzleWindow(AppContext& ctx);

}  // namespace kivrel
