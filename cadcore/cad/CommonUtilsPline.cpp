// Closing, tidying, reversing and extending lightweight polylines.
#include "CommonUtils.h"

#include <cmath>
#include <vector>

#include "dbcurves.h"
#include "dbpline.h"

namespace {

const double kPi = 3.14159265358979323846;
// Ends of a polyline closer than this make it closed (IsEntityClosed) and
// a joined point this close to the first vertex closes the polyline
// (joinPline, the end tolerance of chaining).
const double kEndTol = 0.00001;
// A full ellipse sweeps 2pi within this.
const double kFullEllipse = 1e-8;

double Bulge(const AcDbPolyline* pPline, unsigned int nIndex) {
  double dBulge = 0.0;
  pPline->getBulgeAt(nIndex, dBulge);
  return dBulge;
}

AcGePoint2d Point2d(const AcDbPolyline* pPline, unsigned int nIndex) {
  AcGePoint2d pt;
  pPline->getPointAt(nIndex, pt);
  return pt;
}

// A point of the world in the plane of the polyline (elevation dropped).
AcGePoint2d ToPlane(const AcDbPolyline* pPline, const AcGePoint3d& pt) {
  if (pPline->normal().isEqualTo(AcGeVector3d::kZAxis)) return AcGePoint2d(pt.x, pt.y);
  AcGePoint3d ptPlane = AcGeMatrix3d::worldToPlane(pPline->normal()) * pt;
  return AcGePoint2d(ptPlane.x, ptPlane.y);
}

void AppendVertex(AcDbPolyline* pPline, const AcGePoint2d& pt, double dBulge) {
  pPline->addVertexAt(pPline->numVerts(), pt, dBulge, -1, -1);
}

}  // namespace

bool CCommonUtils::isPolylineClosed(AcDbPolyline* pPline) {
  if (pPline == NULL) return false;
  if (pPline->isClosed()) return true;
  unsigned int nVerts = pPline->numVerts();
  if (nVerts <= 2) return false;
  if (Point2d(pPline, 0).distanceTo(Point2d(pPline, nVerts - 1)) >= m_dTol) return false;
  // The last vertex repeats the first: drop it and close the polyline.
  bool bUpgraded = false;
  if (!pPline->isWriteEnabled()) {
    if (pPline->upgradeOpen() != Acad::eOk) return false;  // cannot be changed: not closed
    bUpgraded = true;
  }
  pPline->removeVertexAt(nVerts - 1);
  pPline->setClosed(true);
  if (bUpgraded) pPline->downgradeOpen();
  return true;
}

bool CCommonUtils::IsEntityClosed(AcDbEntity* pEnt) {
  if (pEnt == NULL) return false;
  if (pEnt->isKindOf(AcDbCircle::desc())) return true;
  if (pEnt->isKindOf(AcDbEllipse::desc())) {
    AcDbEllipse* pEllipse = AcDbEllipse::cast(pEnt);
    double dSweep = pEllipse->endAngle() - pEllipse->startAngle();
    if (dSweep < 0) dSweep += 2 * kPi;
    return fabs(dSweep - 2 * kPi) < kFullEllipse;
  }
  if (pEnt->isKindOf(AcDbPolyline::desc())) {
    AcDbPolyline* pPline = AcDbPolyline::cast(pEnt);
    if (pPline->isClosed()) return true;
    unsigned int nVerts = pPline->numVerts();
    if (nVerts < 3) return false;
    if (Point2d(pPline, 0).distanceTo(Point2d(pPline, nVerts - 1)) >= kEndTol) return false;
    // Ends that meet: the polyline gets its closed flag (the last vertex
    // stays).
    bool bUpgraded = false;
    if (!pPline->isWriteEnabled()) {
      if (pPline->upgradeOpen() != Acad::eOk) return true;  // closed, but the flag cannot be set now
      bUpgraded = true;
    }
    pPline->setClosed(true);
    if (bUpgraded) pPline->downgradeOpen();
    return true;
  }
  return false;
}

