#pragma once
// Where the label column's preview hint opens and how much of its text it
// shows, as plain arithmetic: the hint must never run off the screen, and a
// native test checks that without a desktop.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/desktop_types.h"

namespace solvane {

// A width x height hint for the pointer at (x, y) inside `work` (the work
// area of the pointer's monitor): `gap` pixels below the pointer when it fits
// there; else ending at the pointer, above it, when that fits; else moved up
// as far as needed. It moves left to end at the work area's right edge, and a
// hint larger than the work area keeps its top-left corner.
Rect PlaceHint(int x, int y, int width, int height, const Rect& work, int gap);

// A window that touches none of the work areas (a monitor unplugged, a
// lower resolution, a stored place from another desk) moved onto the
// nearest one, as far inside as its size allows; a window that touches one
// is left where it is, even partly off the screen, as the user dragged it.
// No work areas: the window as it is.
Rect KeepOnScreen(const Rect& window, const std::vector<Rect>& workAreas);

// The lines of `text` (UTF-8, broken by CR LF, CR or LF; none after a final
// break) cut between characters so that each measures
// at most maxWidth (a cut line ends in "...") and at most maxLines remain
// (the last of a cut text ends in "..."). `measure` gives a line's width in
// the hint's font.
std::vector<std::string> FitHintText(std::string_view text, int maxWidth, int maxLines,
                                     const std::function<int(std::string_view)>& measure);

}  // namespace solvane
