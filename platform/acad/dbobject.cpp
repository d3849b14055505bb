// AcDbObject: the open protocol, erasing, extended data per application and
// extension dictionaries.
#include "dbobject.h"

#include <cwctype>

#include "dbdatabase.h"
#include "dbdict.h"
#include "dbstub.h"
#include "gs.h"
#include "textutil.h"

ACRX_DEFINE_ABSTRACT(AcDbObject, AcGiDrawable)

namespace {
// Grows with every change an object may have had: a write opening closed
// or given up, an object deleted.
unsigned long long g_nModifications = 0;

using win::textutil::EqualNoCase;
}  // namespace

namespace {
// The word before every database object: where its memory came from (and
// the pool's size class). One word keeps the object aligned as its members
// need (no object keeps anything aligned beyond a word).
constexpr size_t kOriginSize = 8;
enum class Origin : unsigned char { kHeap = 1, kArena = 2, kPool = 3 };
struct Header {
  Origin origin;
  unsigned sizeClass;
};
static_assert(sizeof(Header) <= kOriginSize);

void* Mark(void* memory, Origin origin, unsigned sizeClass = 0) {
  *static_cast<Header*>(memory) = Header{origin, sizeClass};
  return static_cast<char*>(memory) + kOriginSize;
}

// The address sanitizer checks heap objects only: under it every object
// takes the heap.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kUsePool = false;
#else
constexpr bool kUsePool = true;
#endif
}  // namespace

static_assert(alignof(AcDbObject) <= kOriginSize);

void* AcDbObject::operator new(size_t size) {
  if (kUsePool && size + kOriginSize <= AcDbObjectPool::kMaxSize) {
    unsigned sizeClass = 0;
    void* memory = AcDbObjectPool::instance().allocate(size + kOriginSize, sizeClass);
    return Mark(memory, Origin::kPool, sizeClass);
  }
  return Mark(::operator new(size + kOriginSize), Origin::kHeap);
}

void* AcDbObject::operator new(size_t size, AcDbObjectArena& arena) {
  return Mark(arena.allocate(size + kOriginSize, kOriginSize), Origin::kArena);
}

void AcDbObject::operator delete(void* p) noexcept {
  if (!p) return;
  void* memory = static_cast<char*>(p) - kOriginSize;
  const Header header = *static_cast<Header*>(memory);
  // An arena object's memory goes with the arena.
  if (header.origin == Origin::kHeap) ::operator delete(memory);
  else if (header.origin == Origin::kPool) AcDbObjectPool::instance().deallocate(memory, header.sizeClass);
}

void AcDbObject::operator delete(void* p, AcDbObjectArena&) noexcept { operator delete(p); }

AcDbObject::AcDbObject() = default;

AcDbObject::AcDbObject(const AcDbObject& other) : AcGiDrawable() {
  if (other.hasXdataApps()) extra().apps = other.m_pExtra->apps;
}

AcDbObject::Extra& AcDbObject::extra() {
  if (!m_pExtra) m_pExtra = std::make_unique<Extra>();
  return *m_pExtra;
}

void AcDbObject::setXDictionaryId(AcDbObjectId id) {
  if (m_pExtra || !id.isNull()) extra().xDictId = id;
}

Adesk::UInt32 AcDbObject::setAttributes(AcGiDrawableTraits*) { return kDrawableNone; }
Adesk::Boolean AcDbObject::worldDraw(AcGiWorldDraw*) { return true; }
void AcDbObject::viewportDraw(AcGiViewportDraw*) {}

AcDbObject::~AcDbObject() {
  // An object deleted while its database still holds it is gone for good:
  // its id reports it as such instead of pointing at freed memory.
  if (m_pStub && m_pStub->m_pObject == this) m_pStub->m_pObject = nullptr;
  // An object the graphics system shows by pointer leaves its views.
  if (m_pGsNode)
    if (AcGsModel* model = m_pGsNode->model()) model->onErased(this, nullptr);
  ++g_nModifications;
}

