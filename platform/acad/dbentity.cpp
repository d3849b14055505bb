// AcDbEntity: colour, layer, line type and weight, visibility, extents,
// transforms and copies common to every entity.
#include "dbentity.h"

#include <cstring>

#include "dbdatabase.h"
#include "dbstub.h"
#include "dbsymtb.h"
#include "textutil.h"

ACRX_DEFINE_ABSTRACT(AcDbEntity, AcDbObject)

namespace {
ACHAR* CopyText(const std::wstring& s) {
  auto* out = new ACHAR[s.size() + 1];
  std::wcscpy(out, s.c_str());
  return out;
}

AcDbSymbolTable* TableOf(AcDbObjectId tableId) {
  AcDbStub* s = tableId.stub();
  return s && s->m_pObject ? AcDbSymbolTable::cast(s->m_pObject) : nullptr;
}

const AcDbSymbolTableRecord* RecordOf(AcDbObjectId id) {
  AcDbStub* s = id.stub();
  return s && s->m_pObject ? AcDbSymbolTableRecord::cast(s->m_pObject) : nullptr;
}

const std::wstring& LayerZeroName() {
  static const std::wstring name = L"0";
  return name;
}

const std::wstring& ByLayerName() {
  static const std::wstring name = L"ByLayer";
  return name;
}

// The layer as kept: "0" (and an empty name) as no name.
AcDbSharedName StoredLayer(std::wstring_view name) {
  if (name.empty() || name == L"0") return {};
  return AcDbSharedName(name);
}

// The line type as kept: "ByLayer" (any case) as no name.
AcDbSharedName StoredLinetype(std::wstring_view name) {
  if (win::textutil::EqualNoCase(name, L"ByLayer")) return {};
  return AcDbSharedName(name);
}
}  // namespace

void acutDelString(ACHAR*& text) {
  delete[] text;
  text = nullptr;
}

Acad::ErrorStatus acdbOpenAcDbEntity(AcDbEntity*& entity, AcDbObjectId id, AcDb::OpenMode mode, bool openErased) {
  return acdbOpenObject(entity, id, mode, openErased);
}

Acad::ErrorStatus AcDbEntity::setColor(const AcCmColor& color, bool doSubents) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  m_color = color;
  m_bColorSet = true;
  if (doSubents) applyToSubents(*this);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::setColorIndex(Adesk::UInt16 index, bool doSubents) {
  if (index > 256) return Acad::eInvalidInput;
  AcCmColor c;
  c.setColorIndex(index);
  return setColor(c, doSubents);
}

const std::wstring& AcDbEntity::layerName() const { return m_layer.textOr(LayerZeroName()); }

ACHAR* AcDbEntity::layer() const { return CopyText(layerName()); }

AcDbObjectId AcDbEntity::layerId() const {
  AcDbDatabase* db = database();
  AcDbSymbolTable* t = db ? TableOf(db->layerTableId()) : nullptr;
  AcDbObjectId id;
  if (t) t->getAt(layerName().c_str(), id);
  return id;
}

