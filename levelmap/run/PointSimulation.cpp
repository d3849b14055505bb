// Simulated drive-test points along the route, the band quotas scaled to the
// points made, and the quota-bounded random choice of a band.
#include "PointSimulation.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "RouteSelection.h"
#include "dbentity.h"
#include "dbpline.h"

AcGePoint3dArray g_routePoints;
double g_pointSpacing = 0.0;

namespace {

// The last point of a polyline sits at k x spacing only up to rounding of the
// division that made the spacing (1000 / 15 x 15 comes out above 1000): a
// distance that overshoots the length by less than this share of it still
// counts as the end point.
const double kEndPointSlack = 1e-9;

// Opens the route entity for read; NULL when it cannot be opened. A polyline
// found is returned in pPline (NULL for other entities); the caller closes
// the entity.
AcDbEntity* OpenRouteEntity(AcDbObjectId id, AcDbPolyline*& pPline) {
  pPline = NULL;
  AcDbEntity* pEnt = NULL;
  if (acdbOpenAcDbEntity(pEnt, id, AcDb::kForRead) != Acad::eOk) return NULL;
  pPline = AcDbPolyline::cast(pEnt);
  return pEnt;
}

// The full length of the polyline: the distance at its end parameter.
double PolylineLength(const AcDbPolyline* pPline) {
  double dEndParam = 0.0;
  double dLength = 0.0;
  pPline->getEndParam(dEndParam);
  pPline->getDistAtParam(dEndParam, dLength);
  return dLength;
}

// Appends the points of one polyline at distances 0, s, 2s ... up to its
// length. Each distance is k x s, not a running sum, so that rounding does
// not pile up and lose the end point.
void PlacePolylinePoints(const AcDbPolyline* pPline, double dLength, double dSpacing) {
  double dLimit = dLength + dLength * kEndPointSlack;
  for (long long k = 0;; ++k) {
    double dDist = (double)k * dSpacing;
    if (dDist > dLimit) break;
    AcGePoint3d pt;  // stays at the origin when the query fails
    pPline->getPointAtDist(std::min(dDist, dLength), pt);
    g_routePoints.append(pt);
  }
}

// Calls fn on every band of every type of the map.
template <class Fn>
void ForEachBand(CLevelBandMap& levelMap, Fn fn) {
  POSITION pos = levelMap.GetStartPosition();
  while (pos != NULL) {
    CString strType;
    CLevelBandArray* pBands = NULL;
    levelMap.GetNextAssoc(pos, strType, pBands);
    if (pBands == NULL) continue;
    for (INT_PTR i = 0; i < pBands->GetSize(); ++i) fn(pBands->ElementAt(i));
  }
}

}  // namespace

void ResetBandQuotas(CLevelBandMap& levelMap) {
  ForEachBand(levelMap, [](levelmapdb& band) { band.remain = band.num; });
}

int SimulateRoutePoints(int nPointCount, double dDrawRatio, CLevelBandMap& levelMap, AcDbExtents& extRange,
                        AcDbObjectIdArray& rangeIds) {
  g_routePoints.removeAll();

  if (SelectRange(extRange, rangeIds) == 0) return 0;
  AcDbObjectIdArray routeIds;
  if (!SelectRoutePolylines(rangeIds, routeIds)) return 0;

  double dRouteLength = 0.0;
  for (int i = 0; i < routeIds.length(); ++i) {
    AcDbPolyline* pPline = NULL;
    AcDbEntity* pEnt = OpenRouteEntity(routeIds[i], pPline);
    if (pEnt == NULL) continue;
    if (pPline != NULL) dRouteLength += PolylineLength(pPline);
    pEnt->close();
  }

  g_pointSpacing = dRouteLength / ((double)nPointCount * dDrawRatio);

  // A route of no length (or a spacing that is no positive number) has no
  // points: stepping by a zero spacing would never end.
  if (dRouteLength > 0.0 && g_pointSpacing > 0.0 && std::isfinite(g_pointSpacing)) {
    for (int i = 0; i < routeIds.length(); ++i) {
      AcDbPolyline* pPline = NULL;
      AcDbEntity* pEnt = OpenRouteEntity(routeIds[i], pPline);
      if (pEnt == NULL) continue;
      if (pPline != NULL) {
        double dLength = PolylineLength(pPline);
        if (dLength >= 0.0) PlacePolylinePoints(pPline, dLength, g_pointSpacing);
      }
      pEnt->close();
    }
  }

  // Quotas scaled by points made / drive-test points, truncated. Worked out
  // in integers: the same product in floating point truncates 100 x 29 / 100
  // to 28.
  long long nMade = g_routePoints.length();
  ForEachBand(levelMap, [&](levelmapdb& band) {
    band.remain = nPointCount > 0 ? (int)((long long)band.remain * nMade / nPointCount) : 0;
  });
  return 1;
}

int PickBand(CLevelBandArray& arBands) {
  INT_PTR nBands = arBands.GetSize();
  if (nBands <= 0) return 0;

  int nCandidates = 0;
  for (INT_PTR i = 0; i < nBands; ++i)
    if (arBands[i].remain > 0) ++nCandidates;

  if (nCandidates > 0) {
    // The candidate at position rand() mod count, counted in band order.
    int nPick = rand() % nCandidates;
    for (INT_PTR i = 0; i < nBands; ++i) {
      levelmapdb& band = arBands.ElementAt(i);
      if (band.remain <= 0) continue;
      if (nPick-- == 0) {
        --band.remain;
        return band.color;
      }
    }
  }
  return arBands[rand() % nBands].color;
}
