// Symbol tables and records (layers, line types, text styles, blocks, views,
// registered applications): lookup without regard to case, iteration, DXF.
#include "dbsymtb.h"

#include <cmath>
#include <cwctype>

#include "dbdatabase.h"
#include "dbentity.h"
#include "dbstub.h"
#include "textutil.h"

ACRX_DEFINE_ABSTRACT(AcDbSymbolTableRecord, AcDbObject)
ACRX_DEFINE_ABSTRACT(AcDbSymbolTable, AcDbObject)
ACRX_DEFINE_MEMBERS(AcDbLayerTableRecord, AcDbSymbolTableRecord, L"LAYER")
ACRX_DEFINE_MEMBERS(AcDbLayerTable, AcDbSymbolTable, L"TABLE")
ACRX_DEFINE_MEMBERS(AcDbLinetypeTableRecord, AcDbSymbolTableRecord, L"LTYPE")
ACRX_DEFINE_MEMBERS(AcDbLinetypeTable, AcDbSymbolTable, L"TABLE")
ACRX_DEFINE_MEMBERS(AcDbTextStyleTableRecord, AcDbSymbolTableRecord, L"STYLE")
ACRX_DEFINE_MEMBERS(AcDbTextStyleTable, AcDbSymbolTable, L"TABLE")
ACRX_DEFINE_MEMBERS(AcDbRegAppTableRecord, AcDbSymbolTableRecord, L"APPID")
ACRX_DEFINE_MEMBERS(AcDbRegAppTable, AcDbSymbolTable, L"TABLE")
ACRX_DEFINE_ABSTRACT(AcDbAbstractViewTableRecord, AcDbSymbolTableRecord)
ACRX_DEFINE_MEMBERS(AcDbViewTableRecord, AcDbAbstractViewTableRecord, L"VIEW")
ACRX_DEFINE_MEMBERS(AcDbViewTable, AcDbSymbolTable, L"TABLE")
ACRX_DEFINE_MEMBERS(AcDbBlockTableRecord, AcDbSymbolTableRecord, L"BLOCK_RECORD")
ACRX_DEFINE_MEMBERS(AcDbBlockTable, AcDbSymbolTable, L"TABLE")

namespace {
using win::textutil::EqualNoCase;
}  // namespace

// ---- records --------------------------------------------------------------

Acad::ErrorStatus AcDbSymbolTableRecord::getName(ACHAR*& name) const {
  name = new ACHAR[m_name.size() + 1];
  std::wcscpy(name, m_name.c_str());
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTableRecord::getName(const ACHAR*& name) const {
  name = m_name.c_str();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTableRecord::setName(const ACHAR* name) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!name || !*name) return Acad::eInvalidSymbolTableName;
  for (const ACHAR* c = name; *c; ++c)
    if (std::wcschr(L"<>/\\\":;?,=`", *c) || *c < 32) return Acad::eInvalidSymbolTableName;
  // A member of a table may not take the name of another member.
  if (!ownerId().isNull()) {
    AcDbStub* s = ownerId().stub();
    if (auto* table = s && s->m_pObject ? AcDbSymbolTable::cast(s->m_pObject) : nullptr) {
      AcDbObjectId other;
      if (table->getAt(name, other) == Acad::eOk && other != objectId()) return Acad::eDuplicateRecordName;
    }
  }
  m_name = name;
  return Acad::eOk;
}

void AcDbSymbolTableRecord::dxfOutFields(AcDbDxfFiler& filer) const {
  AcDbObject::dxfOutFields(filer);
  filer.writeUtf8(100, "AcDbSymbolTableRecord");
  filer.writeUtf8(100, recordMarker());
  filer.writeString(2, m_name);
  filer.writeInt(70, m_nFlags);
}

Acad::ErrorStatus AcDbSymbolTableRecord::dxfInFields(const AcDbDxfRecord& record) {
  for (const AcDbDxfPair& p : record.pairs) {
    if (p.code == 2) m_name = record.text(p.value);
    else if (p.code == 70) m_nFlags = static_cast<Adesk::Int16>(AcDbDxfRecord::integer(p.value));
  }
  return m_name.empty() ? Acad::eMissingDxfField : Acad::eOk;
}

// ---- tables ---------------------------------------------------------------

