// AcDbExtents: axis-aligned extents, empty until a point is added.
#include "dbextents.h"

#include <algorithm>

namespace {
constexpr double kHuge = 1e20;
}

AcDbExtents::AcDbExtents() : m_min(kHuge, kHuge, kHuge), m_max(-kHuge, -kHuge, -kHuge) {}

AcDbExtents::AcDbExtents(const AcGePoint3d& minPoint, const AcGePoint3d& maxPoint) : AcDbExtents() {
  addPoint(minPoint);
  addPoint(maxPoint);
}

void AcDbExtents::set(const AcGePoint3d& minPoint, const AcGePoint3d& maxPoint) {
  m_min = minPoint;
  m_max = maxPoint;
}

void AcDbExtents::addPoint(const AcGePoint3d& p) {
  for (int i = 0; i < 3; ++i) {
    m_min[i] = std::min(m_min[i], p[i]);
    m_max[i] = std::max(m_max[i], p[i]);
  }
}

void AcDbExtents::addExt(const AcDbExtents& other) {
  if (other.isEmpty()) return;
  addPoint(other.m_min);
  addPoint(other.m_max);
}

void AcDbExtents::expandBy(const AcGeVector3d& v) {
  // Both corners as they were: the first addPoint may move the other one.
  const AcGePoint3d lo = m_min + v, hi = m_max + v;
  addPoint(lo);
  addPoint(hi);
}

void AcDbExtents::transformBy(const AcGeMatrix3d& m) {
  if (isEmpty()) return;
  AcDbExtents out;
  for (int i = 0; i < 8; ++i) {
    AcGePoint3d c(i & 1 ? m_max.x : m_min.x, i & 2 ? m_max.y : m_min.y, i & 4 ? m_max.z : m_min.z);
    out.addPoint(m * c);
  }
  *this = out;
}
