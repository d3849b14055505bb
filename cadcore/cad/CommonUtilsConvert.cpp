// Lines, arcs, circles and old 2D polylines as new lightweight polylines;
// rectangles and regions.
#include "CommonUtils.h"

#include <cmath>

#include "db2dpline.h"
#include "dbcurves.h"
#include "dbpline.h"
#include "dbregion.h"

namespace {

const double kPi = 3.14159265358979323846;
// An arc sweep or bulge below this counts as zero.
const double kZeroAngle = 1e-10;

// The bulge of an arc segment of the sweep (radians, 0 < sweep < 2pi): the
// tangent of a quarter of the sweep, exactly 1 for a half circle.
double ArcBulge(double dSweep) {
  if (fabs(dSweep - kPi) < kZeroAngle) return 1.0;
  return (1.0 - cos(dSweep / 2)) / sin(dSweep / 2);
}

// Appends the vertices of the old 2D polyline to the new polyline (world x
// and y; with their bulges or straight). Vertices of a drawing's polyline
// are opened by id and closed again; those of a new polyline are read
// directly. False when a vertex cannot be opened.
bool AppendVertices(AcDb2dPolyline* pPoly2d, AcDbPolyline* pPline, bool bKeepBulges) {
  AcDbObjectIterator* pIter = pPoly2d->vertexIterator();
  bool bOk = true;
  unsigned int nIndex = 0;
  for (pIter->start(); !pIter->done(); pIter->step()) {
    AcDb2dVertex* pVert = NULL;
    AcDbObjectId vertId = pIter->objectId();
    bool bOpened = false;
    if (!vertId.isNull()) {
      if (pPoly2d->openVertex(pVert, vertId, AcDb::kForRead) != Acad::eOk) {
        bOk = false;
        break;
      }
      bOpened = true;
    } else {
      pVert = AcDb2dVertex::cast(pIter->entity());
    }
    if (pVert != NULL && pVert->vertexType() != AcDb::k2dSplineCtlVertex) {
      AcGePoint3d ptWorld = pPoly2d->vertexPosition(*pVert);
      double dBulge = bKeepBulges ? pVert->bulge() : 0.0;
      pPline->addVertexAt(nIndex++, AcGePoint2d(ptWorld.x, ptWorld.y), dBulge, -1, -1);
    }
    if (bOpened) pVert->close();
  }
  delete pIter;
  return bOk;
}

bool ConvertPoly2d(AcDb2dPolyline* pPoly2d, AcDbPolyline*& pPline, bool bKeepBulges) {
  if (pPoly2d == NULL) return false;
  AcDbPolyline* pNew = new AcDbPolyline();
  pNew->setPropertiesFrom(*pPoly2d);
  if (!AppendVertices(pPoly2d, pNew, bKeepBulges)) {
    delete pNew;
    return false;
  }
  pNew->setClosed(pPoly2d->isClosed());
  pPline = pNew;
  return true;
}

}  // namespace

bool CCommonUtils::changeLineToPline(AcDbLine* pLine, AcDbPolyline*& pPline) {
  if (pLine == NULL) return false;
  pPline = new AcDbPolyline(2);
  pPline->setPropertiesFrom(*pLine);
  AcGePoint3d ptStart = pLine->startPoint();
  AcGePoint3d ptEnd = pLine->endPoint();
  pPline->addVertexAt(0, AcGePoint2d(ptStart.x, ptStart.y), 0.0, -1, -1);
  pPline->addVertexAt(1, AcGePoint2d(ptEnd.x, ptEnd.y), 0.0, -1, -1);
  return true;
}

bool CCommonUtils::changeArcToPline(AcDbArc* pArc, AcDbPolyline*& pPline) {
  if (pArc == NULL) return false;
  double dSweep = pArc->endAngle() - pArc->startAngle();
  if (fabs(dSweep) < kZeroAngle) {
    // An arc without sweep is no curve: it is taken out of its drawing.
    bool bUpgraded = false;
    if (!pArc->isWriteEnabled()) bUpgraded = pArc->upgradeOpen() == Acad::eOk;
    pArc->erase();
    if (bUpgraded) pArc->downgradeOpen();
    return false;
  }
  if (dSweep < 0) dSweep += 2 * kPi;
  double dBulge = ArcBulge(dSweep);
  // The vertices are world x and y: an arc seen from below (normal -Z) turns
  // clockwise there.
  if (pArc->normal().z < 0) dBulge = -dBulge;
  AcGePoint3d ptStart, ptEnd;
  pArc->getStartPoint(ptStart);
  pArc->getEndPoint(ptEnd);
  pPline = new AcDbPolyline(2);
  pPline->setPropertiesFrom(*pArc);
  pPline->addVertexAt(0, AcGePoint2d(ptStart.x, ptStart.y), dBulge, -1, -1);
  pPline->addVertexAt(1, AcGePoint2d(ptEnd.x, ptEnd.y), 0.0, -1, -1);
  return true;
}

