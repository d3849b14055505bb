// Arcs through three points or from arc geometry, and the middle point of an
// arc.
#include "CommonUtils.h"

#include <cmath>

#include "dbcurves.h"
#include "gearc.h"

namespace {

const double kPi = 3.14159265358979323846;

// Angle of the vector about the Z axis, measured from the X axis, in [0, 2pi).
double AngleFromX(const AcGeVector3d& vec) {
  double dAngle = atan2(vec.y, vec.x);
  return dAngle < 0 ? dAngle + 2 * kPi : dAngle;
}

// An elliptical (or circular) arc: centre + a cos t U + b sin t V for t from
// dStart up to dEnd (dEnd > dStart).
struct ArcFrame {
  AcGePoint3d ptCenter;
  AcGeVector3d vecU, vecV;
  double dA, dB, dStart, dEnd;

  AcGePoint3d at(double t) const { return ptCenter + vecU * (dA * cos(t)) + vecV * (dB * sin(t)); }
};

// The angular distance of the parameter from the arc's middle parameter.
double DistanceFromMiddle(const ArcFrame& arc, double t) {
  double dMiddle = (arc.dStart + arc.dEnd) / 2;
  double d = fmod(fabs(t - dMiddle), 2 * kPi);
  return d > kPi ? 2 * kPi - d : d;
}

// Where the line from the centre through the chord's midpoint meets the arc.
// For a half circle the chord's midpoint is the centre; the line then runs
// across the chord, the only line through the centre that meets the arc in
// its middle. The chord's midpoint (and false) for an arc without radius.
bool MidPointOfArc(const ArcFrame& arc, AcGePoint3d& ptMid) {
  AcGePoint3d ptStart = arc.at(arc.dStart), ptEnd = arc.at(arc.dEnd);
  AcGePoint3d ptChordMid = ptStart + (ptEnd - ptStart) * 0.5;
  if (!(arc.dA > 0) || !(arc.dB > 0)) {
    ptMid = ptChordMid;
    return false;
  }
  // Work in the ellipse's own frame, where it is the unit circle.
  AcGeVector3d vecMid = ptChordMid - arc.ptCenter;
  double dx = vecMid.dotProduct(arc.vecU) / arc.dA, dy = vecMid.dotProduct(arc.vecV) / arc.dB;
  if (sqrt(dx * dx + dy * dy) < 1e-12) {
    AcGeVector3d vecChord = ptEnd - ptStart;
    double cx = vecChord.dotProduct(arc.vecU) / arc.dA, cy = vecChord.dotProduct(arc.vecV) / arc.dB;
    dx = -cy;
    dy = cx;
  }
  double dLen = sqrt(dx * dx + dy * dy);
  if (dLen < 1e-300) {
    ptMid = ptChordMid;
    return false;
  }
  double t1 = atan2(dy / dLen, dx / dLen);
  double t2 = t1 + kPi;
  ptMid = arc.at(DistanceFromMiddle(arc, t1) <= DistanceFromMiddle(arc, t2) ? t1 : t2);
  return true;
}

}  // namespace

AcDbArc* CCommonUtils::createArc(const AcGePoint3d& ptStart, const AcGePoint3d& ptMiddle, const AcGePoint3d& ptEnd) {
  AcGeCircArc3d geArc(ptStart, ptMiddle, ptEnd);
  // Three points on one line make no arc.
  if (geArc.isDegenerate()) return NULL;
  AcGePoint3d ptCenter = geArc.center();
  double dStartAngle = AngleFromX(ptStart - ptCenter);
  double dEndAngle = AngleFromX(ptEnd - ptCenter);
  // A clockwise turn from start over middle to end: the counter-clockwise
  // arc runs from the end to the start.
  AcGeVector3d vecTurn = (ptMiddle - ptStart).crossProduct(ptEnd - ptMiddle);
  if (vecTurn.z < 0) {
    double dTemp = dStartAngle;
    dStartAngle = dEndAngle;
    dEndAngle = dTemp;
  }
  return new AcDbArc(ptCenter, AcGeVector3d::kZAxis, geArc.radius(), dStartAngle, dEndAngle);
}

