// AcDbDatabase: a drawing's objects, tables, dictionaries and header variables,
// with reading and writing DXF, inserting another drawing and loading line types.
#include "dbdatabase.h"

#include <unistd.h>

#include "dbdict.h"
#include "dbentity.h"
#include "dbstub.h"
#include "dbsymtb.h"
#include "rxevent.h"

ACRX_DEFINE_MEMBERS_EX(AcDbDatabase, AcRxObject, nullptr, L"")

namespace {
template <class T>
T* ObjectOf(AcDbObjectId id) {
  AcDbStub* s = id.stub();
  return s && s->m_pObject ? T::cast(s->m_pObject) : nullptr;
}
}  // namespace

AcDbDatabase::AcDbDatabase(bool buildDefault, bool) {
  if (buildDefault) buildDefaultDrawing();
  acrxEvent->fireDatabaseConstructed(this);
}

AcDbDatabase::~AcDbDatabase() {
  acrxEvent->fireDatabaseToBeDestroyed(this);
  clear();
  releaseInputFile();
}

void AcDbDatabase::clear() {
  // Stubs stay (ids held by callers then report the object as gone); the
  // objects themselves are deleted. Sub-objects go with their owner, so they
  // are let go of first whatever order their stubs are in.
  m_stubs.forEach([](AcDbStub& s) {
    if (s.m_pObject && s.m_pObject->isDeletedByOwner()) s.m_pObject = nullptr;
  });
  m_stubs.forEach([](AcDbStub& s) {
    delete s.m_pObject;
    s.m_pObject = nullptr;
  });
  m_arena.release();
  m_byHandle.clear();
  m_handseed = 1;
  m_blockTableId = m_layerTableId = m_linetypeTableId = m_textStyleTableId = m_viewTableId = m_regAppTableId =
      m_namedDictId = AcDbObjectId();
  m_clayer = m_celtype = m_textstyle = AcDbObjectId();
  m_header.clear();
  m_rawTables.clear();
  m_classes.pairs.clear();
  m_extents = AcDbExtents();
  m_nHandlesRenumbered = 0;
  m_readNotes.clear();
  m_renumberAfterRead.clear();
  m_bReading = false;
}

AcDbStub* AcDbDatabase::stubForHandle(AcDbHandle handle, bool create) {
  if (handle.isNull()) return nullptr;
  if (AcDbStub* found = m_byHandle.find(handle.value())) return found;
  if (!create) return nullptr;
  AcDbStub* s = &m_stubs.emplace_back();
  s->m_pDb = this;
  s->m_handle = handle;
  m_byHandle.insert(handle.value(), s);
  noteHandle(handle);
  return s;
}

void AcDbDatabase::noteHandle(AcDbHandle handle) {
  if (handle.value() >= m_handseed.value()) m_handseed = handle.value() + 1;
}

