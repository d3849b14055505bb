// AcDbPolyline: the lightweight polyline. Vertices are 2D points in the plane
// of the normal at the elevation; each has a bulge (tangent of a quarter of
// its segment's sweep, negative for clockwise) and start and end widths.
// Segment i runs from vertex i to vertex i + 1; a closed polyline has a last
// segment from the last vertex back to the first. Parameter i is vertex i.
#pragma once

#include <memory_resource>
#include <vector>

#include "dbcurve.h"
#include "dbrarepart.h"
#include "gearc.h"

class AcGeLineSeg2d {
 public:
  AcGeLineSeg2d() = default;
  AcGeLineSeg2d(const AcGePoint2d& s, const AcGePoint2d& e) : m_start(s), m_end(e) {}
  AcGePoint2d startPoint() const { return m_start; }
  AcGePoint2d endPoint() const { return m_end; }
  double length() const { return m_start.distanceTo(m_end); }
  AcGePoint2d midPoint() const { return {(m_start.x + m_end.x) / 2, (m_start.y + m_end.y) / 2}; }

 private:
  AcGePoint2d m_start, m_end;
};

class AcGeLineSeg3d {
 public:
  AcGeLineSeg3d() = default;
  AcGeLineSeg3d(const AcGePoint3d& s, const AcGePoint3d& e) : m_start(s), m_end(e) {}
  AcGePoint3d startPoint() const { return m_start; }
  AcGePoint3d endPoint() const { return m_end; }
  double length() const { return m_start.distanceTo(m_end); }
  AcGePoint3d midPoint() const { return m_start + (m_end - m_start) * 0.5; }

 private:
  AcGePoint3d m_start, m_end;
};

class AcDbPolyline : public AcDbCurve {
  ACRX_DECLARE_MEMBERS(AcDbPolyline)

 public:
  enum SegType { kLine, kArc, kCoincident, kPoint, kEmpty };

  AcDbPolyline() = default;
  explicit AcDbPolyline(unsigned int reserve) { m_verts.reserve(reserve); }
  // A polyline that keeps its vertices in the memory given (the arena the
  // reader makes it in); a copy keeps its own on the heap.
  explicit AcDbPolyline(std::pmr::memory_resource& memory) : m_verts(&memory) {}
  ACDB_DECLARE_CLONE(AcDbPolyline)

  unsigned int numVerts() const { return static_cast<unsigned int>(m_verts.size()); }
  // Inserts before the index (an index at or past the end appends).
  Acad::ErrorStatus addVertexAt(unsigned int index, const AcGePoint2d& pt, double bulge = 0.0,
                                double startWidth = -1.0, double endWidth = -1.0);
  Acad::ErrorStatus removeVertexAt(unsigned int index);
  Acad::ErrorStatus getPointAt(unsigned int index, AcGePoint2d& pt) const;
  // The vertex in world coordinates.
  Acad::ErrorStatus getPointAt(unsigned int index, AcGePoint3d& pt) const;
  Acad::ErrorStatus setPointAt(unsigned int index, const AcGePoint2d& pt);
  Acad::ErrorStatus getBulgeAt(unsigned int index, double& bulge) const;
  Acad::ErrorStatus setBulgeAt(unsigned int index, double bulge);
  Acad::ErrorStatus getWidthsAt(unsigned int index, double& startWidth, double& endWidth) const;
  Acad::ErrorStatus setWidthsAt(unsigned int index, double startWidth, double endWidth);
  Acad::ErrorStatus getConstantWidth(double& width) const;
  Acad::ErrorStatus setConstantWidth(double width);
  bool hasWidth() const;
  bool hasBulges() const;
  // Keeps the first numVerts vertices (reuse) or empties the polyline.
  Acad::ErrorStatus reset(bool reuse, unsigned int numVerts);
  void minimizeMemory();
  void maximizeMemory() {}

  void setClosed(bool closed) { m_bClosed = closed; }
  // The closed flag only (a polyline whose ends meet without the flag is open).
  bool isClosed() const override { return m_bClosed; }
  bool isOnlyLines() const { return !hasBulges(); }
  double elevation() const { return rare().elevation; }
  void setElevation(double e);
  AcGeVector3d normal() const { return rare().normal; }
  void setNormal(const AcGeVector3d& n) { if (!n.isZeroLength()) setUnitNormal(n.normal()); }
  double thickness() const { return rare().thickness; }
  Acad::ErrorStatus setThickness(double t);
  bool hasPlinegen() const { return m_bPlinegen; }
  void setPlinegen(bool on) { m_bPlinegen = on; }

