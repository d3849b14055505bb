// Views of the host's three-double points (ads_point) as geometry points and
// vectors, and the coordinate indexes X, Y and Z of such a point.
#pragma once

#include "adscodes.h"
#include "gegeometry.h"

enum { X = 0, Y = 1, Z = 2 };

inline AcGePoint3d asPnt3d(const ads_point p) { return AcGePoint3d(p[0], p[1], p[2]); }
inline AcGeVector3d asVec3d(const ads_point p) { return AcGeVector3d(p[0], p[1], p[2]); }
inline AcGePoint2d asPnt2d(const ads_point p) { return AcGePoint2d(p[0], p[1]); }

// Copies the point into the three doubles and returns them.
inline double* asDblArray(const AcGePoint3d& p, ads_point out) {
  out[0] = p.x;
  out[1] = p.y;
  out[2] = p.z;
  return out;
}
