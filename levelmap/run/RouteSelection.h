// The first stage of a drive-test run: the user picks the drive-test range by
// two corners and then the route polylines. The range frames the previews, the
// entities crossing it are the map, and the route carries the simulated points.
#pragma once

#include "afx.h"

#include "dbextents.h"
#include "dbid.h"

// The smallest side of a drive-test range, in drawing units. A side of
// exactly this size is accepted.
#define DT_MIN_RANGE_SIDE 0.05

// Asks for the two corners of the drive-test range, zooms to it and appends
// the ids of every entity crossing it to rangeIds, in selection order.
// extRange is reset and receives both corners with z = 0. Returns 1 for a
// valid range (also when nothing crosses it), 0 when a prompt was cancelled
// (quietly) or a side is under DT_MIN_RANGE_SIDE (after the message).
int SelectRange(AcDbExtents& extRange, AcDbObjectIdArray& rangeIds);

// Lets the user select the route's lightweight polylines and appends them to
// routeIds in selection order; each of them is removed from rangeIds, so a
// route is never drawn as map. Returns false, after the message, when no
// polyline was selected.
bool SelectRoutePolylines(AcDbObjectIdArray& rangeIds, AcDbObjectIdArray& routeIds);

// Whether two corner coordinates lie less than DT_MIN_RANGE_SIDE apart. The
// difference of typed decimals carries rounding (10.1 - 10.05 comes out a
// hair under 0.05), so a side that misses the limit by no more than that
// rounding still counts as the limit.
BOOL IsRangeSideTooSmall(double d1, double d2);