AcDbObjectId AcDbSymbolTable::findName(const ACHAR* name, bool erased) const {
  if (!name) return {};
  AcDbObjectId erasedHit;
  for (const AcDbObjectId& id : m_records) {
    AcDbStub* s = id.stub();
    if (!s || !s->m_pObject) continue;
    auto* rec = static_cast<AcDbSymbolTableRecord*>(s->m_pObject);
    if (!EqualNoCase(rec->name(), name)) continue;
    if (!rec->isErased()) return id;
    if (erased) erasedHit = id;
  }
  return erasedHit;
}

Acad::ErrorStatus AcDbSymbolTable::getAt(const ACHAR* name, AcDbObjectId& id, bool getErasedRecord) const {
  id = findName(name, getErasedRecord);
  return id.isNull() ? Acad::eKeyNotFound : Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTable::getAt(const ACHAR* name, AcDbSymbolTableRecord*& record, AcDb::OpenMode mode,
                                         bool openErasedRecord) const {
  record = nullptr;
  AcDbObjectId id;
  Acad::ErrorStatus es = getAt(name, id, openErasedRecord);
  if (es != Acad::eOk) return es;
  return acdbOpenObject(record, id, mode, openErasedRecord);
}

bool AcDbSymbolTable::has(const ACHAR* name) const { return !findName(name, false).isNull(); }

bool AcDbSymbolTable::has(AcDbObjectId id) const {
  for (const AcDbObjectId& r : m_records)
    if (r == id) return !id.isErased();
  return false;
}

Acad::ErrorStatus AcDbSymbolTable::add(AcDbObjectId& id, AcDbSymbolTableRecord* record) {
  id.setNull();
  if (!record) return Acad::eNullObjectPointer;
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!record->isKindOf(recordClass())) return Acad::eWrongObjectType;
  if (!record->isNewObject()) return Acad::eAlreadyInDb;
  if (!*record->name()) return Acad::eInvalidSymbolTableName;
  if (has(record->name())) return Acad::eDuplicateRecordName;
  AcDbDatabase* db = database();
  if (!db) return Acad::eNoDatabase;
  record->setOwnerId(objectId());
  Acad::ErrorStatus es = db->addAcDbObject(id, record);
  if (es != Acad::eOk) return es;
  m_records.push_back(id);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTable::add(AcDbSymbolTableRecord* record) {
  AcDbObjectId id;
  return add(id, record);
}

void AcDbSymbolTable::adoptRecord(AcDbObjectId id) { m_records.push_back(id); }

Acad::ErrorStatus AcDbSymbolTable::newIterator(AcDbSymbolTableIterator*& iterator, bool atBeginning,
                                               bool skipDeleted) const {
  iterator = new AcDbSymbolTableIterator(m_records, atBeginning, skipDeleted);
  return Acad::eOk;
}

void AcDbSymbolTable::dxfOutFields(AcDbDxfFiler& filer) const {
  AcDbObject::dxfOutFields(filer);
  filer.writeUtf8(100, "AcDbSymbolTable");
  int n = 0;
  for (const AcDbObjectId& id : m_records)
    if (!id.isErased() && id.isResident()) ++n;
  filer.writeInt(70, n);
}

AcDbSymbolTableIterator::AcDbSymbolTableIterator(const std::vector<AcDbObjectId>& ids, bool atBeginning,
                                                 bool skipDeleted)
    : m_ids(ids) {
  start(atBeginning, skipDeleted);
}

void AcDbSymbolTableIterator::start(bool atBeginning, bool skipDeleted) {
  m_bSkipDeleted = skipDeleted;
  m_nPos = atBeginning ? 0 : static_cast<int>(m_ids.size()) - 1;
  skip(atBeginning);
}

bool AcDbSymbolTableIterator::done() const { return m_nPos < 0 || m_nPos >= static_cast<int>(m_ids.size()); }

void AcDbSymbolTableIterator::skip(bool forward) {
  while (!done()) {
    const AcDbObjectId& id = m_ids[static_cast<size_t>(m_nPos)];
    if (id.isResident() && !(m_bSkipDeleted && id.isErased())) break;
    m_nPos += forward ? 1 : -1;
  }
}

void AcDbSymbolTableIterator::step(bool forward, bool skipDeleted) {
  m_bSkipDeleted = skipDeleted;
  if (done()) return;
  m_nPos += forward ? 1 : -1;
  skip(forward);
}

Acad::ErrorStatus AcDbSymbolTableIterator::getRecordId(AcDbObjectId& id) const {
  if (done()) return Acad::eInvalidIndex;
  id = m_ids[static_cast<size_t>(m_nPos)];
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTableIterator::getRecord(AcDbSymbolTableRecord*& record, AcDb::OpenMode mode,
                                                     bool openErased) const {
  record = nullptr;
  AcDbObjectId id;
  Acad::ErrorStatus es = getRecordId(id);
  return es == Acad::eOk ? acdbOpenObject(record, id, mode, openErased) : es;
}

// ---- layers ---------------------------------------------------------------

AcDbLayerTableRecord::AcDbLayerTableRecord() { m_color.setColorIndex(7); }

Acad::ErrorStatus AcDbLayerTableRecord::setIsFrozen(bool frozen) {
  m_nFlags = static_cast<Adesk::Int16>(frozen ? (m_nFlags | 1) : (m_nFlags & ~1));
  return Acad::eOk;
}

void AcDbLayerTableRecord::setIsLocked(bool locked) {
  m_nFlags = static_cast<Adesk::Int16>(locked ? (m_nFlags | 4) : (m_nFlags & ~4));
}

AcDbObjectId AcDbLayerTableRecord::linetypeObjectId() const {
  AcDbDatabase* db = database();
  if (!db) return {};
  AcDbStub* s = db->linetypeTableId().stub();
  auto* table = s && s->m_pObject ? AcDbSymbolTable::cast(s->m_pObject) : nullptr;
  AcDbObjectId id;
  if (table) table->getAt(m_linetype.c_str(), id);
  return id;
}

Acad::ErrorStatus AcDbLayerTableRecord::setLinetypeObjectId(AcDbObjectId id) {
  AcDbStub* s = id.stub();
  auto* rec = s && s->m_pObject ? AcDbLinetypeTableRecord::cast(s->m_pObject) : nullptr;
  if (!rec) return Acad::eWrongObjectType;
  m_linetype = rec->name();
  return Acad::eOk;
}

void AcDbLayerTableRecord::dxfOutFields(AcDbDxfFiler& filer) const {
  AcDbSymbolTableRecord::dxfOutFields(filer);
  int index = m_color.colorIndex();
  if (index < 1 || index > 255) index = 7;
  filer.writeInt(62, m_bOff ? -index : index);
  if (m_color.colorMethod() == AcCmEntityColor::kByColor) filer.writeInt(420, m_color.rgb());
  filer.writeString(6, m_linetype);
  if (!m_bPlottable) filer.writeInt(290, 0);
  filer.writeInt(370, m_lineWeight);
}

Acad::ErrorStatus AcDbLayerTableRecord::dxfInFields(const AcDbDxfRecord& record) {
  Acad::ErrorStatus es = AcDbSymbolTableRecord::dxfInFields(record);
  for (const AcDbDxfPair& p : record.pairs) {
    switch (p.code) {
      case 62: {
        long long c = AcDbDxfRecord::integer(p.value);
        m_bOff = c < 0;
        long long index = c < 0 ? -c : c;
        m_color.setColorIndex(static_cast<Adesk::UInt16>(index >= 1 && index <= 255 ? index : 7));
        break;
      }
      case 420: {
        long long rgb = AcDbDxfRecord::integer(p.value);
        m_color.setRGB(static_cast<Adesk::UInt8>(rgb >> 16), static_cast<Adesk::UInt8>(rgb >> 8),
                       static_cast<Adesk::UInt8>(rgb));
        break;
      }
      case 6: m_linetype = record.text(p.value); break;
      case 290: m_bPlottable = AcDbDxfRecord::integer(p.value) != 0; break;
      case 370: m_lineWeight = acdbToLineWeight(AcDbDxfRecord::integer(p.value)); break;
      default: break;
    }
  }
  return es;
}

// ---- line types -------------------------------------------------------------

void AcDbLinetypeTableRecord::setNumDashes(int count) { m_dashes.resize(static_cast<size_t>(count < 0 ? 0 : count)); }

double AcDbLinetypeTableRecord::dashLengthAt(int index) const {
  return index >= 0 && index < numDashes() ? m_dashes[static_cast<size_t>(index)].length : 0.0;
}

Acad::ErrorStatus AcDbLinetypeTableRecord::setDashLengthAt(int index, double value) {
  if (index < 0 || index >= numDashes()) return Acad::eInvalidIndex;
  m_dashes[static_cast<size_t>(index)].length = value;
  return Acad::eOk;
}

void AcDbLinetypeTableRecord::setElementAt(int index, const Element& element) {
  if (index >= 0 && index < numDashes()) m_dashes[static_cast<size_t>(index)].element = element;
}

void AcDbLinetypeTableRecord::dxfOutFields(AcDbDxfFiler& filer) const {
  AcDbSymbolTableRecord::dxfOutFields(filer);
  filer.writeString(3, m_comments);
  filer.writeInt(72, 65);
  filer.writeInt(73, numDashes());
  filer.writeDouble(40, m_dPatternLength);
  for (const Dash& d : m_dashes) {
    filer.writeDouble(49, d.length);
    filer.writeInt(74, d.element.kind);
    if (d.element.kind == 0) continue;
    filer.writeInt(75, d.element.shapeNumber);
    AcDbObjectId styleId;
    if (AcDbDatabase* db = database()) {
      AcDbStub* s = db->textStyleTableId().stub();
      if (auto* t = s && s->m_pObject ? AcDbSymbolTable::cast(s->m_pObject) : nullptr)
        t->getAt(d.element.styleName.c_str(), styleId);
    }
    filer.writeObjectId(340, styleId);
    filer.writeDouble(46, d.element.scale);
    filer.writeDouble(50, d.element.rotation);
    filer.writeDouble(44, d.element.xOffset);
    filer.writeDouble(45, d.element.yOffset);
    if (d.element.kind & 2) filer.writeString(9, d.element.text);
  }
}

Acad::ErrorStatus AcDbLinetypeTableRecord::dxfInFields(const AcDbDxfRecord& record) {
  Acad::ErrorStatus es = AcDbSymbolTableRecord::dxfInFields(record);
  m_dashes.clear();
  for (const AcDbDxfPair& p : record.pairs) {
    Element* e = m_dashes.empty() ? nullptr : &m_dashes.back().element;
    switch (p.code) {
      case 3: m_comments = record.text(p.value); break;
      case 40: m_dPatternLength = AcDbDxfRecord::real(p); break;
      case 49: m_dashes.push_back({AcDbDxfRecord::real(p), {}}); break;
      case 74: if (e) e->kind = static_cast<int>(AcDbDxfRecord::integer(p.value)); break;
      case 75: if (e) e->shapeNumber = static_cast<int>(AcDbDxfRecord::integer(p.value)); break;
      case 340:
        if (e) {
          AcDbStub* s = record.idFromHandle(p.value).stub();
          if (auto* st = s && s->m_pObject ? AcDbSymbolTableRecord::cast(s->m_pObject) : nullptr) e->styleName = st->name();
        }
        break;
      case 46: if (e) e->scale = AcDbDxfRecord::real(p); break;
      case 50: if (e) e->rotation = AcDbDxfRecord::real(p); break;
      case 44: if (e) e->xOffset = AcDbDxfRecord::real(p); break;
      case 45: if (e) e->yOffset = AcDbDxfRecord::real(p); break;
      case 9: if (e) e->text = record.text(p.value); break;
      default: break;
    }
  }
  return es;
}

// ---- text styles ------------------------------------------------------------

Acad::ErrorStatus AcDbTextStyleTableRecord::setTextSize(double size) {
  if (!(size >= 0.0)) return Acad::eNegativeValueNotAllowed;
  m_dTextSize = size;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbTextStyleTableRecord::setXScale(double scale) {
  if (!(scale > 0.0)) return Acad::eInvalidInput;
  m_dXScale = scale;
  return Acad::eOk;
}

namespace {
bool IsFileName(const ACHAR* name) {
  if (!name) return false;
  for (const ACHAR* c = name; *c; ++c)
    if (std::wcschr(L"<>\"|?*", *c) || *c < 32) return false;
  return true;
}
}  // namespace

Acad::ErrorStatus AcDbTextStyleTableRecord::setFileName(const ACHAR* name) {
  if (!IsFileName(name)) return Acad::eInvalidInput;
  m_file = name;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbTextStyleTableRecord::setBigFontFileName(const ACHAR* name) {
  if (!IsFileName(name)) return Acad::eInvalidInput;
  m_bigFont = name;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbTextStyleTableRecord::setFont(const ACHAR* typeface, bool bold, bool italic, int charset,
                                                    int pitchAndFamily) {
  m_typeface = typeface ? typeface : L"";
  m_bBold = bold;
  m_bItalic = italic;
  m_nCharset = charset;
  m_nPitchAndFamily = pitchAndFamily;
  // Files keep the typeface as the style's extended data of "ACAD".
  AcDbTypedValueList items;
  if (!m_typeface.empty()) {
    m_file.clear();
    AcDbTypedValue face;
    face.code = 1000;
    face.type = RTSTR;
    face.text = m_typeface;
    AcDbTypedValue flags;
    flags.code = 1071;
    flags.type = RTLONG;
    flags.integer = (italic ? 0x01000000 : 0) | (bold ? 0x02000000 : 0) | ((charset & 0xFF) << 8) |
                    (pitchAndFamily & 0xFF);
    items = {face, flags};
  }
  replaceXData(L"ACAD", std::move(items));
  return Acad::eOk;
}

Acad::ErrorStatus AcDbTextStyleTableRecord::font(ACHAR*& typeface, bool& bold, bool& italic, int& charset,
                                                 int& pitchAndFamily) const {
  typeface = new ACHAR[m_typeface.size() + 1];
  std::wcscpy(typeface, m_typeface.c_str());
  bold = m_bBold;
  italic = m_bItalic;
  charset = m_nCharset;
  pitchAndFamily = m_nPitchAndFamily;
  return Acad::eOk;
}

void AcDbTextStyleTableRecord::dxfOutFields(AcDbDxfFiler& filer) const {
  AcDbSymbolTableRecord::dxfOutFields(filer);
  filer.writeDouble(40, m_dTextSize);
  filer.writeDouble(41, m_dXScale);
  filer.writeDouble(50, m_dObliquing);
  filer.writeInt(71, m_nGenFlags);
  filer.writeDouble(42, m_dPriorSize);
  filer.writeString(3, m_file);
  filer.writeString(4, m_bigFont);
}

Acad::ErrorStatus AcDbTextStyleTableRecord::dxfInFields(const AcDbDxfRecord& record) {
  Acad::ErrorStatus es = AcDbSymbolTableRecord::dxfInFields(record);
  for (const AcDbDxfPair& p : record.pairs) {
    switch (p.code) {
      case 40: m_dTextSize = AcDbDxfRecord::real(p); break;
      case 41: m_dXScale = AcDbDxfRecord::real(p); break;
      case 50: m_dObliquing = AcDbDxfRecord::real(p); break;
      case 71: m_nGenFlags = static_cast<Adesk::UInt8>(AcDbDxfRecord::integer(p.value)); break;
      case 42: m_dPriorSize = AcDbDxfRecord::real(p); break;
      case 3: m_file = record.text(p.value); break;
      case 4: m_bigFont = record.text(p.value); break;
      default: break;
    }
  }
  if (resbuf* rb = xData(L"ACAD")) {
    for (resbuf* r = rb->rbnext; r; r = r->rbnext) {
      if (r->restype == 1000 && m_typeface.empty()) m_typeface = r->resval.rstring;
      if (r->restype == 1071) {
        Adesk::Int32 f = r->resval.rlong;
        m_bItalic = (f & 0x01000000) != 0;
        m_bBold = (f & 0x02000000) != 0;
        m_nCharset = (f >> 8) & 0xFF;
        m_nPitchAndFamily = f & 0xFF;
      }
    }
    acutRelRb(rb);
  }
  return es;
}

// ---- views ----------------------------------------------------------------

void AcDbViewTableRecord::dxfOutFields(AcDbDxfFiler& filer) const {
  AcDbSymbolTableRecord::dxfOutFields(filer);
  filer.writeDouble(40, m_dHeight);
  filer.writePoint2d(10, m_center);
  filer.writeDouble(41, m_dWidth);
  filer.writeVector3d(11, m_direction);
  filer.writePoint3d(12, m_target);
  filer.writeDouble(42, m_dLens);
  filer.writeDouble(43, 0.0);
  filer.writeDouble(44, 0.0);
  filer.writeDouble(50, m_dTwist);
  filer.writeInt(71, 0);
}

Acad::ErrorStatus AcDbViewTableRecord::dxfInFields(const AcDbDxfRecord& record) {
  Acad::ErrorStatus es = AcDbSymbolTableRecord::dxfInFields(record);
  const auto& pairs = record.pairs;
  for (size_t i = 0; i < pairs.size(); ++i) {
    switch (pairs[i].code) {
      case 40: m_dHeight = AcDbDxfRecord::real(pairs[i]); break;
      case 41: m_dWidth = AcDbDxfRecord::real(pairs[i]); break;
      case 42: m_dLens = AcDbDxfRecord::real(pairs[i]); break;
      case 50: m_dTwist = AcDbDxfRecord::real(pairs[i]) * 3.14159265358979323846 / 180.0; break;
      case 10: { AcGePoint3d p = AcDbDxfRecord::point(pairs, i); m_center.set(p.x, p.y); break; }
      case 11: { AcGePoint3d p = AcDbDxfRecord::point(pairs, i); m_direction.set(p.x, p.y, p.z); break; }
      case 12: m_target = AcDbDxfRecord::point(pairs, i); break;
      default: break;
    }
  }
  return es;
}

// ---- blocks -----------------------------------------------------------------

bool AcDbBlockTableRecord::isLayout() const {
  return EqualNoCase(m_name.substr(0, std::min<size_t>(m_name.size(), 12)), L"*Model_Space") ||
         EqualNoCase(m_name.substr(0, std::min<size_t>(m_name.size(), 12)), L"*Paper_Space");
}

Acad::ErrorStatus AcDbBlockTableRecord::appendAcDbEntity(AcDbObjectId& id, AcDbEntity* entity) {
  id.setNull();
  if (!entity) return Acad::eNullEntityPointer;
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  AcDbDatabase* db = database();
  if (!db) return Acad::eNoDatabase;
  if (!entity->isNewObject()) return Acad::eAlreadyInDb;
  entity->applyDefaultsOnAppend(db);
  entity->setOwnerId(objectId());
  Acad::ErrorStatus es = db->addAcDbObject(id, entity);
  if (es != Acad::eOk) return es;
  m_entities.push_back(id);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockTableRecord::appendAcDbEntity(AcDbEntity* entity) {
  AcDbObjectId id;
  return appendAcDbEntity(id, entity);
}

Acad::ErrorStatus AcDbBlockTableRecord::newIterator(AcDbBlockTableRecordIterator*& iterator, bool atBeginning,
                                                    bool skipDeleted) const {
  iterator = new AcDbBlockTableRecordIterator(m_entities, atBeginning, skipDeleted);
  return Acad::eOk;
}

void AcDbBlockTableRecord::dxfOutFields(AcDbDxfFiler& filer) const {
  AcDbObject::dxfOutFields(filer);
  filer.writeUtf8(100, "AcDbSymbolTableRecord");
  filer.writeUtf8(100, "AcDbBlockTableRecord");
  filer.writeString(2, m_name);
  filer.writeInt(70, 0);
  filer.writeInt(280, 1);
  filer.writeInt(281, 0);
}

Acad::ErrorStatus AcDbBlockTableRecord::dxfInFields(const AcDbDxfRecord& record) {
  for (const AcDbDxfPair& p : record.pairs)
    if (p.code == 2) m_name = record.text(p.value);
  return m_name.empty() ? Acad::eMissingDxfField : Acad::eOk;
}

AcDbBlockTableRecordIterator::AcDbBlockTableRecordIterator(const AcDbBlockTableRecord::EntityIdList& ids,
                                                           bool atBeginning, bool skipDeleted)
    : m_ids(ids.begin(), ids.end()) {
  start(atBeginning, skipDeleted);
}

void AcDbBlockTableRecordIterator::start(bool atBeginning, bool skipDeleted) {
  m_bSkipDeleted = skipDeleted;
  m_nPos = atBeginning ? 0 : static_cast<int>(m_ids.size()) - 1;
  skip(atBeginning);
}

bool AcDbBlockTableRecordIterator::done() const { return m_nPos < 0 || m_nPos >= static_cast<int>(m_ids.size()); }

void AcDbBlockTableRecordIterator::skip(bool forward) {
  while (!done()) {
    const AcDbObjectId& id = m_ids[static_cast<size_t>(m_nPos)];
    if (id.isResident() && !(m_bSkipDeleted && id.isErased())) break;
    m_nPos += forward ? 1 : -1;
  }
}

void AcDbBlockTableRecordIterator::step(bool forward, bool skipDeleted) {
  m_bSkipDeleted = skipDeleted;
  if (done()) return;
  m_nPos += forward ? 1 : -1;
  skip(forward);
}

Acad::ErrorStatus AcDbBlockTableRecordIterator::getEntityId(AcDbObjectId& id) const {
  if (done()) return Acad::eInvalidIndex;
  id = m_ids[static_cast<size_t>(m_nPos)];
  return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockTableRecordIterator::getEntity(AcDbEntity*& entity, AcDb::OpenMode mode,
                                                          bool openErased) const {
  entity = nullptr;
  AcDbObjectId id;
  Acad::ErrorStatus es = getEntityId(id);
  return es == Acad::eOk ? acdbOpenObject(entity, id, mode, openErased) : es;
}
