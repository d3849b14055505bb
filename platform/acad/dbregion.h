// AcDbRegion: a flat area bounded by one closed loop of lines and arcs,
// made from curves. In DXF the region is a REGION entity whose modeler text
// carries the loop (plane and vertices with bulges), so that a region
// written and read again has the same boundary and area. Regions of other
// programs (with real modeler data) are kept as read.
#pragma once

#include <memory>

#include "dbentity.h"
#include "dbpline.h"

class AcDbRegion : public AcDbEntity {
  ACRX_DECLARE_MEMBERS(AcDbRegion)

 public:
  AcDbRegion() = default;
  ~AcDbRegion() override = default;
  ACDB_DECLARE_CLONE(AcDbRegion)

  // One region per closed loop the curves form: lines, arcs, circles,
  // lightweight and old polylines, joined end to start in any order and
  // direction. New regions are appended to regions (the caller owns them).
  // Curves that form no closed loop, curves of other kinds or curves not in
  // one plane give an error and no regions.
  static Acad::ErrorStatus createFromCurves(const AcDbVoidPtrArray& curveSegments, AcDbVoidPtrArray& regions);

  Acad::ErrorStatus getArea(double& area) const;
  Acad::ErrorStatus getPerimeter(double& perimeter) const;
  AcGeVector3d normal() const;
  bool isNull() const { return !m_loop || m_loop->numVerts() < 2; }
  // The boundary as a closed lightweight polyline (the caller owns it).
  AcDbPolyline* boundary() const;

  Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
  Adesk::Boolean worldDraw(AcGiWorldDraw* worldDraw) override;
  Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
  // The boundary's lines and arcs.
  Acad::ErrorStatus explode(AcDbVoidPtrArray& entities) const override;
  void dxfOutFields(AcDbDxfFiler& filer) const override;
  Acad::ErrorStatus dxfInFields(const AcDbDxfRecord& record) override;

 protected:
  AcDbRegion(const AcDbRegion& other);

 private:
  std::unique_ptr<AcDbPolyline> m_loop;
};
