// AcDbPoint: a point entity.
#pragma once

#include "dbentity.h"

class AcDbPoint : public AcDbEntity {
  ACRX_DECLARE_MEMBERS(AcDbPoint)

 public:
  AcDbPoint() = default;
  explicit AcDbPoint(const AcGePoint3d& position) : m_position(position) {}
  ACDB_DECLARE_CLONE(AcDbPoint)

  AcGePoint3d position() const { return m_position; }
  Acad::ErrorStatus setPosition(const AcGePoint3d& p);
  AcGeVector3d normal() const { return m_normal; }
  Acad::ErrorStatus setNormal(const AcGeVector3d& n);
  double thickness() const { return m_dThickness; }
  Acad::ErrorStatus setThickness(double t) { m_dThickness = t; return Acad::eOk; }

  Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
  Adesk::Boolean worldDraw(AcGiWorldDraw* worldDraw) override;
  Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
  void dxfOutFields(AcDbDxfFiler& filer) const override;
  Acad::ErrorStatus dxfInFields(const AcDbDxfRecord& record) override;

 protected:
  AcDbPoint(const AcDbPoint&) = default;

 private:
  AcGePoint3d m_position;
  AcGeVector3d m_normal = AcGeVector3d::kZAxis;
  double m_dThickness = 0.0;
};
