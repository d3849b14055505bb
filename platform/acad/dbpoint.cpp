// AcDbPoint: a point entity and its DXF.
#include "dbpoint.h"

ACRX_DEFINE_MEMBERS(AcDbPoint, AcDbEntity, L"POINT")

Acad::ErrorStatus AcDbPoint::setPosition(const AcGePoint3d& p) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  m_position = p;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPoint::setNormal(const AcGeVector3d& n) {
  if (n.isZeroLength()) return Acad::eInvalidInput;
  m_normal = n.normal();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPoint::getGeomExtents(AcDbExtents& extents) const {
  extents = AcDbExtents(m_position, m_position);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPoint::transformBy(const AcGeMatrix3d& xform) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  m_position = xform * m_position;
  AcGeVector3d n = xform * m_normal;
  if (!n.isZeroLength()) m_normal = n.normal();
  return Acad::eOk;
}

void AcDbPoint::dxfOutFields(AcDbDxfFiler& filer) const {
  AcDbEntity::dxfOutFields(filer);
  filer.writeUtf8(100, "AcDbPoint");
  filer.writePoint3d(10, m_position);
  if (m_dThickness != 0.0) filer.writeDouble(39, m_dThickness);
  if (!m_normal.isEqualTo(AcGeVector3d::kZAxis)) filer.writeVector3d(210, m_normal);
}

Acad::ErrorStatus AcDbPoint::dxfInFields(const AcDbDxfRecord& record) {
  AcDbEntity::dxfInFields(record);
  const auto& pairs = record.pairs;
  for (size_t i = 0; i < pairs.size(); ++i) {
    switch (pairs[i].code) {
      case 10: m_position = AcDbDxfRecord::point(pairs, i); break;
      case 39: m_dThickness = AcDbDxfRecord::real(pairs[i]); break;
      case 210: {
        AcGePoint3d n = AcDbDxfRecord::point(pairs, i);
        if (!n.asVector().isZeroLength()) m_normal = n.asVector().normal();
        break;
      }
      default: break;
    }
  }
  return Acad::eOk;
}
