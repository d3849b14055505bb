// Documents: the current drawing, locks, the resource-handle stack, reactors
// and per-document data.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "acdocman.h"
#include "acedview.h"
#include "adscodes.h"
#include "afxwin.h"
#include "dbcurves.h"
#include "dbdatabase.h"
#include "dbhostapp.h"
#include "dbsymtb.h"
#include "edprompt.h"

namespace {

class Documents : public ::testing::Test {
 protected:
  void SetUp() override { acDocManager->closeAllDocuments(); }
  void TearDown() override {
    acDocManager->closeAllDocuments();
    std::error_code ec;
    std::filesystem::remove_all(m_dir, ec);
  }
  std::string TempFile(const char* name) {
    std::filesystem::create_directories(m_dir);
    return (m_dir / name).string();
  }
  std::filesystem::path m_dir = std::filesystem::temp_directory_path() / ("h8docs" + std::to_string(::getpid()));
};

std::wstring Var(const wchar_t* name) {
  resbuf rb{};
  if (acedGetVar(name, &rb) != RTNORM || rb.restype != RTSTR) return L"?";
  std::wstring text = rb.resval.rstring;
  std::free(rb.resval.rstring);
  return text;
}

struct Record {
  std::vector<std::string> events;
};

class Recorder : public AcApDocManagerReactor {
 public:
  explicit Recorder(Record& r) : m_r(r) {}
  void documentCreated(AcApDocument* d) override { m_r.events.push_back("created " + Title(d)); }
  void documentToBeDestroyed(AcApDocument* d) override { m_r.events.push_back("destroyed " + Title(d)); }
  void documentLockModeChanged(AcApDocument*, AcAp::DocLockMode before, AcAp::DocLockMode now, AcAp::DocLockMode,
                               const ACHAR*) override {
    m_r.events.push_back("lock " + std::to_string(before) + "->" + std::to_string(now));
  }

 private:
  static std::string Title(AcApDocument* d) {
    std::wstring t = d->docTitle();
    return std::string(t.begin(), t.end());
  }
  Record& m_r;
};

struct Data {
  int value = 0;
};

}  // namespace

TEST_F(Documents, TheHostAlwaysHasADefaultDrawingThatIsTheWorkingDatabase) {
  AcApDocument* doc = curDoc();
  ASSERT_NE(doc, nullptr);
  EXPECT_EQ(acDocManager->mdiActiveDocument(), doc);
  EXPECT_EQ(acDocManager->documentCount(), 1);
  EXPECT_STREQ(doc->docTitle(), L"Drawing1.dwg");
  EXPECT_EQ(acdbHostApplicationServices()->workingDatabase(), doc->database());
  AcDbBlockTable* table = nullptr;
  ASSERT_EQ(doc->database()->getBlockTable(table, AcDb::kForRead), Acad::eOk);
  EXPECT_TRUE(table->has(L"*Model_Space"));
  table->close();
  EXPECT_EQ(Var(L"DWGNAME"), L"Drawing1.dwg");

  // An explicitly set working database wins until it goes away.
  AcDbDatabase other;
  acdbHostApplicationServices()->setWorkingDatabase(&other);
  EXPECT_EQ(acdbHostApplicationServices()->workingDatabase(), &other);
  acdbHostApplicationServices()->setWorkingDatabase(nullptr);
  EXPECT_EQ(acdbHostApplicationServices()->workingDatabase(), doc->database());
}

TEST_F(Documents, LocksAreCountedAndReleasedInnermostFirst) {
  AcApDocument* doc = curDoc();
  EXPECT_EQ(doc->lockMode(), AcAp::kNotLocked);
  ASSERT_EQ(acDocManager->lockDocument(doc, AcAp::kWrite, L"_DT", L"DTTest", false), Acad::eOk);
  ASSERT_EQ(acDocManager->lockDocument(doc, AcAp::kRead), Acad::eOk);
  EXPECT_EQ(doc->lockCount(), 2);
  EXPECT_EQ(doc->lockMode(), AcAp::kRead);
  EXPECT_EQ(acDocManager->unlockDocument(doc), Acad::eOk);
  EXPECT_EQ(doc->lockMode(), AcAp::kWrite);
  EXPECT_EQ(acDocManager->unlockDocument(doc), Acad::eOk);
  EXPECT_EQ(doc->lockMode(), AcAp::kNotLocked);
  // One unlock too many is refused and changes nothing.
  EXPECT_EQ(acDocManager->unlockDocument(doc), Acad::eLockViolation);
  EXPECT_EQ(doc->lockCount(), 0);
  EXPECT_EQ(acDocManager->lockDocument(nullptr), Acad::eNoDocument);
  EXPECT_EQ(acDocManager->lockDocument(doc, AcAp::kNotLocked), Acad::eInvalidInput);
}

