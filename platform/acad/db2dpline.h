// The old-style polylines kept as a POLYLINE record with VERTEX records:
// AcDb2dPolyline (simple, curve-fit or spline-fit, in the plane of its
// normal at its elevation) and its vertices AcDb2dVertex. The vertices
// belong to the polyline (deleted with it, copied with it). While the
// polyline is in a database each vertex is a database object of its own
// (handle, id, owner the polyline), opened by id; an erased vertex no longer
// counts as part of the polyline. Outside a database vertices have no ids.
//
// The curve the polyline stands for runs through its shown vertices: every
// vertex except the control vertices of a spline fit. Parameter i is shown
// vertex i; a closed polyline has a segment back to its first vertex.
#pragma once

#include <memory>
#include <vector>

#include "dbcurve.h"
#include "dbobjiter.h"
#include "dbpline.h"
#include "dbvertex.h"

namespace AcDb {
enum Poly2dType { k2dSimplePoly = 0, k2dFitCurvePoly = 1, k2dQuadSplinePoly = 2, k2dCubicSplinePoly = 3 };
enum Vertex2dType { k2dVertex = 0, k2dSplineCtlVertex = 1, k2dSplineFitVertex = 2, k2dCurveFitVertex = 3 };
enum Poly3dType { k3dSimplePoly = 0, k3dQuadSplinePoly = 1, k3dCubicSplinePoly = 2 };
enum Vertex3dType { k3dSimpleVertex = 0, k3dControlVertex = 1, k3dFitVertex = 2 };
}  // namespace AcDb

class AcDb2dPolyline;

class AcDb2dVertex : public AcDbVertex {
  ACRX_DECLARE_MEMBERS(AcDb2dVertex)

 public:
  AcDb2dVertex() = default;
  // The position is in the polyline's plane (z is ignored: the polyline's
  // elevation counts).
  explicit AcDb2dVertex(const AcGePoint3d& position, double bulge = 0.0, double startWidth = 0.0,
                        double endWidth = 0.0, double tangent = 0.0);
  // A copy is a vertex of no polyline.
  ACDB_DECLARE_CLONE(AcDb2dVertex)

  AcDb::Vertex2dType vertexType() const { return m_type; }
  AcGePoint3d position() const { return m_position; }
  Acad::ErrorStatus setPosition(const AcGePoint3d& p);
  double bulge() const { return m_dBulge; }
  Acad::ErrorStatus setBulge(double bulge);
  double startWidth() const { return m_dStartWidth; }
  Acad::ErrorStatus setStartWidth(double w);
  double endWidth() const { return m_dEndWidth; }
  Acad::ErrorStatus setEndWidth(double w);
  double tangent() const { return m_dTangent; }
  Acad::ErrorStatus setTangent(double angle);
  bool isTangentUsed() const { return m_bTangentUsed; }
  Acad::ErrorStatus useTangent() { m_bTangentUsed = true; return Acad::eOk; }
  Acad::ErrorStatus ignoreTangent() { m_bTangentUsed = false; return Acad::eOk; }

  void dxfOutFields(AcDbDxfFiler& filer) const override;
  Acad::ErrorStatus dxfInFields(const AcDbDxfRecord& record) override;
  std::wstring dxfName() const override { return L"VERTEX"; }

 protected:
  AcDb2dVertex(const AcDb2dVertex&) = default;

 private:
  friend class AcDb2dPolyline;
  AcDb::Vertex2dType m_type = AcDb::k2dVertex;
  AcGePoint3d m_position;
  double m_dBulge = 0.0;
  double m_dStartWidth = 0.0;
  double m_dEndWidth = 0.0;
  double m_dTangent = 0.0;
  bool m_bTangentUsed = false;
};

class AcDb2dPolyline : public AcDbCurve {
  ACRX_DECLARE_MEMBERS(AcDb2dPolyline)

 public:
  AcDb2dPolyline() = default;
  // A polyline of simple vertices (made fit or spline when the type says so).
  AcDb2dPolyline(AcDb::Poly2dType type, const AcGePoint3dArray& vertices, double elevation = 0.0,
                 bool closed = false, double defaultStartWidth = 0.0, double defaultEndWidth = 0.0,
                 const AcGeDoubleArray* bulges = nullptr);
  ~AcDb2dPolyline() override = default;
  ACDB_DECLARE_CLONE(AcDb2dPolyline)

  AcDb::Poly2dType polyType() const { return m_type; }
  // Refits the vertices for the type (a simple type straightens).
  Acad::ErrorStatus setPolyType(AcDb::Poly2dType type);
  Acad::ErrorStatus convertToPolyType(AcDb::Poly2dType type) { return setPolyType(type); }
  Acad::ErrorStatus curveFit() { return setPolyType(AcDb::k2dFitCurvePoly); }
  Acad::ErrorStatus splineFit() { return setPolyType(AcDb::k2dCubicSplinePoly); }
  // Back to the given vertices: generated vertices go, control vertices and
  // curve-fit vertices become simple ones without bulges.
  Acad::ErrorStatus straighten();

