// Chaining separate curves into one polyline and weeding arrays of curves.
#include "CommonUtils.h"

#include <cmath>

#include "dbcurves.h"
#include "dbpline.h"

namespace {

// Ends of polylines this close are joined by connectCurves.
const double kChainTol = 0.00001;
// Consecutive curves of connectToPline meet within this.
const double kConnectTol = 0.5;

AcDbEntity* EntityAt(const AcDbVoidPtrArray& arCurves, int i) { return static_cast<AcDbEntity*>(arCurves[i]); }

// The first and last vertex of a polyline (its ends as a chain sees them,
// also for a closed one).
void PlineEnds(const AcDbPolyline* pPline, AcGePoint3d& ptStart, AcGePoint3d& ptEnd) {
  pPline->getPointAt(0, ptStart);
  pPline->getPointAt(pPline->numVerts() - 1, ptEnd);
}

// Lets go of an entry of the array: a new object is deleted, one of a
// drawing (which the caller opened) is closed and stays the drawing's.
void Release(AcDbEntity* pEnt) {
  if (pEnt == NULL) return;
  if (pEnt->objectId().isNull())
    delete pEnt;
  else
    pEnt->close();
}

bool CurveEnds(AcDbEntity* pEnt, AcGePoint3d& ptStart, AcGePoint3d& ptEnd) {
  AcDbCurve* pCurve = AcDbCurve::cast(pEnt);
  if (pCurve == NULL) return false;
  return pCurve->getStartPoint(ptStart) == Acad::eOk && pCurve->getEndPoint(ptEnd) == Acad::eOk;
}

}  // namespace

void CCommonUtils::connectCurves(AcDbVoidPtrArray& arCurves, AcDbPolyline*& pPline) {
  pPline = NULL;
  if (arCurves.isEmpty()) return;
  AcDbPolyline* pResult = AcDbPolyline::cast(EntityAt(arCurves, 0));
  // Without a polyline to start from there is nothing to chain; the array
  // stays with the caller as it is.
  if (pResult == NULL || pResult->numVerts() == 0) return;
  arCurves.removeAt(0);

  bool bJoined = true;
  while (bJoined) {
    bJoined = false;
    int i = 0;
    while (i < arCurves.length()) {
      AcDbEntity* pEnt = EntityAt(arCurves, i);
      AcDbPolyline* pPiece = AcDbPolyline::cast(pEnt);
      if (pPiece == NULL || pPiece->numVerts() == 0) {
        // Only polylines are chained.
        Release(pEnt);
        arCurves.removeAt(i);
        continue;
      }
      AcGePoint3d ptStart, ptEnd, ptPieceStart, ptPieceEnd;
      PlineEnds(pResult, ptStart, ptEnd);
      PlineEnds(pPiece, ptPieceStart, ptPieceEnd);
      if (ptPieceStart.distanceTo(ptEnd) < kChainTol) {
        joinPline(pResult, pPiece, true);
      } else if (ptPieceEnd.distanceTo(ptEnd) < kChainTol) {
        joinPline(pResult, pPiece, false);
      } else if (ptPieceStart.distanceTo(ptStart) < kChainTol || ptPieceEnd.distanceTo(ptStart) < kChainTol) {
        // The piece meets the start: turn the result round so that its
        // start becomes its end, then join there.
        reversePline(pResult);
        joinPline(pResult, pPiece, ptPieceStart.distanceTo(ptStart) < kChainTol);
      } else {
        ++i;
        continue;
      }
      Release(pPiece);
      arCurves.removeAt(i);
      bJoined = true;
    }
  }
  freeObjects(arCurves);
  pPline = pResult;
}

