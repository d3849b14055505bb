// Geometric questions about curves: points on curves, containment, closest
// points, vertices, and points and values in order.
#include "CommonUtils.h"

#include <cmath>

#include "db3dpline.h"
#include "dbcurve.h"
#include "dbpline.h"

namespace {

// A polyline segment is an arc above this bulge.
const double kZeroBulge = 1e-10;

// The point of the curve nearest to the given one (the given one itself
// when the curve cannot say).
AcGePoint3d Closest(const AcDbCurve* pCurve, const AcGePoint3d& pt) {
  AcGePoint3d ptClosest = pt;
  if (pCurve->getClosestPointTo(pt, ptClosest) != Acad::eOk) ptClosest = pt;
  return ptClosest;
}

// The parameter of a point on the curve, or of its closest point when it
// lies off the curve.
double ParamOf(const AcDbCurve* pCurve, const AcGePoint3d& pt) {
  double dParam = 0.0;
  if (pCurve->getParamAtPoint(pt, dParam) == Acad::eOk) return dParam;
  if (pCurve->getParamAtPoint(Closest(pCurve, pt), dParam) == Acad::eOk) return dParam;
  return 0.0;
}

}  // namespace

bool CCommonUtils::isPointOnCurve(AcDbCurve* pCurve, const AcGePoint3d& point) {
  if (pCurve == NULL) return false;
  AcGePoint3d ptClosest;
  if (pCurve->getClosestPointTo(point, ptClosest) != Acad::eOk) return false;
  return ptClosest.distanceTo(point) < m_dTol;
}

bool CCommonUtils::isEntityTotalIn(AcDbCurve* pInner, AcDbCurve* pOuter) {
  if (pInner == NULL || pOuter == NULL) return false;
  double dStartParam = 0.0, dEndParam = 0.0;
  if (pInner->getStartParam(dStartParam) != Acad::eOk || pInner->getEndParam(dEndParam) != Acad::eOk) return false;
  // The middle of every segment, then the two ends.
  for (double dParam = dStartParam; dParam + 0.5 <= dEndParam; dParam += 1.0) {
    AcGePoint3d pt;
    if (pInner->getPointAtParam(dParam + 0.5, pt) != Acad::eOk) return false;
    if (!isPointOnCurve(pOuter, pt)) return false;
  }
  AcGePoint3d ptStart, ptEnd;
  if (pInner->getStartPoint(ptStart) != Acad::eOk || pInner->getEndPoint(ptEnd) != Acad::eOk) return false;
  return isPointOnCurve(pOuter, ptStart) && isPointOnCurve(pOuter, ptEnd);
}

void CCommonUtils::getAllClosestPoint(AcDbCurve* pFirst, AcDbCurve* pSecond, AcGePoint3dArray& arFirst,
                                      AcGePoint3dArray& arSecond) {
  if (pFirst == NULL || pSecond == NULL) return;
  AcDbPolyline* pPline = AcDbPolyline::cast(pFirst);
  if (pPline == NULL) {
    // A curve without vertices offers its two ends.
    AcGePoint3d ptStart, ptEnd;
    if (pFirst->getStartPoint(ptStart) == Acad::eOk) {
      arFirst.append(ptStart);
      arSecond.append(Closest(pSecond, ptStart));
    }
    if (pFirst->getEndPoint(ptEnd) == Acad::eOk) {
      arFirst.append(ptEnd);
      arSecond.append(Closest(pSecond, ptEnd));
    }
    return;
  }
  unsigned int nVerts = pPline->numVerts();
  unsigned int nSegments = pPline->numSegments();
  for (unsigned int i = 0; i < nVerts; ++i) {
    AcGePoint3d ptVertex;
    pPline->getPointAt(i, ptVertex);
    arFirst.append(ptVertex);
    arSecond.append(Closest(pSecond, ptVertex));

    double dBulge = 0.0;
    pPline->getBulgeAt(i, dBulge);
    if (i >= nSegments || fabs(dBulge) <= kZeroBulge) continue;
    // An arc may come nearest to the other curve between its ends: look
    // from its centre.
    AcGeCircArc3d arc;
    if (pPline->getArcSegAt(i, arc) != Acad::eOk) continue;
    AcGePoint3d ptCenter = arc.center();
    AcGePoint3d ptOther = Closest(pSecond, ptCenter);
    if (arc.radius() > ptOther.distanceTo(ptCenter)) continue;
    AcGePoint3d ptOnFirst = Closest(pFirst, ptOther);
    if ((ptOther - ptCenter).dotProduct(ptOnFirst - ptCenter) > 0) {
      arFirst.append(ptOnFirst);
      arSecond.append(ptOther);
    }
  }
}

