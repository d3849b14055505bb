// AcDbBlockReference: position, rotation, scale and normal, its transform,
// extents, explosion and DXF.
#include "dbblkref.h"

#include <cmath>

#include "dbdatabase.h"
#include "dbgeutil.h"
#include "dbstub.h"
#include "dbsymtb.h"

using namespace acdbgeo;

ACRX_DEFINE_MEMBERS(AcDbBlockReference, AcDbEntity, L"INSERT")

namespace {
const AcDbBlockTableRecord* BlockOf(AcDbObjectId id) {
  AcDbStub* s = id.stub();
  auto* rec = s && s->m_pObject ? AcDbBlockTableRecord::cast(s->m_pObject) : nullptr;
  return rec && !rec->isErased() ? rec : nullptr;
}
}  // namespace

AcDbBlockReference::AcDbBlockReference(const AcGePoint3d& position, AcDbObjectId blockTableRecord)
    : m_position(position) {
  if (const AcDbBlockTableRecord* rec = BlockOf(blockTableRecord)) {
    m_block = rec->name();
    m_blockId = blockTableRecord;
  }
}

AcDbObjectId AcDbBlockReference::blockTableRecord() const {
  AcDbDatabase* db = database();
  if (!db) db = m_blockId.database();
  if (!db) return {};
  AcDbStub* s = db->blockTableId().stub();
  auto* table = s && s->m_pObject ? AcDbSymbolTable::cast(s->m_pObject) : nullptr;
  AcDbObjectId id;
  if (table) table->getAt(m_block.c_str(), id);
  return id;
}

Acad::ErrorStatus AcDbBlockReference::setBlockTableRecord(AcDbObjectId id) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  const AcDbBlockTableRecord* rec = BlockOf(id);
  if (!rec) return Acad::eWrongObjectType;
  if (database() && id.database() != database()) return Acad::eWrongDatabase;
  m_block = rec->name();
  m_blockId = id;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockReference::setPosition(const AcGePoint3d& p) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  m_position = p;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockReference::setRotation(double a) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  m_dRotation = NormalizeAngle(a);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockReference::setScaleFactors(const AcGeScale3d& s) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (s.sx == 0.0 || s.sy == 0.0 || s.sz == 0.0) return Acad::eInvalidInput;
  m_scale = s;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockReference::setNormal(const AcGeVector3d& n) {
  if (n.isZeroLength()) return Acad::eInvalidInput;
  m_normal = n.normal();
  return Acad::eOk;
}

AcGeMatrix3d AcDbBlockReference::blockTransform() const {
  AcGePoint3d origin;
  if (const AcDbBlockTableRecord* rec = BlockOf(blockTableRecord())) origin = rec->origin();
  AcGeMatrix3d scale;
  scale.entry[0][0] = m_scale.sx;
  scale.entry[1][1] = m_scale.sy;
  scale.entry[2][2] = m_scale.sz;
  return AcGeMatrix3d::translation(m_position.asVector()) * AcGeMatrix3d::planeToWorld(m_normal) *
         AcGeMatrix3d::rotation(m_dRotation, AcGeVector3d::kZAxis) * scale *
         AcGeMatrix3d::translation(-origin.asVector());
}

