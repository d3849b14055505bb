// The host's documents and document manager: the current drawing, counted
// document locks, the modules' resource-handle stack and document reactors.
#include "acdocman.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "acedview.h"
#include "afxwin.h"
#include "dbdatabase.h"
#include "dbhostapp.h"
#include "paths.h"

namespace {

// The Windows form of a file name, made absolute so DWGPREFIX names a folder.
std::wstring FullWindowsPath(const ACHAR* fileName) {
  std::filesystem::path posix(win::ToPosixPath(std::wstring_view(fileName)));
  std::error_code ec;
  std::filesystem::path full = std::filesystem::absolute(posix, ec);
  return win::ToWindowsPath((ec ? posix : full.lexically_normal()).string());
}

}  // namespace

// ---- AcApDocument ------------------------------------------------------------

AcApDocument::AcApDocument(std::unique_ptr<AcDbDatabase> database, std::wstring fileName)
    : m_database(std::move(database)) {
  setFileName(fileName);
}

AcApDocument::~AcApDocument() { acdbHostApplicationServices()->databaseToBeDestroyed(m_database.get()); }

void AcApDocument::setFileName(const std::wstring& fileName) {
  m_fileName = fileName;
  size_t slash = m_fileName.find_last_of(L"\\/");
  m_title = slash == std::wstring::npos ? m_fileName : m_fileName.substr(slash + 1);
}

AcAp::DocLockMode AcApDocument::lockMode() const {
  return m_locks.empty() ? AcAp::kNotLocked : m_locks.back().mode;
}

// ---- AcApDocManager ----------------------------------------------------------

AcApDocManager::~AcApDocManager() {
  // Reactors may already be gone at the very end; nobody is told any more.
  m_reactors.clear();
  closeAllDocuments();
}

template <class F>
void AcApDocManager::notify(F f) {
  // A reactor may remove itself (or another) while being told.
  std::vector<AcApDocManagerReactor*> reactors = m_reactors;
  for (AcApDocManagerReactor* r : reactors)
    if (std::find(m_reactors.begin(), m_reactors.end(), r) != m_reactors.end()) f(r);
}

AcApDocument* AcApDocManager::curDocument() {
  if (!m_current) newDocument();
  return m_current;
}

Acad::ErrorStatus AcApDocManager::lockDocument(AcApDocument* doc, AcAp::DocLockMode mode,
                                               const ACHAR* globalCmdName, const ACHAR* localCmdName,
                                               bool /*prompt*/) {
  if (!doc || std::none_of(m_documents.begin(), m_documents.end(), [&](auto& d) { return d.get() == doc; }))
    return Acad::eNoDocument;
  if (mode == AcAp::kNone || mode == AcAp::kNotLocked) return Acad::eInvalidInput;
  AcAp::DocLockMode previous = doc->lockMode();
  doc->m_locks.push_back({mode, globalCmdName ? globalCmdName : L"", localCmdName ? localCmdName : L""});
  notify([&](AcApDocManagerReactor* r) {
    r->documentLockModeChanged(doc, previous, mode, mode, globalCmdName ? globalCmdName : L"");
  });
  return Acad::eOk;
}

Acad::ErrorStatus AcApDocManager::unlockDocument(AcApDocument* doc) {
  if (!doc || std::none_of(m_documents.begin(), m_documents.end(), [&](auto& d) { return d.get() == doc; }))
    return Acad::eNoDocument;
  if (doc->m_locks.empty()) return Acad::eLockViolation;
  AcApDocument::Lock released = doc->m_locks.back();
  doc->m_locks.pop_back();
  AcAp::DocLockMode now = doc->lockMode();
  notify([&](AcApDocManagerReactor* r) {
    r->documentLockModeChanged(doc, released.mode, now, now, released.globalCmdName.c_str());
  });
  return Acad::eOk;
}

void AcApDocManager::pushResourceHandle(HINSTANCE resource) {
  m_resourceStack.push_back(AfxGetResourceHandle());
  AfxSetResourceHandle(resource);
}

bool AcApDocManager::popResourceHandle() {
  if (m_resourceStack.empty()) return false;
  AfxSetResourceHandle(m_resourceStack.back());
  m_resourceStack.pop_back();
  return true;
}

void AcApDocManager::addReactor(AcApDocManagerReactor* reactor) {
  if (reactor && std::find(m_reactors.begin(), m_reactors.end(), reactor) == m_reactors.end())
    m_reactors.push_back(reactor);
}

void AcApDocManager::removeReactor(AcApDocManagerReactor* reactor) {
  m_reactors.erase(std::remove(m_reactors.begin(), m_reactors.end(), reactor), m_reactors.end());
}

AcApDocument* AcApDocManager::adopt(std::unique_ptr<AcApDocument> doc) {
  // The host keeps one drawing open: the new one takes the old one's place.
  if (m_current) closeDocument(m_current);
  m_documents.push_back(std::move(doc));
  m_current = m_documents.back().get();
  const std::wstring& name = m_current->m_fileName;
  acad::SetDrawingPath(name.find(L'\\') == std::wstring::npos ? L"" : name.c_str());
  notify([&](AcApDocManagerReactor* r) { r->documentCreated(m_current); });
  notify([&](AcApDocManagerReactor* r) { r->documentBecameCurrent(m_current); });
  return m_current;
}

AcApDocument* AcApDocManager::newDocument() {
  ++m_nNewDrawings;
  std::wstring name = L"Drawing" + std::to_wstring(m_nNewDrawings) + L".dwg";
  return adopt(std::make_unique<AcApDocument>(std::make_unique<AcDbDatabase>(true, false), name));
}

Acad::ErrorStatus AcApDocManager::openDocument(const ACHAR* fileName, AcApDocument*& doc) {
  doc = nullptr;
  if (!fileName || !*fileName) return Acad::eInvalidInput;
  if (m_current && !m_current->m_locks.empty()) return Acad::eLockViolation;
  auto database = std::make_unique<AcDbDatabase>(false, true);
  Acad::ErrorStatus es = database->readDwgFile(fileName, _SH_DENYNO);
  if (es != Acad::eOk) return es;
  database->closeInput(true);
  doc = adopt(std::make_unique<AcApDocument>(std::move(database), FullWindowsPath(fileName)));
  return Acad::eOk;
}

Acad::ErrorStatus AcApDocManager::saveDocumentAs(const ACHAR* fileName) {
  if (!fileName || !*fileName) return Acad::eInvalidInput;
  AcApDocument* doc = curDocument();
  Acad::ErrorStatus es = doc->database()->saveAs(fileName);
  if (es != Acad::eOk) return es;
  doc->setFileName(FullWindowsPath(fileName));
  acad::SetDrawingPath(doc->fileName());
  return Acad::eOk;
}

void AcApDocManager::closeDocument(AcApDocument* doc) {
  notify([&](AcApDocManagerReactor* r) { r->documentToBeDestroyed(doc); });
  if (m_current == doc) m_current = nullptr;
  m_documents.erase(std::remove_if(m_documents.begin(), m_documents.end(), [&](auto& d) { return d.get() == doc; }),
                    m_documents.end());
}

void AcApDocManager::closeAllDocuments() {
  while (!m_documents.empty()) closeDocument(m_documents.back().get());
  m_nNewDrawings = 0;
}

AcApDocManager* acDocManagerPtr() {
  static AcApDocManager manager;
  return &manager;
}
