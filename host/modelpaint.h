// Draws the working drawing's model space into a device context as the
// drawing window shows it, and measures it for zooming to its extents.
#pragma once

#include "windows.h"

namespace host {

// Paints model space over a black background into a `width` x `height` area
// of `dc`, through the current view (a plan view: display coordinates are
// world coordinates).
void PaintModelSpace(HDC dc, int width, int height);

// The extents of model space's entities (false when it has none).
bool ModelSpaceExtents(double& minX, double& minY, double& maxX, double& maxY);

}  // namespace host
