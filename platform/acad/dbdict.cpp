// Dictionaries (keys without regard to case, in the order added) and extended records.
#include "dbdict.h"

#include <cwctype>

#include "dbdatabase.h"
#include "dbstub.h"
#include "textutil.h"

ACRX_DEFINE_MEMBERS(AcDbDictionary, AcDbObject, L"DICTIONARY")
ACRX_DEFINE_MEMBERS(AcDbXrecord, AcDbObject, L"XRECORD")

namespace {
using win::textutil::EqualNoCase;
}  // namespace

int AcDbDictionary::findKey(const ACHAR* key) const {
  if (!key) return -1;
  for (size_t i = 0; i < m_entries.size(); ++i)
    if (EqualNoCase(m_entries[i].key, key) && !m_entries[i].id.isErased()) return static_cast<int>(i);
  return -1;
}

Acad::ErrorStatus AcDbDictionary::getAt(const ACHAR* key, AcDbObjectId& id) const {
  id.setNull();
  if (!key) return Acad::eInvalidKey;
  int i = findKey(key);
  if (i < 0) return Acad::eKeyNotFound;
  id = m_entries[static_cast<size_t>(i)].id;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbDictionary::getAt(const ACHAR* key, AcDbObject*& object, AcDb::OpenMode mode) const {
  object = nullptr;
  AcDbObjectId id;
  Acad::ErrorStatus es = getAt(key, id);
  return es == Acad::eOk ? acdbOpenObject(object, id, mode) : es;
}

bool AcDbDictionary::has(const ACHAR* key) const { return findKey(key) >= 0; }

bool AcDbDictionary::has(AcDbObjectId id) const {
  for (const Entry& e : m_entries)
    if (e.id == id && !id.isErased()) return true;
  return false;
}

Acad::ErrorStatus AcDbDictionary::nameAt(AcDbObjectId id, ACHAR*& key) const {
  key = nullptr;
  for (const Entry& e : m_entries) {
    if (e.id != id) continue;
    key = new ACHAR[e.key.size() + 1];
    std::wcscpy(key, e.key.c_str());
    return Acad::eOk;
  }
  return Acad::eKeyNotFound;
}

Adesk::UInt32 AcDbDictionary::numEntries() const {
  Adesk::UInt32 n = 0;
  for (const Entry& e : m_entries)
    if (!e.id.isErased()) ++n;
  return n;
}

Acad::ErrorStatus AcDbDictionary::setAt(const ACHAR* key, AcDbObject* object, AcDbObjectId& id) {
  id.setNull();
  if (!key || !*key) return Acad::eInvalidKey;
  if (!object) return Acad::eNullObjectPointer;
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  AcDbDatabase* db = database();
  if (!db) return Acad::eNoDatabase;
  if (object->database() && object->database() != db) return Acad::eWrongDatabase;
  if (object->isNewObject()) {
    Acad::ErrorStatus es = db->addAcDbObject(id, object);
    if (es != Acad::eOk) return es;
  } else {
    id = object->objectId();
  }
  object->setOwnerId(objectId());
  int i = findKey(key);
  if (i >= 0) {
    AcDbObjectId old = m_entries[static_cast<size_t>(i)].id;
    if (old != id) {
      if (AcDbStub* s = old.stub(); s && s->m_pObject) s->m_pObject->setErasedFlag(true);
      m_entries[static_cast<size_t>(i)].id = id;
    }
    return Acad::eOk;
  }
  // An erased entry of the same key gives way to the new one.
  for (size_t j = 0; j < m_entries.size(); ++j)
    if (EqualNoCase(m_entries[j].key, key)) {
      m_entries.erase(m_entries.begin() + static_cast<long>(j));
      break;
    }
  m_entries.push_back({key, id});
  return Acad::eOk;
}

Acad::ErrorStatus AcDbDictionary::remove(const ACHAR* key, AcDbObjectId& removedId) {
  removedId.setNull();
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  int i = findKey(key);
  if (i < 0) return Acad::eKeyNotFound;
  removedId = m_entries[static_cast<size_t>(i)].id;
  m_entries.erase(m_entries.begin() + i);
  if (AcDbStub* s = removedId.stub(); s && s->m_pObject) s->m_pObject->setOwnerId(AcDbObjectId::kNull);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbDictionary::remove(const ACHAR* key) {
  AcDbObjectId id;
  return remove(key, id);
}

Acad::ErrorStatus AcDbDictionary::remove(AcDbObjectId id) {
  for (const Entry& e : m_entries)
    if (e.id == id) {
      std::wstring key = e.key;
      return remove(key.c_str());
    }
  return Acad::eKeyNotFound;
}

Acad::ErrorStatus AcDbDictionary::setName(const ACHAR* oldKey, const ACHAR* newKey) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!newKey || !*newKey) return Acad::eInvalidKey;
  int i = findKey(oldKey);
  if (i < 0) return Acad::eKeyNotFound;
  int j = findKey(newKey);
  if (j >= 0 && j != i) return Acad::eDuplicateKey;
  m_entries[static_cast<size_t>(i)].key = newKey;
  return Acad::eOk;
}

AcDbDictionaryIterator* AcDbDictionary::newIterator() const { return new AcDbDictionaryIterator(m_entries); }