  Acad::ErrorStatus makeClosed();
  Acad::ErrorStatus makeOpen();
  bool isClosed() const override { return m_bClosed; }
  double elevation() const { return m_dElevation; }
  Acad::ErrorStatus setElevation(double e);
  AcGeVector3d normal() const { return m_normal; }
  Acad::ErrorStatus setNormal(const AcGeVector3d& n);
  double thickness() const { return m_dThickness; }
  Acad::ErrorStatus setThickness(double t);
  double defaultStartWidth() const { return m_dDefStart; }
  double defaultEndWidth() const { return m_dDefEnd; }
  Acad::ErrorStatus setDefaultStartWidth(double w);
  Acad::ErrorStatus setDefaultEndWidth(double w);
  bool isLinetypeGenerationOn() const { return m_bPlinegen; }
  Acad::ErrorStatus setLinetypeGenerationOn() { m_bPlinegen = true; return Acad::eOk; }
  Acad::ErrorStatus setLinetypeGenerationOff() { m_bPlinegen = false; return Acad::eOk; }

  // Takes the vertex (it gets the polyline's properties).
  Acad::ErrorStatus appendVertex(AcDb2dVertex* vertex) { return m_verts.append(*this, vertex); }
  Acad::ErrorStatus appendVertex(AcDbObjectId& vertexId, AcDb2dVertex* vertex) {
    return m_verts.append(*this, vertexId, vertex);
  }
  // Every vertex not erased, control vertices included (with their ids while
  // the polyline is in a database); the caller deletes the iterator.
  AcDbObjectIterator* vertexIterator() const { return m_verts.newIterator(); }
  // Opens one of this polyline's vertices by id (the normal open protocol;
  // eNotInBlock for an object that is not a vertex of this polyline).
  Acad::ErrorStatus openVertex(AcDb2dVertex*& vertex, AcDbObjectId vertexId, AcDb::OpenMode mode,
                               bool openErased = false) const {
    return m_verts.open(vertex, vertexId, mode, openErased);
  }
  // The vertices that are not erased, control vertices included.
  int numVerts() const { return static_cast<int>(m_verts.live().size()); }
  // The vertex (which must be one of this polyline's) in world coordinates.
  AcGePoint3d vertexPosition(const AcDb2dVertex& vertex) const;

  Acad::ErrorStatus getStartParam(double& p) const override;
  Acad::ErrorStatus getEndParam(double& p) const override;
  Acad::ErrorStatus getPointAtParam(double param, AcGePoint3d& point) const override;
  Acad::ErrorStatus getParamAtPoint(const AcGePoint3d& point, double& param) const override;
  Acad::ErrorStatus getDistAtParam(double param, double& dist) const override;
  Acad::ErrorStatus getParamAtDist(double dist, double& param) const override;
  Acad::ErrorStatus getClosestPointTo(const AcGePoint3d& given, AcGePoint3d& closest, bool extend = false) const override;
  Acad::ErrorStatus getArea(double& area) const override;
  double length() const;

  Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
  Adesk::Boolean worldDraw(AcGiWorldDraw* worldDraw) override;
  Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
  // Lines and arcs of the shown curve.
  Acad::ErrorStatus explode(AcDbVoidPtrArray& entities) const override;

  // POLYLINE, its VERTEX records and SEQEND.
  void dxfOut(AcDbDxfFiler& filer) const override;
  void dxfOutFields(AcDbDxfFiler& filer) const override;
  Acad::ErrorStatus dxfInFields(const AcDbDxfRecord& record) override;
  std::wstring dxfName() const override { return L"POLYLINE"; }
  // One VERTEX record read after the POLYLINE; fails for vertices of other kinds.
  Acad::ErrorStatus dxfInVertex(const AcDbDxfRecord& record);
  void setSeqendHandle(AcDbHandle h) { m_seqendHandle = h; }

 protected:
  AcDb2dPolyline(const AcDb2dPolyline& other);
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
  // The shown curve as a lightweight polyline (same plane, widths, bulges).
  std::unique_ptr<AcDbPolyline> shown() const;
  // The given vertices: control vertices of a spline, all but generated
  // vertices otherwise.
  std::vector<AcDb2dVertex*> givenVertices() const;

  AcDbVertexList<AcDb2dVertex> m_verts;
  AcDb::Poly2dType m_type = AcDb::k2dSimplePoly;
  bool m_bClosed = false;
  bool m_bPlinegen = false;
  double m_dElevation = 0.0;
  double m_dThickness = 0.0;
  double m_dDefStart = 0.0;
  double m_dDefEnd = 0.0;
  AcGeVector3d m_normal = AcGeVector3d::kZAxis;
  mutable AcDbHandle m_seqendHandle;
};
