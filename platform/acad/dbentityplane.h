// AcDbEntityPlane: the plane (its unit normal) and thickness of an entity,
// kept apart only when they are not the usual xy plane without thickness. A
// drawing may hold hundreds of thousands of lines, arcs, circles and texts,
// nearly all of them so; while usual the two cost one pointer, not 32 bytes.
#pragma once

#include "dbrarepart.h"
#include "gegeometry.h"

class AcDbEntityPlane {
 public:
  const AcGeVector3d& normal() const { return part().normal; }
  double thickness() const { return part().thickness; }
  // The normal given must already be of unit length. Compared exactly: the
  // usual plane is the z axis itself.
  void setUnitNormal(const AcGeVector3d& unit) {
    if (m_part.get() || unit.x != 0.0 || unit.y != 0.0 || unit.z != 1.0) m_part.make().normal = unit;
  }
  void setThickness(double t) {
    if (m_part.get() || t != 0.0) m_part.make().thickness = t;
  }

 private:
  struct Part {
    AcGeVector3d normal = AcGeVector3d::kZAxis;
    double thickness = 0.0;
  };
  const Part& part() const {
    static const Part usual;
    return m_part.get() ? *m_part.get() : usual;
  }

  AcDbRarePart<Part> m_part;
};
