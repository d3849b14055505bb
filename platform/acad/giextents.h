// The extents of the geometry a drawable draws in its world draw, in world
// coordinates (text by its measured box). False when it draws nothing.
#pragma once

#include "dbextents.h"
#include "drawable.h"

bool acgiDrawnExtents(AcGiDrawable* drawable, AcDbExtents& extents);