Acad::ErrorStatus AcDbDatabase::addAcDbObject(AcDbObjectId& id, AcDbObject* object) {
  id.setNull();
  if (!object) return Acad::eNullObjectPointer;
  if (!object->isNewObject()) return Acad::eAlreadyInDb;
  AcDbStub* s = stubForHandle(m_handseed, true);
  s->m_pObject = object;
  object->setStub(s);
  object->openFor(AcDb::kForWrite);
  id = AcDbObjectId(s);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbDatabase::addAcDbObject(AcDbObject* object) {
  AcDbObjectId id;
  return addAcDbObject(id, object);
}

AcDbObjectId AcDbDatabase::addWithHandle(AcDbObject* object, AcDbHandle handle) {
  AcDbStub* s = handle.isNull() ? nullptr : stubForHandle(handle, true);
  if (s && s->m_pObject) {
    ++m_nHandlesRenumbered;
    if (m_bReading) {
      // A handle used twice in a file: the second object gets a handle above
      // every handle of the file once the whole file has been read (a handle
      // given now might be one the file uses further on).
      s = &m_stubs.emplace_back();
      s->m_pDb = this;
      m_renumberAfterRead.push_back(s);
    } else {
      s = nullptr;
    }
  }
  if (!s) s = stubForHandle(m_handseed, true);  // no handle, or one used twice
  s->m_pObject = object;
  object->setStub(s);
  return AcDbObjectId(s);
}

void AcDbDatabase::beginRead() {
  m_bReading = true;
  m_renumberAfterRead.clear();
}

void AcDbDatabase::endRead() {
  m_bReading = false;
  for (AcDbStub* s : m_renumberAfterRead) {
    s->m_handle = m_handseed++;
    m_byHandle.insert(s->m_handle.value(), s);
  }
  m_renumberAfterRead.clear();
}

Acad::ErrorStatus AcDbDatabase::getAcDbObjectId(AcDbObjectId& id, bool createIfNotFound, const AcDbHandle& handle,
                                                Adesk::UInt32) {
  id.setNull();
  if (handle.isNull()) return Acad::eNullHandle;
  AcDbStub* s = stubForHandle(handle, createIfNotFound);
  if (!s || (!createIfNotFound && !s->m_pObject)) return Acad::eUnknownHandle;
  id = AcDbObjectId(s);
  return Acad::eOk;
}

AcDbObjectId AcDbDatabase::newTable(AcDbSymbolTable* table) {
  AcDbObjectId id = addWithHandle(table, m_handseed);
  return id;
}

AcDbObjectId AcDbDatabase::tableIdByName(const std::wstring& name) const {
  if (name == L"BLOCK_RECORD") return m_blockTableId;
  if (name == L"LAYER") return m_layerTableId;
  if (name == L"LTYPE") return m_linetypeTableId;
  if (name == L"STYLE") return m_textStyleTableId;
  if (name == L"VIEW") return m_viewTableId;
  if (name == L"APPID") return m_regAppTableId;
  return {};
}

void AcDbDatabase::setTableId(const std::wstring& name, AcDbObjectId id) {
  if (name == L"BLOCK_RECORD") m_blockTableId = id;
  else if (name == L"LAYER") m_layerTableId = id;
  else if (name == L"LTYPE") m_linetypeTableId = id;
  else if (name == L"STYLE") m_textStyleTableId = id;
  else if (name == L"VIEW") m_viewTableId = id;
  else if (name == L"APPID") m_regAppTableId = id;
}

namespace {
template <class Rec>
AcDbObjectId AddRecord(AcDbDatabase* db, AcDbObjectId tableId, const ACHAR* name, Rec* rec) {
  auto* table = ObjectOf<AcDbSymbolTable>(tableId);
  rec->setName(name);
  rec->setOwnerId(tableId);
  AcDbObjectId id = db->addWithHandle(rec, db->handseed());
  table->adoptRecord(id);
  return id;
}
}  // namespace

void AcDbDatabase::buildDefaultDrawing() {
  clear();
  // Fixed handles as other CAD programs give a new drawing's tables.
  m_blockTableId = addWithHandle(new AcDbBlockTable(), 1);
  m_layerTableId = addWithHandle(new AcDbLayerTable(), 2);
  m_textStyleTableId = addWithHandle(new AcDbTextStyleTable(), 3);
  m_linetypeTableId = addWithHandle(new AcDbLinetypeTable(), 5);
  m_viewTableId = addWithHandle(new AcDbViewTable(), 6);
  m_regAppTableId = addWithHandle(new AcDbRegAppTable(), 9);
  m_namedDictId = addWithHandle(new AcDbDictionary(), 0xC);
  m_handseed = 0x10;

  m_clayer = AddRecord(this, m_layerTableId, L"0", new AcDbLayerTableRecord());
  AddRecord(this, m_linetypeTableId, L"ByBlock", new AcDbLinetypeTableRecord());
  m_celtype = AddRecord(this, m_linetypeTableId, L"ByLayer", new AcDbLinetypeTableRecord());
  auto* cont = new AcDbLinetypeTableRecord();
  cont->setComments(L"Solid line");
  AddRecord(this, m_linetypeTableId, L"Continuous", cont);
  m_textstyle = AddRecord(this, m_textStyleTableId, L"Standard", new AcDbTextStyleTableRecord());
  AddRecord(this, m_blockTableId, ACDB_MODEL_SPACE, new AcDbBlockTableRecord());
  AddRecord(this, m_blockTableId, ACDB_PAPER_SPACE, new AcDbBlockTableRecord());
  AddRecord(this, m_regAppTableId, L"ACAD", new AcDbRegAppTableRecord());

  // Tables the database does not model are written as other programs expect them.
  auto rawTable = [this](const char* name, const char* handle) {
    AcDbRawPairs raw;
    raw.pairs = {{0, "TABLE"}, {2, name}, {5, handle}, {330, "0"}, {100, "AcDbSymbolTable"}, {70, "0"}};
    m_rawTables.push_back({name, raw});
  };
  rawTable("VPORT", "8");
  rawTable("UCS", "7");
  rawTable("DIMSTYLE", "A");

  auto* groups = new AcDbDictionary();
  groups->setOwnerId(m_namedDictId);
  AcDbObjectId groupsId = addWithHandle(groups, m_handseed);
  ObjectOf<AcDbDictionary>(m_namedDictId)->adoptEntry(L"ACAD_GROUP", groupsId);
}

namespace {
template <class T>
Acad::ErrorStatus OpenTable(AcDbObjectId id, T*& table, AcDb::OpenMode mode) {
  table = nullptr;
  if (id.isNull()) return Acad::eNullObjectId;
  return acdbOpenObject(table, id, mode);
}
}  // namespace

Acad::ErrorStatus AcDbDatabase::getBlockTable(AcDbBlockTable*& t, AcDb::OpenMode m) { return OpenTable(m_blockTableId, t, m); }
Acad::ErrorStatus AcDbDatabase::getLayerTable(AcDbLayerTable*& t, AcDb::OpenMode m) { return OpenTable(m_layerTableId, t, m); }
Acad::ErrorStatus AcDbDatabase::getLinetypeTable(AcDbLinetypeTable*& t, AcDb::OpenMode m) {
  return OpenTable(m_linetypeTableId, t, m);
}
Acad::ErrorStatus AcDbDatabase::getTextStyleTable(AcDbTextStyleTable*& t, AcDb::OpenMode m) {
  return OpenTable(m_textStyleTableId, t, m);
}
Acad::ErrorStatus AcDbDatabase::getViewTable(AcDbViewTable*& t, AcDb::OpenMode m) { return OpenTable(m_viewTableId, t, m); }
Acad::ErrorStatus AcDbDatabase::getRegAppTable(AcDbRegAppTable*& t, AcDb::OpenMode m) { return OpenTable(m_regAppTableId, t, m); }
Acad::ErrorStatus AcDbDatabase::getNamedObjectsDictionary(AcDbDictionary*& d, AcDb::OpenMode m) {
  return OpenTable(m_namedDictId, d, m);
}

Acad::ErrorStatus AcDbDatabase::setClayer(AcDbObjectId id) {
  auto* rec = ObjectOf<AcDbLayerTableRecord>(id);
  if (!rec || rec->isErased()) return Acad::eWrongObjectType;
  if (id.database() != this) return Acad::eWrongDatabase;
  m_clayer = id;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbDatabase::setCeltype(AcDbObjectId id) {
  auto* rec = ObjectOf<AcDbLinetypeTableRecord>(id);
  if (!rec || rec->isErased()) return Acad::eWrongObjectType;
  if (id.database() != this) return Acad::eWrongDatabase;
  m_celtype = id;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbDatabase::setTextstyle(AcDbObjectId id) {
  auto* rec = ObjectOf<AcDbTextStyleTableRecord>(id);
  if (!rec || rec->isErased()) return Acad::eWrongObjectType;
  if (id.database() != this) return Acad::eWrongDatabase;
  m_textstyle = id;
  return Acad::eOk;
}

namespace {
AcDbObjectId LinetypeNamed(AcDbObjectId tableId, const ACHAR* name) {
  AcDbObjectId id;
  if (auto* t = ObjectOf<AcDbSymbolTable>(tableId)) t->getAt(name, id);
  return id;
}
}  // namespace

AcDbObjectId AcDbDatabase::byLayerLinetype() const { return LinetypeNamed(m_linetypeTableId, L"ByLayer"); }
AcDbObjectId AcDbDatabase::byBlockLinetype() const { return LinetypeNamed(m_linetypeTableId, L"ByBlock"); }
AcDbObjectId AcDbDatabase::continuousLinetype() const { return LinetypeNamed(m_linetypeTableId, L"Continuous"); }

bool AcDbDatabase::hasRegApp(const ACHAR* name) const {
  auto* t = ObjectOf<AcDbSymbolTable>(m_regAppTableId);
  return t && t->has(name);
}

AcGePoint3d AcDbDatabase::extmin() const { return m_extents.minPoint(); }
AcGePoint3d AcDbDatabase::extmax() const { return m_extents.maxPoint(); }

Acad::ErrorStatus AcDbDatabase::updateExt(bool) {
  m_extents = AcDbExtents();
  auto* blocks = ObjectOf<AcDbSymbolTable>(m_blockTableId);
  AcDbObjectId msId;
  if (!blocks || blocks->getAt(ACDB_MODEL_SPACE, msId) != Acad::eOk) return Acad::eOk;
  for (const AcDbObjectId& id : ObjectOf<AcDbBlockTableRecord>(msId)->entityIds()) {
    auto* ent = ObjectOf<AcDbEntity>(id);
    AcDbExtents e;
    if (ent && !ent->isErased() && ent->getGeomExtents(e) == Acad::eOk) m_extents.addExt(e);
  }
  return Acad::eOk;
}

Acad::ErrorStatus AcDbDatabase::getFilename(const ACHAR*& fileName) const {
  fileName = m_fileName.c_str();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbDatabase::insert(AcDbObjectId& blockId, const ACHAR* blockName, AcDbDatabase* source, bool) {
  blockId.setNull();
  if (!source || source == this) return Acad::eInvalidInput;
  if (!blockName || !*blockName) return Acad::eNullBlockName;
  auto* srcBlocks = ObjectOf<AcDbSymbolTable>(source->m_blockTableId);
  auto* blocks = ObjectOf<AcDbSymbolTable>(m_blockTableId);
  AcDbObjectId srcMs;
  if (!srcBlocks || !blocks || srcBlocks->getAt(ACDB_MODEL_SPACE, srcMs) != Acad::eOk) return Acad::eNoDatabase;

  // Layers and line types the entities use come along when missing here.
  auto copyMissing = [](AcDbObjectId fromTable, AcDbObjectId toTable, AcDbDatabase* db) {
    auto* from = ObjectOf<AcDbSymbolTable>(fromTable);
    auto* to = ObjectOf<AcDbSymbolTable>(toTable);
    if (!from || !to) return;
    for (const AcDbObjectId& rid : from->recordIds()) {
      auto* rec = ObjectOf<AcDbSymbolTableRecord>(rid);
      if (!rec || rec->isErased() || to->has(rec->name())) continue;
      AcDbSymbolTableRecord* copy = nullptr;
      if (auto* layer = AcDbLayerTableRecord::cast(rec)) {
        auto* l = new AcDbLayerTableRecord();
        l->setColor(layer->color());
        l->setIsOff(layer->isOff());
        l->setIsFrozen(layer->isFrozen());
        copy = l;
      } else if (auto* lt = AcDbLinetypeTableRecord::cast(rec)) {
        auto* l = new AcDbLinetypeTableRecord();
        const ACHAR* comments = nullptr;
        lt->comments(comments);
        l->setComments(comments);
        l->setPatternLength(lt->patternLength());
        l->setNumDashes(lt->numDashes());
        for (int i = 0; i < lt->numDashes(); ++i) l->setDashLengthAt(i, lt->dashLengthAt(i));
        copy = l;
      }
      if (!copy) continue;
      copy->setName(rec->name());
      copy->setOwnerId(toTable);
      AcDbObjectId nid = db->addWithHandle(copy, db->handseed());
      to->adoptRecord(nid);
    }
  };
  copyMissing(source->m_linetypeTableId, m_linetypeTableId, this);
  copyMissing(source->m_layerTableId, m_layerTableId, this);

  AcDbObjectId targetId;
  AcDbBlockTableRecord* target = nullptr;
  if (blocks->getAt(blockName, targetId) == Acad::eOk) {
    target = ObjectOf<AcDbBlockTableRecord>(targetId);
    for (const AcDbObjectId& e : target->entityIds())
      if (!e.isErased()) return Acad::eDuplicateRecordName;
  } else {
    target = new AcDbBlockTableRecord();
    if (target->setName(blockName) != Acad::eOk) {
      delete target;
      return Acad::eInvalidBlockName;
    }
    target->setOwnerId(m_blockTableId);
    targetId = addWithHandle(target, m_handseed);
    blocks->adoptRecord(targetId);
  }
  target->setOrigin(source->insbase());
  for (const AcDbObjectId& eid : ObjectOf<AcDbBlockTableRecord>(srcMs)->entityIds()) {
    auto* ent = ObjectOf<AcDbEntity>(eid);
    if (!ent || ent->isErased()) continue;
    auto* copy = AcDbEntity::cast(ent->clone());
    if (!copy) continue;
    copy->setOwnerId(targetId);
    target->adoptEntity(addWithHandle(copy, m_handseed));
  }
  blockId = targetId;
  return Acad::eOk;
}

void AcDbDatabase::releaseInputFile() {
  if (m_nInputFd >= 0) {
    ::close(m_nInputFd);
    m_nInputFd = -1;
  }
}

Acad::ErrorStatus AcDbDatabase::closeInput(bool closeFile) {
  if (closeFile) releaseInputFile();
  return Acad::eOk;
}
