// Axis-aligned extents of drawing geometry. A new extents is empty: its
// minimum lies above its maximum until the first point is added.
#pragma once

#include "gegeometry.h"

class AcDbExtents {
 public:
  AcDbExtents();
  AcDbExtents(const AcGePoint3d& minPoint, const AcGePoint3d& maxPoint);

  AcGePoint3d minPoint() const { return m_min; }
  AcGePoint3d maxPoint() const { return m_max; }
  void set(const AcGePoint3d& minPoint, const AcGePoint3d& maxPoint);
  void addPoint(const AcGePoint3d& point);
  void addExt(const AcDbExtents& other);
  void expandBy(const AcGeVector3d& v);
  // Transforms the eight corners and takes their extents.
  void transformBy(const AcGeMatrix3d& m);
  bool isEmpty() const { return m_min.x > m_max.x; }
  bool operator==(const AcDbExtents& o) const { return m_min == o.m_min && m_max == o.m_max; }

 private:
  AcGePoint3d m_min;
  AcGePoint3d m_max;
};