bool CCommonUtils::IsEntityClosed(AcDbObjectId entId) {
  AcDbEntity* pEnt = NULL;
  if (acdbOpenObject(pEnt, entId, AcDb::kForRead) != Acad::eOk) return false;
  bool bClosed = IsEntityClosed(pEnt);
  pEnt->close();
  return bClosed;
}

bool CCommonUtils::removeDoubleVert(AcDbPolyline* pPline) {
  if (pPline == NULL || pPline->numVerts() < 4) return false;
  bool bRemoved = false;
  unsigned int i = 0;
  while (i < pPline->numVerts() && pPline->numVerts() > 1) {
    unsigned int nVerts = pPline->numVerts();
    bool bLast = i == nVerts - 1;
    unsigned int nNext = bLast ? 0 : i + 1;
    if (Point2d(pPline, i).distanceTo(Point2d(pPline, nNext)) >= m_dTol) {
      ++i;
      continue;
    }
    // The vertex repeats its successor: it goes, and the same position is
    // compared again with the new successor.
    if (pPline->removeVertexAt(i) != Acad::eOk) break;
    if (bLast) pPline->setClosed(true);
    bRemoved = true;
  }
  return bRemoved;
}

bool CCommonUtils::reversePline(AcDbPolyline* pPline) {
  if (pPline == NULL) return false;
  if (!pPline->isWriteEnabled()) return false;
  int n = static_cast<int>(pPline->numVerts());
  if (n < 2) return true;
  std::vector<AcGePoint2d> arPoints(n);
  std::vector<double> arBulges(n), arStartWidths(n), arEndWidths(n);
  for (int i = 0; i < n; ++i) {
    pPline->getPointAt(i, arPoints[i]);
    pPline->getBulgeAt(i, arBulges[i]);
    pPline->getWidthsAt(i, arStartWidths[i], arEndWidths[i]);
  }
  bool bClosed = pPline->isClosed();
  for (int j = 0; j < n; ++j) {
    // The vertex and the segment that now starts at it (the old segment
    // run backwards: bulge negated, start and end widths swapped).
    int nVertex = bClosed ? (n - j) % n : n - 1 - j;
    int nSegment = bClosed ? n - 1 - j : n - 2 - j;
    double dBulge = 0.0, dStartWidth, dEndWidth;
    if (nSegment >= 0) {
      dBulge = -arBulges[nSegment];
      dStartWidth = arEndWidths[nSegment];
      dEndWidth = arStartWidths[nSegment];
    } else {
      // The last vertex of an open polyline starts no segment: it keeps the
      // unused widths of the old last vertex.
      dStartWidth = arEndWidths[n - 1];
      dEndWidth = arStartWidths[n - 1];
    }
    pPline->setPointAt(j, arPoints[nVertex]);
    pPline->setBulgeAt(j, dBulge);
    pPline->setWidthsAt(j, dStartWidth, dEndWidth);
  }
  return true;
}

void CCommonUtils::joinPline(AcDbPolyline* pTarget, AcDbPolyline* pSource, bool bForward) {
  if (pTarget == NULL || pSource == NULL) return;
  int n = static_cast<int>(pSource->numVerts());
  if (n < 2 || pTarget->numVerts() == 0) return;
  AcGePoint2d ptFirst = Point2d(pTarget, 0);
  // Each source segment joins with its bulge (negated when run backwards),
  // which the target's last vertex carries.
  for (int k = 1; k < n; ++k) {
    int nPoint = bForward ? k : n - 1 - k;
    int nSegment = bForward ? k - 1 : n - 1 - k;
    double dBulge = bForward ? Bulge(pSource, nSegment) : -Bulge(pSource, nSegment);
    pTarget->setBulgeAt(pTarget->numVerts() - 1, dBulge);
    AcGePoint2d pt = Point2d(pSource, nPoint);
    if (pt.distanceTo(ptFirst) < kEndTol) {
      pTarget->setClosed(true);
      continue;
    }
    AppendVertex(pTarget, pt, 0.0);
  }
}

