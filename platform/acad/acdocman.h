// Documents of the host: each open drawing is an AcApDocument owning its
// database; the document manager knows the current one, locks documents for
// commands that change them (counted, released in reverse order), keeps the
// resource-handle stack of the modules and tells its reactors when documents
// come and go. AcApDataManager<T> keeps one record per open document.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "adesk.h"
#include "wintypes.h"

class AcDbDatabase;

namespace AcAp {
enum DocLockMode {
  kNone = 0x00,
  kAutoWrite = 0x01,
  kNotLocked = 0x02,
  kWrite = 0x04,
  kProtectedAutoWrite = 0x14,
  kRead = 0x20,
  kXWrite = 0x40,
};
}  // namespace AcAp

class AcApDocument {
 public:
  AcApDocument(std::unique_ptr<AcDbDatabase> database, std::wstring fileName);
  ~AcApDocument();
  AcApDocument(const AcApDocument&) = delete;
  AcApDocument& operator=(const AcApDocument&) = delete;

  AcDbDatabase* database() const { return m_database.get(); }
  // The file the drawing was read from or last saved as (Windows form);
  // a new drawing has its default name ("Drawing1.dwg") and no folder.
  const ACHAR* fileName() const { return m_fileName.c_str(); }
  // The file name without its folder.
  const ACHAR* docTitle() const { return m_title.c_str(); }
  void setFileName(const std::wstring& fileName);

  // The innermost lock's mode, kNotLocked when none is held.
  AcAp::DocLockMode lockMode() const;
  AcAp::DocLockMode myLockMode() const { return lockMode(); }
  int lockCount() const { return static_cast<int>(m_locks.size()); }

 private:
  friend class AcApDocManager;
  struct Lock {
    AcAp::DocLockMode mode;
    std::wstring globalCmdName, localCmdName;
  };
  std::unique_ptr<AcDbDatabase> m_database;
  std::wstring m_fileName, m_title;
  std::vector<Lock> m_locks;
};

class AcApDocManagerReactor {
 public:
  virtual ~AcApDocManagerReactor() = default;
  virtual void documentCreated(AcApDocument*) {}
  virtual void documentToBeDestroyed(AcApDocument*) {}
  virtual void documentBecameCurrent(AcApDocument*) {}
  virtual void documentLockModeChanged(AcApDocument*, AcAp::DocLockMode /*myPreviousMode*/,
                                       AcAp::DocLockMode /*myCurrentMode*/, AcAp::DocLockMode /*currentMode*/,
                                       const ACHAR* /*globalCommandName*/) {}
};

class AcApDocManager {
 public:
  AcApDocManager() = default;
  ~AcApDocManager();
  AcApDocManager(const AcApDocManager&) = delete;
  AcApDocManager& operator=(const AcApDocManager&) = delete;

  // The current document; the host always has one (a new default drawing
  // is made when none is open).
  AcApDocument* curDocument();
  AcApDocument* mdiActiveDocument() { return curDocument(); }
  int documentCount() const { return static_cast<int>(m_documents.size()); }

  // Locks are counted per document and released innermost first.
  Acad::ErrorStatus lockDocument(AcApDocument* doc, AcAp::DocLockMode mode = AcAp::kWrite,
                                 const ACHAR* globalCmdName = nullptr, const ACHAR* localCmdName = nullptr,
                                 bool prompt = true);
  // eLockViolation (and nothing changed) when the document holds no lock.
  Acad::ErrorStatus unlockDocument(AcApDocument* doc);

  // The resource handle stack: push makes the module's instance the one
  // resources are looked up in, pop puts the previous one back.
  void pushResourceHandle(HINSTANCE resource);
  // False (and nothing changed) when nothing was pushed.
  bool popResourceHandle();

  void addReactor(AcApDocManagerReactor* reactor);
  void removeReactor(AcApDocManagerReactor* reactor);

  // ---- the host's side ---------------------------------------------------
  // Makes a new default drawing the current document (closing the current one).
  AcApDocument* newDocument();
  // Reads a drawing and makes it the current document in place of the
  // current one. On failure nothing changes and the status says why.
  Acad::ErrorStatus openDocument(const ACHAR* fileName, AcApDocument*& doc);
  // Saves the current document under a new name (DXF) and takes that name.
  Acad::ErrorStatus saveDocumentAs(const ACHAR* fileName);
  // Closes every document (the host's end); reactors hear of each.
  void closeAllDocuments();

 private:
  void closeDocument(AcApDocument* doc);
  AcApDocument* adopt(std::unique_ptr<AcApDocument> doc);
  template <class F>
  void notify(F f);

  std::vector<std::unique_ptr<AcApDocument>> m_documents;
  AcApDocument* m_current = nullptr;
  std::vector<AcApDocManagerReactor*> m_reactors;
  std::vector<HINSTANCE> m_resourceStack;
  int m_nNewDrawings = 0;
};

AcApDocManager* acDocManagerPtr();
#define acDocManager acDocManagerPtr()

inline AcApDocument* curDoc() { return acDocManager->curDocument(); }

// One record of T per open document, dropped when its document closes.
template <class T>
class AcApDataManager : public AcApDocManagerReactor {
 public:
  AcApDataManager() { acDocManager->addReactor(this); }
  ~AcApDataManager() override { acDocManager->removeReactor(this); }
  AcApDataManager(const AcApDataManager&) = delete;
  AcApDataManager& operator=(const AcApDataManager&) = delete;

  // The document's record, made on first use.
  T& docData(AcApDocument* doc) { return m_data[doc]; }
  T& docData() { return docData(curDoc()); }
  bool dataPresent(AcApDocument* doc) const { return m_data.count(doc) != 0; }
  size_t size() const { return m_data.size(); }

  void documentToBeDestroyed(AcApDocument* doc) override { m_data.erase(doc); }

 private:
  std::map<AcApDocument*, T> m_data;
};