Acad::ErrorStatus AcDbEntity::setLayer(const ACHAR* name, bool doSubents, bool) {
  if (!name || !*name) return Acad::eInvalidInput;
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (AcDbDatabase* db = database()) {
    AcDbSymbolTable* t = TableOf(db->layerTableId());
    AcDbObjectId id;
    if (!t || t->getAt(name, id) != Acad::eOk) return Acad::eKeyNotFound;
    m_layer = StoredLayer(RecordOf(id)->name());
  } else {
    m_layer = StoredLayer(name);
  }
  m_bLayerSet = true;
  if (doSubents) applyToSubents(*this);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::setLayer(AcDbObjectId layerId, bool doSubents, bool allowHidden) {
  const AcDbSymbolTableRecord* rec = RecordOf(layerId);
  if (!rec || !AcDbLayerTableRecord::cast(rec) || rec->isErased()) return Acad::eWrongObjectType;
  if (database() && layerId.database() != database()) return Acad::eWrongDatabase;
  return setLayer(rec->name(), doSubents, allowHidden);
}

const std::wstring& AcDbEntity::linetypeName() const { return m_linetype.textOr(ByLayerName()); }

ACHAR* AcDbEntity::linetype() const { return CopyText(linetypeName()); }

AcDbObjectId AcDbEntity::linetypeId() const {
  AcDbDatabase* db = database();
  AcDbSymbolTable* t = db ? TableOf(db->linetypeTableId()) : nullptr;
  AcDbObjectId id;
  if (t) t->getAt(linetypeName().c_str(), id);
  return id;
}

Acad::ErrorStatus AcDbEntity::setLinetype(const ACHAR* name, bool doSubents) {
  if (!name || !*name) return Acad::eInvalidInput;
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (AcDbDatabase* db = database()) {
    AcDbSymbolTable* t = TableOf(db->linetypeTableId());
    AcDbObjectId id;
    if (!t || t->getAt(name, id) != Acad::eOk) return Acad::eKeyNotFound;
    m_linetype = StoredLinetype(RecordOf(id)->name());
  } else {
    m_linetype = StoredLinetype(name);
  }
  m_bLinetypeSet = true;
  if (doSubents) applyToSubents(*this);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::setLinetype(AcDbObjectId id, bool doSubents) {
  const AcDbSymbolTableRecord* rec = RecordOf(id);
  if (!rec || !AcDbLinetypeTableRecord::cast(rec) || rec->isErased()) return Acad::eWrongObjectType;
  if (database() && id.database() != database()) return Acad::eWrongDatabase;
  return setLinetype(rec->name(), doSubents);
}

Acad::ErrorStatus AcDbEntity::setLinetypeScale(double scale, bool doSubents) {
  if (!(scale > 0.0)) return Acad::eInvalidInput;
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  m_dLinetypeScale = scale;
  if (doSubents) applyToSubents(*this);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::setLineWeight(AcDb::LineWeight weight, bool doSubents) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  m_lineWeight = weight;
  if (doSubents) applyToSubents(*this);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::setVisibility(AcDb::Visibility v, bool doSubents) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  m_bInvisible = v == AcDb::kInvisible;
  if (doSubents) applyToSubents(*this);
  return Acad::eOk;
}

void AcDbEntity::setPropertiesFrom(const AcDbEntity& o) {
  m_color = o.m_color;
  m_layer = o.m_layer;
  m_linetype = o.m_linetype;
  m_dLinetypeScale = o.m_dLinetypeScale;
  m_lineWeight = o.m_lineWeight;
  m_bInvisible = o.m_bInvisible;
  m_bLayerSet = m_bColorSet = m_bLinetypeSet = true;
}

void AcDbEntity::setDatabaseDefaults(AcDbDatabase* db) {
  if (!db) db = database();
  if (!db) return;
  if (const AcDbSymbolTableRecord* l = RecordOf(db->clayer())) m_layer = StoredLayer(l->name());
  if (const AcDbSymbolTableRecord* lt = RecordOf(db->celtype())) m_linetype = StoredLinetype(lt->name());
  m_color = db->cecolor();
  m_dLinetypeScale = db->celtscale();
  m_lineWeight = db->celweight();
  m_bLayerSet = m_bColorSet = m_bLinetypeSet = true;
}

void AcDbEntity::applyDefaultsOnAppend(AcDbDatabase* db) {
  if (!db) return;
  if (!m_bLayerSet)
    if (const AcDbSymbolTableRecord* l = RecordOf(db->clayer())) m_layer = StoredLayer(l->name());
  if (!m_bLinetypeSet)
    if (const AcDbSymbolTableRecord* lt = RecordOf(db->celtype())) m_linetype = StoredLinetype(lt->name());
  if (!m_bColorSet) m_color = db->cecolor();
  m_bLayerSet = m_bColorSet = m_bLinetypeSet = true;
}

Acad::ErrorStatus AcDbEntity::getGeomExtents(AcDbExtents&) const { return Acad::eInvalidExtents; }

Acad::ErrorStatus AcDbEntity::transformBy(const AcGeMatrix3d&) { return Acad::eNotApplicable; }

Acad::ErrorStatus AcDbEntity::getTransformedCopy(const AcGeMatrix3d& xform, AcDbEntity*& copy) const {
  copy = nullptr;
  AcRxObject* raw = clone();
  auto* ent = AcDbEntity::cast(raw);
  if (!ent) {
    delete raw;
    return Acad::eNotApplicable;
  }
  Acad::ErrorStatus es = ent->transformBy(xform);
  if (es != Acad::eOk) {
    delete ent;
    return es;
  }
  copy = ent;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::explode(AcDbVoidPtrArray&) const { return Acad::eNotApplicable; }

void AcDbEntity::dxfOutFields(AcDbDxfFiler& filer) const {
  AcDbObject::dxfOutFields(filer);
  filer.writeUtf8(100, "AcDbEntity");
  if (filer.isPaperSpace(ownerId())) filer.writeInt(67, 1);
  filer.writeString(8, layerName());
  if (!m_linetype.isNull()) filer.writeString(6, linetypeName());
  if (m_color.colorIndex() != 256) filer.writeInt(62, m_color.colorIndex());
  if (m_color.colorMethod() == AcCmEntityColor::kByColor) filer.writeInt(420, m_color.rgb());
  if (m_lineWeight != AcDb::kLnWtByLayer) filer.writeInt(370, m_lineWeight);
  if (m_dLinetypeScale != 1.0) filer.writeDouble(48, m_dLinetypeScale);
  if (m_bInvisible) filer.writeInt(60, 1);
}

Acad::ErrorStatus AcDbEntity::dxfInFields(const AcDbDxfRecord& record) {
  for (const AcDbDxfPair& p : record.pairs) {
    switch (p.code) {
      case 8: m_layer = record.sharedText(p.value); break;
      case 6: {
        // Most entities name no line type; those that do share the name.
        AcDbSharedName name = record.sharedText(p.value);
        m_linetype = win::textutil::EqualNoCase(name.textOr(ByLayerName()), L"ByLayer") ? AcDbSharedName() : name;
        break;
      }
      case 62: {
        long long c = AcDbDxfRecord::integer(p.value);
        if (c < 0) c = -c;  // a negative colour marks an entity on a layer that is off
        m_color.setColorIndex(static_cast<Adesk::UInt16>(c <= 256 ? c : 256));
        break;
      }
      case 420: {
        long long rgb = AcDbDxfRecord::integer(p.value);
        m_color.setRGB(static_cast<Adesk::UInt8>(rgb >> 16), static_cast<Adesk::UInt8>(rgb >> 8),
                       static_cast<Adesk::UInt8>(rgb));
        break;
      }
      case 370: m_lineWeight = acdbToLineWeight(AcDbDxfRecord::integer(p.value)); break;
      case 48: m_dLinetypeScale = AcDbDxfRecord::real(p); break;
      case 60: m_bInvisible = AcDbDxfRecord::integer(p.value) != 0; break;
      default: break;
    }
  }
  if (m_layer.textOr(LayerZeroName()).empty()) m_layer = AcDbSharedName();
  if (!(m_dLinetypeScale > 0.0)) m_dLinetypeScale = 1.0;
  m_bLayerSet = m_bColorSet = m_bLinetypeSet = true;
  return Acad::eOk;
}
