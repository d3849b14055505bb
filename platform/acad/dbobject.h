// AcDbObject: every object of a drawing database, with the open protocol
// (several readers, one writer, notify), erase and unerase, extended data per
// registered application and an optional extension dictionary. Every object
// is a drawable; objects that are no entity draw nothing.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "adscodes.h"
#include "dbarena.h"
#include "dbid.h"
#include "dbtypedvalue.h"
#include "drawable.h"
#include "dxffiler.h"
#include "rxobject.h"

class AcDbObject : public AcGiDrawable {
  ACRX_DECLARE_MEMBERS(AcDbObject)

 public:
  AcDbObject();
  ~AcDbObject() override;
  AcDbObject& operator=(const AcDbObject&) = delete;

  AcDbObjectId objectId() const;
  AcDbObjectId ownerId() const { return m_ownerId; }
  Acad::ErrorStatus setOwnerId(AcDbObjectId ownerId);
  AcDbDatabase* database() const;
  AcDbHandle handle() const;
  void getAcDbHandle(AcDbHandle& handle) const { handle = this->handle(); }
  bool isNewObject() const { return m_pStub == nullptr; }
  bool isErased() const;

  // Open state. A new object (not yet in a database) counts as open for write.
  bool isReadEnabled() const { return m_nReaders > 0 || m_bWriter || isNewObject(); }
  bool isWriteEnabled() const { return m_bWriter || isNewObject(); }
  bool isNotifyEnabled() const { return m_nNotifiers > 0; }
  int numReaders() const { return m_nReaders; }
  Acad::ErrorStatus upgradeOpen();
  Acad::ErrorStatus downgradeOpen();
  Acad::ErrorStatus upgradeFromNotify(bool& wasWritable);
  Acad::ErrorStatus downgradeToNotify(bool wasWritable);
  // Ends one opening; the changes made stay.
  Acad::ErrorStatus close();
  Acad::ErrorStatus cancel() { return close(); }
  // Marks the object erased (or unerased); it must be open for write.
  Acad::ErrorStatus erase(bool erasing = true);

  // Extended data: the applications' lists, each starting with (1001 name).
  // With an application name only that application's data is returned. The
  // caller frees the list with acutRelRb; null when there is none.
  resbuf* xData(const ACHAR* regappName = nullptr) const;
  // Replaces the data of every application named in the list; an
  // application given with no items loses its data. Applications must be
  // registered in a database-resident object's database.
  Acad::ErrorStatus setXData(const resbuf* xdata);
  bool hasXData(const ACHAR* regappName) const;

  AcDbObjectId extensionDictionary() const { return m_pExtra ? m_pExtra->xDictId : AcDbObjectId(); }
  Acad::ErrorStatus createExtensionDictionary();
  Acad::ErrorStatus releaseExtensionDictionary();

  // The drawable protocol. An object of a database is persistent and known
  // to the graphics system by its id; its node is not copied with it.
  Adesk::UInt32 setAttributes(AcGiDrawableTraits* traits) override;
  Adesk::Boolean worldDraw(AcGiWorldDraw* worldDraw) override;
  void viewportDraw(AcGiViewportDraw* viewportDraw) override;
  Adesk::Boolean isPersistent() const override { return m_pStub != nullptr; }
  AcDbObjectId id() const override { return objectId(); }
  void setGsNode(AcGsNode* node) override { m_pGsNode = node; }
  AcGsNode* gsNode() const override { return m_pGsNode; }

  // Classes that can be copied return a copy of their data as a new object
  // not in any database (extended data included, extension dictionary not).
  AcRxObject* clone() const override { return nullptr; }

  // DXF: the whole object (type, handle, owner, fields, extended data) and
  // the class's own fields.
  virtual void dxfOut(AcDbDxfFiler& filer) const;
  virtual void dxfOutFields(AcDbDxfFiler& filer) const;
  virtual Acad::ErrorStatus dxfIn(const AcDbDxfRecord& record);
  virtual Acad::ErrorStatus dxfInFields(const AcDbDxfRecord& record);
  // The name written as the object's 0 group.
  virtual std::wstring dxfName() const;