  SegType segType(unsigned int index) const;
  Acad::ErrorStatus getLineSegAt(unsigned int index, AcGeLineSeg2d& seg) const;
  Acad::ErrorStatus getLineSegAt(unsigned int index, AcGeLineSeg3d& seg) const;
  Acad::ErrorStatus getArcSegAt(unsigned int index, AcGeCircArc2d& arc) const;
  Acad::ErrorStatus getArcSegAt(unsigned int index, AcGeCircArc3d& arc) const;
  // The number of segments: vertices - 1, or vertices when closed.
  unsigned int numSegments() const;

  Acad::ErrorStatus getStartParam(double& p) const override { p = 0.0; return m_verts.empty() ? Acad::eDegenerateGeometry : Acad::eOk; }
  Acad::ErrorStatus getEndParam(double& p) const override;
  Acad::ErrorStatus getPointAtParam(double param, AcGePoint3d& point) const override;
  Acad::ErrorStatus getParamAtPoint(const AcGePoint3d& point, double& param) const override;
  Acad::ErrorStatus getDistAtParam(double param, double& dist) const override;
  Acad::ErrorStatus getParamAtDist(double dist, double& param) const override;
  Acad::ErrorStatus getClosestPointTo(const AcGePoint3d& given, AcGePoint3d& closest, bool extend = false) const override;
  // The enclosed area (arcs included); an open polyline counts as closed by a straight line.
  Acad::ErrorStatus getArea(double& area) const override;
  double length() const;

  Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
  Adesk::Boolean worldDraw(AcGiWorldDraw* worldDraw) override;
  Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
  // Lines and arcs, one per segment of non-zero length.
  Acad::ErrorStatus explode(AcDbVoidPtrArray& entities) const override;
  // Takes over an old 2D polyline (simple or curve-fit): its vertices with
  // bulges and widths, plane, elevation, thickness, closed and line-type
  // generation flags and its entity properties (dbplconvert.cpp). The source
  // stays as it is; taking over the id of a database-resident source
  // (transferId) is not modelled and gives eNotImplementedYet.
  Acad::ErrorStatus convertFrom(AcDbEntity*& source, Adesk::Boolean transferId = true);
  void dxfOutFields(AcDbDxfFiler& filer) const override;
  Acad::ErrorStatus dxfInFields(const AcDbDxfRecord& record) override;

 protected:
  AcDbPolyline(const AcDbPolyline&) = default;

 private:
  struct Vertex {
    AcGePoint2d pt;
    double bulge = 0.0;
  };
  struct Widths {
    double start = 0.0;
    double end = 0.0;
    bool isZero() const { return start == 0.0 && end == 0.0; }
  };
  // What nearly every polyline of a drawing leaves at the usual value (xy
  // plane, no elevation, thickness or width), kept apart and made only when
  // one differs. The widths are one per vertex, or none while every width
  // is zero.
  struct Rare {
    double elevation = 0.0;
    double thickness = 0.0;
    double constantWidth = 0.0;
    AcGeVector3d normal = AcGeVector3d::kZAxis;
    std::vector<Widths> widths;
  };
  static const Rare& usualRare();
  const Rare& rare() const { return m_rare.get() ? *m_rare.get() : usualRare(); }
  void setUnitNormal(const AcGeVector3d& unit);
  void setConstantWidthValue(double width);
  // The widths of vertex i (zero while the polyline keeps none).
  Widths widthsAt(size_t i) const {
    const Rare* r = m_rare.get();
    return r && !r->widths.empty() ? r->widths[i] : Widths{};
  }
  // The widths, made all zero when there were none yet.
  std::vector<Widths>& makeWidths();
  // Lets the widths go once every one is zero.
  void dropZeroWidths();
  void insertVertex(size_t index, const Vertex& v, const Widths& w);
  // Geometry of segment i in the plane: length, and for arcs centre, radius,
  // start angle and signed sweep.
  struct SegGeom {
    AcGePoint2d a, b;
    double bulge = 0.0;
    double length = 0.0;
    AcGePoint2d center;
    double radius = 0.0;
    double startAngle = 0.0;
    double sweep = 0.0;
  };
  SegGeom segment(unsigned int i) const;
  AcGePoint2d pointOnSegment(const SegGeom& s, double fraction) const;
  AcGePoint3d toWorld(const AcGePoint2d& p) const;
  AcGePoint2d toPlane(const AcGePoint3d& p) const;
  // Closest point of a segment to a plane point, as a fraction of the segment.
  double closestFraction(const SegGeom& s, const AcGePoint2d& p) const;

  // Whether the last vertex joins the first; whether line types run on along the whole polyline.
  bool m_bClosed = false;
  bool m_bPlinegen = false;
  std::pmr::vector<Vertex> m_verts;
  AcDbRarePart<Rare> m_rare;
};
