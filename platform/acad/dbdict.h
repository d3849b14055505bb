// Dictionaries (named objects, keys compared without regard to case, kept in
// the order added) and extended records (result-buffer data).
#pragma once

#include <string>
#include <vector>

#include "dbobject.h"

class AcDbDictionaryIterator;

class AcDbDictionary : public AcDbObject {
  ACRX_DECLARE_MEMBERS(AcDbDictionary)

 public:
  Acad::ErrorStatus getAt(const ACHAR* key, AcDbObject*& object, AcDb::OpenMode mode) const;
  Acad::ErrorStatus getAt(const ACHAR* key, AcDbObjectId& id) const;
  template <class T>
  Acad::ErrorStatus getAt(const ACHAR* key, T*& object, AcDb::OpenMode mode) const {
    object = nullptr;
    AcDbObjectId id;
    Acad::ErrorStatus es = getAt(key, id);
    return es == Acad::eOk ? acdbOpenObject(object, id, mode) : es;
  }
  bool has(const ACHAR* key) const;
  bool has(AcDbObjectId id) const;
  // The key of a member.
  Acad::ErrorStatus nameAt(AcDbObjectId id, ACHAR*& key) const;
  Adesk::UInt32 numEntries() const;
  // Adds the object under the key (replacing and erasing an object already
  // there). A new object joins the dictionary's database, owned by the
  // dictionary, and stays open for write.
  Acad::ErrorStatus setAt(const ACHAR* key, AcDbObject* object, AcDbObjectId& id);
  // Takes the entry out (the object itself stays, without owner).
  Acad::ErrorStatus remove(const ACHAR* key);
  Acad::ErrorStatus remove(const ACHAR* key, AcDbObjectId& removedId);
  Acad::ErrorStatus remove(AcDbObjectId id);
  Acad::ErrorStatus setName(const ACHAR* oldKey, const ACHAR* newKey);
  bool isHardOwner() const { return m_bHardOwner; }
  void setTreatElementsAsHard(bool hard) { m_bHardOwner = hard; }
  AcDbDictionaryIterator* newIterator() const;

  struct Entry {
    std::wstring key;
    AcDbObjectId id;
  };
  const std::vector<Entry>& entries() const { return m_entries; }
  void adoptEntry(const std::wstring& key, AcDbObjectId id) { m_entries.push_back({key, id}); }

  void dxfOutFields(AcDbDxfFiler& filer) const override;
  Acad::ErrorStatus dxfInFields(const AcDbDxfRecord& record) override;

 private:
  int findKey(const ACHAR* key) const;
  std::vector<Entry> m_entries;
  bool m_bHardOwner = false;
  int m_nMergeStyle = 1;
};

class AcDbDictionaryIterator {
 public:
  explicit AcDbDictionaryIterator(std::vector<AcDbDictionary::Entry> entries);
  bool done() const { return m_nPos >= static_cast<int>(m_entries.size()); }
  bool next();
  const ACHAR* name() const;
  AcDbObjectId objectId() const;
  Acad::ErrorStatus getObject(AcDbObject*& object, AcDb::OpenMode mode) const;

 private:
  void skipErased();
  std::vector<AcDbDictionary::Entry> m_entries;
  int m_nPos = 0;
};

class AcDbXrecord : public AcDbObject {
  ACRX_DECLARE_MEMBERS(AcDbXrecord)

 public:
  AcDbXrecord() = default;
  ACDB_DECLARE_CLONE(AcDbXrecord)
  // A copy of the data the caller frees with acutRelRb (null when empty).
  Acad::ErrorStatus rbChain(resbuf** chain, AcDbDatabase* auxDb = nullptr) const;
  Acad::ErrorStatus setFromRbChain(const resbuf& chain, AcDbDatabase* auxDb = nullptr);
  // Empties the data.
  Acad::ErrorStatus clear();
  const AcDbTypedValueList& values() const { return m_values; }

  void dxfOutFields(AcDbDxfFiler& filer) const override;
  Acad::ErrorStatus dxfInFields(const AcDbDxfRecord& record) override;

 protected:
  AcDbXrecord(const AcDbXrecord&) = default;

 private:
  AcDbTypedValueList m_values;
  int m_nCloning = 1;
};

void acdbWriteTypedValue(AcDbDxfFiler& filer, const AcDbTypedValue& v);