AcDbArc* CCommonUtils::createArc(const AcGeCircArc2d& arc) {
  if (arc.isDegenerate()) return NULL;
  AcGePoint2d ptCenter = arc.center();
  AcGePoint2d ptStart = arc.startPoint(), ptEnd = arc.endPoint();
  double dStartAngle = AngleFromX(AcGeVector3d(ptStart.x - ptCenter.x, ptStart.y - ptCenter.y, 0));
  double dEndAngle = AngleFromX(AcGeVector3d(ptEnd.x - ptCenter.x, ptEnd.y - ptCenter.y, 0));
  if (arc.isClockWise()) {
    double dTemp = dStartAngle;
    dStartAngle = dEndAngle;
    dEndAngle = dTemp;
  }
  return new AcDbArc(AcGePoint3d(ptCenter.x, ptCenter.y, 0), AcGeVector3d::kZAxis, arc.radius(), dStartAngle,
                     dEndAngle);
}

AcDbArc* CCommonUtils::createArc(const AcGeEllipArc3d& arc) {
  // Only a circular elliptical arc is an arc.
  if (!arc.isCircular() || !(arc.majorRadius() > 0)) return NULL;
  AcGeVector3d vecNormal = arc.normal();
  AcGeMatrix3d matToPlane = AcGeMatrix3d::worldToPlane(vecNormal);
  AcGePoint3d ptCenter = matToPlane * arc.center();
  AcGePoint3d ptStart = matToPlane * arc.startPoint();
  AcGePoint3d ptEnd = matToPlane * arc.endPoint();
  return new AcDbArc(arc.center(), vecNormal, arc.majorRadius(), AngleFromX(ptStart - ptCenter),
                     AngleFromX(ptEnd - ptCenter));
}

bool CCommonUtils::calArcSegMidPoint(AcDbArc* pArc, AcGePoint3d& ptMid) {
  if (pArc == NULL) return false;
  ArcFrame frame;
  frame.ptCenter = pArc->center();
  frame.vecU = acgeArbitraryXAxis(pArc->normal());
  frame.vecV = pArc->normal().crossProduct(frame.vecU);
  frame.dA = frame.dB = pArc->radius();
  frame.dStart = pArc->startAngle();
  frame.dEnd = pArc->startAngle() + pArc->sweep();
  return MidPointOfArc(frame, ptMid);
}

bool CCommonUtils::calArcSegMidPoint(const AcGeCircArc2d& arc, AcGePoint2d& ptMid) {
  ArcFrame frame;
  frame.ptCenter = AcGePoint3d(arc.center().x, arc.center().y, 0);
  AcGeVector2d vecRef = arc.refVec();
  frame.vecU = AcGeVector3d(vecRef.x, vecRef.y, 0);
  // A clockwise arc turns the other way round from its reference vector.
  frame.vecV = arc.isClockWise() ? AcGeVector3d(vecRef.y, -vecRef.x, 0) : AcGeVector3d(-vecRef.y, vecRef.x, 0);
  frame.dA = frame.dB = arc.radius();
  frame.dStart = arc.startAng();
  frame.dEnd = arc.endAng();
  AcGePoint3d ptResult;
  bool bOk = MidPointOfArc(frame, ptResult);
  ptMid.set(ptResult.x, ptResult.y);
  return bOk;
}

bool CCommonUtils::calArcSegMidPoint(const AcGeEllipArc3d& arc, AcGePoint3d& ptMid) {
  ArcFrame frame;
  frame.ptCenter = arc.center();
  frame.vecU = arc.majorAxis();
  frame.vecV = arc.minorAxis();
  frame.dA = arc.majorRadius();
  frame.dB = arc.minorRadius();
  frame.dStart = arc.startAng();
  frame.dEnd = arc.endAng();
  return MidPointOfArc(frame, ptMid);
}
