// Small geometric helpers shared by the entity classes.
#pragma once

#include <cmath>

#include "dbextents.h"
#include "gegeometry.h"

namespace acdbgeo {
constexpr double kPi = 3.14159265358979323846;
constexpr double kTwoPi = 6.28318530717958647692;
constexpr double kPointTol = 1e-8;

inline double NormalizeAngle(double a) {
  a = std::fmod(a, kTwoPi);
  if (a < 0) a += kTwoPi;
  return a >= kTwoPi ? 0.0 : a;
}

// Sweep from start to end, counter-clockwise, in (0, 2pi].
inline double Sweep(double start, double end) {
  double s = NormalizeAngle(end - start);
  return s <= 1e-12 ? kTwoPi : s;
}

// The point of a circle in the plane of the normal at the angle.
inline AcGePoint3d PointOnCircle(const AcGePoint3d& c, const AcGeVector3d& normal, double r, double a) {
  AcGeVector3d x = acgeArbitraryXAxis(normal);
  AcGeVector3d y = normal.normal().crossProduct(x);
  return c + (x * std::cos(a) + y * std::sin(a)) * r;
}

// The angle of a point about a centre in the plane of the normal.
inline double AngleInPlane(const AcGePoint3d& c, const AcGeVector3d& normal, const AcGePoint3d& p) {
  AcGeVector3d x = acgeArbitraryXAxis(normal);
  AcGeVector3d y = normal.normal().crossProduct(x);
  AcGeVector3d d = p - c;
  return NormalizeAngle(std::atan2(d.dotProduct(y), d.dotProduct(x)));
}

// Extents of an arc: its end points and the quadrant points it passes.
inline void AddArcExtents(AcDbExtents& ext, const AcGePoint3d& c, const AcGeVector3d& n, double r, double start,
                          double sweep) {
  ext.addPoint(PointOnCircle(c, n, r, start));
  ext.addPoint(PointOnCircle(c, n, r, start + sweep));
  for (int q = 0; q < 4; ++q) {
    double a = q * kPi / 2;
    if (NormalizeAngle(a - start) <= sweep) ext.addPoint(PointOnCircle(c, n, r, a));
  }
  // A tilted plane: bound with the sampled points too.
  if (!n.isParallelTo(AcGeVector3d::kZAxis))
    for (int i = 1; i < 32; ++i) ext.addPoint(PointOnCircle(c, n, r, start + sweep * i / 32));
}

// The normal a planar entity gets under a transformation, and whether the
// transformation mirrors the plane (so that turns change sense).
inline AcGeVector3d TransformNormal(const AcGeMatrix3d& m, const AcGeVector3d& n, bool& mirrored) {
  AcGeVector3d x = acgeArbitraryXAxis(n);
  AcGeVector3d y = n.normal().crossProduct(x);
  AcGeVector3d nn = (m * x).crossProduct(m * y).normal();
  AcGeVector3d mz = (m * n.normal()).normal();
  mirrored = nn.dotProduct(mz) < 0 || m.det() < 0;
  return mirrored ? -nn : nn;
}
}  // namespace acdbgeo
