// Helpers of the DXF tests: temporary files and model-space access.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "dbdatabase.h"
#include "dbentity.h"
#include "dbsymtb.h"
#include "independent.h"

namespace dxftest {

// A file name in the test's temporary folder, removed on destruction.
class TempFile {
 public:
  explicit TempFile(const std::string& name)
      : m_path(::testing::TempDir() + "acad_" + std::to_string(::getpid()) + "_" + name) {}
  ~TempFile() { ::unlink(m_path.c_str()); }
  const std::string& path() const { return m_path; }
  std::wstring wpath() const { return std::wstring(m_path.begin(), m_path.end()); }

 private:
  std::string m_path;
};

inline AcDbObjectId BlockId(AcDbDatabase& db, const ACHAR* name) {
  AcDbBlockTable* bt = nullptr;
  if (db.getBlockTable(bt, AcDb::kForRead) != Acad::eOk) return {};
  AcDbObjectId id;
  bt->getAt(name, id);
  bt->close();
  return id;
}

// Appends to model space and closes the entity; returns its id.
inline AcDbObjectId Append(AcDbDatabase& db, AcDbEntity* ent) {
  AcDbBlockTableRecord* ms = nullptr;
  EXPECT_EQ(acdbOpenObject(ms, BlockId(db, ACDB_MODEL_SPACE), AcDb::kForWrite), Acad::eOk);
  AcDbObjectId id;
  EXPECT_EQ(ms->appendAcDbEntity(id, ent), Acad::eOk);
  ent->close();
  ms->close();
  return id;
}

// The live entity ids of a block, in order.
inline std::vector<AcDbObjectId> Entities(AcDbDatabase& db, const ACHAR* block = ACDB_MODEL_SPACE) {
  std::vector<AcDbObjectId> ids;
  AcDbBlockTableRecord* rec = nullptr;
  if (acdbOpenObject(rec, BlockId(db, block), AcDb::kForRead) != Acad::eOk) return ids;
  AcDbBlockTableRecordIterator* it = nullptr;
  rec->newIterator(it);
  for (; !it->done(); it->step()) {
    AcDbObjectId id;
    it->getEntityId(id);
    ids.push_back(id);
  }
  delete it;
  rec->close();
  return ids;
}

// Saves and reads back into a fresh database; the independent reader must
// find the database's entities in the file written.
inline void RoundTrip(AcDbDatabase& db, AcDbDatabase& out, const std::string& name) {
  TempFile f(name);
  ASSERT_EQ(db.saveAs(f.wpath().c_str()), Acad::eOk);
  ExpectIndependentReaderAgrees(db, f.path());
  ASSERT_EQ(out.readDwgFile(f.wpath().c_str()), Acad::eOk);
  out.closeInput(true);
}

template <class T>
T* Open(AcDbObjectId id) {
  T* obj = nullptr;
  EXPECT_EQ(acdbOpenObject(obj, id, AcDb::kForRead), Acad::eOk);
  return obj;
}
}  // namespace dxftest