Acad::ErrorStatus AcDbBlockReference::setBlockTransform(const AcGeMatrix3d& m) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  AcGePoint3d o;
  AcGeVector3d x, y, z;
  m.getCoordSystem(o, x, y, z);
  double sx = x.length(), sy = y.length(), sz = z.length();
  if (sx == 0 || sy == 0 || sz == 0) return Acad::eInvalidInput;
  AcGeVector3d n = x.crossProduct(y).normal();
  if (z.dotProduct(n) < 0) sz = -sz;
  AcGePoint3d origin;
  if (const AcDbBlockTableRecord* rec = BlockOf(blockTableRecord())) origin = rec->origin();
  m_normal = n;
  m_scale = AcGeScale3d(sx, sy, sz);
  m_dRotation = AngleInPlane(AcGePoint3d::kOrigin, n, AcGePoint3d::kOrigin + x);
  m_position = m * origin;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockReference::getGeomExtents(AcDbExtents& extents) const {
  extents = AcDbExtents();
  const AcDbBlockTableRecord* rec = BlockOf(blockTableRecord());
  if (!rec) {
    extents.addPoint(m_position);
    return Acad::eOk;
  }
  AcGeMatrix3d m = blockTransform();
  for (const AcDbObjectId& id : rec->entityIds()) {
    AcDbStub* s = id.stub();
    auto* ent = s && s->m_pObject ? AcDbEntity::cast(s->m_pObject) : nullptr;
    if (!ent || ent->isErased() || ent == this) continue;
    AcDbExtents e;
    if (ent->getGeomExtents(e) != Acad::eOk) continue;
    e.transformBy(m);
    extents.addExt(e);
  }
  if (extents.isEmpty()) extents.addPoint(m_position);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockReference::transformBy(const AcGeMatrix3d& xform) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  return setBlockTransform(xform * blockTransform());
}

Acad::ErrorStatus AcDbBlockReference::explode(AcDbVoidPtrArray& entities) const {
  const AcDbBlockTableRecord* rec = BlockOf(blockTableRecord());
  if (!rec) return Acad::eNotApplicable;
  AcGeMatrix3d m = blockTransform();
  for (const AcDbObjectId& id : rec->entityIds()) {
    AcDbStub* s = id.stub();
    auto* ent = s && s->m_pObject ? AcDbEntity::cast(s->m_pObject) : nullptr;
    if (!ent || ent->isErased()) continue;
    AcDbEntity* copy = nullptr;
    if (ent->getTransformedCopy(m, copy) == Acad::eOk) entities.append(copy);
  }
  return Acad::eOk;
}

void AcDbBlockReference::dxfOutFields(AcDbDxfFiler& filer) const {
  AcDbEntity::dxfOutFields(filer);
  filer.writeUtf8(100, "AcDbBlockReference");
  filer.writeString(2, m_block);
  filer.writePoint3d(10, AcGeMatrix3d::worldToPlane(m_normal) * m_position);
  if (m_scale.sx != 1.0) filer.writeDouble(41, m_scale.sx);
  if (m_scale.sy != 1.0) filer.writeDouble(42, m_scale.sy);
  if (m_scale.sz != 1.0) filer.writeDouble(43, m_scale.sz);
  if (m_dRotation != 0.0) filer.writeDouble(50, m_dRotation * 180.0 / kPi);
  if (!m_normal.isEqualTo(AcGeVector3d::kZAxis)) filer.writeVector3d(210, m_normal);
}

Acad::ErrorStatus AcDbBlockReference::dxfInFields(const AcDbDxfRecord& record) {
  AcDbEntity::dxfInFields(record);
  const auto& pairs = record.pairs;
  AcGePoint3d pos;
  for (size_t i = 0; i < pairs.size(); ++i) {
    const AcDbDxfPair& p = pairs[i];
    switch (p.code) {
      case 2: m_block = record.text(p.value); break;
      case 10: pos = AcDbDxfRecord::point(pairs, i); break;
      case 41: m_scale.sx = AcDbDxfRecord::real(p); break;
      case 42: m_scale.sy = AcDbDxfRecord::real(p); break;
      case 43: m_scale.sz = AcDbDxfRecord::real(p); break;
      case 50: m_dRotation = NormalizeAngle(AcDbDxfRecord::real(p) * kPi / 180.0); break;
      case 210: {
        AcGePoint3d n = AcDbDxfRecord::point(pairs, i);
        if (!n.asVector().isZeroLength()) m_normal = n.asVector().normal();
        break;
      }
      default: break;
    }
  }
  if (m_scale.sx == 0.0) m_scale.sx = 1.0;
  if (m_scale.sy == 0.0) m_scale.sy = 1.0;
  if (m_scale.sz == 0.0) m_scale.sz = 1.0;
  m_position = AcGeMatrix3d::planeToWorld(m_normal) * pos;
  return m_block.empty() ? Acad::eMissingDxfField : Acad::eOk;
}
