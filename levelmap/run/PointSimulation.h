// Simulated drive-test points: evenly spaced points along the user's route,
// the band quotas scaled to the number of points made, and the random choice
// of a band for one point of one measurement type.
#pragma once

#include "afx.h"

#include "LevelBands.h"
#include "dbextents.h"
#include "dbid.h"
#include "gegeometry.h"

// The simulated points of the current run, in route order. Emptied when a
// simulation starts and again by the drawing loop when it is done.
extern AcGePoint3dArray g_routePoints;
// The distance along the route between consecutive points of one polyline;
// the drawing loop also takes it as the radius of a drawn point. Keeps its
// value between runs.
extern double g_pointSpacing;

// Every band's quota back to its planned count (remain = num), for every
// type of the map. The drive-test dialog calls it with its m_levelMap at the
// start of every run.
void ResetBandQuotas(CLevelBandMap& levelMap);

// Range and route selection, then points along the route:
// nPointCount is the number of drive-test points, dDrawRatio the points to
// draw divided by nPointCount, so the spacing is the route length divided by
// the points to draw. Every polyline gets points from its start at whole
// multiples of the spacing, its end included when its length is such a
// multiple. The quotas of levelMap are then scaled to the points made.
// extRange and rangeIds receive the range and its entities (SelectRange).
// Returns 1 when the selections went through (a route of no length gives no
// points, quotas 0), 0 after a cancel or a refused selection, with
// g_routePoints empty and the quotas untouched.
int SimulateRoutePoints(int nPointCount, double dDrawRatio, CLevelBandMap& levelMap, AcDbExtents& extRange,
                        AcDbObjectIdArray& rangeIds);

// The colour index of a band chosen for one point: uniformly among the bands
// that still have quota (whose quota then drops by one), or uniformly among
// all bands, without touching a quota, when every quota is used up. Uses the
// runtime's rand(), which is never seeded here. An empty list gives colour 0.
int PickBand(CLevelBandArray& arBands);