void AcDbDictionary::dxfOutFields(AcDbDxfFiler& filer) const {
  AcDbObject::dxfOutFields(filer);
  filer.writeUtf8(100, "AcDbDictionary");
  if (m_bHardOwner) filer.writeInt(280, 1);
  filer.writeInt(281, m_nMergeStyle);
  for (const Entry& e : m_entries) {
    if (e.id.isErased() || !e.id.isResident()) continue;
    filer.writeString(3, e.key);
    filer.writeObjectId(m_bHardOwner ? 360 : 350, e.id);
  }
}

Acad::ErrorStatus AcDbDictionary::dxfInFields(const AcDbDxfRecord& record) {
  std::wstring key;
  bool haveKey = false;
  for (const AcDbDxfPair& p : record.pairs) {
    switch (p.code) {
      case 280: m_bHardOwner = AcDbDxfRecord::integer(p.value) != 0; break;
      case 281: m_nMergeStyle = static_cast<int>(AcDbDxfRecord::integer(p.value)); break;
      case 3: key = record.text(p.value); haveKey = true; break;
      case 350:
      case 360:
        if (haveKey) {
          m_entries.push_back({key, record.idFromHandle(p.value)});
          haveKey = false;
        }
        break;
      default: break;
    }
  }
  return Acad::eOk;
}

AcDbDictionaryIterator::AcDbDictionaryIterator(std::vector<AcDbDictionary::Entry> entries)
    : m_entries(std::move(entries)) {
  skipErased();
}

void AcDbDictionaryIterator::skipErased() {
  while (!done() && (m_entries[static_cast<size_t>(m_nPos)].id.isErased() ||
                     !m_entries[static_cast<size_t>(m_nPos)].id.isResident()))
    ++m_nPos;
}

bool AcDbDictionaryIterator::next() {
  if (done()) return false;
  ++m_nPos;
  skipErased();
  return !done();
}

const ACHAR* AcDbDictionaryIterator::name() const {
  return done() ? nullptr : m_entries[static_cast<size_t>(m_nPos)].key.c_str();
}

AcDbObjectId AcDbDictionaryIterator::objectId() const {
  return done() ? AcDbObjectId::kNull : m_entries[static_cast<size_t>(m_nPos)].id;
}

Acad::ErrorStatus AcDbDictionaryIterator::getObject(AcDbObject*& object, AcDb::OpenMode mode) const {
  return acdbOpenObject(object, objectId(), mode);
}

// ---- AcDbXrecord ------------------------------------------------------------

Acad::ErrorStatus AcDbXrecord::rbChain(resbuf** chain, AcDbDatabase*) const {
  if (!chain) return Acad::eInvalidInput;
  *chain = acdbRbFromValues(m_values);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbXrecord::setFromRbChain(const resbuf& chain, AcDbDatabase*) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  AcDbTypedValueList values = acdbValuesFromRb(&chain);
  for (const AcDbTypedValue& v : values)
    if (v.type == RTNONE || v.code >= 1000 || v.code < 0) return Acad::eInvalidResBuf;
  m_values = std::move(values);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbXrecord::clear() {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  m_values.clear();
  return Acad::eOk;
}

void acdbWriteTypedValue(AcDbDxfFiler& filer, const AcDbTypedValue& v) {
  switch (v.type) {
    case RTSTR: filer.writeString(v.code, v.text); break;
    case RTREAL: filer.writeDouble(v.code, v.point[0]); break;
    case RTSHORT: case RTLONG: case RTINT64: filer.writeInt(v.code, v.integer); break;
    case RT3DPOINT: filer.writePoint3d(v.code, AcGePoint3d(v.point[0], v.point[1], v.point[2])); break;
    case RTENAME:
      if (v.id.isResident()) filer.writeObjectId(v.code, v.id);
      else filer.writeHandle(v.code, v.handle);
      break;
    default: break;
  }
}

void AcDbXrecord::dxfOutFields(AcDbDxfFiler& filer) const {
  AcDbObject::dxfOutFields(filer);
  filer.writeUtf8(100, "AcDbXrecord");
  filer.writeInt(280, m_nCloning);
  for (const AcDbTypedValue& v : m_values) acdbWriteTypedValue(filer, v);
}

Acad::ErrorStatus AcDbXrecord::dxfInFields(const AcDbDxfRecord& record) {
  m_values.clear();
  bool inData = false;
  const auto& pairs = record.pairs;
  for (size_t i = 0; i < pairs.size(); ++i) {
    const AcDbDxfPair& p = pairs[i];
    if (!inData) {
      if (p.code == 100 && p.value == "AcDbXrecord") inData = true;
      continue;
    }
    if (p.code == 280 && m_values.empty()) {
      m_nCloning = static_cast<int>(AcDbDxfRecord::integer(p.value));
      continue;
    }
    AcDbTypedValue v;
    v.code = static_cast<short>(p.code);
    v.type = acdbGroupCodeToType(p.code);
    switch (v.type) {
      case RTSTR: v.text = record.text(p.value); break;
      case RTREAL: v.point[0] = AcDbDxfRecord::real(p); break;
      case RTSHORT: case RTLONG: case RTINT64: v.integer = AcDbDxfRecord::integer(p.value); break;
      case RT3DPOINT: {
        AcGePoint3d pt = AcDbDxfRecord::point(pairs, i);
        v.point[0] = pt.x; v.point[1] = pt.y; v.point[2] = pt.z;
        break;
      }
      case RTENAME:
        v.handle = AcDbHandle(std::string(p.value).c_str());
        v.id = record.idFromHandle(p.value);
        break;
      default: continue;
    }
    m_values.push_back(std::move(v));
  }
  return Acad::eOk;
}