bool CCommonUtils::changeCircleToPline(AcDbCircle* pCircle, AcDbPolyline*& pPline) {
  if (pCircle == NULL) return false;
  AcGePoint3d ptCenter = pCircle->center();
  double dRadius = pCircle->radius();
  pPline = new AcDbPolyline(2);
  pPline->setPropertiesFrom(*pCircle);
  pPline->addVertexAt(0, AcGePoint2d(ptCenter.x + dRadius, ptCenter.y), 1.0, -1, -1);
  pPline->addVertexAt(1, AcGePoint2d(ptCenter.x - dRadius, ptCenter.y), 1.0, -1, -1);
  pPline->setClosed(true);
  return true;
}

bool CCommonUtils::change2dPolyToPline(AcDb2dPolyline* pPoly2d, AcDbPolyline*& pPline) {
  return ConvertPoly2d(pPoly2d, pPline, true);
}

bool CCommonUtils::changePolyToPline(AcDb2dPolyline* pPoly2d, AcDbPolyline*& pPline) {
  return ConvertPoly2d(pPoly2d, pPline, false);
}

Acad::ErrorStatus CCommonUtils::Poly2dToLWPoly(AcDb2dPolyline* pPoly2d, AcDbPolyline*& pPline) {
  pPline = NULL;
  if (pPoly2d == NULL) return Acad::eInvalidInput;
  AcDb::Poly2dType type = pPoly2d->polyType();
  if (type != AcDb::k2dSimplePoly && type != AcDb::k2dFitCurvePoly) return Acad::eNotImplementedYet;
  AcDbPolyline* pNew = new AcDbPolyline();
  AcDbEntity* pSource = pPoly2d;
  if (pNew->convertFrom(pSource, false) != Acad::eOk) {
    delete pNew;
    return Acad::eNotImplementedYet;
  }
  pPline = pNew;
  return Acad::eOk;
}

bool CCommonUtils::changeToPolyline(AcDbEntity* pEnt, AcDbPolyline*& pPline) {
  if (pEnt == NULL) return false;
  if (pEnt->isKindOf(AcDbPolyline::desc())) {
    pPline = AcDbPolyline::cast(pEnt->clone());
    return pPline != NULL;
  }
  if (pEnt->isKindOf(AcDbArc::desc())) return changeArcToPline(AcDbArc::cast(pEnt), pPline);
  if (pEnt->isKindOf(AcDbLine::desc())) return changeLineToPline(AcDbLine::cast(pEnt), pPline);
  if (pEnt->isKindOf(AcDbCircle::desc())) return changeCircleToPline(AcDbCircle::cast(pEnt), pPline);
  if (pEnt->isKindOf(AcDb2dPolyline::desc())) return change2dPolyToPline(AcDb2dPolyline::cast(pEnt), pPline);
  return false;
}

bool CCommonUtils::changeToPolyline(AcDbObjectId entId, AcDbPolyline*& pPline) {
  AcDbEntity* pEnt = NULL;
  if (acdbOpenObject(pEnt, entId, AcDb::kForRead) != Acad::eOk) return false;
  bool bResult = false;
  if (pEnt->isKindOf(AcDbPolyline::desc())) {
    pPline = AcDbPolyline::cast(pEnt->clone());
    bResult = pPline != NULL;
  } else if (pEnt->isKindOf(AcDbArc::desc())) {
    bResult = changeArcToPline(AcDbArc::cast(pEnt), pPline);
  } else if (pEnt->isKindOf(AcDbLine::desc())) {
    bResult = changeLineToPline(AcDbLine::cast(pEnt), pPline);
  } else if (pEnt->isKindOf(AcDbCircle::desc())) {
    bResult = changeCircleToPline(AcDbCircle::cast(pEnt), pPline);
  }
  pEnt->close();
  return bResult;
}

bool CCommonUtils::createRetangle(const AcGePoint2d& pt1, const AcGePoint2d& pt2, AcDbPolyline*& pPline) {
  pPline = new AcDbPolyline(4);
  pPline->addVertexAt(0, AcGePoint2d(pt1.x, pt1.y), 0.0, -1, -1);
  pPline->addVertexAt(1, AcGePoint2d(pt1.x, pt2.y), 0.0, -1, -1);
  pPline->addVertexAt(2, AcGePoint2d(pt2.x, pt2.y), 0.0, -1, -1);
  pPline->addVertexAt(3, AcGePoint2d(pt2.x, pt1.y), 0.0, -1, -1);
  pPline->setClosed(true);
  return true;
}

bool CCommonUtils::createRegion(AcDbCurve* pCurve, AcDbRegion*& pRegion) {
  pRegion = NULL;
  if (pCurve == NULL) return false;
  AcDbVoidPtrArray arCurves, arRegions;
  arCurves.append(pCurve);
  Acad::ErrorStatus es = AcDbRegion::createFromCurves(arCurves, arRegions);
  if (es == Acad::eOk && arRegions.length() == 1) {
    pRegion = static_cast<AcDbRegion*>(arRegions[0]);
    return true;
  }
  for (int i = 0; i < arRegions.length(); ++i) delete static_cast<AcDbRegion*>(arRegions[i]);
  return false;
}