unsigned long long acdbModificationCount() { return g_nModifications; }

AcDbObjectId AcDbObject::objectId() const { return AcDbObjectId(m_pStub); }
AcDbDatabase* AcDbObject::database() const { return m_pStub ? m_pStub->m_pDb : nullptr; }
AcDbHandle AcDbObject::handle() const { return m_pStub ? m_pStub->m_handle : AcDbHandle(); }
bool AcDbObject::isErased() const { return m_bErased; }

Acad::ErrorStatus AcDbObject::setOwnerId(AcDbObjectId ownerId) {
  m_ownerId = ownerId;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::openFor(AcDb::OpenMode mode) {
  switch (mode) {
    case AcDb::kForRead:
      if (m_bWriter) return Acad::eWasOpenedForWrite;
      if (m_nReaders >= 256) return Acad::eAtMaxReaders;
      ++m_nReaders;
      return Acad::eOk;
    case AcDb::kForWrite:
      if (m_bWriter) return Acad::eWasOpenedForWrite;
      if (m_nReaders > 0) return Acad::eWasOpenedForRead;
      m_bWriter = true;
      return Acad::eOk;
    case AcDb::kForNotify:
      if (m_nNotifiers == UINT16_MAX) return Acad::eAtMaxReaders;
      ++m_nNotifiers;
      return Acad::eOk;
  }
  return Acad::eInvalidInput;
}

Acad::ErrorStatus AcDbObject::upgradeOpen() {
  if (isNewObject()) return Acad::eOk;
  if (m_bWriter) return Acad::eWasOpenedForWrite;
  if (m_nReaders == 0) return Acad::eNotOpenForRead;
  if (m_nReaders > 1) return Acad::eHadMultipleReaders;
  m_nReaders = 0;
  m_bWriter = true;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::downgradeOpen() {
  if (isNewObject()) return Acad::eOk;
  if (!m_bWriter) return Acad::eNotOpenForWrite;
  m_bWriter = false;
  m_nReaders = 1;
  ++g_nModifications;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::upgradeFromNotify(bool& wasWritable) {
  wasWritable = m_bWriter;
  if (m_nNotifiers == 0) return Acad::eWasNotifying;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::downgradeToNotify(bool) { return Acad::eOk; }

Acad::ErrorStatus AcDbObject::close() {
  if (isNewObject()) return Acad::eOk;
  if (m_bWriter) {
    m_bWriter = false;
    ++g_nModifications;
  } else if (m_nReaders > 0) {
    --m_nReaders;
  } else if (m_nNotifiers > 0) {
    --m_nNotifiers;
  } else {
    return Acad::eNotOpenForRead;
  }
  return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::erase(bool erasing) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (erasing && m_bErased) return Acad::eWasErased;
  if (erasing != m_bErased)
    if (Acad::ErrorStatus es = subErase(erasing); es != Acad::eOk) return es;
  m_bErased = erasing;
  return Acad::eOk;
}

resbuf* AcDbObject::xData(const ACHAR* regappName) const {
  AcDbTypedValueList all;
  if (!hasXdataApps()) return acdbRbFromValues(all);
  for (const XdataApp& app : m_pExtra->apps) {
    if (regappName && !EqualNoCase(app.app, regappName)) continue;
    AcDbTypedValue head;
    head.code = 1001;
    head.type = RTSTR;
    head.text = app.app;
    all.push_back(head);
    all.insert(all.end(), app.items.begin(), app.items.end());
  }
  return acdbRbFromValues(all);
}

bool AcDbObject::hasXData(const ACHAR* regappName) const {
  if (!hasXdataApps()) return false;
  for (const XdataApp& app : m_pExtra->apps)
    if (EqualNoCase(app.app, regappName)) return true;
  return false;
}

Acad::ErrorStatus AcDbObject::setXData(const resbuf* xdata) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!xdata) return Acad::eOk;
  if (xdata->restype != 1001 || !xdata->resval.rstring) return Acad::eBadDxfSequence;
  AcDbTypedValueList values = acdbValuesFromRb(xdata);
  // Check the whole list first so that a bad list changes nothing.
  for (const AcDbTypedValue& v : values) {
    if (v.code < 1000 || v.code > 1071) return Acad::eInvalidResBuf;
    if (v.code == 1001) {
      if (v.text.empty()) return Acad::eBadDxfSequence;
      if (AcDbDatabase* db = database(); db && !db->hasRegApp(v.text.c_str())) return Acad::eRegappIdNotFound;
    }
  }
  std::vector<XdataApp> incoming;
  for (const AcDbTypedValue& v : values) {
    if (v.code == 1001) incoming.push_back({v.text, {}});
    else incoming.back().items.push_back(v);
  }
  for (XdataApp& app : incoming) {
    std::vector<XdataApp>& apps = xdataApps();
    auto it = apps.begin();
    while (it != apps.end() && !EqualNoCase(it->app, app.app.c_str())) ++it;
    if (app.items.empty()) {
      if (it != apps.end()) apps.erase(it);
    } else if (it != apps.end()) {
      it->items = std::move(app.items);
    } else {
      apps.push_back(std::move(app));
    }
  }
  return Acad::eOk;
}

void AcDbObject::replaceXData(const std::wstring& app, AcDbTypedValueList items) {
  std::vector<XdataApp>& apps = xdataApps();
  auto it = apps.begin();
  while (it != apps.end() && !EqualNoCase(it->app, app.c_str())) ++it;
  if (items.empty()) {
    if (it != apps.end()) apps.erase(it);
  } else if (it != apps.end()) {
    it->items = std::move(items);
  } else {
    apps.push_back({app, std::move(items)});
  }
}

Acad::ErrorStatus AcDbObject::createExtensionDictionary() {
  AcDbDatabase* db = database();
  if (!db) return Acad::eNoDatabase;
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  AcDbObjectId xDictId = extensionDictionary();
  if (!xDictId.isNull() && !xDictId.isErased()) return Acad::eAlreadyInDb;
  auto* dict = new AcDbDictionary();
  dict->setOwnerId(objectId());
  AcDbObjectId id;
  Acad::ErrorStatus es = db->addAcDbObject(id, dict);
  if (es != Acad::eOk) {
    delete dict;
    return es;
  }
  dict->close();
  setXDictionaryId(id);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::releaseExtensionDictionary() {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  AcDbObjectId xDictId = extensionDictionary();
  if (xDictId.isNull()) return Acad::eOk;
  AcDbDictionary* dict = nullptr;
  Acad::ErrorStatus es = acdbOpenObject(dict, xDictId, AcDb::kForWrite);
  if (es != Acad::eOk) return es;
  if (dict->numEntries() > 0) {
    dict->close();
    return Acad::eContainerNotEmpty;
  }
  dict->erase();
  dict->close();
  setXDictionaryId(AcDbObjectId());
  return Acad::eOk;
}

std::wstring AcDbObject::dxfName() const { return isA()->dxfName(); }

void AcDbObject::dxfOut(AcDbDxfFiler& filer) const {
  filer.writeString(0, dxfName());
  filer.writeHandle(5, handle());
  AcDbObjectId xDictId = extensionDictionary();
  if (!xDictId.isNull() && !xDictId.isErased()) {
    filer.writeUtf8(102, "{ACAD_XDICTIONARY");
    filer.writeObjectId(360, xDictId);
    filer.writeUtf8(102, "}");
  }
  filer.writeObjectId(330, m_ownerId);
  dxfOutFields(filer);
  if (!hasXdataApps()) return;
  for (const XdataApp& app : m_pExtra->apps) {
    filer.writeString(1001, app.app);
    for (const AcDbTypedValue& v : app.items) {
      switch (v.type) {
        case RTSTR: filer.writeString(v.code, v.text); break;
        case RTREAL: filer.writeDouble(v.code, v.point[0]); break;
        case RTSHORT: case RTLONG: case RTINT64: filer.writeInt(v.code, v.integer); break;
        case RT3DPOINT: filer.writePoint3d(v.code, AcGePoint3d(v.point[0], v.point[1], v.point[2])); break;
        default: break;
      }
    }
  }
}

void AcDbObject::dxfOutFields(AcDbDxfFiler&) const {}

Acad::ErrorStatus AcDbObject::dxfIn(const AcDbDxfRecord& record) {
  const auto& pairs = record.pairs;
  // The readers take the count once: with stores into the object in the
  // loop, the compiler would otherwise work it out again for every pair.
  for (size_t i = 0, nPairs = pairs.size(); i < nPairs; ++i) {
    const AcDbDxfPair& p = pairs[i];
    if (p.code == 330 && m_ownerId.isNull()) {
      m_ownerId = record.idFromHandle(p.value);
    } else if (p.code == 102 && p.value == "{ACAD_XDICTIONARY") {
      for (++i; i < nPairs && pairs[i].code != 102; ++i)
        if (pairs[i].code == 360) setXDictionaryId(record.idFromHandle(pairs[i].value));
    }
  }
  // Extended data: (1001 app) followed by its items.
  if (m_pExtra) m_pExtra->apps.clear();
  const auto& xd = record.xdata;
  for (size_t i = 0; i < xd.size(); ++i) {
    const AcDbDxfPair& p = xd[i];
    if (p.code == 1001) {
      xdataApps().push_back({record.text(p.value), {}});
      continue;
    }
    if (!hasXdataApps()) return Acad::eBadDxfSequence;
    AcDbTypedValue v;
    v.code = static_cast<short>(p.code);
    v.type = acdbGroupCodeToType(p.code);
    switch (v.type) {
      case RTSTR: v.text = record.text(p.value); break;
      case RTREAL: v.point[0] = AcDbDxfRecord::real(p); break;
      case RTSHORT: case RTLONG: v.integer = AcDbDxfRecord::integer(p.value); break;
      case RT3DPOINT: {
        if (p.code >= 1020) continue;  // a stray y or z
        AcGePoint3d pt = AcDbDxfRecord::point(xd, i);
        v.point[0] = pt.x; v.point[1] = pt.y; v.point[2] = pt.z;
        break;
      }
      default: continue;
    }
    m_pExtra->apps.back().items.push_back(std::move(v));
  }
  return dxfInFields(record);
}

Acad::ErrorStatus AcDbObject::dxfInFields(const AcDbDxfRecord&) { return Acad::eOk; }

Acad::ErrorStatus acdbOpenObject(AcDbObject*& object, AcDbObjectId id, AcDb::OpenMode mode, bool openErased) {
  object = nullptr;
  if (id.isNull()) return Acad::eNullObjectId;
  AcDbStub* stub = id.stub();
  if (!stub->m_pObject) return Acad::ePermanentlyErased;
  if (stub->m_pObject->isErased() && !openErased) return Acad::eWasErased;
  Acad::ErrorStatus es = stub->m_pObject->openFor(mode);
  if (es == Acad::eOk) object = stub->m_pObject;
  return es;
}

Acad::ErrorStatus acdbOpenAcDbObject(AcDbObject*& object, AcDbObjectId id, AcDb::OpenMode mode, bool openErased) {
  return acdbOpenObject(object, id, mode, openErased);
}

Acad::ErrorStatus acdbGetObjectId(AcDbObjectId& id, const ads_name name) {
  id.setFromOldId(name[0]);
  return id.isNull() ? Acad::eNullObjectId : Acad::eOk;
}

Acad::ErrorStatus acdbGetAdsName(ads_name name, AcDbObjectId id) {
  name[0] = id.asOldId();
  name[1] = 0;
  return id.isNull() ? Acad::eNullObjectId : Acad::eOk;
}
