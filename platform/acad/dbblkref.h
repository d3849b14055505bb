// AcDbBlockReference: an insertion of a block with position, rotation, scale
// factors and normal.
#pragma once

#include "dbentity.h"

class AcGeScale3d {
 public:
  AcGeScale3d() = default;
  explicit AcGeScale3d(double f) : sx(f), sy(f), sz(f) {}
  AcGeScale3d(double x, double y, double z) : sx(x), sy(y), sz(z) {}
  double operator[](int i) const { return i == 0 ? sx : i == 1 ? sy : sz; }
  bool operator==(const AcGeScale3d& o) const { return sx == o.sx && sy == o.sy && sz == o.sz; }
  double sx = 1.0, sy = 1.0, sz = 1.0;
};

class AcDbBlockReference : public AcDbEntity {
  ACRX_DECLARE_MEMBERS(AcDbBlockReference)

 public:
  AcDbBlockReference() = default;
  AcDbBlockReference(const AcGePoint3d& position, AcDbObjectId blockTableRecord);
  ACDB_DECLARE_CLONE(AcDbBlockReference)

  AcDbObjectId blockTableRecord() const;
  Acad::ErrorStatus setBlockTableRecord(AcDbObjectId id);
  const std::wstring& blockName() const { return m_block; }
  AcGePoint3d position() const { return m_position; }
  Acad::ErrorStatus setPosition(const AcGePoint3d& p);
  double rotation() const { return m_dRotation; }
  Acad::ErrorStatus setRotation(double a);
  AcGeScale3d scaleFactors() const { return m_scale; }
  Acad::ErrorStatus setScaleFactors(const AcGeScale3d& s);
  AcGeVector3d normal() const { return m_normal; }
  Acad::ErrorStatus setNormal(const AcGeVector3d& n);
  // Block coordinates to world: base point, scale, rotation, plane, position.
  AcGeMatrix3d blockTransform() const;
  Acad::ErrorStatus setBlockTransform(const AcGeMatrix3d& m);

  // The block's entities' extents carried through the block transform.
  Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;
  Adesk::Boolean worldDraw(AcGiWorldDraw* worldDraw) override;
  Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
  // Transformed copies of the block's entities.
  Acad::ErrorStatus explode(AcDbVoidPtrArray& entities) const override;
  void dxfOutFields(AcDbDxfFiler& filer) const override;
  Acad::ErrorStatus dxfInFields(const AcDbDxfRecord& record) override;
  void setBlockName(const std::wstring& name) { m_block = name; }

 protected:
  AcDbBlockReference(const AcDbBlockReference&) = default;

 private:
  std::wstring m_block;  // the block by name, so that copies into other drawings keep it
  AcDbObjectId m_blockId;
  AcGePoint3d m_position;
  double m_dRotation = 0.0;
  AcGeScale3d m_scale;
  AcGeVector3d m_normal = AcGeVector3d::kZAxis;
};