TEST_F(Documents, ResourceHandlesArePushedAndPoppedInOrder) {
  HINSTANCE before = AfxGetResourceHandle();
  auto a = reinterpret_cast<HINSTANCE>(0x1000);
  auto b = reinterpret_cast<HINSTANCE>(0x2000);
  acDocManager->pushResourceHandle(a);
  EXPECT_EQ(AfxGetResourceHandle(), a);
  acDocManager->pushResourceHandle(b);
  EXPECT_EQ(AfxGetResourceHandle(), b);
  EXPECT_TRUE(acDocManager->popResourceHandle());
  EXPECT_EQ(AfxGetResourceHandle(), a);
  EXPECT_TRUE(acDocManager->popResourceHandle());
  EXPECT_EQ(AfxGetResourceHandle(), before);
  EXPECT_FALSE(acDocManager->popResourceHandle());
  EXPECT_EQ(AfxGetResourceHandle(), before);
}

TEST_F(Documents, SaveAsThenOpenReplacesTheCurrentDocumentAndTellsReactors) {
  Record record;
  Recorder reactor(record);
  AcApDocument* first = curDoc();
  acDocManager->addReactor(&reactor);
  {
    AcDbBlockTable* table = nullptr;
    AcDbBlockTableRecord* space = nullptr;
    ASSERT_EQ(first->database()->getBlockTable(table, AcDb::kForRead), Acad::eOk);
    ASSERT_EQ(table->getAt(L"*Model_Space", space, AcDb::kForWrite), Acad::eOk);
    table->close();
    auto* line = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(5, 5, 0));
    ASSERT_EQ(space->appendAcDbEntity(line), Acad::eOk);
    line->close();
    space->close();
  }
  std::string path = TempFile("saved.dxf");
  std::wstring wpath(path.begin(), path.end());
  ASSERT_EQ(acDocManager->saveDocumentAs(wpath.c_str()), Acad::eOk);
  EXPECT_STREQ(curDoc()->docTitle(), L"saved.dxf");
  EXPECT_EQ(Var(L"DWGNAME"), L"saved.dxf");

  AcApDocument* opened = nullptr;
  EXPECT_EQ(acDocManager->openDocument(L"/nonexistent/h8/none.dxf", opened), Acad::eFileNotFound);
  EXPECT_EQ(opened, nullptr);
  EXPECT_EQ(curDoc(), first);  // a failed open changes nothing

  // A document that holds a lock is not replaced.
  acDocManager->lockDocument(first);
  EXPECT_EQ(acDocManager->openDocument(wpath.c_str(), opened), Acad::eLockViolation);
  acDocManager->unlockDocument(first);

  ASSERT_EQ(acDocManager->openDocument(wpath.c_str(), opened), Acad::eOk);
  EXPECT_EQ(curDoc(), opened);
  EXPECT_EQ(acDocManager->documentCount(), 1);
  EXPECT_EQ(acdbHostApplicationServices()->workingDatabase(), opened->database());
  EXPECT_EQ(Var(L"DWGNAME"), L"saved.dxf");
  std::wstring prefix = Var(L"DWGPREFIX");
  EXPECT_EQ(prefix.back(), L'\\');
  EXPECT_EQ(prefix.substr(0, 2), L"Z:");
  acDocManager->removeReactor(&reactor);
  std::vector<std::string> expected = {"lock 2->4", "lock 4->2", "destroyed saved.dxf", "created saved.dxf"};
  EXPECT_EQ(record.events, expected);
}

TEST_F(Documents, AnUnreadableDrawingIsRefused) {
  std::string path = TempFile("broken.dxf");
  std::ofstream(path) << "this is not a drawing\n";
  AcApDocument* before = curDoc();
  AcApDocument* opened = nullptr;
  std::wstring wpath(path.begin(), path.end());
  EXPECT_NE(acDocManager->openDocument(wpath.c_str(), opened), Acad::eOk);
  EXPECT_EQ(opened, nullptr);
  EXPECT_EQ(curDoc(), before);
}

TEST_F(Documents, DataManagersKeepOneRecordPerDocumentAndDropItOnClose) {
  AcApDocument* doc = curDoc();
  {
    AcApDataManager<Data> data;
    EXPECT_FALSE(data.dataPresent(doc));
    data.docData().value = 7;
    EXPECT_TRUE(data.dataPresent(doc));
    EXPECT_EQ(data.docData(doc).value, 7);
    acDocManager->newDocument();  // takes the place of the old one
    EXPECT_FALSE(data.dataPresent(doc));
    EXPECT_EQ(data.size(), 0u);
    EXPECT_EQ(data.docData().value, 0);
    EXPECT_EQ(data.size(), 1u);
  }
  // The destroyed manager is no longer a reactor: closing must not reach it.
  acDocManager->closeAllDocuments();
  EXPECT_EQ(acDocManager->documentCount(), 0);
}