  // Objects are made on the heap, or in a database's arena (what the DXF
  // reader makes); either way `delete` ends them.
  static void* operator new(size_t size);
  static void* operator new(size_t size, AcDbObjectArena& arena);
  static void operator delete(void* p) noexcept;
  static void operator delete(void* p, AcDbObjectArena& arena) noexcept;

  // Database bookkeeping (used by the database and its containers).
  void setStub(AcDbStub* stub) {
    m_pStub = stub;
    if (stub) addedToDatabase();
  }
  // True for objects their owner deletes (the vertices of the old
  // polylines): the database lets go of them without deleting them.
  virtual bool isDeletedByOwner() const { return false; }
  AcDbStub* stub() const { return m_pStub; }
  Acad::ErrorStatus openFor(AcDb::OpenMode mode);
  void setXDictionaryId(AcDbObjectId id);
  // Erases without the open check (the database's own housekeeping).
  void setErasedFlag(bool erased) { m_bErased = erased; }

 protected:
  // Sets one application's extended data without the registration check
  // (for data the database itself keeps there); empty items remove it.
  void replaceXData(const std::wstring& app, AcDbTypedValueList items);
  // Called once the object has its place in a database (objects that keep
  // sub-objects give them theirs here).
  virtual void addedToDatabase() {}
  // Called by erase() before the object's own flag changes: objects that own
  // sub-objects erase (or unerase) them with themselves; anything but eOk
  // leaves the object as it was.
  virtual Acad::ErrorStatus subErase(bool /*erasing*/) { return Acad::eOk; }

  // A copy for clone(): data and extended data, but a new object that is in
  // no database, has no owner and no extension dictionary.
  AcDbObject(const AcDbObject& other);

 private:
  struct XdataApp {
    std::wstring app;
    AcDbTypedValueList items;  // without the 1001 item
  };
  // What few objects have (extended data, an extension dictionary) is kept
  // apart, made when first set: the object itself stays small.
  struct Extra {
    AcDbObjectId xDictId;
    std::vector<XdataApp> apps;
  };
  Extra& extra();
  bool hasXdataApps() const { return m_pExtra && !m_pExtra->apps.empty(); }
  std::vector<XdataApp>& xdataApps() { return extra().apps; }

  AcDbStub* m_pStub = nullptr;
  AcDbObjectId m_ownerId;
  AcGsNode* m_pGsNode = nullptr;
  std::unique_ptr<Extra> m_pExtra;
  // The open state: readers (at most 256), notifiers, one writer.
  Adesk::UInt16 m_nReaders = 0;
  Adesk::UInt16 m_nNotifiers = 0;
  bool m_bWriter = false;
  bool m_bErased = false;

  friend class AcDbDxfXdata;
};

// The clone() of a class that copies by its copy constructor.
#define ACDB_DECLARE_CLONE(CLASS) \
  AcRxObject* clone() const override { return new CLASS(*this); }

// Opens the object of the id. Fails with eNullObjectId, eWasErased (unless
// openErased), eWasOpenedForWrite / eWasOpenedForRead when the mode clashes
// with an opening already made, eNotThatKindOfClass for the typed overloads.
Acad::ErrorStatus acdbOpenObject(AcDbObject*& object, AcDbObjectId id, AcDb::OpenMode mode,
                                 bool openErased = false);
Acad::ErrorStatus acdbOpenAcDbObject(AcDbObject*& object, AcDbObjectId id, AcDb::OpenMode mode,
                                     bool openErased = false);

template <class T>
Acad::ErrorStatus acdbOpenObject(T*& object, AcDbObjectId id, AcDb::OpenMode mode, bool openErased = false) {
  object = nullptr;
  AcDbObject* raw = nullptr;
  Acad::ErrorStatus es = acdbOpenObject(raw, id, mode, openErased);
  if (es != Acad::eOk) return es;
  object = T::cast(raw);
  if (!object) {
    raw->close();
    return Acad::eNotThatKindOfClass;
  }
  return Acad::eOk;
}

// A count that grows whenever an object may have changed (an opening for
// write ended, an object deleted): the graphics system draws its views of
// database objects again when it moved on.
unsigned long long acdbModificationCount();

// The object id of an ads entity name and back.
Acad::ErrorStatus acdbGetObjectId(AcDbObjectId& id, const ads_name name);
Acad::ErrorStatus acdbGetAdsName(ads_name name, AcDbObjectId id);
