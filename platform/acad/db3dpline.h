// AcDb3dPolyline: straight segments through points in space, simple or
// spline-fit, with its vertices AcDb3dPolylineVertex (kept by the polyline,
// like the 2D polyline's). The curve runs through the shown vertices (all
// but the control vertices of a spline fit); parameter i is shown vertex i.
#pragma once

#include <memory>
#include <vector>

#include "db2dpline.h"

class AcDb3dPolylineVertex : public AcDbVertex {
  ACRX_DECLARE_MEMBERS(AcDb3dPolylineVertex)

 public:
  AcDb3dPolylineVertex() = default;
  explicit AcDb3dPolylineVertex(const AcGePoint3d& position) : m_position(position) {}
  // A copy is a vertex of no polyline.
  ACDB_DECLARE_CLONE(AcDb3dPolylineVertex)

  AcDb::Vertex3dType vertexType() const { return m_type; }
  AcGePoint3d position() const { return m_position; }
  Acad::ErrorStatus setPosition(const AcGePoint3d& p);

  void dxfOutFields(AcDbDxfFiler& filer) const override;
  Acad::ErrorStatus dxfInFields(const AcDbDxfRecord& record) override;
  std::wstring dxfName() const override { return L"VERTEX"; }

 protected:
  AcDb3dPolylineVertex(const AcDb3dPolylineVertex&) = default;

 private:
  friend class AcDb3dPolyline;
  AcDb::Vertex3dType m_type = AcDb::k3dSimpleVertex;
  AcGePoint3d m_position;
};

class AcDb3dPolyline : public AcDbCurve {
  ACRX_DECLARE_MEMBERS(AcDb3dPolyline)

 public:
  AcDb3dPolyline() = default;
  AcDb3dPolyline(AcDb::Poly3dType type, const AcGePoint3dArray& vertices, bool closed = false);
  ~AcDb3dPolyline() override = default;
  ACDB_DECLARE_CLONE(AcDb3dPolyline)

  AcDb::Poly3dType polyType() const { return m_type; }
  Acad::ErrorStatus setPolyType(AcDb::Poly3dType type);
  Acad::ErrorStatus convertToPolyType(AcDb::Poly3dType type) { return setPolyType(type); }
  Acad::ErrorStatus splineFit() { return setPolyType(AcDb::k3dCubicSplinePoly); }
  // Back to the control vertices as simple vertices.
  Acad::ErrorStatus straighten();
  Acad::ErrorStatus makeClosed();
  Acad::ErrorStatus makeOpen();
  bool isClosed() const override { return m_bClosed; }

  Acad::ErrorStatus appendVertex(AcDb3dPolylineVertex* vertex) { return m_verts.append(*this, vertex); }
  Acad::ErrorStatus appendVertex(AcDbObjectId& vertexId, AcDb3dPolylineVertex* vertex) {
    return m_verts.append(*this, vertexId, vertex);
  }
  AcDbObjectIterator* vertexIterator() const { return m_verts.newIterator(); }
  // Opens one of this polyline's vertices by id (the normal open protocol;
  // eNotInBlock for an object that is not a vertex of this polyline).
  Acad::ErrorStatus openVertex(AcDb3dPolylineVertex*& vertex, AcDbObjectId vertexId, AcDb::OpenMode mode,
                               bool openErased = false) const {
    return m_verts.open(vertex, vertexId, mode, openErased);
  }
  // The vertices that are not erased, control vertices included.
  int numVerts() const { return static_cast<int>(m_verts.live().size()); }

  Acad::ErrorStatus getStartParam(double& p) const override;
  Acad::ErrorStatus getEndParam(double& p) const override;
  Acad::ErrorStatus getPointAtParam(double param, AcGePoint3d& point) const override;
  Acad::ErrorStatus getParamAtPoint(const AcGePoint3d& point, double& param) const override;
  Acad::ErrorStatus getDistAtParam(double param, double& dist) const override;
  Acad::ErrorStatus getParamAtDist(double dist, double& param) const override;
  Acad::ErrorStatus getClosestPointTo(const AcGePoint3d& given, AcGePoint3d& closest, bool extend = false) const override;
  // The area of the shown points projected onto their best plane (zero
  // when they lie on a line).
  Acad::ErrorStatus getArea(double& area) const override;
  double length() const;

  Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
  Adesk::Boolean worldDraw(AcGiWorldDraw* worldDraw) override;
  Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
  // One line per segment of non-zero length.
  Acad::ErrorStatus explode(AcDbVoidPtrArray& entities) const override;

  void dxfOut(AcDbDxfFiler& filer) const override;
  void dxfOutFields(AcDbDxfFiler& filer) const override;
  Acad::ErrorStatus dxfInFields(const AcDbDxfRecord& record) override;
  std::wstring dxfName() const override { return L"POLYLINE"; }
  Acad::ErrorStatus dxfInVertex(const AcDbDxfRecord& record);
  void setSeqendHandle(AcDbHandle h) { m_seqendHandle = h; }

 protected:
  AcDb3dPolyline(const AcDb3dPolyline& other);
  void applyToSubents(const AcDbEntity& source) override;
  // In a database every vertex becomes an object of its own, owned by the
  // polyline, keeping the handle it was read with.
  void addedToDatabase() override { m_verts.makeResident(*this); }
  // The vertices go with the polyline (and come back with it).
  Acad::ErrorStatus subErase(bool erasing) override {
    m_verts.eraseWithPolyline(erasing);
    return Acad::eOk;
  }

 private:
  std::vector<AcGePoint3d> shownPoints() const;
  unsigned int numSegments(size_t points) const;

  AcDbVertexList<AcDb3dPolylineVertex> m_verts;
  AcDb::Poly3dType m_type = AcDb::k3dSimplePoly;
  bool m_bClosed = false;
  mutable AcDbHandle m_seqendHandle;
};
