// Real drawings written by other programs: each reads, and survives a save
// and a second read with the same entities.
#include <gtest/gtest.h>

#include <dirent.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "dbproxy.h"
#include "dxftestutil.h"

using namespace dxftest;

namespace {

std::vector<std::string> FixtureFiles() {
  std::vector<std::string> files;
  if (DIR* dir = ::opendir(ACAD_FIXTURE_DIR)) {
    while (dirent* e = ::readdir(dir)) {
      std::string name = e->d_name;
      if (name.size() > 4 && name.substr(name.size() - 4) == ".dxf") files.push_back(name);
    }
    ::closedir(dir);
  }
  std::sort(files.begin(), files.end());
  return files;
}

// Per block: the entities as (handle, class name or original DXF name).
std::map<std::wstring, std::vector<std::pair<Adesk::UInt64, std::wstring>>> Snapshot(AcDbDatabase& db) {
  std::map<std::wstring, std::vector<std::pair<Adesk::UInt64, std::wstring>>> out;
  AcDbBlockTable* bt = nullptr;
  if (db.getBlockTable(bt, AcDb::kForRead) != Acad::eOk) return out;
  AcDbSymbolTableIterator* it = nullptr;
  bt->newIterator(it);
  for (; !it->done(); it->step()) {
    AcDbBlockTableRecord* rec = nullptr;
    if (it->getRecord(rec, AcDb::kForRead) != Acad::eOk) continue;
    auto& list = out[rec->name()];
    AcDbBlockTableRecordIterator* eit = nullptr;
    rec->newIterator(eit);
    for (; !eit->done(); eit->step()) {
      AcDbEntity* ent = nullptr;
      if (eit->getEntity(ent, AcDb::kForRead) != Acad::eOk) continue;
      list.emplace_back(ent->objectId().handle().value(), ent->dxfName());
      ent->close();
    }
    delete eit;
    rec->close();
  }
  delete it;
  bt->close();
  return out;
}

TEST(AcadFixtures, EveryFileReadsAndSurvivesSaveAndRead) {
  const std::vector<std::string> files = FixtureFiles();
  ASSERT_GE(files.size(), 9u) << "the fixture folder " << ACAD_FIXTURE_DIR << " lost files";
  for (const std::string& name : files) {
    SCOPED_TRACE(name);
    std::string path = std::string(ACAD_FIXTURE_DIR) + "/" + name;
    std::wstring wpath(path.begin(), path.end());
    AcDbDatabase db(false);
    ASSERT_EQ(db.readDwgFile(wpath.c_str(), _SH_DENYNO), Acad::eOk);
    auto before = Snapshot(db);
    size_t count = 0;
    for (const auto& [block, list] : before) count += list.size();
    // Two of the files hold only a header or only tables.
    if (name != "header.dxf" && name != "tables.dxf") {
      EXPECT_GT(count, 0u);
    }
    AcDbDatabase back(false);
    RoundTrip(db, back, "fixture_" + name);
    auto after = Snapshot(back);
    EXPECT_EQ(after, before);
    // A second round gives the same file text: nothing drifts.
    std::string first, second;
    back.dxfOut(first);
    AcDbDatabase third(false);
    ASSERT_EQ(third.dxfIn(first), Acad::eOk);
    third.dxfOut(second);
    EXPECT_EQ(first.size(), second.size());
    EXPECT_TRUE(first == second);
  }
}

TEST(AcadFixtures, KnownContents) {
  std::string dir = ACAD_FIXTURE_DIR;
  AcDbDatabase db(false);
  std::wstring arc(dir.begin(), dir.end());
  arc += L"/arc1.dxf";
  ASSERT_EQ(db.readDwgFile(arc.c_str()), Acad::eOk);
  auto snap = Snapshot(db);
  ASSERT_EQ(snap[L"*Model_Space"].size(), 1u);
  EXPECT_EQ(snap[L"*Model_Space"][0].second, L"ARC");
  EXPECT_EQ(snap[L"*Model_Space"][0].first, 0xB484u);
}
}  // namespace