void CCommonUtils::connectToPline(AcDbVoidPtrArray& arCurves, AcDbPolyline*& pPline) {
  pPline = NULL;
  if (arCurves.isEmpty()) return;
  AcDbEntity* pFirst = EntityAt(arCurves, 0);
  AcGePoint3d ptFirstStart, ptFirstEnd;
  if (pFirst == NULL || !CurveEnds(pFirst, ptFirstStart, ptFirstEnd)) return;

  AcDbPolyline* pResult = NULL;
  if (pFirst->isKindOf(AcDbPolyline::desc())) {
    pResult = AcDbPolyline::cast(pFirst->clone());
  } else if (pFirst->isKindOf(AcDbLine::desc()) || pFirst->isKindOf(AcDbArc::desc())) {
    double dBulge = 0.0;
    AcDbArc* pArc = AcDbArc::cast(pFirst);
    if (pArc != NULL) {
      dBulge = tan(pArc->sweep() / 4);
      if (pArc->normal().z < 0) dBulge = -dBulge;
    }
    pResult = new AcDbPolyline(2);
    pResult->setPropertiesFrom(*pFirst);
    pResult->addVertexAt(0, AcGePoint2d(ptFirstStart.x, ptFirstStart.y), dBulge, -1, -1);
    pResult->addVertexAt(1, AcGePoint2d(ptFirstEnd.x, ptFirstEnd.y), 0.0, -1, -1);
  }
  if (pResult == NULL) return;

  // The free end is where the next curve joins.
  AcGePoint3d ptFree = ptFirstEnd;
  if (arCurves.length() > 1) {
    AcGePoint3d ptSecondStart, ptSecondEnd;
    if (CurveEnds(EntityAt(arCurves, 1), ptSecondStart, ptSecondEnd) &&
        (ptFirstStart.distanceTo(ptSecondStart) < kConnectTol || ptFirstStart.distanceTo(ptSecondEnd) < kConnectTol)) {
      reversePline(pResult);
      ptFree = ptFirstStart;
    }
  }
  for (int i = 1; i < arCurves.length(); ++i) {
    AcDbEntity* pEnt = EntityAt(arCurves, i);
    AcGePoint3d ptStart, ptEnd;
    if (pEnt == NULL || !CurveEnds(pEnt, ptStart, ptEnd)) continue;
    addEntToNewPline(pResult, pEnt, ptFree);
    // The caller opened the curve; it is done with here.
    pEnt->close();
    ptFree = ptStart.distanceTo(ptFree) < kConnectTol ? ptEnd : ptStart;
  }
  pPline = pResult;
}

void CCommonUtils::removeSame(AcDbVoidPtrArray& arCurves) {
  int i = 0;
  while (i < arCurves.length()) {
    AcDbPolyline* pFirst = AcDbPolyline::cast(EntityAt(arCurves, i));
    bool bFirstRemoved = false;
    int j = i + 1;
    while (pFirst != NULL && j < arCurves.length()) {
      AcDbPolyline* pSecond = AcDbPolyline::cast(EntityAt(arCurves, j));
      if (pSecond == NULL) {
        ++j;
        continue;
      }
      if (isEntityTotalIn(pFirst, pSecond)) {
        Release(pFirst);
        arCurves.removeAt(i);
        bFirstRemoved = true;
        break;
      }
      if (isEntityTotalIn(pSecond, pFirst)) {
        Release(pSecond);
        arCurves.removeAt(j);
        continue;
      }
      ++j;
    }
    if (!bFirstRemoved) ++i;
  }
}

void CCommonUtils::removeNotConnectTwoEnd(AcDbVoidPtrArray& arCurves) {
  int i = 0;
  while (i < arCurves.length()) {
    AcGePoint3d ptStart, ptEnd;
    if (!CurveEnds(EntityAt(arCurves, i), ptStart, ptEnd)) {
      ++i;
      continue;
    }
    bool bStartTouches = false, bEndTouches = false;
    for (int j = 0; j < arCurves.length() && !(bStartTouches && bEndTouches); ++j) {
      AcGePoint3d ptOtherStart, ptOtherEnd;
      if (j == i || !CurveEnds(EntityAt(arCurves, j), ptOtherStart, ptOtherEnd)) continue;
      if (ptStart.distanceTo(ptOtherStart) < m_dTol || ptStart.distanceTo(ptOtherEnd) < m_dTol) bStartTouches = true;
      if (ptEnd.distanceTo(ptOtherStart) < m_dTol || ptEnd.distanceTo(ptOtherEnd) < m_dTol) bEndTouches = true;
    }
    if (bStartTouches && bEndTouches) {
      ++i;
      continue;
    }
    Release(EntityAt(arCurves, i));
    arCurves.removeAt(i);
  }
}
