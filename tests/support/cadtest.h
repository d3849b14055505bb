// A fixture for the CAD toolbox: a fresh host drawing per test, the
// transcript captured, scripted answers, and checks that every operation
// released its document lock, its selection sets and every object it opened.
#pragma once

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "acdocman.h"
#include "acedsel.h"
#include "acedview.h"
#include "dbdatabase.h"
#include "dbentity.h"
#include "dbhostapp.h"
#include "dbobject.h"
#include "dbsymtb.h"
#include "paths.h"
#include "script.h"
#include "textconv.h"
#include "transcript.h"

class CadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    acDocManager->closeAllDocuments();
    acad::ResetEditorState();
    m_pOldSink = user::SetSink(&m_out);
    user::Script::Instance().UseLines({});
  }
  void TearDown() override {
    user::SetSink(m_pOldSink);
    EXPECT_EQ(curDoc()->lockCount(), 0) << "a document lock was not released";
    EXPECT_EQ(acad::OpenSelectionSetCount(), 0) << "a selection set was not freed";
    ExpectNothingOpen(Db());
    acDocManager->closeAllDocuments();
  }

  AcDbDatabase* Db() { return acdbHostApplicationServices()->workingDatabase(); }
  // What the operations printed and alerted so far (UTF-8).
  std::string Out() const { return m_out.str(); }
  void Answer(std::vector<std::string> lines) { user::Script::Instance().UseLines(std::move(lines)); }

  // Appends the new entity to model space of the database and closes it.
  AcDbObjectId Add(AcDbEntity* pEnt, AcDbDatabase* pDb = nullptr) {
    if (pDb == nullptr) pDb = Db();
    AcDbBlockTable* pTable = nullptr;
    AcDbBlockTableRecord* pSpace = nullptr;
    AcDbObjectId id;
    EXPECT_EQ(pDb->getBlockTable(pTable, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(pTable->getAt(ACDB_MODEL_SPACE, pSpace, AcDb::kForWrite), Acad::eOk);
    EXPECT_EQ(pSpace->appendAcDbEntity(id, pEnt), Acad::eOk);
    pSpace->close();
    pTable->close();
    pEnt->close();
    return id;
  }

  // Saves the working drawing as DXF and reads it back into a new database.
  std::unique_ptr<AcDbDatabase> SaveAndRead() {
    char szName[] = "/tmp/cadtest_XXXXXX.dxf";
    int fd = mkstemps(szName, 4);
    EXPECT_GE(fd, 0);
    close(fd);
    std::wstring strFile = win::ToWindowsPath(szName);
    EXPECT_EQ(Db()->saveAs(strFile.c_str()), Acad::eOk);
    auto pDb = std::make_unique<AcDbDatabase>(false, true);
    EXPECT_EQ(pDb->readDwgFile(strFile.c_str()), Acad::eOk);
    pDb->closeInput(true);
    std::remove(szName);
    return pDb;
  }
  // The object of the read database that has the original's handle.
  static AcDbObjectId Find(AcDbDatabase* pDb, AcDbObjectId original) {
    AcDbObjectId id;
    EXPECT_EQ(pDb->getAcDbObjectId(id, false, original.handle()), Acad::eOk);
    return id;
  }

  // Every object of the database can be opened for write, that is, nothing
  // was left open by the operation under test.
  static void ExpectNothingOpen(AcDbDatabase* pDb) {
    if (pDb == nullptr) return;
    for (Adesk::UInt64 h = 1; h < pDb->handseed().value(); ++h) {
      AcDbObjectId id;
      if (pDb->getAcDbObjectId(id, false, AcDbHandle(h)) != Acad::eOk || id.isNull()) continue;
      AcDbObject* pObj = nullptr;
      Acad::ErrorStatus es = acdbOpenObject(pObj, id, AcDb::kForWrite, true);
      if (es == Acad::eOk) {
        pObj->close();
        continue;
      }
      ADD_FAILURE() << "object with handle " << std::hex << h << " is still open ("
                    << win::WideToUtf8(Acad::ErrorStatusText(es)) << ")";
    }
  }

 private:
  std::ostringstream m_out;
  std::ostream* m_pOldSink = nullptr;
};
