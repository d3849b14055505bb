// The current view and user coordinate system set and read through the host's calls.
#include "acedcurview.h"

#include <cmath>

#include "acedview.h"
#include "dbsymtb.h"
#include "gegeometry.h"

namespace {

acad::Vec3 ToVec(const AcGeVector3d& v) { return {v.x, v.y, v.z}; }
acad::Vec3 ToVec(const AcGePoint3d& p) { return {p.x, p.y, p.z}; }

}  // namespace

Acad::ErrorStatus acedSetCurrentView(AcDbViewTableRecord* view, AcDbObjectId /*viewportId*/) {
  if (!view) return Acad::eNullObjectPointer;
  using P = AcDbAbstractViewTableRecord;
  if ((view->isPropertySet(P::kHeight) && !(view->height() > 0)) ||
      (view->isPropertySet(P::kWidth) && !(view->width() > 0)) ||
      (view->isPropertySet(P::kDirection) && view->viewDirection().isZeroLength()))
    return Acad::eInvalidInput;
  acad::View& v = acad::CurrentView();
  if (view->isPropertySet(P::kCenter)) {
    v.centerX = view->centerPoint().x;
    v.centerY = view->centerPoint().y;
  }
  if (view->isPropertySet(P::kHeight)) v.height = view->height();
  if (view->isPropertySet(P::kWidth)) v.width = view->width();
  if (view->isPropertySet(P::kTarget)) v.target = ToVec(view->target());
  if (view->isPropertySet(P::kDirection)) v.direction = ToVec(view->viewDirection());
  if (view->isPropertySet(P::kLens)) v.lensLength = view->lensLength();
  if (view->isPropertySet(P::kTwist)) v.twist = view->viewTwist();
  return Acad::eOk;
}

Acad::ErrorStatus acedGetCurrentUCS(AcGeMatrix3d& mat) {
  const acad::Ucs& u = acad::CurrentUcs();
  AcGeVector3d x(u.xAxis.x, u.xAxis.y, u.xAxis.z), y(u.yAxis.x, u.yAxis.y, u.yAxis.z);
  mat.setCoordSystem(AcGePoint3d(u.origin.x, u.origin.y, u.origin.z), x, y, x.crossProduct(y));
  return Acad::eOk;
}

Acad::ErrorStatus acedSetCurrentUCS(const AcGeMatrix3d& mat) {
  AcGePoint3d origin;
  AcGeVector3d x, y, z;
  mat.getCoordSystem(origin, x, y, z);
  constexpr double kTol = 1e-9;
  if (std::fabs(x.length() - 1) > kTol || std::fabs(y.length() - 1) > kTol || std::fabs(x.dotProduct(y)) > kTol)
    return Acad::eInvalidInput;
  acad::Ucs& u = acad::CurrentUcs();
  u.origin = ToVec(origin);
  u.xAxis = ToVec(x);
  u.yAxis = ToVec(y);
  return Acad::eOk;
}
