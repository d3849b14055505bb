// The drawing window of the host on a display: model space through the
// current view, zoomed with the wheel about the pointer and panned with the
// middle button; clicks and drags answer what the editor waits for (a point,
// a corner with a rubber rectangle, objects by pick box or by a window or
// crossing drawn by dragging, the pointer for acedGrRead).
#pragma once

#include <deque>
#include <optional>
#include <string>

#include "windows.h"

namespace host::drawing {

// Makes the drawing window as a child of `parent`.
HWND Create(HWND parent, const RECT& rect);
// The drawing window, or null.
HWND Window();
// Sets the view to show all of model space.
void ZoomExtents();
// Zooms by `factor` (below 1 zooms in) keeping the drawing under the pixel
// (x, y) of the drawing window where it is.
void ZoomAbout(int x, int y, double factor);
// The drawing changed (or may have): it is drawn again on the next paint.
void ModelChanged();
// The editor's input the pointer made ("x,y", "W x1,y1 x2,y2", "@pick x,y",
// ...), oldest first.
std::deque<std::string>& PendingInput();
// The end of a drag that answered a point prompt, taken once: when the
// editor now waits for a corner, else dropped.
std::optional<std::string> TakeHeldCorner();

}  // namespace host::drawing
