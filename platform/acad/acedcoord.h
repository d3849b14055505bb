// Between pixels of the drawing window's client area and world points: a
// pixel stands for the point of the view's plane (through the target, at
// right angles to the view direction) under it. Window number 0 is the one
// drawing window the host has; -1 means the current one.
#pragma once

#include "adscodes.h"
#include "afxwin.h"

BOOL acedCoordFromPixelToWorld(const CPoint& ptIn, ads_point ptOut);
// FALSE for a window number the host does not have.
BOOL acedCoordFromPixelToWorld(int windnum, CPoint ptIn, ads_point ptOut);
// The pixel nearest to the world point's projection on the view's plane;
// FALSE for an unknown window number.
BOOL acedCoordFromWorldToPixel(int windnum, const ads_point ptIn, CPoint& ptOut);