void CCommonUtils::getClosestPoint(AcDbCurve* pFirst, AcDbCurve* pSecond, AcGePoint3d& ptFirst,
                                   AcGePoint3d& ptSecond) {
  if (pFirst == NULL || pSecond == NULL) return;
  AcGePoint3dArray arFirst, arSecond;
  getAllClosestPoint(pFirst, pSecond, arFirst, arSecond);
  // The pairs seen from the second curve, kept as (first, second).
  getAllClosestPoint(pSecond, pFirst, arSecond, arFirst);
  double dBest = -1.0;
  for (int i = 0; i < arFirst.length(); ++i) {
    double dDist = arFirst[i].distanceTo(arSecond[i]);
    if (dBest < 0 || dDist < dBest) {
      dBest = dDist;
      ptFirst = arFirst[i];
      ptSecond = arSecond[i];
    }
  }
}

void CCommonUtils::getPlineVertexs(AcDbPolyline* pPline, AcGePoint3dArray& arPoints, AcGeDoubleArray& arBulges) {
  if (pPline == NULL) return;
  for (unsigned int i = 0; i < pPline->numVerts(); ++i) {
    AcGePoint3d pt;
    double dBulge = 0.0;
    pPline->getPointAt(i, pt);
    pPline->getBulgeAt(i, dBulge);
    arPoints.append(pt);
    arBulges.append(dBulge);
  }
}

void CCommonUtils::getAllVertexOfPline(AcDbPolyline* pPline, AcGePoint3dArray& arPoints) {
  if (pPline == NULL) return;
  for (unsigned int i = 0; i < pPline->numVerts(); ++i) {
    AcGePoint3d pt;
    pPline->getPointAt(i, pt);
    arPoints.append(pt);
  }
}

void CCommonUtils::getAllVertexOf3dPline(AcDb3dPolyline* pPoly3d, AcGePoint3dArray& arPoints) {
  if (pPoly3d == NULL) return;
  AcDbObjectIterator* pIter = pPoly3d->vertexIterator();
  for (pIter->start(); !pIter->done(); pIter->step()) {
    AcDbObjectId vertId = pIter->objectId();
    if (vertId.isNull()) {
      // A new polyline's vertices have no ids: they are read directly.
      AcDb3dPolylineVertex* pVert = AcDb3dPolylineVertex::cast(pIter->entity());
      if (pVert != NULL) arPoints.append(pVert->position());
      continue;
    }
    AcDb3dPolylineVertex* pVert = NULL;
    if (pPoly3d->openVertex(pVert, vertId, AcDb::kForRead) != Acad::eOk) continue;
    arPoints.append(pVert->position());
    pVert->close();
  }
  delete pIter;
}

void CCommonUtils::sortPoint(AcDbCurve* pCurve, AcGePoint3dArray& arPoints) {
  if (pCurve == NULL) return;
  int n = arPoints.length();
  AcGeDoubleArray arParams;
  for (int i = 0; i < n; ++i) arParams.append(ParamOf(pCurve, arPoints[i]));
  // Exchange sort: position i takes the smallest remaining parameter.
  for (int i = 0; i < n - 1; ++i) {
    int nMin = i;
    for (int j = i + 1; j < n; ++j)
      if (arParams[j] < arParams[nMin]) nMin = j;
    if (nMin == i) continue;
    double dParam = arParams[i];
    arParams[i] = arParams[nMin];
    arParams[nMin] = dParam;
    AcGePoint3d pt = arPoints[i];
    arPoints[i] = arPoints[nMin];
    arPoints[nMin] = pt;
  }
}

void CCommonUtils::sortParamArray(AcGeDoubleArray& arValues) {
  int n = arValues.length();
  int nGap = n;
  bool bSwapped = true;
  // Comb sort: the gap shrinks by 8/11 each pass; passes with gap 1 go on
  // until one exchanges nothing.
  while (nGap > 1 || bSwapped) {
    nGap = nGap * 8 / 11;
    if (nGap < 1) nGap = 1;
    bSwapped = false;
    for (int i = 0; i + nGap < n; ++i) {
      if (arValues[i] > arValues[i + nGap]) {
        double dValue = arValues[i];
        arValues[i] = arValues[i + nGap];
        arValues[i + nGap] = dValue;
        bSwapped = true;
      }
    }
  }
}

Acad::ErrorStatus CCommonUtils::getEntStartAndEndPoint(AcDbEntity* pEnt, AcGePoint3d& ptStart, AcGePoint3d& ptEnd) {
  AcDbCurve* pCurve = AcDbCurve::cast(pEnt);
  if (pCurve == NULL) return Acad::eInvalidInput;
  Acad::ErrorStatus es = pCurve->getStartPoint(ptStart);
  if (es != Acad::eOk) return es;
  return pCurve->getEndPoint(ptEnd);
}