Acad::ErrorStatus CCommonUtils::addEntToNewPline(AcDbPolyline* pPline, AcDbEntity* pCurve,
                                                 const AcGePoint3d& ptJoin) {
  if (pPline == NULL || pCurve == NULL) return Acad::eInvalidInput;
  bool bLine = pCurve->isKindOf(AcDbLine::desc());
  bool bArc = pCurve->isKindOf(AcDbArc::desc());
  bool bPline = pCurve->isKindOf(AcDbPolyline::desc());
  if (!bLine && !bArc && !bPline) return Acad::eInvalidInput;
  AcDbCurve* pCur = AcDbCurve::cast(pCurve);
  AcGePoint3d ptStart, ptEnd;
  if (pCur->getStartPoint(ptStart) != Acad::eOk || pCur->getEndPoint(ptEnd) != Acad::eOk) return Acad::eInvalidInput;
  bool bReversed;
  if (ptStart.distanceTo(ptJoin) < m_dTol) bReversed = false;
  else if (ptEnd.distanceTo(ptJoin) < m_dTol) bReversed = true;
  else return Acad::eInvalidInput;

  if (bLine) {
    if (pPline->numVerts() > 0) pPline->removeVertexAt(pPline->numVerts() - 1);
    AppendVertex(pPline, ToPlane(pPline, bReversed ? ptEnd : ptStart), 0.0);
    AppendVertex(pPline, ToPlane(pPline, bReversed ? ptStart : ptEnd), 0.0);
    return Acad::eOk;
  }
  if (bArc) {
    AcDbArc* pArc = AcDbArc::cast(pCurve);
    double dRadius = pArc->radius();
    double dHalfChord = ptStart.distanceTo(ptEnd) / 2;
    // An arc whose ends meet is no segment of a polyline.
    if (dHalfChord < 1e-10) return Acad::eInvalidInput;
    double dRoot = sqrt(dRadius * dRadius - dHalfChord * dHalfChord > 0 ? dRadius * dRadius - dHalfChord * dHalfChord
                                                                         : 0.0);
    double dBulge = pArc->sweep() < kPi ? (dRadius - dRoot) / dHalfChord : (dRadius + dRoot) / dHalfChord;
    if (bReversed) dBulge = -dBulge;
    // Seen from the other side of the polyline's plane the arc turns the
    // other way.
    if (pArc->normal().dotProduct(pPline->normal()) < 0) dBulge = -dBulge;
    if (pPline->numVerts() > 0) pPline->removeVertexAt(pPline->numVerts() - 1);
    AppendVertex(pPline, ToPlane(pPline, bReversed ? ptEnd : ptStart), dBulge);
    AppendVertex(pPline, ToPlane(pPline, bReversed ? ptStart : ptEnd), 0.0);
    return Acad::eOk;
  }
  // A polyline is read backwards from a reversed copy, so that the caller's
  // polyline stays as it is.
  AcDbPolyline* pSource = AcDbPolyline::cast(pCurve);
  AcDbPolyline* pCopy = NULL;
  if (bReversed) {
    pCopy = AcDbPolyline::cast(pSource->clone());
    if (pCopy == NULL) return Acad::eInvalidInput;
    reversePline(pCopy);
    pSource = pCopy;
  }
  bool bOpposite = pSource->normal().dotProduct(pPline->normal()) < 0;
  if (pPline->numVerts() > 0) pPline->removeVertexAt(pPline->numVerts() - 1);
  for (unsigned int i = 0; i < pSource->numVerts(); ++i) {
    AcGePoint3d pt;
    pSource->getPointAt(i, pt);
    double dBulge = Bulge(pSource, i);
    AppendVertex(pPline, ToPlane(pPline, pt), bOpposite ? -dBulge : dBulge);
  }
  delete pCopy;
  return Acad::eOk;
}
